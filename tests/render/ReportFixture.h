// Records and a printer device context for the report paper tests.
#pragma once

#include "records/ECGContentsData.h"
#include "records/RecordBuilder.h"
#include "render/RecordingDC.h"
#include "support/TempFolder.h"
#include "tests/render/PaperHarness.h"

#include <algorithm>
#include <climits>
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

// A loaded 7-second record (one strip) whose trace steps between two
// levels every second.
inline std::unique_ptr<records::CECGContentsData>
MakeStepRecord(const testsupport::TempFolder& folder, const std::string& name,
               std::uint16_t low = 1000, std::uint16_t high = 1105) {
    std::vector<std::uint16_t> samples(875);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = (i / 125) % 2 == 0 ? low : high;
    auto record = std::make_unique<records::CECGContentsData>();
    record->SetPath(folder.Write(name, records::BuildRecordFile({}, samples, true)));
    record->Load();
    return record;
}

// The step of such a record in millivolts, from the values the papers get:
// 2047 sample units span the full scale and 1 mV is 5 % of it.
inline double StepMillivolts(const records::CECGContentsData& record) {
    return (record.GetSample(125).value - record.GetSample(0).value) / (2047 * 0.05);
}

// What a page shows of its scale, in millimetres of its grid.
struct DrawnScale {
    double pulseMm = 0;      // the calibration pulse's height
    double traceMmPerMv = 0; // the trace's deflection for 1 mV
    std::string scaleLine;   // the footer's scale text, empty when none
};

inline DrawnScale MeasureScale(const std::vector<Primitive>& page, double unitsPerMm,
                               const LOGPEN& tracePen, const LOGPEN& pulsePen, double millivolts) {
    DrawnScale drawn;
    int pulseLow = INT_MAX, pulseHigh = INT_MIN, traceLow = INT_MAX, traceHigh = INT_MIN;
    for (const Primitive& p : page) {
        if (p.kind == Primitive::kPolyline && p.pen == pulsePen) {
            for (const POINT& pt : p.points) {
                pulseLow = std::min(pulseLow, pt.y);
                pulseHigh = std::max(pulseHigh, pt.y);
            }
        } else if ((p.kind == Primitive::kLine || p.kind == Primitive::kMoveTo) &&
                   p.pen == tracePen) {
            for (const POINT& pt : p.points) {
                traceLow = std::min(traceLow, pt.y);
                traceHigh = std::max(traceHigh, pt.y);
            }
        } else if (p.kind == Primitive::kText && p.strText.starts_with("尺度")) {
            drawn.scaleLine = p.strText;
        }
    }
    if (pulseHigh >= pulseLow)
        drawn.pulseMm = (pulseHigh - pulseLow) / unitsPerMm;
    if (traceHigh >= traceLow)
        drawn.traceMmPerMv = (traceHigh - traceLow) / unitsPerMm / millivolts;
    return drawn;
}

// The footer's scale line at a sensitivity label, for a record without filter.
inline std::string ScaleLine(const char* label) {
    return label == nullptr
               ? std::string()
               : std::string("尺度：25mm/s，") + label + "｜フィルター：オフ｜機種：VTQ-7700S";
}

inline std::vector<Primitive> TextsOf(const RecordingDC& dc, std::string_view text) {
    std::vector<Primitive> out;
    for (const Primitive& p : dc.OfKind(Primitive::kText))
        if (p.strText == text)
            out.push_back(p);
    return out;
}

} // namespace render::test
