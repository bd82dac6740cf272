// Records for the export tests, made as files and loaded as the program
// loads them, and the interface language chosen for a test.
#pragma once

#include "app/Language.h"
#include "platform/CodePage.h"
#include "records/ECGContentsData.h"
#include "records/Fixtures.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace exporttest {

// 2024-01-05 15:04:05 in UTC+9.
inline constexpr std::uint32_t kRecorded = 1704434645;

struct RecordShape {
    std::size_t sampleCount = 3750;
    std::uint16_t sampleRate = 125;
    std::uint8_t kindByte = 1; // 0: undated
    std::uint32_t flags = 0;
    std::uint16_t heartRate = 72;
};

// Memo texts that only the file can give: the position's and posture's
// words and the comment.
struct FileMemo {
    std::string positionText;
    std::string postureText;
    std::string comment;
};

inline std::unique_ptr<records::CECGContentsData> MakeRecord(const testsupport::TempFolder& folder,
                                                             const std::string& name,
                                                             const RecordShape& shape,
                                                             const FileMemo& memo = {}) {
    records::RecordFields fields;
    fields.recordNumber = 0x2a;
    fields.recordedTime = kRecorded;
    fields.kindByte = shape.kindByte;
    fields.sampleRate = shape.sampleRate;
    fields.flags = shape.flags;
    fields.heartRate = shape.heartRate;
    fields.filterByte = 1;
    std::string file = records::test::ValidRecord(shape.sampleCount, true, fields);
    const auto put = [&](std::size_t item, const std::string& text) {
        const std::string utf16 = platform::Utf8ToUtf16Le(text);
        records::test::PutMemoItem(file, shape.sampleCount, item, 0,
                                   static_cast<std::uint16_t>(utf16.size()), utf16);
    };
    put(records::CECGContentsData::kPosition, memo.positionText);
    put(records::CECGContentsData::kPosture, memo.postureText);
    const std::string comment = platform::Utf8ToUtf16Le(memo.comment);
    const std::size_t at = records::MemoBlockOffset(shape.sampleCount);
    records::test::PutLe16(file, at + records::kOffMemoCommentLength,
                           static_cast<std::uint16_t>(comment.size()));
    file.replace(at + records::kOffMemoComment, comment.size(), comment);

    auto record = std::make_unique<records::CECGContentsData>();
    record->SetPath(folder.Write(name, file));
    record->Load();
    EXPECT_TRUE(record->IsLoaded()) << name;
    EXPECT_EQ(record->GetLoadFailures(), 0) << name;
    return record;
}

// The shipped language for a locale, as start-up would choose it.
class LanguageScope {
public:
    explicit LanguageScope(const std::string& locale)
        : m_lang("LANG", locale), m_all("LC_ALL", std::nullopt),
          m_messages("LC_MESSAGES", std::nullopt), m_config("XDG_CONFIG_HOME", m_home.Path()) {
        app::StartLanguages();
    }
    ~LanguageScope() { app::ReleaseLanguages(); }

private:
    testsupport::TempFolder m_home;
    testsupport::ScopedEnv m_lang, m_all, m_messages, m_config;
};

} // namespace exporttest
