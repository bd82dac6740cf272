#include "records/ECGContentsData.h"

#include "Fixtures.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace records {
namespace {

using test::ValidRecord;
using testsupport::TempFolder;
using testsupport::WriteFile;

CECGContentsData LoadedFrom(const std::string& path) {
    CECGContentsData record;
    record.SetPath(path);
    record.Load();
    return record;
}

std::string WithByte(std::string file, std::size_t offset, char value) {
    file[offset] = value;
    return file;
}

struct LoadCase {
    const char* name;
    const char* fileName;
    std::function<std::string()> bytes;
    bool valid;   // IsValidFile
    bool loaded;  // IsLoaded after Load
    int failures; // GetLoadFailures after Load
    int samples;  // GetSampleCount after Load
    int kind;
};

const LoadCase kLoadCases[] = {
    {"largest record", "a.ecg", [] { return ValidRecord(4375, true); }, true, true, 0, 4375, 1},
    {"one sample too many", "a.ecg", [] { return ValidRecord(4376, true); }, false, false, 1, 0, 1},
    {"odd sample count", "a.ecg", [] { return ValidRecord(13, true); }, true, true, 0, 13, 1},
    {"no samples", "a.ecg", [] { return ValidRecord(0, true); }, true, true, 0, 0, 1},
    {"wrong magic", "a.ecg", [] { return WithByte(ValidRecord(24, true), 3, 0x0B); }, false, false,
     1, 0, 1},
    {"checksum mismatch", "a.ecg", [] { return WithByte(ValidRecord(24, true), 60, 0x01); }, false,
     false, 1, 0, 1},
    {"short header", "a.ecg", [] { return ValidRecord(24, true).substr(0, 59); }, false, false, 1,
     0, 1},
    {"short sample area", "a.ecg", [] { return ValidRecord(24, true).substr(0, 60 + 36 - 1); },
     false, false, 1, 0, 1},
    {"memo right after samples", "a.ecg", [] { return ValidRecord(24, true).erase(96, 16); }, true,
     true, 1, 24, 1},
    {"one padding byte wrong", "a.ecg", [] { return WithByte(ValidRecord(24, true), 111, 0); },
     true, true, 1, 24, 1},
    {"marked unusable", "a.ecg", [] { return ValidRecord(24, true, {.usableMarker = 0xFFFFFFFF}); },
     false, true, 1, 24, 1},
    {"capital extension", "B.ECG", [] { return ValidRecord(24, true); }, true, true, 0, 24, 1},
    {"name ending in ecg without dot", "recordecg", [] { return ValidRecord(24, true); }, true,
     true, 0, 24, 1},
    {"character after the extension", "x.ecgx", [] { return ValidRecord(24, true); }, false, true,
     0, 0, 2},
    {"ends after the padding", "a.ecg", [] { return ValidRecord(24, false); }, true, true, 0, 24,
     1},
    {"ends inside the memo block", "a.ecg", [] { return ValidRecord(24, true).substr(0, 771); },
     true, true, 0, 24, 1},
};

TEST(RecordLoad, BoundariesAndDamage) {
    for (const LoadCase& c : kLoadCases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const std::string path = dir.File(c.fileName);
        WriteFile(path, c.bytes());
        CECGContentsData record;
        record.SetPath(path);
        EXPECT_EQ(record.IsValidFile(), c.valid);
        record.Load();
        EXPECT_EQ(record.IsLoaded(), c.loaded);
        EXPECT_EQ(record.GetLoadFailures(), c.failures);
        EXPECT_EQ(record.GetSampleCount(), c.samples);
        EXPECT_EQ(record.GetKind(), c.kind);
        if (c.samples > 0) {
            EXPECT_EQ(record.GetSample(c.samples - 1).number, c.samples);
        }
    }
}

TEST(RecordLoad, MissingAndNonRegularFilesFail) {
    TempFolder dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe.ecg").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(dir.File("folder.ecg").c_str(), 0700), 0);
    for (const char* name : {"missing.ecg", "pipe.ecg", "folder.ecg"}) {
        SCOPED_TRACE(name);
        CECGContentsData record;
        record.SetPath(dir.File(name));
        EXPECT_FALSE(record.IsValidFile());
        record.Load(); // a FIFO must not block here
        EXPECT_FALSE(record.IsLoaded());
        EXPECT_EQ(record.GetLoadFailures(), 1);
    }
}

TEST(RecordLoad, GivesUpAfterTwoFailures) {
    TempFolder dir;
    const std::string path = dir.File("a.ecg");
    WriteFile(path, ValidRecord(24, true).substr(0, 10));
    CECGContentsData record;
    record.SetPath(path);
    record.Load();
    WriteFile(path, ValidRecord(24, true));
    record.Load();
    EXPECT_TRUE(record.IsLoaded()) << "one failure does not stop later loads";

    WriteFile(path, ValidRecord(24, true).substr(0, 10));
    record.Load();
    record.Load();
    EXPECT_EQ(record.GetLoadFailures(), 2);
    WriteFile(path, ValidRecord(24, true));
    record.Load();
    EXPECT_FALSE(record.IsLoaded());
    EXPECT_EQ(record.GetLoadFailures(), 2);
}

TEST(RecordLoad, FailedReloadDropsEarlierSamples) {
    TempFolder dir;
    const std::string path = dir.File("a.ecg");
    WriteFile(path, ValidRecord(24, true));
    CECGContentsData record = LoadedFrom(path);
    ASSERT_EQ(record.GetSampleCount(), 24);

    WriteFile(path, WithByte(ValidRecord(24, true), 60, 0x01));
    record.Load();
    EXPECT_FALSE(record.IsLoaded());
    EXPECT_EQ(record.GetSampleCount(), 0);
    EXPECT_EQ(record.GetSample(0).number, -1);
}

TEST(RecordLoad, SampleValuesAreScaledAndMasked) {
    TempFolder dir;
    const std::string path = dir.File("a.ecg");
    const std::uint16_t samples[] = {0, 4095, 2048};
    WriteFile(path, BuildRecordFile({}, samples, true));
    const CECGContentsData record = LoadedFrom(path);
    ASSERT_EQ(record.GetSampleCount(), 3);

    struct Expected {
        int index, number, value;
    };
    // 4095 scales to 3995, which the 11-bit mask makes 1947.
    for (const Expected& e : {Expected{0, 1, 0}, Expected{1, 2, 1947}, Expected{2, 3, 1998},
                              Expected{-1, -1, -1}, Expected{3, -1, -1}}) {
        SCOPED_TRACE(e.index);
        const auto sample = record.GetSample(e.index);
        EXPECT_EQ(sample.number, e.number);
        EXPECT_EQ(sample.value, e.value);
    }
}

TEST(RecordLoad, HeaderFields) {
    TempFolder dir;
    const std::string path = dir.File("a.ecg");
    const RecordFields fields{.recordNumber = 0x002A,
                              .recordedTime = 0xFFFFFFF0, // above 2^31: unsigned in the file
                              .kindByte = 0xFD,
                              .deviceValueByte = 0xFF,
                              .filterByte = 0xFE,
                              .sampleRate = 0,
                              .flags = 0xABCD0020,
                              .heartRate = 250};
    WriteFile(path, ValidRecord(4375, true, fields));
    const CECGContentsData record = LoadedFrom(path);
    ASSERT_TRUE(record.IsLoaded());
    EXPECT_EQ(record.GetRecordNumber(), 0x002A);
    EXPECT_EQ(record.GetRecordTime(), 0xFFFFFFF0LL);
    EXPECT_FALSE(record.IsUndated());
    EXPECT_EQ(record.GetDeviceValue(), 0x3F);
    EXPECT_EQ(record.GetFilter(), 2);
    EXPECT_EQ(record.GetSampleRate(), 125);
    EXPECT_EQ(record.GetFlags(), 0xABCD0020u);
    EXPECT_EQ(record.GetHeartRate(), 250);
    EXPECT_EQ(record.GetDurationMs(), 35000);
    EXPECT_EQ(record.GetDurationText(), "35.0");
    EXPECT_EQ(record.GetViewEndMs(), 35000);
    EXPECT_EQ(record.GetRangeEndMs(), 35000);
}

TEST(RecordLoad, KindBitsDecideUndated) {
    TempFolder dir;
    const std::string path = dir.File("a.ecg");
    for (std::uint8_t kind : {0, 1, 2, 3}) {
        SCOPED_TRACE(int(kind));
        WriteFile(path, ValidRecord(24, true, {.kindByte = std::uint8_t(0xF0 | kind)}));
        EXPECT_EQ(LoadedFrom(path).IsUndated(), kind == 0 || kind == 3);
    }
}

TEST(RecordLoad, DurationText) {
    TempFolder dir;
    const std::string path = dir.File("a.ecg");
    WriteFile(path, ValidRecord(4375, true, {.sampleRate = 250}));
    EXPECT_EQ(LoadedFrom(path).GetDurationText(), "17.5");
    WriteFile(path, ValidRecord(0, true));
    EXPECT_EQ(LoadedFrom(path).GetDurationText(), "Unknown");
    EXPECT_EQ(CECGContentsData().GetDurationText(), "Unknown");
}

TEST(RecordLoad, MemoComesOnlyFromACompleteBlockAfterGoodPadding) {
    TempFolder dir;
    const std::string path = dir.File("a.ecg");
    std::string file = ValidRecord(24, true);
    test::PutMemoItem(file, 24, CECGContentsData::kSituation, 4, 2, std::string("a\0", 2));
    WriteFile(path, file);
    EXPECT_EQ(LoadedFrom(path).GetSituation(), 4);
    EXPECT_EQ(LoadedFrom(path).GetSituationText(), "a");

    WriteFile(path, file.substr(0, file.size() - 1));
    EXPECT_EQ(LoadedFrom(path).GetSituation(), 0);
    WriteFile(path, WithByte(file, 100, 0));
    EXPECT_EQ(LoadedFrom(path).GetSituation(), 0);
}

TEST(RecordLoad, MemoLengthsAreCut) {
    TempFolder dir;
    const std::string path = dir.File("a.ecg");
    std::string file = ValidRecord(24, true);
    std::string units;
    for (int i = 0; i < 32; ++i) {
        units += std::string("a\0", 2);
    }
    test::PutMemoItem(file, 24, CECGContentsData::kPosture, 1, 61, units);
    const std::size_t comment = MemoBlockOffset(24) + kOffMemoComment;
    test::PutLe16(file, MemoBlockOffset(24) + kOffMemoCommentLength, 0xFFFF);
    for (std::size_t i = 0; i < 384; i += 2) {
        file[comment + i] = 'b';
    }
    WriteFile(path, file);
    const CECGContentsData record = LoadedFrom(path);
    EXPECT_EQ(record.GetPostureText(), std::string(30, 'a'));
    EXPECT_EQ(record.GetComment(), std::string(140, 'b'));
}

TEST(RecordLoad, DamagedMemoTextStillReads) {
    TempFolder dir;
    const std::string path = dir.File("a.ecg");
    std::string file = ValidRecord(24, true);
    // A lone high surrogate, then "x" and one odd byte.
    test::PutMemoItem(file, 24, CECGContentsData::kSymptoms, 256, 5,
                      std::string("\x00\xD8x\0y", 5));
    WriteFile(path, file);
    const std::string text = LoadedFrom(path).GetSymptomText();
    EXPECT_NE(text.find("x"), std::string::npos);
    EXPECT_NE(text.find("\xEF\xBF\xBD"), std::string::npos); // U+FFFD
}

TEST(RecordLoad, FileNameAndSortKey) {
    CECGContentsData dated;
    dated.SetPath("/data/d261208233507_002a.ecg");
    EXPECT_EQ(dated.GetFileName(), "d261208233507_002a.ecg");
    EXPECT_EQ(dated.GetSortKey(), "z261208233507_002a.ecg");
    EXPECT_EQ(dated.GetFileName(10), "d261208...");
    EXPECT_EQ(dated.GetFileName(2), "...");
    EXPECT_EQ(dated.GetFileName(22), "d261208233507_002a.ecg");
    EXPECT_EQ(dated.GetFileName(21), "d261208233507_002a...");

    CECGContentsData undated;
    undated.SetPath("/data/p261208233507_002a.ecg");
    EXPECT_EQ(undated.GetSortKey(), "p261208233507_002a.ecg");

    CECGContentsData japanese;
    japanese.SetPath("/data/記録データ.ecg"); // 9 characters
    EXPECT_EQ(japanese.GetFileName(9), "記録データ.ecg");
    EXPECT_EQ(japanese.GetFileName(6), "記録デ...");
}

} // namespace
} // namespace records
