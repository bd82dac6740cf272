// `report`, `wave` and `thumbnail`: the papers written to files or to the
// standard output, drawn by the same code as the windows and the printer.
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "records/ECGContentsData.h"
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/OutputTarget.h"
#include "tools/RecordMessages.h"
#include "tools/TerminalText.h"
#include "tools/ToolContext.h"
#include "tools/ToolTexts.h"
#include "ui/PaperOutput.h"

#include <QGuiApplication>

#include <iostream>
#include <memory>
#include <optional>
#include <vector>

namespace tool {

namespace {

constexpr unsigned kTextNotWritten = 62759; // "%s could not be written: %s"

// Qt's own remarks (a substituted font, a paint engine's complaint) are no
// message of this program's: standard error holds only ours. A fatal one
// is still told before Qt ends the process.
void KeepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg)
        std::cerr << message.toStdString() << '\n';
}

// Drawing text needs a GUI application; without a display the offscreen
// platform serves.
QGuiApplication& Application() {
    qInstallMessageHandler(KeepQtQuiet);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rhythmora-tool";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    return application;
}

struct FormatName {
    const char* name;
    ui::PaperFormat format;
};
constexpr FormatName kFormats[] = {
    {"pdf", ui::PaperFormat::Pdf}, {"svg", ui::PaperFormat::Svg}, {"png", ui::PaperFormat::Png}};

const char* NameOf(ui::PaperFormat format) {
    for (const FormatName& entry : kFormats)
        if (entry.format == format)
            return entry.name;
    return "";
}

// What a drawing command writes: the file (or "-") and its format, from
// --format, else the file's extension, else for the standard output the
// command's first format.
struct Output {
    std::string path;
    ui::PaperFormat format;
};

Output ChooseOutput(const Arguments& arguments, const char* command,
                    std::initializer_list<ui::PaperFormat> allowed) {
    const auto out = arguments.Value("-o");
    if (!out)
        throw Usage(kTextNeedsOption, {command, "-o OUT"});
    std::string names, extensions;
    for (const ui::PaperFormat format : allowed) {
        names += (names.empty() ? "" : ", ") + std::string(NameOf(format));
        extensions += (extensions.empty() ? "." : ", .") + std::string(NameOf(format));
    }
    auto isAllowed = [&](ui::PaperFormat format) {
        return std::find(allowed.begin(), allowed.end(), format) != allowed.end();
    };
    std::optional<ui::PaperFormat> format;
    if (const auto name = arguments.Value("--format")) {
        for (const FormatName& entry : kFormats)
            if (*name == entry.name && isAllowed(entry.format))
                format = entry.format;
        if (!format)
            throw Usage(kTextOneOf, {"--format", names, *name});
    } else if (IsStandardOutput(*out)) {
        format = *allowed.begin();
    } else {
        format = ui::PaperFormatOf(*out);
        if (!format || !isAllowed(*format))
            throw Usage(kTextOutputKind, {"-o " + *out, extensions});
    }
    CheckOutput(*out, NameOf(*format), false);
    return {*out, *format};
}

int ParseSensitivity(const Arguments& arguments) {
    const auto text = arguments.Value("--sensitivity");
    return text ? ParseIntOption("--sensitivity", *text, 0, 2) : 1;
}

// Loads the command's records, draws them with `draw` and writes the
// bytes.
template <typename Draw> int DrawRecords(const Arguments& arguments, const Output& out, Draw draw) {
    app::CECGOptions options;
    LoadToolSettings(options);
    std::string problem;
    const auto loaded = LoadRecordFiles(arguments.Positionals(), problem);
    if (loaded.empty())
        return Fail(problem);
    Application();
    std::string bytes;
    if (!draw(loaded, options, bytes))
        return Fail(
            platform::FormatText(platform::LoadText(kTextNotWritten),
                                 {TerminalField(out.path), platform::LoadText(kTextNotDrawn)}));
    return WriteOutput(out.path, bytes);
}

} // namespace

int RunReport(std::span<const std::string> args) {
    const Arguments arguments(args, {}, {"-o", "--format", "--sensitivity", "--paper"});
    if (arguments.Positionals().empty())
        throw Usage(kTextNeedsFiles, {"report"});
    const Output out = ChooseOutput(
        arguments, "report", {ui::PaperFormat::Pdf, ui::PaperFormat::Svg, ui::PaperFormat::Png});
    const int sensitivity = ParseSensitivity(arguments);
    const std::optional<std::string> paperName = arguments.Value("--paper");
    // Without --paper the page is the settings' paper, as the printer's is.
    std::optional<ui::PaperSize> paper;
    if (paperName)
        paper = ParseChoice("--paper", *paperName, {"a4", "letter"}) == 0 ? ui::PaperSize::A4
                                                                          : ui::PaperSize::Letter;

    return DrawRecords(arguments, out,
                       [&](const auto& loaded, const auto& options, std::string& bytes) {
                           std::vector<const records::CECGContentsData*> list;
                           for (const auto& record : loaded)
                               list.push_back(record.get());
                           return ui::DrawReport(list, out.format, options, sensitivity,
                                                 paper.value_or(ui::PaperSizeOf(options)), bytes);
                       });
}

int RunWave(std::span<const std::string> args) {
    const Arguments arguments(args, {}, {"-o", "--format", "--zoom", "--sensitivity"});
    if (arguments.Positionals().size() != 1)
        throw Usage(kTextOneFile, {"wave"});
    const Output out =
        ChooseOutput(arguments, "wave", {ui::PaperFormat::Png, ui::PaperFormat::Svg});
    const std::size_t zoomIndex =
        ParseChoice("--zoom", arguments.Value("--zoom").value_or("100"), {"100", "150", "200"});
    const int zoom = 100 + 50 * static_cast<int>(zoomIndex);
    const int sensitivity = ParseSensitivity(arguments);

    return DrawRecords(
        arguments, out, [&](const auto& loaded, const auto& options, std::string& bytes) {
            return ui::DrawWave(*loaded.front(), out.format, options, zoom, sensitivity, bytes);
        });
}

int RunThumbnail(std::span<const std::string> args) {
    const Arguments arguments(args, {}, {"-o", "--format"});
    if (arguments.Positionals().size() != 1)
        throw Usage(kTextOneFile, {"thumbnail"});
    const Output out =
        ChooseOutput(arguments, "thumbnail", {ui::PaperFormat::Png, ui::PaperFormat::Svg});
    return DrawRecords(arguments, out,
                       [&](const auto& loaded, const auto& options, std::string& bytes) {
                           return ui::DrawThumbnail(*loaded.front(), out.format, options, bytes);
                       });
}

} // namespace tool
