// `report`, `wave` and `thumbnail`: the papers written to files, drawn by
// the same code as the windows and the printer.
#include "records/ECGContentsData.h"
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/RecordMessages.h"
#include "tools/ToolContext.h"
#include "ui/PaperOutput.h"

#include <QGuiApplication>

#include <iostream>
#include <memory>
#include <optional>
#include <vector>

namespace tool {

namespace {

// Drawing text needs a GUI application; without a display the offscreen
// platform serves.
QGuiApplication& Application() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rhythmora-tool";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    return application;
}

int ParseSensitivity(const Arguments& arguments) {
    const auto text = arguments.Value("--sensitivity");
    return text ? ParseIntOption("--sensitivity", *text, 0, 2) : 1;
}

std::string Output(const Arguments& arguments, const char* command) {
    const auto out = arguments.Value("-o");
    if (!out)
        throw UsageError(std::string(command) + " needs -o OUT");
    return *out;
}

// Loads the command's records and draws them with `write`.
template <typename Write> int DrawRecords(const Arguments& arguments, Write write) {
    app::CECGOptions options;
    LoadToolSettings(options);
    std::string problem;
    const auto loaded = LoadRecordFiles(arguments.Positionals(), problem);
    if (loaded.empty())
        return Fail(problem);
    Application();
    std::string error;
    if (!write(loaded, options, error))
        return Fail(error);
    return kExitOk;
}

// The same for a command that draws one record.
template <typename Write> int DrawOne(const Arguments& arguments, Write write) {
    return DrawRecords(arguments, [&](const auto& loaded, const auto& options, std::string& error) {
        return write(*loaded.front(), options, error);
    });
}

} // namespace

int RunReport(std::span<const std::string> args) {
    const Arguments arguments(args, {}, {"-o", "--sensitivity", "--paper"});
    if (arguments.Positionals().empty())
        throw UsageError("report needs at least one record file");
    const std::string out = Output(arguments, "report");
    const int sensitivity = ParseSensitivity(arguments);
    const std::optional<std::string> paperName = arguments.Value("--paper");
    if (paperName && *paperName != "a4" && *paperName != "letter")
        throw UsageError("--paper takes a4 or letter, not \"" + *paperName + "\"");

    return DrawRecords(arguments, [&](const auto& loaded, const auto& options, std::string& error) {
        std::vector<const records::CECGContentsData*> list;
        for (const auto& record : loaded)
            list.push_back(record.get());
        // Without --paper the page is the settings' paper, as the printer's is.
        const ui::PaperSize paper = !paperName           ? ui::PaperSizeOf(options)
                                    : *paperName == "a4" ? ui::PaperSize::A4
                                                         : ui::PaperSize::Letter;
        return ui::WriteReport(list, out, options, sensitivity, paper, error);
    });
}

int RunWave(std::span<const std::string> args) {
    const Arguments arguments(args, {}, {"-o", "--zoom", "--sensitivity"});
    if (arguments.Positionals().size() != 1)
        throw UsageError("wave takes exactly one record file");
    const std::string out = Output(arguments, "wave");
    const int zoom = ParseIntOption("--zoom", arguments.Value("--zoom").value_or("100"), 100, 200);
    if (zoom != 100 && zoom != 150 && zoom != 200)
        throw UsageError("--zoom takes 100, 150 or 200");
    const int sensitivity = ParseSensitivity(arguments);

    return DrawOne(arguments, [&](const auto& record, const auto& options, std::string& error) {
        return ui::WriteWave(record, out, options, zoom, sensitivity, error);
    });
}

int RunThumbnail(std::span<const std::string> args) {
    const Arguments arguments(args, {}, {"-o"});
    if (arguments.Positionals().size() != 1)
        throw UsageError("thumbnail takes exactly one record file");
    const std::string out = Output(arguments, "thumbnail");
    return DrawOne(arguments, [&](const auto& record, const auto& options, std::string& error) {
        return ui::WriteThumbnail(record, out, options, error);
    });
}

} // namespace tool
