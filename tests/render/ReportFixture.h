// Records and a printer device context for the report paper tests.
#pragma once

#include "records/ECGContentsData.h"
#include "records/RecordBuilder.h"
#include "render/RecordingDC.h"
#include "support/TempFolder.h"
#include "tests/render/PaperHarness.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace render::test {

// A loaded record of `count` samples rising and falling inside the
// marker-free range and small enough to stay inside its strip, written
// into the folder.
inline std::unique_ptr<records::CECGContentsData> MakeRecord(const testsupport::TempFolder& folder,
                                                             const std::string& name, int count,
                                                             records::RecordFields fields = {}) {
    std::vector<std::uint16_t> samples(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        samples[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(1000 + (i % 50) * 4);
    auto record = std::make_unique<records::CECGContentsData>();
    record->SetPath(folder.Write(name, records::BuildRecordFile(fields, samples, true)));
    record->Load();
    return record;
}

inline std::vector<Primitive> TextsOf(const RecordingDC& dc, std::string_view text) {
    std::vector<Primitive> out;
    for (const Primitive& p : dc.OfKind(Primitive::kText))
        if (p.strText == text)
            out.push_back(p);
    return out;
}

} // namespace render::test
