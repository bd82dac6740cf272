// `simulate`: the device simulator on a pseudo-terminal, announced as a
// virtual device until it is interrupted or unplugs itself.
#include "device/VirtualDevices.h"
#include "device/sim/SimCard.h"
#include "device/sim/SimIdentity.h"
#include "device/sim/SimServer.h"
#include "device/sim/SimState.h"
#include "platform/Files.h"
#include "tools/Arguments.h"
#include "tools/Commands.h"
#include "tools/ToolContext.h"
#include "tools/ToolTexts.h"

#include <signal.h>

#include <ctime>
#include <filesystem>
#include <iostream>

namespace tool {

namespace {

using device::sim::Fault;
using device::sim::FaultKind;
using device::sim::SimMemory;

struct SimulateOptions {
    int recordings = 5;
    int battery = 3;
    bool filterOn = true;
    bool clockSet = true;
    std::vector<Fault> faults;
    std::string statePath;
    std::string cardFolder;
    std::string name = "simulator";
    std::string serial = "SIM0001";
    unsigned seed = 1;
};

bool OnOff(const Arguments& arguments, const std::string& option, const char* yes, const char* no,
           bool fallback) {
    const std::optional<std::string> value = arguments.Value(option);
    return value ? ParseChoice(option, *value, {yes, no}) == 0 : fallback;
}

SimulateOptions ParseOptions(std::span<const std::string> args) {
    const Arguments arguments(args, {},
                              {"--recordings", "--battery", "--filter", "--clock", "--faults",
                               "--state", "--card", "--name", "--serial", "--seed"});
    if (!arguments.Positionals().empty())
        throw Usage(kTextNoFiles, {"simulate"});
    SimulateOptions options;
    if (const auto value = arguments.Value("--recordings"))
        options.recordings = ParseIntOption("--recordings", *value, 0, device::kSlotCount);
    if (const auto value = arguments.Value("--battery"))
        options.battery = ParseIntOption("--battery", *value, 1, 3);
    if (const auto value = arguments.Value("--seed"))
        options.seed = static_cast<unsigned>(ParseIntOption("--seed", *value, 0, 1 << 30));
    options.filterOn = OnOff(arguments, "--filter", "on", "off", true);
    options.clockSet = OnOff(arguments, "--clock", "set", "unset", true);
    if (const auto value = arguments.Value("--faults")) {
        const auto faults = device::sim::ParseFaultList(*value);
        if (!faults)
            throw UsageError("--faults takes a list like bcc@3,silence@5,unplug@8");
        options.faults = *faults;
    }
    options.statePath = arguments.Value("--state").value_or("");
    if (const auto card = arguments.Value("--card")) {
        // Discovery checks the folder from wherever it runs.
        std::error_code ignored;
        options.cardFolder = std::filesystem::absolute(*card, ignored).lexically_normal();
        if (options.cardFolder.empty())
            throw UsageError("--card takes a folder");
        // A card holds files, not a memory to keep, and has no line to fail.
        if (!options.statePath.empty())
            throw Usage(kTextTogether, {"--card", "--state"});
        for (const Fault& fault : options.faults)
            if (fault.kind != FaultKind::Damaged)
                throw UsageError("a card takes only damaged@N faults");
    }
    options.name = arguments.Value("--name").value_or(options.name);
    if (options.name.empty() || options.name.find('/') != std::string::npos ||
        options.name.front() == '.')
        throw UsageError("--name takes a plain file name");
    options.serial = arguments.Value("--serial").value_or(options.serial);
    return options;
}

// The recordings a fresh device or card starts with, oldest first.
std::vector<device::sim::SimRecordingPlan> FreshRecordings(const SimulateOptions& options) {
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    auto plans = device::sim::VariedRecordings(options.recordings, now - 600, options.filterOn, 1,
                                               options.seed);
    for (const Fault& fault : options.faults)
        if (fault.kind == FaultKind::Damaged && fault.at <= plans.size())
            plans[fault.at - 1].damaged = true;
    return plans;
}

SimMemory FreshMemory(const SimulateOptions& options) {
    return device::sim::DeviceWithRecordings(FreshRecordings(options),
                                             static_cast<std::uint8_t>(options.battery),
                                             options.filterOn, options.clockSet);
}

sigset_t BlockEndSignals() {
    sigset_t endSignals;
    sigemptyset(&endSignals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&endSignals, signal);
    // Before any thread starts, so every thread inherits the mask.
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);
    return endSignals;
}

std::string InstanceIdOf(const SimulateOptions& options) {
    return device::sim::InstanceIdOf(options.serial);
}

// Waits for an end signal, or for the device to unplug itself. The signals
// are blocked in every thread, so they arrive here and nowhere else.
void WaitForEnd(const sigset_t& endSignals, const device::sim::CSimServer* server) {
    const timespec tick{0, 200'000'000};
    while (server == nullptr || !server->IsUnplugged()) {
        if (::sigtimedwait(&endSignals, nullptr, &tick) > 0)
            return;
    }
    std::cerr << "The simulated device unplugged itself after " << server->Exchanges()
              << " exchanges.\n";
}

int SimulateCard(const SimulateOptions& options) {
    if (!device::sim::WriteCardFolder(options.cardFolder, FreshRecordings(options)))
        return Fail("The card folder \"" + options.cardFolder + "\" cannot be written.");
    const sigset_t endSignals = BlockEndSignals();
    device::CVirtualDeviceFile announcement;
    if (!announcement.Announce(device::VirtualDevicesFolder(), options.name, InstanceIdOf(options),
                               options.cardFolder))
        return Fail("The simulator cannot announce itself in the runtime folder.");
    std::cout << options.cardFolder << std::endl;
    std::cerr << "Simulating a card of " << InstanceIdOf(options) << " in " << options.cardFolder
              << "; interrupt to end.\n";
    WaitForEnd(endSignals, nullptr);
    return kExitOk;
}

} // namespace

int RunSimulate(std::span<const std::string> args) {
    const SimulateOptions options = ParseOptions(args);
    if (!options.cardFolder.empty())
        return SimulateCard(options);

    SimMemory memory;
    if (!options.statePath.empty() && platform::FileExists(options.statePath)) {
        const std::optional<SimMemory> stored = device::sim::LoadSimState(options.statePath);
        if (!stored)
            return Fail("\"" + options.statePath + "\" is not a simulator state file.");
        memory = *stored;
    } else {
        memory = FreshMemory(options);
        if (!options.statePath.empty() && !device::sim::SaveSimState(options.statePath, memory))
            return Fail("The state file \"" + options.statePath + "\" cannot be written.");
    }

    const sigset_t endSignals = BlockEndSignals();

    device::sim::CSimServer server(device::sim::CSimDevice(std::move(memory), options.faults));
    const std::string statePath = options.statePath;
    server.SetChangeHandler([statePath](const SimMemory& changed) {
        if (!statePath.empty() && !device::sim::SaveSimState(statePath, changed))
            std::cerr << "The state file \"" << statePath << "\" cannot be written.\n";
    });
    if (!server.Start())
        return Fail("No pseudo-terminal is available for the simulator.");

    const std::string instanceId = InstanceIdOf(options);
    device::CVirtualDeviceFile announcement;
    if (!announcement.Announce(device::VirtualDevicesFolder(), options.name, instanceId,
                               server.PortName()))
        return Fail("The simulator cannot announce itself in the runtime folder.");
    std::cout << server.PortName() << std::endl;
    std::cerr << "Simulating " << instanceId << " on " << server.PortName()
              << "; interrupt to end.\n";

    if (!options.faults.empty()) {
        std::cerr << "Faults:";
        for (const Fault& fault : options.faults)
            std::cerr << ' ' << device::sim::FormatFault(fault);
        std::cerr << '\n';
    }
    WaitForEnd(endSignals, &server);
    server.Stop();
    announcement.Withdraw();
    if (!statePath.empty() && !device::sim::SaveSimState(statePath, server.MemorySnapshot()))
        return Fail("The state file \"" + statePath + "\" cannot be written.");
    return kExitOk;
}

} // namespace tool
