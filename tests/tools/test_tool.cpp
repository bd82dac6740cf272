#include "RunTool.h"
#include "records/RecordBuilder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using testsupport::ReadFile;
using testsupport::RunTool;
using testsupport::TempFolder;
using testsupport::ToolRun;

namespace {

// 2024-01-05 15:04:05 in UTC+9.
constexpr std::uint32_t kRecorded = 1704434645;

std::string RecordBytes(std::uint32_t flags, std::uint8_t kind = 1, bool withMemo = true) {
    records::RecordFields fields;
    fields.recordNumber = 0x2a;
    fields.recordedTime = kRecorded;
    fields.kindByte = kind;
    fields.flags = flags;
    fields.heartRate = 72;
    std::vector<std::uint16_t> samples(250);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::uint16_t>((i * 37) % 4096);
    return records::BuildRecordFile(fields, samples, withMemo);
}

class ToolTest : public ::testing::Test {
protected:
    TempFolder home;
    std::vector<std::string> Env() const {
        return {"HOME=" + home.Path(), "XDG_DOCUMENTS_DIR=" + (home.File("Documents")),
                "XDG_CONFIG_HOME=" + (home.File(".config")),
                "XDG_RUNTIME_DIR=" + (home.File("run")), "TZ=UTC",
                // The messages below are the shipped English wording.
                "LC_ALL=en_US.UTF-8"};
    }
    ToolRun Run(const std::vector<std::string>& args) const { return RunTool(args, Env()); }
};

TEST_F(ToolTest, SettingsOnAFirstStartCreateTheFileAndTheDataFolder) {
    const ToolRun run = Run({"settings", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string dataFolder = home.File("Documents/Torvane/Rhythmora/ECGData/");
    EXPECT_NE(run.out.find("\"dirHdd\": \"" + dataFolder + "\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"baudRate\": 1500000"), std::string::npos);
    EXPECT_NE(run.out.find("\"recvTimeOutMs\": 2000"), std::string::npos);
    EXPECT_NE(run.out.find("\"maxImageListSize\": 100"), std::string::npos);
    EXPECT_NE(run.out.find("\"iniPath\": \"" + (home.File("Documents/TorvaneRhythmora.ini"))),
              std::string::npos);
    EXPECT_NE(run.out.find("\"devIdList\": [\n    \"VID_1A3C&PID_0B71\"\n  ]"), std::string::npos);
    EXPECT_NE(run.out.find("\"margins\": [\n    200,\n    150,"), std::string::npos);
    EXPECT_NE(ReadFile(home.File("Documents/TorvaneRhythmora.ini")).find("BaudRate=1500000"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(dataFolder));
}

TEST_F(ToolTest, ANewSettingsFileIsSeededFromTheWindowProgramsDefaultsFile) {
    // A copy of the tool in a folder of its own, beside a defaults file of
    // the window program there.
    const std::string bin = home.File("prefix/bin");
    std::filesystem::create_directories(bin);
    std::filesystem::copy_file(RHYTHMORA_TOOL, bin + "/rhythmora-tool");
    home.Write("prefix/bin/rhythmora.ini",
               "[ECGSaveData]\r\nDirHDD=/srv/recordings/\r\n[ECGWindowSize]\r\n"
               "ECGDataListSizeX=1024\r\n");
    const ToolRun run =
        testsupport::RunProgram(bin + "/rhythmora-tool", {"settings", "--json"}, Env());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"dirHdd\": \"/srv/recordings/\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"listWidth\": 1024"), std::string::npos);
}

TEST_F(ToolTest, InfoReportsTheRecordInJapanTime) {
    const std::string path = home.Write("d240105150405_002a.ecg", RecordBytes(0x0040));
    const ToolRun run = Run({"info", "--json", "--samples", path});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* expected :
         {"\"file_name\": \"d240105150405_002a.ecg\"", "\"valid\": true", "\"loaded\": true",
          "\"kind\": 1", "\"sample_rate\": 125", "\"sample_count\": 250",
          "\"duration_text\": \"2.0\"", "\"record_number\": 42", "\"recorded\": 1704434645",
          "\"recorded_local\": \"2024-01-05T15:04:05+09:00\"", "\"undated\": false",
          "\"heart_rate\": 72", "\"analysis_class\": 5", "\"severity\": 1",
          "\"indicators\": [\n      false,\n      true,\n      false", "\"situation\": 0",
          "\"gain\": 102.35", "\"baseline\": 1024",
          "\"samples\": [\n      0,\n      36,\n      72,"}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    }
}

TEST_F(ToolTest, InfoFailuresNameTheFileAndTheReason) {
    const std::string damaged = home.Write("bad.ecg", RecordBytes(0).substr(0, 40));
    const std::string other = home.Write("notes.txt", RecordBytes(0));
    const ToolRun run = Run({"info", "--json", damaged, home.File("missing.ecg"), other});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(damaged + ": This file is not a recording, or it is damaged."),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("missing.ecg: The selected file was not found."), std::string::npos);
    EXPECT_NE(run.err.find("notes.txt: This file is not a recording, or it is damaged."),
              std::string::npos);
    // Every file is still described.
    EXPECT_NE(run.out.find("\"load_failures\": 1"), std::string::npos) << run.out;
}

TEST_F(ToolTest, UsageErrorsExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"info"},
        {"info", "--colour", "x.ecg"},
        {"list", "--filter", "10101"},
        {"list", "--filter", "1010102"},
        {"list", "--folder"},
        {"memo"},
        {"memo", "x.ecg", "--position", "3"},
        {"memo", "x.ecg", "--posture", "8"},
        {"memo", "x.ecg", "--situation", "twelve"},
        {"memo", "x.ecg", "--symptoms", "1024"},
        {"settings", "extra"},
    };
    for (const auto& args : cases) {
        const ToolRun run = Run(args);
        EXPECT_EQ(run.status, 2) << (args.empty() ? "" : args[0]) << " " << run.err;
        // The problem and one line that points to the help.
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
        EXPECT_NE(run.err.find("--help\""), std::string::npos) << run.err;
    }
}

TEST_F(ToolTest, ListOrdersAndFiltersAsTheRecordList) {
    const std::string folder = home.File("data");
    home.Write("data/p250101000000_0001.ecg", RecordBytes(0x0000, 0));
    home.Write("data/d250101000000_0002.ecg", RecordBytes(0x0040));
    home.Write("data/d240101000000_0003.ecg", RecordBytes(0x7800));
    home.Write("data/zz.ecg", RecordBytes(0x0020));
    home.Write("data/broken.ecg", "ECG\n");
    home.Write("data/sub.ecg/inner.ecg", RecordBytes(0));

    ToolRun run = Run({"list", "--json", "--folder", folder});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> order = {"zz.ecg", "d250101000000_0002.ecg",
                                            "d240101000000_0003.ecg", "p250101000000_0001.ecg"};
    std::size_t at = 0;
    for (const std::string& name : order) {
        const std::size_t found = run.out.find("\"file_name\": \"" + name + "\"");
        ASSERT_NE(found, std::string::npos) << name << "\n" << run.out;
        EXPECT_GT(found, at) << name;
        at = found;
    }
    EXPECT_EQ(run.out.find("broken"), std::string::npos);
    EXPECT_EQ(run.out.find("inner"), std::string::npos);

    run = Run({"list", "--json", "--folder", folder, "--filter", "000001"});
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("d240101000000_0003.ecg"), std::string::npos);
    EXPECT_NE(run.out.find("\"analysis_class\": 12"), std::string::npos);
    EXPECT_EQ(run.out.find("d250101000000_0002.ecg"), std::string::npos);

    run = Run({"list", "--folder", home.File("nowhere")});
    EXPECT_EQ(run.status, 1);
}

TEST_F(ToolTest, MemoSavesWhatTheDialogWould) {
    const std::string path = home.Write("rec.ecg", RecordBytes(0, 1, false));
    ToolRun run = Run({"memo", path, "--situation", "512", "--situation-text", "階段を上った後",
                       "--symptoms", "0x211", "--posture", "2"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = Run({"info", "--json", path});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"situation\": 512"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"situation_text\": \"階段を上った後\""), std::string::npos);
    // "No abnormality" excludes the other symptoms; no stored position means V4.
    EXPECT_NE(run.out.find("\"symptoms\": 512"), std::string::npos);
    EXPECT_NE(run.out.find("\"position\": 8"), std::string::npos);
    EXPECT_NE(run.out.find("\"posture\": 2"), std::string::npos);
}

TEST_F(ToolTest, MemoRefusalsLeaveTheFileAsItWas) {
    const std::string path = home.Write("rec.ecg", RecordBytes(0));
    const std::string before = ReadFile(path);
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"memo", path, "--symptom-text", std::string(31, 'x')},
         "A free text can hold at most 30 characters."},
        {{"memo", home.File("gone.ecg"), "--posture", "1"}, "The recording file was not found."},
    };
    for (const auto& c : cases) {
        const ToolRun run = Run(c.args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, std::string(c.message) + "\n");
    }
    std::string japanese31;
    for (int i = 0; i < 31; ++i)
        japanese31 += "あ";
    const ToolRun run = Run({"memo", path, "--situation-text", japanese31});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "A free text can hold at most 30 characters.\n");
    EXPECT_EQ(ReadFile(path), before);
    std::vector<std::string> japaneseEnv = Env();
    japaneseEnv.back() = "LC_ALL=ja_JP.UTF-8";
    EXPECT_EQ(RunTool({"memo", path, "--situation-text", japanese31}, japaneseEnv).err,
              "入力できるのは30文字までです。\n");

    const ToolRun accepted = Run({"memo", path, "--situation-text", japanese31.substr(3)});
    EXPECT_EQ(accepted.status, 0) << accepted.err;
    EXPECT_NE(ReadFile(path), before);
}

} // namespace

namespace {

TEST_F(ToolTest, ReportWaveAndThumbnailFiles) {
    const std::string a = home.Write("a.ecg", RecordBytes(0));
    const std::string b = home.Write("b.ecg", RecordBytes(0x0040));
    ToolRun run = Run({"report", a, b, "-o", home.File("r.pdf")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(home.File("r.pdf")).rfind("%PDF", 0), 0u);
    run = Run({"wave", a, "-o", home.File("w.svg"), "--zoom", "150", "--sensitivity", "2"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(ReadFile(home.File("w.svg")).find("<svg"), std::string::npos);
    run = Run({"thumbnail", a, "-o", home.File("t.png")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(home.File("t.png")).substr(1, 3), "PNG");

    run = Run({"thumbnail", home.File("gone.ecg"), "-o", home.File("x.png")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("gone.ecg"), std::string::npos);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"wave", a, "-o", "w.png", "--zoom", "120"},
          {"report", a},
          {"report", a, "-o", "r.pdf", "--paper", "a3"},
          {"thumbnail", a, b, "-o", "t.png"}}) {
        EXPECT_EQ(Run(args).status, 2) << args[0];
    }
}

TEST_F(ToolTest, ExportWritesOneFilePerRecordAndListsThem) {
    const std::string a = home.Write("data/d240105150405_002a.ecg", RecordBytes(0));
    const std::string b = home.Write("data/d240106000000_002b.ecg", RecordBytes(0x0040));
    ToolRun run = Run({"export", a, "-o", home.File("one.edf"), "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "{\n  \"result\": \"ok\",\n  \"message\": \"\",\n  \"format\": \"edf\",\n"
                       "  \"written\": [\n    \"" +
                           home.File("one.edf") + "\"\n  ]\n}\n");
    EXPECT_EQ(ReadFile(home.File("one.edf")).rfind("0       X X X X", 0), 0u);

    // The extension chooses the format, unless --format does.
    run = Run({"export", a, "-o", home.File("one.CSV")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, home.File("one.CSV") + "\n");
    EXPECT_EQ(ReadFile(home.File("one.CSV")).rfind("sample,seconds,millivolts\n1,0,", 0), 0u);
    run = Run({"export", a, "-o", home.File("samples.txt"), "--format", "csv"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(home.File("samples.txt")).rfind("sample,", 0), 0u);

    // Into a folder: named after each record, EDF+ unless told otherwise.
    std::filesystem::create_directory(home.File("out"));
    run = Run({"export", a, b, "-o", home.File("out")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, home.File("out/d240105150405_002a.edf") + "\n" +
                           home.File("out/d240106000000_002b.edf") + "\n");
    run = Run({"export", a, b, "-o", home.File("out"), "--format", "csv"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(home.File("out/d240106000000_002b.csv")));
}

TEST_F(ToolTest, ExportNeverOverwritesUnlessForced) {
    const std::string a = home.Write("data/d240105150405_002a.ecg", RecordBytes(0));
    const std::string b = home.Write("data/d240106000000_002b.ecg", RecordBytes(0));
    const std::string kept = home.Write("out/d240106000000_002b.csv", "kept");
    ToolRun run = Run({"export", a, b, "-o", home.File("out"), "--format", "csv", "--json"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, kept + " already exists.\n");
    EXPECT_NE(run.out.find("\"result\": \"failed\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"written\": []"), std::string::npos) << run.out;
    EXPECT_EQ(ReadFile(kept), "kept");
    EXPECT_FALSE(std::filesystem::exists(home.File("out/d240105150405_002a.csv")));

    run = Run({"export", a, b, "-o", home.File("out"), "--format", "csv", "--force"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(kept).rfind("sample,", 0), 0u);

    // Not even --force lets an export take a record's place.
    run = Run({"export", a, "-o", b, "--format", "csv", "--force"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(ReadFile(b), RecordBytes(0));
}

TEST_F(ToolTest, ExportRefusesBadArgumentsAndBadRecords) {
    const std::string a = home.Write("a.ecg", RecordBytes(0));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"export", "-o", home.File("x.edf")},
          {"export", a},
          {"export", a, "-o", home.File("x.edf"), "--format", "bdf"},
          {"export", a, "-o", home.File("x.txt")},
          {"export", a, a, "-o", home.File("x.edf")},
          {"export", a, "-o", home.File("x.edf"), "--overwrite"}}) {
        const ToolRun run = Run(args);
        EXPECT_EQ(run.status, 2) << args.back() << " " << run.err;
        EXPECT_TRUE(
            run.err.ends_with("Try \"rhythmora-tool export --help\" for more information.\n"))
            << run.err;
    }
    const std::string damaged = home.Write("bad.ecg", RecordBytes(0).substr(0, 40));
    const ToolRun run = Run({"export", damaged, "-o", home.File("bad.edf")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, damaged + ": This file is not a recording, or it is damaged.\n");
    EXPECT_FALSE(std::filesystem::exists(home.File("bad.edf")));
}

// Without --paper the report goes on the paper of the settings.
TEST_F(ToolTest, ReportPaperComesFromTheSettingsUnlessGiven) {
    const std::string a = home.Write("a.ecg", RecordBytes(0));
    const std::string letter = "/MediaBox [0 0 612.000000 792.000000]";
    const std::string a4 = "/MediaBox [0 0 595.";
    struct Case {
        const char* setting;
        const char* option; // nullptr: none
        const std::string& mediaBox;
    };
    for (const Case& c : {Case{"1", nullptr, letter}, Case{"1", "a4", a4}, Case{"0", nullptr, a4},
                          Case{"0", "letter", letter}, Case{"2", nullptr, a4}}) {
        home.Write("Documents/TorvaneRhythmora.ini",
                   std::string("[ECGPrint]\nPaperSize=") + c.setting + "\n");
        std::vector<std::string> args{"report", a, "-o", home.File("r.pdf")};
        if (c.option != nullptr)
            args.insert(args.end(), {"--paper", c.option});
        const ToolRun run = Run(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(ReadFile(home.File("r.pdf")).find(c.mediaBox), std::string::npos)
            << c.setting << " " << (c.option != nullptr ? c.option : "-");
    }
}

} // namespace
