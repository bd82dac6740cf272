// The string ids of rhythmora-tool's own texts: usage errors, the plain
// words of its results and every command's help. The wording comes from
// the language module like every other text.
#pragma once

namespace tool {

// Usage errors, and the line that points to the help after one.
constexpr unsigned kTextTryCommandHelp = 62830; // "Try "rhythmora-tool %s --help" ..."
constexpr unsigned kTextTryHelp = 62831;
constexpr unsigned kTextNoCommand = 62832;
constexpr unsigned kTextUnknownCommand = 62833;    // s
constexpr unsigned kTextUnknownOption = 62834;     // s
constexpr unsigned kTextNeedsValue = 62835;        // s
constexpr unsigned kTextTakesNoValue = 62836;      // s
constexpr unsigned kTextNeedsFiles = 62837;        // s: the command
constexpr unsigned kTextOneFile = 62838;           // s
constexpr unsigned kTextNoFiles = 62839;           // s
constexpr unsigned kTextNeedsOption = 62840;       // ss: the command, the option
constexpr unsigned kTextNumberRange = 62841;       // sdds: option, min, max, value
constexpr unsigned kTextOneOf = 62842;             // sss: option, the choices, value
constexpr unsigned kTextTogether = 62843;          // ss
constexpr unsigned kTextOutputKind = 62844;        // ss: "-o OUT", the extensions
constexpr unsigned kTextNotToTerminal = 62845;     // s: the format
constexpr unsigned kTextStdoutFailed = 62846;      // s: the system's reason
constexpr unsigned kTextMemoItem = 62847;          // ss: option, value
constexpr unsigned kTextSwitchDigits = 62848;      // ss: option, value
constexpr unsigned kTextArgumentsUnread = 62876;   // s: the parser's words
constexpr unsigned kTextDataFolderMissing = 62877; // s
constexpr unsigned kTextNotDrawn = 62878;

// device-info in plain words.
constexpr unsigned kTextDevicePort = 62849; // s
constexpr unsigned kTextBatteryFull = 62850;
constexpr unsigned kTextBatteryHalf = 62851;
constexpr unsigned kTextBatteryLow = 62852;
constexpr unsigned kTextFilterOn = 62853;
constexpr unsigned kTextFilterOff = 62854;
constexpr unsigned kTextDeviceClock = 62855; // s
constexpr unsigned kTextClockNotSet = 62856;
constexpr unsigned kTextClockUnknown = 62857;

// What an import did.
constexpr unsigned kTextNothingNewOnCard = 62860;
constexpr unsigned kTextImportCancelled = 62861;
constexpr unsigned kTextCardCopied = 62862; // d
// The answer echoed when a question on the terminal is declined.
constexpr unsigned kTextCancelAnswer = 62879;

// Each command's help: its summary line, a blank line and its options.
constexpr unsigned kHelpInfo = 62863;
constexpr unsigned kHelpList = 62864;
constexpr unsigned kHelpMemo = 62865;
constexpr unsigned kHelpSettings = 62866;
constexpr unsigned kHelpPorts = 62867;
constexpr unsigned kHelpDeviceInfo = 62868;
constexpr unsigned kHelpImport = 62869;
constexpr unsigned kHelpDeviceWrite = 62870;
constexpr unsigned kHelpReport = 62871;
constexpr unsigned kHelpWave = 62872;
constexpr unsigned kHelpThumbnail = 62873;
constexpr unsigned kHelpExport = 62874;
constexpr unsigned kHelpSimulate = 62875;

} // namespace tool
