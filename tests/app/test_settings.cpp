#include "app/ECGOptions.h"
#include "app/StartUp.h"
#include "platform/Files.h"
#include "platform/Profile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using app::CECGOptions;
using platform::GetProfileInt;
using platform::GetProfileString;
using testsupport::ReadFile;
using testsupport::ScopedEnv;
using testsupport::TempFolder;

namespace {

// A user whose Documents folder and executable live in a temp folder.
class SettingsTest : public ::testing::Test {
protected:
    TempFolder home;
    ScopedEnv homeEnv{"HOME", home.Path()};
    ScopedEnv docsEnv{"XDG_DOCUMENTS_DIR", home.File("Documents")};
    ScopedEnv configEnv{"XDG_CONFIG_HOME", home.File(".config")};
    std::string exe = home.File("bin/rhythmora");

    void SetUp() override { platform::CreateFolderTree(home.File("Documents")); }
    std::string Ini() const { return home.File("Documents/TorvaneRhythmora.ini"); }
    std::string Value(const char* section, const char* key) const {
        return GetProfileString(Ini(), section, key, "<missing>", 2048);
    }
    CECGOptions Loaded(const std::string& iniText) {
        home.Write("Documents/TorvaneRhythmora.ini", iniText);
        CECGOptions options;
        options.PreparePaths(exe);
        options.Load();
        return options;
    }
};

TEST_F(SettingsTest, FirstStartCreatesTheFileWithEveryDefault) {
    CECGOptions options;
    app::LoadSettings(options, exe);

    const std::string dataFolder = home.File("Documents/Torvane/Rhythmora/ECGData/");
    EXPECT_EQ(options.iniPath, Ini());
    EXPECT_EQ(Value("ECGSaveData", "DirHDD"), dataFolder);
    EXPECT_EQ(Value("ECGSaveData", "DirSD"), "");
    EXPECT_EQ(Value("ECGSaveData", "DeviceSD"), "");
    EXPECT_EQ(Value("ECGSaveData", "BackupDir"), "");
    EXPECT_EQ(Value("ECGWindowSize", "ECGDataListSizeX"), "800");
    EXPECT_EQ(Value("ECGWindowSize", "ECGDataListSizeY"), "600");
    EXPECT_EQ(Value("COM", "DevIdKey1"), "VID_1A3C&PID_0B71");
    EXPECT_EQ(Value("COM", "RecvTimeOutMs"), "2000");
    EXPECT_EQ(Value("COM", "BaudRate"), "1500000");
    EXPECT_EQ(Value("COM", "RecvTimeOutElse"), "500");
    EXPECT_EQ(Value("COMMON", "MaxImageListSize"), "100");

    // The first import needs a folder to write into, parents and all.
    EXPECT_EQ(options.dirHdd, dataFolder);
    EXPECT_TRUE(platform::IsDirectory(dataFolder));
    EXPECT_EQ(options.loaded, 1);
    EXPECT_EQ(options.listWidth, 800);
    EXPECT_EQ(options.devIdList, std::vector<std::string>{"VID_1A3C&PID_0B71"});
    EXPECT_EQ(options.recvTimeOutMs, 2000);
    EXPECT_EQ(options.baudRate, 1500000);
    EXPECT_EQ(options.maxImageListSize, 100);
}

TEST_F(SettingsTest, BuiltInDefaultsOfAnEmptyFile) {
    const CECGOptions o = Loaded("");
    EXPECT_EQ(o.samplingRate, 125);
    EXPECT_EQ(o.reserved, 1);
    EXPECT_EQ(o.paperSize, 0);
    EXPECT_EQ(o.printerPaper, app::kPrinterPaperA4);
    EXPECT_EQ(o.headerOn, 1);
    EXPECT_EQ(o.footerOn, 1);
    EXPECT_EQ(o.margins, (std::array<int, 4>{200, 150, 200, 220}));
    EXPECT_EQ(o.printScale, 100);
    EXPECT_EQ(o.printFolder, "My Computer");
    EXPECT_EQ(o.colours, (std::array<app::COLORREF, 11>{16777088, 8421631, 16744448, 0, 0, 16711680,
                                                        65280, 33023, 255, 16777215, 0}));
    EXPECT_EQ(o.comPort, 1);
    EXPECT_EQ(o.comBaud, 38400);
    EXPECT_EQ(o.saveDir, "c:\\tmp\\");
    EXPECT_EQ(o.treeDir, "c:\\");
    EXPECT_EQ(o.maxPreview, 256);
    EXPECT_EQ(o.maxWaveDialog, 30);
    EXPECT_EQ(o.listHeaderSize, (std::array<int, 4>{220, 80, 80, 150}));
    EXPECT_EQ(o.leftPaneSize + o.rightPaneSize + o.upPaneSize + o.downPaneSize, 900);
    EXPECT_EQ(o.type1InstBitPos, 12);
    EXPECT_EQ(o.electricRange, 20);
    EXPECT_EQ(o.maxPort, 10);
    EXPECT_EQ(o.searchDlgX, 247);
    EXPECT_EQ(o.searchDlgY, 185);
    EXPECT_EQ(o.logDir, "");
}

TEST_F(SettingsTest, OutOfRangeValuesKeepTheirResetValues) {
    struct Case {
        const char* text;
        int samplingRate, paperSize, printerPaper, displayType;
        std::array<int, 4> margins;
    };
    const Case cases[] = {
        {"[ECGPrint]\nPaperSize=2\n", 125, 3, app::kPrinterPaperUntouched, 0, {200, 150, 200, 220}},
        {"[ECGPrint]\nPaperSize=1\n", 125, 1, app::kPrinterPaperLetter, 0, {200, 210, 140, 100}},
        {"[ECGHertz]\nDataHertz=0\n", 125, 0, app::kPrinterPaperA4, 0, {200, 150, 200, 220}},
        {"[ECGHertz]\nDataHertz=-250\n", 125, 0, app::kPrinterPaperA4, 0, {200, 150, 200, 220}},
        {"[ECGHertz]\nDataHertz=250\n[ECGPrint]\nDisplayType=1\n",
         250,
         0,
         app::kPrinterPaperA4,
         1,
         {200, 150, 200, 220}},
        {"[ECGPrint]\nDisplayType=2\nLeftMargin=5\n",
         125,
         0,
         app::kPrinterPaperA4,
         0,
         {5, 150, 200, 220}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CECGOptions o = Loaded(c.text);
        EXPECT_EQ(o.samplingRate, c.samplingRate);
        EXPECT_EQ(o.paperSize, c.paperSize);
        EXPECT_EQ(o.printerPaper, c.printerPaper);
        EXPECT_EQ(o.displayType, c.displayType);
        EXPECT_EQ(o.margins, c.margins);
    }
}

TEST_F(SettingsTest, NumbersAreHeldWhereNoArithmeticOverflows) {
    const CECGOptions o = Loaded("[ECGPrint]\nLeftMargin=2147483647\nTopMargin=-2147483648\n"
                                 "Scale=99999999\n[ECGHertz]\nDataHertz=2147483647\n"
                                 "[ECGColor]\nBGColor=-1\n"
                                 "[Rhythmora]\nType1_InstBitPos=64\nMaxWaveDialog=-3\n"
                                 "[ECGWindowSize]\nECGDataListSizeX=2147483647\n"
                                 "[COM]\nRecvTimeOutMs=-1\nBaudRate=-9\n");
    EXPECT_EQ(o.margins[app::kMarginLeft], 10000);
    EXPECT_EQ(o.margins[app::kMarginTop], -10000);
    EXPECT_EQ(o.printScale, 10000);
    EXPECT_EQ(o.samplingRate, 10000);
    EXPECT_EQ(o.colours[app::kColourBackground], 0xFFFFFFu);
    EXPECT_EQ(o.type1InstBitPos, 31);
    EXPECT_EQ(o.maxWaveDialog, 0);
    EXPECT_EQ(o.listWidth, 100000);
    EXPECT_EQ(o.recvTimeOutMs, 1);
    EXPECT_EQ(o.baudRate, 1);
}

TEST_F(SettingsTest, AStrayByteLeavesTheDataFolderAndEveryOtherLineAlone) {
    // Written by hand once: a comment in Latin-1, the data folder in UTF-8.
    const std::string text = "; r\xE9glages\n[ECGSaveData]\nDirHDD=/home/ユーザー/心電図/\n"
                             "[COM]\nDevIdKey1=VID_1A3C&PID_0B71\nRecvTimeOutMs=2000\n"
                             "BaudRate=1500000\nRecvTimeOutElse=500\n"
                             "[COMMON]\nMaxImageListSize=100\n";
    const CECGOptions o = Loaded(text);
    EXPECT_EQ(o.dirHdd, "/home/ユーザー/心電図/");
    EXPECT_EQ(ReadFile(Ini()), text);
    o.Save();
    EXPECT_TRUE(ReadFile(Ini()).starts_with("; r\xE9glages\n[ECGSaveData]\n"
                                            "DirHDD=/home/ユーザー/心電図/\n"));
}

TEST_F(SettingsTest, DeviceLinkValuesAreCompletedInTheFile) {
    const CECGOptions o = Loaded("[COM]\nDevIdKey3=VID_1234&PID_5678\nRecvTimeOutMs=fast\n"
                                 "BaudRate=115200\n[COMMON]\nMaxImageListSize=-7\n");
    EXPECT_EQ(o.devIdList, std::vector<std::string>{"VID_1234&PID_5678"});
    EXPECT_EQ(Value("COM", "DevIdKey1"), "<missing>");
    EXPECT_EQ(o.recvTimeOutMs, 2000);
    EXPECT_EQ(Value("COM", "RecvTimeOutMs"), "2000");
    EXPECT_EQ(o.baudRate, 115200);
    EXPECT_EQ(Value("COM", "BaudRate"), "115200");
    EXPECT_EQ(o.maxImageListSize, 100);
    EXPECT_EQ(Value("COMMON", "MaxImageListSize"), "100");
}

TEST_F(SettingsTest, DeviceIdsKeepKeyOrderAcrossGaps) {
    const CECGOptions o = Loaded("[COM]\nDevIdKey20=C\nDevIdKey2=A\nDevIdKey7=B\nDevIdKey21=X\n"
                                 "LogDir=/var/tmp/log\n");
    EXPECT_EQ(o.devIdList, (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(o.logDir, "/var/tmp/log");
}

TEST_F(SettingsTest, DataFolderIsCutTo209Characters) {
    const std::string long210(210, 'f');
    const CECGOptions o = Loaded("[ECGSaveData]\nDirHDD=" + long210 + "\n");
    EXPECT_EQ(o.dirHdd, long210.substr(0, 209));
}

TEST_F(SettingsTest, ChosenFolderThatIsMissingIsNotCreated) {
    home.Write("Documents/TorvaneRhythmora.ini",
               "[ECGSaveData]\nDirHDD=" + (home.File("share/x")) + "\n");
    CECGOptions options;
    app::LoadSettings(options, exe);
    EXPECT_EQ(options.dirHdd, home.File("share/x"));
    EXPECT_FALSE(platform::FileExists(home.File("share")));
}

TEST_F(SettingsTest, EmptyDataFolderFallsBackToTheDefault) {
    const CECGOptions o = Loaded("[ECGSaveData]\nDirHDD=\n");
    EXPECT_EQ(o.dirHdd, CECGOptions::DefaultDataFolder());
}

TEST_F(SettingsTest, DefaultsFileBesideTheExecutableSeedsANewSettingsFile) {
    home.Write("bin/rhythmora.ini", "[ECGSaveData]\nDirHDD=/data/ecg\nDirSD=/media/card/\n"
                                    "[ECGWindowSize]\nECGDataListSizeX=1024\n");
    CECGOptions options;
    options.PreparePaths(exe);
    EXPECT_EQ(Value("ECGSaveData", "DirHDD"), "/data/ecg");
    EXPECT_EQ(Value("ECGSaveData", "DirSD"), "/media/card/");
    EXPECT_EQ(Value("ECGWindowSize", "ECGDataListSizeX"), "1024");
    EXPECT_EQ(Value("ECGWindowSize", "ECGDataListSizeY"), "600");

    // An existing settings file is never rewritten from the defaults.
    home.Write("bin/rhythmora.ini", "[ECGSaveData]\nDirHDD=/elsewhere\n");
    options.PreparePaths(exe);
    EXPECT_EQ(Value("ECGSaveData", "DirHDD"), "/data/ecg");
}

TEST(DefaultsFilePath, ReplacesOnlyTheExtensionOfTheFileName) {
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/rhythmora/bin/rhythmora", "/opt/rhythmora/bin/rhythmora.ini"},
        {"/home/a.b/build.release/rhythmora", "/home/a.b/build.release/rhythmora.ini"},
        {"/usr/bin/rhythmora.bin", "/usr/bin/rhythmora.ini"},
        {"/usr/bin/rhythmora.tar.gz", "/usr/bin/rhythmora.tar.ini"},
    };
    for (const auto& [exe, ini] : cases)
        EXPECT_EQ(CECGOptions::DefaultsFilePath(exe), ini);
}

TEST_F(SettingsTest, SaveWritesFoldersAndSizeOnlyAfterLoad) {
    CECGOptions notLoaded;
    notLoaded.iniPath = Ini();
    notLoaded.dirHdd = "/nowhere";
    notLoaded.Save();
    EXPECT_FALSE(platform::FileExists(Ini()));

    CECGOptions o = Loaded("; kept comment\n[ECGPrint]\nScale=90\n");
    o.SetDirHdd("/data/new");
    o.dirSd = "/media/sd/Vtq520/data/";
    o.SetListSize(1000, 700);
    o.Save();
    EXPECT_EQ(Value("ECGSaveData", "DirHDD"), "/data/new");
    EXPECT_EQ(Value("ECGSaveData", "DirSD"), "/media/sd/Vtq520/data/");
    EXPECT_EQ(GetProfileInt(Ini(), "ECGWindowSize", "ECGDataListSizeX", 0), 1000);
    EXPECT_EQ(GetProfileInt(Ini(), "ECGWindowSize", "ECGDataListSizeY", 0), 700);
    EXPECT_EQ(GetProfileInt(Ini(), "ECGPrint", "Scale", 0), 90);
    EXPECT_EQ(ReadFile(Ini()).rfind("; kept comment\n", 0), 0u);
}

TEST(SettingsAccessors, SearchColumnsIgnoreIndexesOutOfRange) {
    CECGOptions o;
    o.SetSearchColumn(5, 1);
    o.SetSearchColumn(6, 1);
    o.SetSearchColumn(-1, 1);
    EXPECT_EQ(o.searchColumns, (std::array<int, 6>{0, 0, 0, 0, 0, 1}));
}

} // namespace
