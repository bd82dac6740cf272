// `import`: what plugging in the device does. For a serial port the status
// read, then the import from the device; for a card folder the copy from
// the card.
#include "app/StartUp.h"
#include "device/DevicePorts.h"
#include "device/workflow/DownloadWorker.h"
#include "device/workflow/ImportStart.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/ConsoleHost.h"
#include "tools/DeviceToolSetup.h"
#include "tools/Json.h"
#include "tools/TerminalText.h"
#include "tools/ToolContext.h"
#include "tools/ToolTexts.h"

#include <iostream>

namespace tool {

namespace {

// The dialog's progress text before the language gives it another.
constexpr const char* kProgressFormat = "%d/%d";

std::optional<bool> ParseYesNo(const std::optional<std::string>& text) {
    if (!text)
        return std::nullopt;
    return ParseChoice("--set-clock", *text, {"yes", "no"}) == 0;
}

// What a run left in the data folder.
struct ImportFiles {
    std::vector<std::string> added;
    std::vector<std::string> damaged;
    std::vector<std::string> present;
};

// What a copy from the card did; the card's worker has no closing lines.
std::string CardMessage(std::size_t copied) {
    if (copied == 0)
        return platform::LoadText(kTextNothingNewOnCard);
    return platform::FormatText(platform::LoadText(kTextCardCopied),
                                {static_cast<std::int64_t>(copied)});
}

int Report(const CConsoleHost& host, bool succeeded, const ImportFiles& files, bool asJson,
           bool fromCard = false) {
    // A run that ended without an error was cancelled: by Ctrl+C, or by
    // declining to set the device clock.
    const char* result = succeeded ? "ok" : host.ShowedError() ? "failed" : "cancelled";
    const std::string message = !succeeded ? host.LastMessage()
                                : fromCard ? CardMessage(files.added.size())
                                           : host.FinishedMessage();
    if (asJson) {
        JsonWriter json(std::cout);
        json.BeginObject();
        json.Field("result", result);
        json.Field("message", message);
        json.PathArrayField("added", files.added);
        json.PathArrayField("damaged", files.damaged);
        json.PathArrayField("present", files.present);
        json.EndObject();
    } else {
        if (succeeded && !message.empty())
            std::cout << TerminalMessage(message) << '\n';
        for (const std::string& path : files.added)
            std::cout << TerminalField(path) << '\n';
        if (!succeeded && !host.ShowedError())
            std::cerr << TerminalMessage(platform::LoadText(kTextImportCancelled)) << '\n';
    }
    return succeeded ? kExitOk : kExitFailed;
}

} // namespace

int RunImport(std::span<const std::string> args) {
    const Arguments arguments(args, {"--json"}, {"--port", "--folder", "--set-clock"});
    if (!arguments.Positionals().empty())
        throw Usage(kTextNoFiles, {"import"});
    const bool asJson = arguments.Has("--json");
    CConsoleHost host(ParseYesNo(arguments.Value("--set-clock")));

    app::CECGOptions options;
    LoadToolSettings(options);
    app::ConfigureDeviceLink(options);

    std::vector<std::string> ports;
    if (const auto port = arguments.Value("--port"))
        ports.push_back(*port);
    else
        device::FindDevicePorts(ports);
    const std::string folder = arguments.Value("--folder").value_or(options.dirHdd);
    const std::optional<device::ImportPlan> plan =
        device::PrepareImport(ports, options.dirSd, folder, host);
    if (!plan)
        return Report(host, false, {}, asJson);

    if (plan->card) {
        device::CSdCopyWorker worker(host, kProgressFormat, *plan->card);
        host.Run(worker);
        return Report(host, !host.ShowedError() && !host.WasInterrupted(), {host.Added(), {}, {}},
                      asJson, true);
    }
    device::DeviceState state;
    CConsoleDeviceErrorReporter reporter(&host);
    if (!device::ReadDeviceInfo(plan->port, state, &reporter))
        return Report(host, false, {}, asJson);
    device::CDownloadWorker worker(host, kProgressFormat, state, plan->port, plan->folder);
    host.Run(worker);
    return Report(host, worker.Succeeded(),
                  {worker.GetKeptFiles(), worker.GetDamaged(), worker.GetPresent()}, asJson);
}

} // namespace tool
