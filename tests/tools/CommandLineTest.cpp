// The command line as scripts use it: the option forms, "-" for the
// standard output, exit statuses and what reaches stdout and stderr, text
// from files made safe for the terminal, and file names that are not UTF-8.
#include "RunTool.h"
#include "platform/CodePage.h"
#include "records/ECGContentsData.h"
#include "records/Fixtures.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

using testsupport::ReadFile;
using testsupport::RunTool;
using testsupport::ToolRun;

namespace {

// 2024-01-05 15:04:05 in UTC+9.
constexpr std::uint32_t kRecorded = 1704434645;
constexpr std::size_t kSamples = 250;

std::string RecordFile() {
    records::RecordFields fields;
    fields.recordNumber = 0x2a;
    fields.recordedTime = kRecorded;
    fields.heartRate = 72;
    return records::test::ValidRecord(kSamples, true, fields);
}

// A record whose memo texts and comment hold terminal commands: a window
// title, a screen clear, a C1 introducer and a line break.
std::string RecordWithHostileMemo() {
    std::string file = RecordFile();
    const auto put = [&](std::size_t item, const std::string& text) {
        const std::string utf16 = platform::Utf8ToUtf16Le(text);
        records::test::PutMemoItem(file, kSamples, item, item == 0 ? 512 : 256,
                                   static_cast<std::uint16_t>(utf16.size()), utf16);
    };
    put(records::CECGContentsData::kSituation, "\x1b]0;owned\x07");
    put(records::CECGContentsData::kSymptoms, "\x1b[2J\u009b31m");
    const std::string comment = platform::Utf8ToUtf16Le("line\nbreak\rback\\slash");
    const std::size_t at = records::MemoBlockOffset(kSamples);
    records::test::PutLe16(file, at + records::kOffMemoCommentLength,
                           static_cast<std::uint16_t>(comment.size()));
    file.replace(at + records::kOffMemoComment, comment.size(), comment);
    return file;
}

std::vector<std::uint8_t> Base64Decode(const std::string& text) {
    const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::vector<std::uint8_t> bytes;
    std::uint32_t group = 0;
    int bits = 0;
    for (const char c : text) {
        const std::size_t value = digits.find(c);
        if (value == std::string::npos)
            break;
        group = (group << 6) | static_cast<std::uint32_t>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<std::uint8_t>(group >> bits));
        }
    }
    return bytes;
}

class CommandLineTest : public ::testing::Test {
protected:
    testsupport::TempFolder home;
    std::vector<std::string> Env(const char* locale = "en_US.UTF-8") const {
        return {"HOME=" + home.Path(), "XDG_DOCUMENTS_DIR=" + home.File("Documents"),
                "XDG_CONFIG_HOME=" + home.File(".config"), "XDG_RUNTIME_DIR=" + home.File("run"),
                std::string("LC_ALL=") + locale};
    }
    ToolRun Run(const std::vector<std::string>& args) const { return RunTool(args, Env()); }
};

std::string TryCommand(const std::string& command) {
    return "Try \"rhythmora-tool " + command + " --help\" for more information.\n";
}

// Each row: the arguments ({rec} a record, {home} the test's folder), the
// exit status, what stdout starts with (exactly, when `whole`), and stderr.
TEST_F(CommandLineTest, ArgumentLinesGiveTheirStatusAndOutput) {
    const std::string rec = home.Write("data/d240105150405_002a.ecg", RecordFile());
    struct Row {
        std::vector<std::string> args;
        int status;
        std::string out;
        bool whole;
        std::string err;
    };
    const std::string listLine = "d240105150405_002a.ecg\t2024/01/05 03:04:05 PM\t0\n";
    const Row rows[] = {
        // Both forms of a value, and the short option glued to its value.
        {{"list", "--folder", "{home}/data"}, 0, listLine, true, ""},
        {{"list", "--folder={home}/data"}, 0, listLine, true, ""},
        {{"report", "{rec}", "-o{home}/glued.pdf"}, 0, "", true, ""},
        // "--" ends the options: what follows is a file name.
        {{"info", "--", "--json"}, 1, "", false, "--json: The selected file was not found.\n"},
        // The standard output, in the format the options give.
        {{"report", "{rec}", "-o", "-"}, 0, "%PDF-", false, ""},
        {{"report", "{rec}", "-o", "-", "--format", "svg"}, 0, "<?xml", false, ""},
        {{"wave", "{rec}", "-o", "-"}, 0, "\x89PNG", false, ""},
        {{"thumbnail", "{rec}", "--format=svg", "-o", "-"}, 0, "<?xml", false, ""},
        {{"export", "{rec}", "-o", "-", "--format", "csv"},
         0,
         "sample,seconds,millivolts\n1,0,",
         false,
         ""},
        {{"export", "{rec}", "-o", "-", "--format", "edf"}, 0, "0       X X X X", false, ""},
        // Extensions in any letter case.
        {{"report", "{rec}", "-o", "{home}/R.PDF"}, 0, "", true, ""},
        {{"wave", "{rec}", "-o", "{home}/W.Svg"}, 0, "", true, ""},
        // A drawing that cannot be saved says only why.
        {{"wave", "{rec}", "-o", "{home}/missing/w.svg"},
         1,
         "",
         true,
         "{home}/missing/w.svg could not be written: No such file or directory\n"},
        {{"report", "{rec}", "-o", "{home}/missing/r.pdf"},
         1,
         "",
         true,
         "{home}/missing/r.pdf could not be written: No such file or directory\n"},
        // Usage errors: the problem and one line pointing to the help.
        {{},
         2,
         "",
         true,
         "rhythmora-tool: no command given\n"
         "Try \"rhythmora-tool --help\" for the list of commands.\n"},
        {{"frobnicate"},
         2,
         "",
         true,
         "rhythmora-tool: unknown command \"frobnicate\"\n"
         "Try \"rhythmora-tool --help\" for the list of commands.\n"},
        {{"info", "--colour", "{rec}"},
         2,
         "",
         true,
         "rhythmora-tool: unknown option --colour\n" + TryCommand("info")},
        {{"list", "--folder"},
         2,
         "",
         true,
         "rhythmora-tool: --folder needs a value\n" + TryCommand("list")},
        {{"list", "--json=yes"},
         2,
         "",
         true,
         "rhythmora-tool: --json takes no value\n" + TryCommand("list")},
        {{"memo", "{rec}", "--situation-text"},
         2,
         "",
         true,
         "rhythmora-tool: --situation-text needs a value\n" + TryCommand("memo")},
        {{"report", "{rec}", "-o", "{home}/r.txt"},
         2,
         "",
         true,
         "rhythmora-tool: -o {home}/r.txt ends in none of .pdf, .svg, .png\n" +
             TryCommand("report")},
        {{"wave", "{rec}", "-o", "{home}/w.pdf"},
         2,
         "",
         true,
         "rhythmora-tool: -o {home}/w.pdf ends in none of .png, .svg\n" + TryCommand("wave")},
        {{"report", "{rec}", "-o", "-", "--paper", "a3"},
         2,
         "",
         true,
         "rhythmora-tool: --paper takes one of a4, letter, not \"a3\"\n" + TryCommand("report")},
        {{"wave", "{rec}", "-o", "-", "--sensitivity", "3"},
         2,
         "",
         true,
         "rhythmora-tool: --sensitivity takes a number from 0 to 2, not \"3\"\n" +
             TryCommand("wave")},
        {{"export", "{rec}", "-o", "-"},
         2,
         "",
         true,
         "rhythmora-tool: export -o - needs --format edf|csv\n" + TryCommand("export")},
        {{"export", "{rec}", "-o", "-", "--format", "csv", "--json"},
         2,
         "",
         true,
         "rhythmora-tool: -o - and --json cannot be used together\n" + TryCommand("export")},
        {{"export", "{rec}", "{rec}", "-o", "-", "--format", "csv"},
         2,
         "",
         true,
         "rhythmora-tool: export -o - takes exactly one record file\n" + TryCommand("export")},
        {{"thumbnail", "{rec}"},
         2,
         "",
         true,
         "rhythmora-tool: thumbnail needs -o OUT\n" + TryCommand("thumbnail")},
        {{"settings", "extra"},
         2,
         "",
         true,
         "rhythmora-tool: settings takes no file names\n" + TryCommand("settings")},
    };
    const auto fill = [&](std::string text) {
        for (const auto& [token, value] :
             {std::pair<std::string, std::string>{"{rec}", rec}, {"{home}", home.Path()}})
            for (std::size_t at = text.find(token); at != std::string::npos;
                 at = text.find(token, at + value.size()))
                text.replace(at, token.size(), value);
        return text;
    };
    for (const Row& row : rows) {
        std::vector<std::string> args;
        std::string line;
        for (const std::string& arg : row.args) {
            args.push_back(fill(arg));
            line += " " + arg;
        }
        const ToolRun run = Run(args);
        EXPECT_EQ(run.status, row.status) << line << "\n" << run.err;
        if (row.whole)
            EXPECT_EQ(run.out, fill(row.out)) << line;
        else
            EXPECT_EQ(run.out.substr(0, row.out.size()), fill(row.out)) << line;
        EXPECT_EQ(run.err, fill(row.err)) << line;
    }
    EXPECT_EQ(ReadFile(home.File("R.PDF")).rfind("%PDF-", 0), 0u);
    EXPECT_EQ(ReadFile(home.File("glued.pdf")).rfind("%PDF-", 0), 0u);
    EXPECT_NE(ReadFile(home.File("W.Svg")).find("<svg"), std::string::npos);
}

TEST_F(CommandLineTest, WhatATerminalCannotShowIsNotWrittenToOne) {
    const std::string rec = home.Write("a.ecg", RecordFile());
    for (const std::vector<std::string>& args : {std::vector<std::string>{"report", rec, "-o", "-"},
                                                 {"thumbnail", rec, "-o", "-", "--format", "svg"},
                                                 {"export", rec, "-o", "-", "--format", "edf"}}) {
        const ToolRun run = testsupport::RunToolOnTerminal(args, Env());
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_EQ(run.out, "") << args[0];
        EXPECT_NE(run.err.find("is not written to a terminal"), std::string::npos) << run.err;
    }
    // Plain text is.
    const ToolRun csv =
        testsupport::RunToolOnTerminal({"export", rec, "-o", "-", "--format", "csv"}, Env());
    EXPECT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out.rfind("sample,seconds,millivolts\r\n", 0), 0u);
}

TEST_F(CommandLineTest, MemoTakesTheFormsItemsByNameOrCode) {
    const std::string rec = home.Write("a.ecg", RecordFile());
    struct Row {
        std::vector<std::string> options;
        const char* expected; // the memo members info --json shows
    };
    const Row rows[] = {
        {{"--symptom", "chest-pain", "--symptom", "palpitations", "--position", "V4", "--posture",
          "lying", "--situation", "other"},
         "\"situation\": 512,|\"symptoms\": 17,|\"position\": 8,|\"posture\": 4,"},
        {{"--position=v6", "--situation", "At-Rest", "--symptom", "16", "--symptom", "no-symptoms"},
         "\"situation\": 4,|\"symptoms\": 512,|\"position\": 32,"},
        // The codes of before still work.
        {{"--situation", "8", "--symptoms", "0x3", "--position", "4", "--posture", "0"},
         "\"situation\": 8,|\"symptoms\": 3,|\"position\": 4,|\"posture\": 0,"},
        {{"--situation", "none", "--position", "none"}, "\"situation\": 0,|\"position\": 0,"},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args = {"memo", rec};
        args.insert(args.end(), row.options.begin(), row.options.end());
        const ToolRun memo = Run(args);
        ASSERT_EQ(memo.status, 0) << memo.err;
        const ToolRun info = Run({"info", "--json", rec});
        const std::string expected = row.expected;
        for (std::size_t at = 0; at < expected.size();) {
            const std::size_t bar = std::min(expected.find('|', at), expected.size());
            EXPECT_NE(info.out.find(expected.substr(at, bar - at)), std::string::npos)
                << expected.substr(at, bar - at) << " after " << row.options.front();
            at = bar + 1;
        }
    }
    const std::string before = ReadFile(rec);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"memo", rec, "--position", "V7"},
          {"memo", rec, "--position", "3"},
          {"memo", rec, "--posture", "none", "--symptom", "headache"},
          {"memo", rec, "--symptom", "dazed", "--symptoms", "1"}}) {
        const ToolRun run = Run(args);
        EXPECT_EQ(run.status, 2) << args[2] << " " << args[3];
        EXPECT_TRUE(run.err.ends_with(TryCommand("memo"))) << run.err;
    }
    EXPECT_EQ(ReadFile(rec), before);
}

TEST_F(CommandLineTest, TextFromARecordCannotCommandTheTerminal) {
    const std::string rec = home.Write("d\x1b[31mred.ecg", RecordWithHostileMemo());
    const ToolRun info = Run({"info", rec});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.out.find('\x1b'), std::string::npos) << info.out;
    EXPECT_EQ(info.out.find("\xc2\x9b"), std::string::npos);
    EXPECT_EQ(info.out.find('\r'), std::string::npos);
    EXPECT_NE(info.out.find("d\\x1b[31mred.ecg\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("situation 512 \"\\x1b]0;owned\\x07\""), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("symptoms 256 \"\\x1b[2J\\u009b31m\""), std::string::npos);
    EXPECT_NE(info.out.find("comment: \"line\\nbreak\\rback\\\\slash\"\n"), std::string::npos);

    const ToolRun list = Run({"list", "--folder", home.Path()});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out.rfind("d\\x1b[31mred.ecg\t", 0), 0u) << list.out;

    // JSON escapes them as JSON does, and keeps the members as they were.
    const ToolRun json = Run({"info", "--json", rec});
    EXPECT_EQ(json.out.find('\x1b'), std::string::npos);
    EXPECT_NE(json.out.find("\"situation_text\": \"\\u001b]0;owned\\u0007\""), std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"comment\": \"line\\nbreak\\rback\\\\slash\""), std::string::npos);
    EXPECT_EQ(json.out.find("_base64"), std::string::npos);

    // Nor does a file name in a message.
    const ToolRun missing = Run({"info", home.File("gone\x1b]2;x\x07.ecg")});
    EXPECT_EQ(missing.err,
              home.File("gone\\x1b]2;x\\x07.ecg") + ": The selected file was not found.\n");
}

TEST_F(CommandLineTest, ANameThatIsNotUtf8IsListedAndOpenedThroughItsJson) {
    // A name as a card written on another system may carry: Shift-JIS bytes.
    const std::string name = "d240105150405_\x83\x65\x83\x58\x83\x67.ecg";
    const std::string rec = home.Write("data/" + name, RecordFile());
    const ToolRun list = Run({"list", "--json", "--folder", home.File("data")});
    ASSERT_EQ(list.status, 0) << list.err;
    // The members of before are still there (lossy), with the exact bytes
    // beside them.
    EXPECT_NE(list.out.find("\"file_name\": \"d240105150405_\xef\xbf\xbd"), std::string::npos)
        << list.out;
    std::smatch match;
    ASSERT_TRUE(std::regex_search(list.out, match, std::regex("\"path_base64\": \"([^\"]*)\"")))
        << list.out;
    const std::vector<std::uint8_t> bytes = Base64Decode(match[1]);
    const std::string path(bytes.begin(), bytes.end());
    EXPECT_EQ(path, rec);
    ASSERT_TRUE(
        std::regex_search(list.out, match, std::regex("\"file_name_base64\": \"([^\"]*)\"")));
    const std::vector<std::uint8_t> nameBytes = Base64Decode(match[1]);
    EXPECT_EQ(std::string(nameBytes.begin(), nameBytes.end()), name);

    const ToolRun info = Run({"info", "--json", path});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("\"loaded\": true"), std::string::npos) << info.out;
    ASSERT_TRUE(std::regex_search(info.out, match, std::regex("\"path_base64\": \"([^\"]*)\"")));
    const std::vector<std::uint8_t> again = Base64Decode(match[1]);
    EXPECT_EQ(std::string(again.begin(), again.end()), path);

    // Plain output shows the bytes escaped.
    const ToolRun plain = Run({"list", "--folder", home.File("data")});
    EXPECT_EQ(plain.out.rfind("d240105150405_\\x83e\\x83X\\x83g.ecg\t", 0), 0u) << plain.out;
}

} // namespace
