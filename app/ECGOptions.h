// The settings object: filled once at start-up from the per-user INI file
// (created from the defaults file beside the executable when missing), read
// by every other layer, and written back (folders and window size) at exit.
#pragma once

#include "app/GraphOption.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace app {

// Paper of later print jobs as the settings chose it (DMPAPER values).
enum PrinterPaper { kPrinterPaperUntouched = 0, kPrinterPaperLetter = 1, kPrinterPaperA4 = 9 };

constexpr const char* kDefaultDeviceIdPattern = "VID_1A3C&PID_0B71";
constexpr int kDeviceIdKeyCount = 20;
// "DirHDD" is read into a buffer of 210, so at most 209 characters arrive.
constexpr std::size_t kDirHddBufferSize = 210;

class CECGOptions : public CGraphOption {
public:
    // Inclusive bounds for a number read from the file.
    struct IntRange {
        int lowest;
        int highest;
    };

    std::array<int, 4> listHeaderSize{};
    int leftPaneSize = 0, rightPaneSize = 0, upPaneSize = 0, downPaneSize = 0;
    int developerMode = 0;
    int maxWaveDialog = 30;
    int maxPreview = 0;
    int listWidth = 640, listHeight = 480;
    int loaded = 0;
    std::string defDirHdd, defDirSd, defDeviceSd, defBackupDir;
    std::string defListWidth = "800", defListHeight = "600";
    int searchDlgX = 247, searchDlgY = 185;
    std::array<int, 6> searchColumns{};
    std::string modulePath;
    std::string iniPath;
    int type1InstBitPos = 0;
    int comPort = 0, comBaud = 0;
    std::string saveDir;
    std::string treeDir;
    std::string dirHdd;
    std::string dirSd;
    std::string deviceSd;
    std::string backupDir;
    int electricRange = 0, maxPort = 0, convertFileName = 0;
    std::vector<std::string> devIdList;
    int recvTimeOutMs = 0;
    int baudRate = 0;
    std::string logDir;
    int recvTimeOutElse = 2000;
    int maxImageListSize = 0;
    // How the "PaperSize" key set the default printer paper.
    int printerPaper = kPrinterPaperUntouched;

    // Fills modulePath and iniPath and creates the settings file from the
    // defaults file when it is missing. The overload takes the executable
    // path, for callers (and tests) that know it.
    void PreparePaths();
    void PreparePaths(const std::string& executablePath);
    // Reads every key (running PreparePaths first when it has not run) and
    // writes the missing device-link defaults into the file.
    void Load();
    // Writes the four folders and the main window size; nothing before Load.
    void Save() const;

    void SetDirHdd(const std::string& folder) { dirHdd = folder; }
    void SetListSize(int width, int height);
    void SetSearchDialogPosition(int x, int y);
    // Index 0-5; other indexes are ignored.
    void SetSearchColumn(int index, int on);

    // Documents folder + "/TorvaneRhythmora.ini".
    static std::string SettingsFilePath();
    // The executable's path with its extension replaced by ".ini", or ".ini"
    // appended when the file name has none.
    static std::string DefaultsFilePath(const std::string& executablePath);
    // The shared Documents folder + "/Torvane/Rhythmora/ECGData/".
    static std::string DefaultDataFolder();

private:
    void LoadPrintKeys();
    void LoadColourKeys();
    void LoadFolderKeys();
    void LoadWindowKeys();
    void LoadDeviceLinkKeys();
    int ReadInt(const char* section, const char* key, int def) const;
    // The number held to the range, so that no arithmetic it feeds can
    // overflow.
    int ReadBoundedInt(const char* section, const char* key, int def, IntRange range) const;
    std::string ReadString(const char* section, const char* key, const char* def,
                           std::size_t bufferSize) const;
};

} // namespace app
