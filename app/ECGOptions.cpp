#include "app/ECGOptions.h"

#include "platform/Files.h"
#include "platform/KnownFolders.h"
#include "platform/ProcessEnvironment.h"
#include "platform/Profile.h"

#include <algorithm>
#include <string>

namespace app {

namespace {

constexpr std::size_t kPathBufferSize = 260;
constexpr std::size_t kDeviceIdBufferSize = 1024;

const char* const kFolderKeys[] = {"DirHDD", "DirSD", "DeviceSD", "BackupDir"};

// The ranges numbers from the file are held to, wide enough for any
// sensible value and narrow enough that no sum or product they feed (paper
// geometry, window sizes, time-outs in milliseconds) can overflow.
constexpr CECGOptions::IntRange kSampleRates{1, 10000};
constexpr CECGOptions::IntRange kMargins{-10000, 10000}; // 0.1 mm: a metre either way
constexpr CECGOptions::IntRange kPercent{0, 10000};
constexpr CECGOptions::IntRange kCounts{0, 100000};
constexpr CECGOptions::IntRange kPixels{0, 100000};
constexpr CECGOptions::IntRange kBitPosition{0, 31};
constexpr CECGOptions::IntRange kMilliseconds{1, 3600000};
constexpr CECGOptions::IntRange kBaudRates{1, 50000000};
constexpr COLORREF kColourBits = 0xFFFFFF;

std::string Numbered(const char* stem, int n) {
    return stem + std::to_string(n);
}

bool WriteValue(const std::string& path, const char* section, const std::string& key,
                const std::string& value) {
    return platform::WriteProfileString(path, section, key, value);
}

} // namespace

std::string CECGOptions::SettingsFilePath() {
    return platform::DocumentsFolder() + "/TorvaneRhythmora.ini";
}

std::string CECGOptions::DefaultsFilePath(const std::string& executablePath) {
    const std::size_t slash = executablePath.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = executablePath.rfind('.');
    if (dot == std::string::npos || dot < nameStart)
        return executablePath + ".ini";
    return executablePath.substr(0, dot) + ".ini";
}

std::string CECGOptions::DefaultDataFolder() {
    return platform::CommonDocumentsFolder() + "/Torvane/Rhythmora/ECGData/";
}

void CECGOptions::PreparePaths() {
    PreparePaths(platform::ExecutablePath());
}

void CECGOptions::PreparePaths(const std::string& executablePath) {
    modulePath = executablePath;
    iniPath = SettingsFilePath();
    if (platform::FileExists(iniPath))
        return;
    // A fresh account may have no Documents folder yet; without it the
    // settings could never be kept.
    platform::CreateFolderTree(platform::ParentFolder(iniPath));

    const std::string defaults = DefaultsFilePath(modulePath);
    std::string* folderDefaults[] = {&defDirHdd, &defDirSd, &defDeviceSd, &defBackupDir};
    for (int i = 0; i < 4; ++i)
        *folderDefaults[i] = platform::GetProfileString(defaults, "ECGSaveData", kFolderKeys[i], "",
                                                        kPathBufferSize);
    defListWidth =
        std::to_string(platform::GetProfileInt(defaults, "ECGWindowSize", "ECGDataListSizeX", 800));
    defListHeight =
        std::to_string(platform::GetProfileInt(defaults, "ECGWindowSize", "ECGDataListSizeY", 600));
    if (defDirHdd.empty())
        defDirHdd = DefaultDataFolder();

    for (int i = 0; i < 4; ++i)
        WriteValue(iniPath, "ECGSaveData", kFolderKeys[i], *folderDefaults[i]);
    WriteValue(iniPath, "ECGWindowSize", "ECGDataListSizeX", defListWidth);
    WriteValue(iniPath, "ECGWindowSize", "ECGDataListSizeY", defListHeight);
}

int CECGOptions::ReadInt(const char* section, const char* key, int def) const {
    return platform::GetProfileInt(iniPath, section, key, def);
}

int CECGOptions::ReadBoundedInt(const char* section, const char* key, int def,
                                IntRange range) const {
    return std::clamp(ReadInt(section, key, def), range.lowest, range.highest);
}

std::string CECGOptions::ReadString(const char* section, const char* key, const char* def,
                                    std::size_t bufferSize) const {
    return platform::GetProfileString(iniPath, section, key, def, bufferSize);
}

void CECGOptions::Load() {
    if (modulePath.empty())
        PreparePaths();

    samplingRate = 125;
    printScale = 100;
    headerOn = 1;
    paperSize = 3;

    const int rate = ReadInt("ECGHertz", "DataHertz", 125);
    if (rate > 0)
        samplingRate = std::min(rate, kSampleRates.highest);
    reserved = 1;

    LoadPrintKeys();
    LoadColourKeys();

    comPort = ReadInt("ECGDownload", "COM", 1);
    comBaud = ReadInt("ECGDownload", "CBR", 38400);
    saveDir = ReadString("ECGDownload", "SaveDir", "c:\\tmp\\", kPathBufferSize);

    LoadFolderKeys();
    LoadWindowKeys();
    LoadDeviceLinkKeys();
    // Profile writes reach the file at once, so there is no cache to flush.
    loaded = 1;
}

void CECGOptions::LoadPrintKeys() {
    switch (ReadInt("ECGPrint", "PaperSize", 0)) {
    case 0:
        paperSize = 0;
        printerPaper = kPrinterPaperA4;
        break;
    case 1:
        paperSize = 1;
        printerPaper = kPrinterPaperLetter;
        break;
    default:
        break;
    }
    if (ReadInt("ECGPrint", "HeaderExist", 1) == 1)
        headerOn = 1;
    footerOn = ReadInt("ECGPrint", "FooterExist", 1) == 1 ? 1 : 0;

    const bool letter = paperSize == 1;
    margins[kMarginLeft] = ReadBoundedInt("ECGPrint", "LeftMargin", 200, kMargins);
    margins[kMarginTop] = ReadBoundedInt("ECGPrint", "TopMargin", letter ? 140 : 200, kMargins);
    margins[kMarginRight] = ReadBoundedInt("ECGPrint", "RightMargin", letter ? 210 : 150, kMargins);
    margins[kMarginBottom] =
        ReadBoundedInt("ECGPrint", "BottomMargin", letter ? 100 : 220, kMargins);

    const int type = ReadInt("ECGPrint", "DisplayType", 0);
    if (type == 0 || type == 1)
        displayType = type;
    printScale = ReadBoundedInt("ECGPrint", "Scale", 100, kPercent);
    printFolder = ReadString("ECGPrint", "FolderPrintDir", "My Computer", kPathBufferSize);
}

void CECGOptions::LoadColourKeys() {
    auto colour = [this](const std::string& key, COLORREF def) {
        return static_cast<COLORREF>(ReadInt("ECGColor", key.c_str(), static_cast<int>(def))) &
               kColourBits;
    };
    colours[kColourBaseLine] = colour("BaseLine", 16777088);
    colours[kColourMainLine] = colour("MainLine", 8421631);
    colours[kColourStrongLine] = colour("StrongLine", 16744448);
    colours[kColourFrameLine] = colour("FrameLine", 0);
    const COLORREF graphDefaults[] = {0, 16711680, 65280, 33023};
    for (int i = 0; i < 4; ++i)
        colours[kColourGraphLine0 + i] = colour(Numbered("GraphLine", i), graphDefaults[i]);
    colours[kColourCalLine] = colour("CalLine", 255);
    colours[kColourBackground] = colour("BGColor", 16777215);
    colours[kColourCharacter] = colour("CharColor", 0);
}

void CECGOptions::LoadFolderKeys() {
    dirHdd = ReadString("ECGSaveData", "DirHDD", "", kDirHddBufferSize);
    if (dirHdd.empty()) {
        dirHdd = DefaultDataFolder();
        platform::CreateOneFolder(dirHdd);
    }
    dirSd = ReadString("ECGSaveData", "DirSD", "", kPathBufferSize);
    deviceSd = ReadString("ECGSaveData", "DeviceSD", "", kPathBufferSize);
    backupDir = ReadString("ECGSaveData", "BackupDir", "", kPathBufferSize);
}

void CECGOptions::LoadWindowKeys() {
    treeDir = ReadString("Rhythmora", "TreeDir", "c:\\", kPathBufferSize);
    maxPreview = ReadBoundedInt("Rhythmora", "MaxPreview", 256, kCounts);
    maxWaveDialog = ReadBoundedInt("Rhythmora", "MaxWaveDialog", 30, kCounts);
    leftPaneSize = ReadBoundedInt("Rhythmora", "LeftPaneSize", 200, kPixels);
    rightPaneSize = ReadBoundedInt("Rhythmora", "RightPaneSize", 400, kPixels);
    upPaneSize = ReadBoundedInt("Rhythmora", "UpPaneSize", 200, kPixels);
    downPaneSize = ReadBoundedInt("Rhythmora", "DownPaneSize", 100, kPixels);
    const int headerDefaults[] = {220, 80, 80, 150};
    for (int i = 0; i < 4; ++i)
        listHeaderSize[i] = ReadBoundedInt("Rhythmora", Numbered("ListHeaderSize", i).c_str(),
                                           headerDefaults[i], kPixels);
    developerMode = ReadInt("Rhythmora", "DeveloperMode", 0);
    type1InstBitPos = ReadBoundedInt("Rhythmora", "Type1_InstBitPos", 12, kBitPosition);
    electricRange = ReadInt("Rhythmora", "ElectricRange", 20);
    maxPort = ReadInt("Rhythmora", "MaxPort", 10);
    convertFileName = ReadInt("Rhythmora", "ConvertFileName", 0);
    listWidth = ReadBoundedInt("ECGWindowSize", "ECGDataListSizeX", 800, kPixels);
    listHeight = ReadBoundedInt("ECGWindowSize", "ECGDataListSizeY", 600, kPixels);
}

void CECGOptions::LoadDeviceLinkKeys() {
    devIdList.clear();
    for (int i = 1; i <= kDeviceIdKeyCount; ++i) {
        std::string id =
            ReadString("COM", Numbered("DevIdKey", i).c_str(), "", kDeviceIdBufferSize);
        if (!id.empty())
            devIdList.push_back(std::move(id));
    }
    if (devIdList.empty()) {
        WriteValue(iniPath, "COM", Numbered("DevIdKey", 1), kDefaultDeviceIdPattern);
        devIdList.push_back(kDefaultDeviceIdPattern);
    }

    // A zero (or missing) value means "not configured": the default is taken
    // and written so that the user finds the key to edit.
    auto intWithDefault = [this](const char* section, const char* key, int fileDefault,
                                 auto isUnset, int value, IntRange range) {
        int read = ReadInt(section, key, fileDefault);
        if (isUnset(read)) {
            read = value;
            WriteValue(iniPath, section, key, std::to_string(value));
        }
        return std::clamp(read, range.lowest, range.highest);
    };
    auto isZero = [](int v) { return v == 0; };
    recvTimeOutMs = intWithDefault("COM", "RecvTimeOutMs", 0, isZero, 2000, kMilliseconds);
    baudRate = intWithDefault("COM", "BaudRate", 0, isZero, 1500000, kBaudRates);
    recvTimeOutElse = intWithDefault("COM", "RecvTimeOutElse", 0, isZero, 500, kMilliseconds);
    maxImageListSize = intWithDefault(
        "COMMON", "MaxImageListSize", -1, [](int v) { return v < 0; }, 100, kCounts);

    std::string log = ReadString("COM", "LogDir", "", kDeviceIdBufferSize);
    if (!log.empty())
        logDir = std::move(log);
}

void CECGOptions::Save() const {
    if (loaded != 1)
        return;
    const std::string* folders[] = {&dirHdd, &dirSd, &deviceSd, &backupDir};
    for (int i = 0; i < 4; ++i)
        WriteValue(iniPath, "ECGSaveData", kFolderKeys[i], *folders[i]);
    WriteValue(iniPath, "ECGWindowSize", "ECGDataListSizeX", std::to_string(listWidth));
    WriteValue(iniPath, "ECGWindowSize", "ECGDataListSizeY", std::to_string(listHeight));
}

void CECGOptions::SetListSize(int width, int height) {
    listWidth = width;
    listHeight = height;
}

void CECGOptions::SetSearchDialogPosition(int x, int y) {
    searchDlgX = x;
    searchDlgY = y;
}

void CECGOptions::SetSearchColumn(int index, int on) {
    if (index >= 0 && index < static_cast<int>(searchColumns.size()))
        searchColumns[index] = on;
}

} // namespace app
