// The shipped language files against the program: every text the program
// shows must have its wording in each file, and every format must take the
// arguments its callers pass; the manuals they name must be complete.
#include "app/Language.h"
#include "device/DeviceError.h"
#include "platform/Files.h"
#include "platform/ResourceText.h"
#include "platform/ShareFolder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string_view>

using testsupport::ScopedEnv;
using testsupport::TempFolder;

namespace app {
namespace {

const char* const kShippedFiles[] = {"RHYVENU.lng", "RHYVJPN.lng"};

// Ids that are no wording of their own: the document template string and
// the status-bar panes, whose blank texts are replaced by record values.
const std::set<unsigned> kNotWording = {100, 62294, 62295, 62296, 62322};

// The arguments callers format each text with, in order: 'd' an integer,
// 's' a text. A text may use fewer of them, never others.
const std::map<unsigned, std::string> kFormats = {
    {32000, "s"},      {51001, "d"},  {51011, "d"},   {51012, "d"},  {51016, "d"},
    {51027, "dddsdd"}, {62007, "d"},  {62008, "dds"}, {62011, "dd"}, {62090, "ddds"},
    {62091, "sddd"},   {62092, "d"},  {62093, "ss"},  {62094, "s"},  {62121, "d"},
    {62401, "s"},      {62410, "dd"}, {62412, "d"},   {62413, "ds"}, {62414, "d"},
    {62416, "d"},      {62417, "ss"}, {62418, "s"},   {62440, "d"},  {62750, "d"},
    {62753, "ss"},     {62754, "s"},  {62756, "dd"},  {62758, "s"},  {62759, "ss"},
    {62762, "s"},      {62763, "sd"}, {62765, "sd"},  {62769, "s"},  {62770, "d"},
    {62830, "s"},      {62833, "s"},  {62834, "s"},   {62835, "s"},  {62836, "s"},
    {62837, "s"},      {62838, "s"},  {62839, "s"},   {62840, "ss"}, {62841, "sdds"},
    {62842, "sss"},    {62843, "ss"}, {62844, "ss"},  {62845, "s"},  {62846, "s"},
    {62847, "ss"},     {62848, "ss"}, {62849, "s"},   {62855, "s"},  {62859, "d"},
    {62862, "d"},      {62876, "s"},  {62877, "s"},
};

// The kinds of the printf conversions in a text; '?' for one that is
// neither an integer nor a text.
std::string Conversions(std::string_view text) {
    std::string kinds;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        std::size_t j = i + 1;
        while (j < text.size() &&
               std::string_view("-+ #0123456789.hl").find(text[j]) != std::string_view::npos)
            ++j;
        if (j == text.size()) {
            kinds += '?';
            break;
        }
        if (text[j] != '%')
            kinds += std::string_view("diux").find(text[j]) != std::string_view::npos ? 'd'
                     : text[j] == 's'                                                 ? 's'
                                                                                      : '?';
        i = j;
    }
    return kinds;
}

std::string LanguageFolder() {
    return platform::JoinPath(platform::ShareFolder(), "Language");
}

// The module with the shipped files listed, in a profile-free home.
class ShippedLanguages : public ::testing::Test {
protected:
    ShippedLanguages() : m_config("XDG_CONFIG_HOME", m_home.Path()) {
        m_languages.InitLanguages(CLanguages::kFirstCommandId, CLanguages::kMaxLanguages);
        m_languages.ScanLanguageFolder(LanguageFolder(), CLanguages::kFilePattern, "");
    }
    // Runs the check once per shipped language, with that language current.
    template <typename Check> void ForEachLanguage(Check check) {
        ASSERT_EQ(m_languages.Entries().size(), std::size(kShippedFiles));
        for (const LanguageEntry& entry : m_languages.Entries()) {
            SCOPED_TRACE(entry.path);
            m_languages.SelectLanguage(&entry);
            check(entry);
        }
    }

    TempFolder m_home;
    ScopedEnv m_config;
    CLanguages m_languages;
};

TEST_F(ShippedLanguages, EveryStringIdHasWordingInEveryFile) {
    ForEachLanguage([&](const LanguageEntry&) {
        for (const unsigned id : platform::ResourceTextIds()) {
            if (kNotWording.contains(id))
                continue;
            EXPECT_TRUE(m_languages.Text(id)) << "no text for ID" << id;
        }
    });
}

TEST_F(ShippedLanguages, FormatsTakeTheArgumentsTheirCallersPass) {
    ForEachLanguage([&](const LanguageEntry&) {
        for (const unsigned id : platform::ResourceTextIds()) {
            const std::string kinds = Conversions(m_languages.Text(id).value_or(""));
            const auto format = kFormats.find(id);
            const std::string expected = format == kFormats.end() ? "" : format->second;
            EXPECT_TRUE(expected.starts_with(kinds)) << "ID" << id << " converts \"" << kinds
                                                     << "\", callers pass \"" << expected << "\"";
        }
        // The progress lines of the two device dialogs get two integers.
        for (const unsigned dialog : {214u, 215u})
            EXPECT_TRUE(std::string("dd").starts_with(
                Conversions(m_languages.DialogControlText(dialog, 1200).value_or(""))));
    });
}

TEST_F(ShippedLanguages, EveryMenuItemAndPopupHasWording) {
    const unsigned items[] = {208,   57601, 202,   192,   57665, 32877, 217,   200,   204,
                              32902, 32901, 312,   313,   320,   321,   252,   32885, 258,
                              32871, 32887, 32870, 32897, 32898, 32899, 62760, 62761};
    // The first command of each popup names it.
    const unsigned popups[] = {208, 32877, 217, 204, 252, 32871, 32897};
    ForEachLanguage([&](const LanguageEntry&) {
        for (const unsigned id : items)
            EXPECT_TRUE(m_languages.MenuItemText(id)) << "MENU ID" << id;
        for (const unsigned id : popups)
            EXPECT_TRUE(m_languages.MenuPopupText(id)) << "MENU PID" << id;
    });
}

TEST_F(ShippedLanguages, EveryDialogControlHasWording) {
    const std::map<unsigned, std::vector<unsigned>> controls = {
        {101, {1, 2, 1411, 1412, 1297}},
        {212, {1, 2, 1186, 1189, 1190, 1191}},
        {214, {1, 1199, 1200, 1202, 1204}},
        {215, {1, 1199, 1200, 1202, 1204}},
        {262, {1,    2,    1211, 1212, 1213, 1214, 1215, 1216, 1217, 1218, 1219, 1220, 1234, 1235,
               1236, 1237, 1238, 1239, 1240, 1241, 1242, 1243, 1221, 1222, 1223, 1245, 1246, 1247,
               1248, 1249, 1250, 1251, 1252, 1273, 1272, 1276, 1244, 1227, 1256, 1254, 1231, 1230}},
        {328, {1, 2, 1281, 1282, 1283, 1291, 1279, 1285, 1286, 1295}},
        {344, {1, 1294, 1298, 1301}},
        {346, {1, 1294, 1196, 1304, 1323}},
        {356, {1, 2, 1296, 1297, 1298, 1299, 1300, 1301, 1302}},
    };
    ForEachLanguage([&](const LanguageEntry&) {
        for (const auto& [dialog, ids] : controls)
            for (const unsigned id : ids)
                EXPECT_TRUE(m_languages.DialogControlText(dialog, id))
                    << "DLG_" << dialog << " ID" << id;
        for (const unsigned dialog : {212u, 214u, 215u, 262u, 328u, 356u})
            EXPECT_TRUE(m_languages.DialogCaption(dialog)) << "DLG_" << dialog << " CAPTION";
    });
}

// A memo item reads the same in the memo dialog and on the paper.
TEST_F(ShippedLanguages, MemoItemsHaveOneWordingInTheDialogAndOnThePaper) {
    struct Group {
        unsigned firstControl;
        unsigned firstText;
        unsigned count;
    };
    const Group groups[] = {
        {1211, 62220, 10}, {1234, 62250, 10}, {1221, 62310, 3}, {1245, 62280, 8}};
    ForEachLanguage([&](const LanguageEntry&) {
        for (const Group& group : groups)
            for (unsigned i = 0; i < group.count; ++i)
                EXPECT_EQ(m_languages.DialogControlText(262, group.firstControl + i),
                          m_languages.Text(group.firstText + i))
                    << "DLG_262 ID" << group.firstControl + i << " and ID" << group.firstText + i;
    });
}

TEST_F(ShippedLanguages, ManualFilesExist) {
    ForEachLanguage([&](const LanguageEntry&) {
        for (const unsigned id : {62325u, 62326u, 62333u}) {
            const std::string name = m_languages.Text(id).value_or("");
            EXPECT_TRUE(platform::IsRegularFile(
                platform::JoinPath(platform::JoinPath(platform::ShareFolder(), "Manual"), name)))
                << "ID" << id << " names " << name;
        }
    });
}

// Every picture and file a manual uses is there, every link inside it leads to a
// section, and each explains every code a device failure can carry.
TEST_F(ShippedLanguages, TheManualsShowTheirPicturesAndExplainEveryErrorCode) {
    const std::string folder = platform::JoinPath(platform::ShareFolder(), "Manual");
    std::set<std::string> sectionsOfFirst;
    ForEachLanguage([&](const LanguageEntry&) {
        const std::string name = m_languages.Text(62325).value_or("");
        const std::string page = testsupport::ReadFile(platform::JoinPath(folder, name));
        ASSERT_FALSE(page.empty()) << name;
        const auto matches = [&](const char* pattern) {
            std::set<std::string> found;
            const std::regex re(pattern);
            for (auto it = std::sregex_iterator(page.begin(), page.end(), re);
                 it != std::sregex_iterator(); ++it)
                found.insert((*it)[1]);
            return found;
        };
        const std::set<std::string> pictures = matches("src=\"([^\"]+)\"");
        EXPECT_GE(pictures.size(), 4u) << name;
        std::set<std::string> files = matches("href=\"([^\"#:]+)\"");
        files.insert(pictures.begin(), pictures.end());
        for (const std::string& file : files)
            EXPECT_TRUE(platform::IsRegularFile(platform::JoinPath(folder, file)))
                << name << " uses " << file;
        const std::set<std::string> sections = matches("id=\"([^\"]+)\"");
        for (const std::string& link : matches("href=\"#([^\"]+)\""))
            EXPECT_TRUE(sections.count(link)) << name << " links to #" << link;
        // Both languages tell the same sections.
        if (sectionsOfFirst.empty())
            sectionsOfFirst = sections;
        EXPECT_EQ(sections, sectionsOfFirst) << name;
        for (const std::string_view code :
             {device::kErrOpen, device::kErrTransmit, device::kErrReceive, device::kErrNoLength,
              device::kErrResponse, device::kErrPayloadStd, device::kErrPayloadExt,
              device::kErrCreateFile, device::kErrWriteFile, device::kErrDiskFull,
              device::kErrClockRange})
            EXPECT_NE(page.find(code), std::string::npos) << name << " does not explain " << code;
    });
}

TEST_F(ShippedLanguages, EnglishAnalysisMessagesStartWithDistinctLetters) {
    m_languages.SelectLanguageId(0x0409);
    ASSERT_NE(m_languages.Current(), nullptr);
    std::set<char> letters;
    for (unsigned id = 62020; id <= 62032; ++id) {
        const std::string text = m_languages.Text(id).value_or("");
        ASSERT_FALSE(text.empty()) << id;
        EXPECT_TRUE(letters.insert(text.front()).second) << "ID" << id << " " << text;
    }
}

TEST(StartLanguages, JapaneseLocaleChoosesTheJapaneseFile) {
    TempFolder home;
    ScopedEnv config("XDG_CONFIG_HOME", home.Path());
    ScopedEnv all("LC_ALL", std::nullopt);
    ScopedEnv messages("LC_MESSAGES", std::nullopt);
    ScopedEnv lang("LANG", "ja_JP.UTF-8");
    StartLanguages();
    ASSERT_NE(Languages().Current(), nullptr);
    EXPECT_EQ(Languages().Current()->id, 0x0411);
    EXPECT_EQ(platform::LoadText(62005), "金");
    EXPECT_EQ(platform::LoadText(99999), "");
    ReleaseLanguages();
    EXPECT_EQ(platform::LoadText(62005), "Friday");
}

TEST(StartLanguages, WithoutLanguageFilesEveryTextIsTheResourceText) {
    TempFolder home;
    ScopedEnv config("XDG_CONFIG_HOME", home.Path());
    ScopedEnv lang("LC_ALL", "ja_JP.UTF-8");
    StartLanguages(home.Path());
    EXPECT_EQ(Languages().Current(), nullptr);
    for (const unsigned id : platform::ResourceTextIds())
        EXPECT_EQ(platform::LoadText(id), platform::ResourceText(id)) << id;
    ReleaseLanguages();
}

} // namespace
} // namespace app
