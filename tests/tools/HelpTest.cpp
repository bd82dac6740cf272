// What both programs answer to --version and --help, and that the manual
// page of rhythmora-tool keeps up with the commands the tool has.
#include "RunTool.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

using testsupport::ReadFile;
using testsupport::RunProgram;
using testsupport::RunTool;
using testsupport::ToolRun;

namespace {

class HelpTest : public ::testing::Test {
protected:
    testsupport::TempFolder home;
    std::vector<std::string> Env() const {
        return {"HOME=" + home.Path(), "XDG_DOCUMENTS_DIR=" + home.File("Documents"),
                "XDG_CONFIG_HOME=" + home.File(".config"), "XDG_RUNTIME_DIR=" + home.File("run"),
                "LC_ALL=en_US.UTF-8"};
    }
};

// Group 1 of every match of the pattern, in order.
std::vector<std::string> Captures(const std::string& text, const char* pattern) {
    std::vector<std::string> found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
         ++it)
        found.push_back((*it)[1]);
    return found;
}

// The command names of the overview, in its order.
std::vector<std::string> CommandsOf(const std::string& overview) {
    return Captures(overview, "\n  ([a-z][a-z-]*)");
}

std::set<std::string> OptionsIn(const std::string& text) {
    const std::vector<std::string> options = Captures(text, "(?:^|[\\s\\[])(--?[a-z][a-z-]*)");
    return {options.begin(), options.end()};
}

// The manual page's command sections by name, with roff's "\-" read as "-".
std::map<std::string, std::string> ManualSections() {
    const std::string page =
        std::regex_replace(ReadFile(RHYTHMORA_TOOL_MANUAL_PAGE), std::regex("\\\\-"), "-");
    std::map<std::string, std::string> sections;
    std::size_t at = page.find("\n.SS ");
    while (at != std::string::npos) {
        const std::size_t next = page.find("\n.S", at + 1);
        const std::string body = page.substr(at + 5, next - at - 5);
        sections[body.substr(0, body.find_first_of(" \n"))] = body;
        at = page.find("\n.SS ", at + 1);
    }
    return sections;
}

TEST_F(HelpTest, EveryCommandAnswersHelpOnStandardOutput) {
    const ToolRun overview = RunTool({"--help"}, Env());
    ASSERT_EQ(overview.status, 0);
    const std::vector<std::string> commands = CommandsOf(overview.out);
    ASSERT_GE(commands.size(), 12u) << overview.out;
    for (const std::string& name : commands) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{name, "--help"}, {name, "-h"}, {name, "extra", "--help"}}) {
            const ToolRun run = RunTool(args, Env());
            EXPECT_EQ(run.status, 0) << name;
            EXPECT_EQ(run.out.rfind("usage: rhythmora-tool " + name + " ", 0), 0u) << run.out;
            EXPECT_EQ(run.err, "") << name;
        }
        // The help is in the interface language; the usage line is the same.
        std::vector<std::string> japanese = Env();
        japanese.back() = "LC_ALL=ja_JP.UTF-8";
        const ToolRun english = RunTool({name, "--help"}, Env());
        const ToolRun translated = RunTool({name, "--help"}, japanese);
        EXPECT_EQ(translated.out.substr(0, translated.out.find("\n\n")),
                  english.out.substr(0, english.out.find("\n\n")));
        EXPECT_NE(translated.out, english.out) << name;
        EXPECT_EQ(OptionsIn(translated.out), OptionsIn(english.out)) << name;
    }
    // After "--" a help word is a file name.
    const ToolRun run = RunTool({"info", "--", "--help"}, Env());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out.find("usage:"), std::string::npos);
}

TEST_F(HelpTest, BothProgramsTellTheirVersionWithoutADisplay) {
    const std::vector<std::string> noDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    std::vector<std::string> env = Env();
    env.insert(env.end(), noDisplay.begin(), noDisplay.end());
    const ToolRun tool = RunTool({"--version"}, env);
    EXPECT_EQ(tool.status, 0);
    EXPECT_EQ(tool.out, "rhythmora-tool (Rhythmora) " RHYTHMORA_VERSION "\n");
    for (const char* option : {"--version", "-v"}) {
        const ToolRun window = RunProgram(RHYTHMORA_BINARY, {option}, env);
        EXPECT_EQ(window.status, 0) << window.err;
        EXPECT_EQ(window.out, "rhythmora (Rhythmora) " RHYTHMORA_VERSION "\n");
    }
    const ToolRun help = RunProgram(RHYTHMORA_BINARY, {"--help"}, env);
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_NE(help.out.find("--demo"), std::string::npos);
    std::vector<std::string> offscreen = Env();
    offscreen.push_back("QT_QPA_PLATFORM=offscreen");
    EXPECT_EQ(RunProgram(RHYTHMORA_BINARY, {"--no-such-option"}, offscreen).status, 2);
}

TEST_F(HelpTest, TheManualPageDescribesEveryCommandAndOption) {
    const std::map<std::string, std::string> sections = ManualSections();
    for (const std::string& name : CommandsOf(RunTool({"--help"}, Env()).out)) {
        const auto section = sections.find(name);
        ASSERT_NE(section, sections.end()) << name << " has no section in the manual page";
        const std::set<std::string> documented = OptionsIn(section->second);
        for (const std::string& option : OptionsIn(RunTool({name, "--help"}, Env()).out))
            EXPECT_TRUE(documented.count(option)) << name << " " << option;
    }
}

} // namespace
