#include "RunTool.h"
#include "device/DeviceAccess.h"
#include "platform/SerialPort.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <future>
#include <optional>
#include <regex>

extern char** environ;

using testsupport::RunTool;
using testsupport::TempFolder;
using testsupport::ToolRun;

namespace {

// rhythmora-tool running in the background with its stdout on a pipe;
// killed when the test leaves it behind.
class BackgroundTool {
public:
    BackgroundTool(std::vector<std::string> args, const std::vector<std::string>& env) {
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0)
            return;
        m_out = out[0];
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        args.insert(args.begin(), RHYTHMORA_TOOL);
        // The overrides first: getenv takes the first entry of a name.
        std::vector<std::string> envp = env;
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            const std::string name = entry.substr(0, entry.find('=') + 1);
            if (std::none_of(env.begin(), env.end(),
                             [&](const std::string& o) { return o.starts_with(name); }))
                envp.push_back(entry);
        }
        std::vector<char*> argv, envv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : envp)
            envv.push_back(e.data());
        envv.push_back(nullptr);
        if (posix_spawn(&m_pid, RHYTHMORA_TOOL, &actions, nullptr, argv.data(), envv.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
    }
    ~BackgroundTool() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0)
            ::close(m_out);
    }

    // The first line the tool prints, waiting at most 20 seconds for it.
    std::optional<std::string> FirstLine() {
        std::string text;
        while (text.find('\n') == std::string::npos) {
            pollfd entry{m_out, POLLIN, 0};
            if (::poll(&entry, 1, 20000) <= 0)
                return std::nullopt;
            char buffer[256];
            const ssize_t got = ::read(m_out, buffer, sizeof buffer);
            if (got <= 0)
                return std::nullopt;
            text.append(buffer, static_cast<std::size_t>(got));
        }
        return text.substr(0, text.find('\n'));
    }

    // Asks it to end as an interrupt would; its exit status.
    int Terminate() {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(std::exchange(m_pid, -1), &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
};

// The record index as an import would read it.
std::array<std::uint8_t, 16> ReadIndex(const std::string& port, bool clear) {
    device::CommLog log;
    device::DeviceAccess access(device::DeviceLinkConfig{}, log);
    access.Open(port);
    access.StartAccess();
    std::array<std::uint8_t, 16> index{};
    access.ReadRecordIndex(index);
    if (clear) {
        std::array<std::uint8_t, 16> image = index;
        access.ClearRecordCount(image, 0);
    }
    access.EndAccess();
    access.Close();
    return index;
}

class SimulateToolTest : public ::testing::Test {
protected:
    TempFolder home;
    std::vector<std::string> Env() const {
        return {"HOME=" + home.Path(),
                "XDG_DOCUMENTS_DIR=" + home.File("Documents"),
                "XDG_CONFIG_HOME=" + home.File(".config"),
                "XDG_RUNTIME_DIR=" + home.File("run"),
                "TZ=UTC",
                "LC_ALL=en_US.UTF-8"};
    }
    ToolRun Run(const std::vector<std::string>& args) const { return RunTool(args, Env()); }
    std::string DeviceFile() const { return home.File("run/rhythmora/devices/sim.dev"); }
};

TEST_F(SimulateToolTest, TheSimulatorIsFoundReadAndKeepsItsMemoryBetweenRuns) {
    std::filesystem::create_directories(home.File("run"));
    const std::string state = home.File("sim.state");
    const std::vector<std::string> simulate = {"simulate", "--state",      state, "--name",
                                               "sim",      "--recordings", "3",   "--battery",
                                               "2",        "--filter",     "off"};
    std::string port;
    {
        BackgroundTool simulator(simulate, Env());
        const std::optional<std::string> line = simulator.FirstLine();
        ASSERT_TRUE(line.has_value());
        port = *line;
        ASSERT_TRUE(port.starts_with("/dev/pts/")) << port;
        EXPECT_TRUE(std::filesystem::exists(DeviceFile()));

        const ToolRun ports = Run({"ports", "--json"});
        ASSERT_EQ(ports.status, 0) << ports.err;
        EXPECT_NE(ports.out.find("\"" + port + "\""), std::string::npos) << ports.out;

        const ToolRun info = Run({"device-info", "--json"});
        ASSERT_EQ(info.status, 0) << info.err;
        for (const char* expected : {"\"battery\": 2", "\"filter\": 0", "\"clockNotSet\": false"})
            EXPECT_NE(info.out.find(expected), std::string::npos) << expected << '\n' << info.out;
        // In plain words: the clock in UTC+9, whatever TZ says.
        const ToolRun words = Run({"device-info"});
        ASSERT_EQ(words.status, 0) << words.err;
        EXPECT_TRUE(std::regex_match(
            words.out,
            std::regex("Device port: " + port +
                       "\nBattery: half\nFilter: off\nDevice clock: "
                       "20[0-9]{2}-[01][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9] "
                       "UTC\\+9\n")))
            << words.out;
        EXPECT_EQ(words.err, "");

        // An import takes the recordings and clears the count.
        EXPECT_EQ(ReadIndex(port, true)[2], 3);
        EXPECT_EQ(simulator.Terminate(), 0);
    }
    EXPECT_FALSE(std::filesystem::exists(DeviceFile()));
    const ToolRun gone = Run({"device-info"});
    EXPECT_EQ(gone.status, 1);
    EXPECT_NE(gone.err.find("No device is connected."), std::string::npos) << gone.err;

    BackgroundTool again(simulate, Env());
    const std::optional<std::string> line = again.FirstLine();
    ASSERT_TRUE(line.has_value());
    const std::array<std::uint8_t, 16> index = ReadIndex(*line, false);
    EXPECT_EQ(index[0], 3);
    EXPECT_EQ(index[2], 0);
    EXPECT_EQ(again.Terminate(), 0);
}

TEST_F(SimulateToolTest, DeviceErrorsAndBadOptionsAreReported) {
    const ToolRun unplugged = Run({"device-info", "--port", "/dev/pts/999999"});
    EXPECT_EQ(unplugged.status, 1);
    EXPECT_NE(unplugged.err.find("OP001"), std::string::npos) << unplugged.err;

    const ToolRun card = Run({"device-info", "--port", home.Path()});
    EXPECT_EQ(card.status, 1);
    EXPECT_NE(card.err.find("card folder"), std::string::npos) << card.err;

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"simulate", "--recordings", "101"},
          {"simulate", "--faults", "loud@2"},
          {"simulate", "--clock", "maybe"},
          {"simulate", "--name", "../x"}}) {
        EXPECT_EQ(Run(bad).status, 2) << bad[1] << ' ' << bad[2];
    }

    const std::string notState = home.Write("not.state", "hello\n");
    const ToolRun refused = Run({"simulate", "--state", notState});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(testsupport::ReadFile(notState), "hello\n"); // left as it was
}

TEST_F(SimulateToolTest, ACardFolderIsListedAsItsMountPoint) {
    std::filesystem::create_directories(home.File("run"));
    const std::string folder = home.File("card");
    BackgroundTool card({"simulate", "--card", folder, "--name", "sim", "--recordings", "2",
                         "--faults", "damaged@2"},
                        Env());
    const std::optional<std::string> line = card.FirstLine();
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(*line, folder);
    const ToolRun ports = Run({"ports", "--json"});
    EXPECT_NE(ports.out.find("\"" + folder + "\""), std::string::npos) << ports.out;
    const ToolRun info = Run({"info", "--json", home.File("card/Vtq520/data/ECG_0001.ecg"),
                              home.File("card/Vtq520/data/ECG_0002.ecg")});
    EXPECT_NE(info.out.find("\"valid\": true"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("\"valid\": false"), std::string::npos) << info.out;
    EXPECT_EQ(card.Terminate(), 0);
    EXPECT_FALSE(std::filesystem::exists(DeviceFile()));
}

class ImportToolTest : public SimulateToolTest {
protected:
    void SetUp() override { std::filesystem::create_directories(home.File("run")); }
    std::string DataFolder() const { return home.File("Documents/Torvane/Rhythmora/ECGData"); }
    std::size_t RecordCount() const {
        std::size_t n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(DataFolder()))
            n += entry.path().extension() == ".ecg";
        return n;
    }
};

TEST_F(ImportToolTest, ImportSetsTheClockTakesTheRecordingsAndWritesSettings) {
    BackgroundTool simulator({"simulate", "--state", home.File("sim.state"), "--name", "sim",
                              "--recordings", "4", "--clock", "unset"},
                             Env());
    ASSERT_TRUE(simulator.FirstLine().has_value());

    ToolRun run = Run({"device-info"});
    EXPECT_NE(run.out.find("\nBattery: full\nFilter: on\nDevice clock: not set\n"),
              std::string::npos)
        << run.out;
    run = Run({"import", "--set-clock", "no", "--json"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("\"result\": \"cancelled\""), std::string::npos) << run.out;
    run = Run({"import", "--set-clock", "no"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.ends_with("Cancelled: nothing was taken from the device.\n")) << run.err;

    run = Run({"import", "--set-clock", "yes", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"result\": \"ok\""), std::string::npos) << run.out;
    EXPECT_EQ(RecordCount(), 4u);
    run = Run({"device-info", "--json"});
    EXPECT_NE(run.out.find("\"clockNotSet\": false"), std::string::npos) << run.out;

    // The device forgot what it handed over.
    run = Run({"import", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"added\": []"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"message\": \"Nothing new on the device.\""), std::string::npos)
        << run.out;
    run = Run({"import"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Nothing new on the device.\n");
    EXPECT_EQ(RecordCount(), 4u);

    run = Run({"device-write", "--filter", "off"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = Run({"device-info", "--json"});
    EXPECT_NE(run.out.find("\"filter\": 0"), std::string::npos) << run.out;
    EXPECT_EQ(simulator.Terminate(), 0);
}

TEST_F(ImportToolTest, ACardIsCopiedByRecordingTime) {
    BackgroundTool card(
        {"simulate", "--card", home.File("card"), "--name", "sim", "--recordings", "3"}, Env());
    ASSERT_TRUE(card.FirstLine().has_value());
    ToolRun run = Run({"import", "--json"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_EQ(RecordCount(), 3u);
    EXPECT_NE(run.out.find("\"message\": \"3 recordings were copied from the SD card.\""),
              std::string::npos)
        << run.out;
    for (const auto& entry : std::filesystem::directory_iterator(DataFolder()))
        EXPECT_EQ(entry.path().filename().string().find('_'), 4u) << entry.path();

    // Copies already in the data folder are skipped, and the result says so.
    run = Run({"import", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"added\": []"), std::string::npos) << run.out;
    run = Run({"import"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Nothing new on the SD card.\n");
    EXPECT_EQ(card.Terminate(), 0);
}

TEST_F(ImportToolTest, APortThatCannotBeOpenedIsAFailureWithItsReason) {
    ToolRun run = Run({"import", "--json", "--port", "/dev/pts/999999", "--folder", home.Path()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("\"result\": \"failed\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Unplug the device"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("OP001"), std::string::npos) << run.out;

    BackgroundTool simulator({"simulate", "--name", "sim", "--recordings", "1"}, Env());
    const std::optional<std::string> port = simulator.FirstLine();
    ASSERT_TRUE(port.has_value());
    platform::CSerialPort holder;
    ASSERT_TRUE(holder.Open(*port, 1500000, 100, 100));
    run = Run({"import", "--json", "--port", *port});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("\"result\": \"failed\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("in use by another program"), std::string::npos) << run.out;
    holder.Close();
    EXPECT_EQ(simulator.Terminate(), 0);
}

TEST_F(ImportToolTest, ALostAnswerToTheCountWriteKeepsTheRecordingsAndSaysSo) {
    // The status read takes exchanges 1-3, the import's start and index 4
    // and 5, the two recordings 6 and 7; every answer to the count write is
    // spoilt after the device applied it.
    BackgroundTool simulator(
        {"simulate", "--name", "sim", "--recordings", "2", "--faults", "bcc@8,bcc@9,bcc@10"},
        Env());
    const std::optional<std::string> port = simulator.FirstLine();
    ASSERT_TRUE(port.has_value());
    ToolRun run = Run({"import", "--json"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("\"result\": \"failed\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("did not confirm"), std::string::npos) << run.out;
    EXPECT_EQ(RecordCount(), 2u);
    for (const auto& entry : std::filesystem::directory_iterator(DataFolder()))
        EXPECT_NE(run.out.find(entry.path().string()), std::string::npos) << run.out;
    EXPECT_EQ(ReadIndex(*port, false)[2], 0);
    EXPECT_EQ(simulator.Terminate(), 0);
}

TEST_F(ImportToolTest, ADamagedRecordingIsKeptAndListed) {
    BackgroundTool simulator(
        {"simulate", "--name", "sim", "--recordings", "3", "--faults", "damaged@2"}, Env());
    ASSERT_TRUE(simulator.FirstLine().has_value());
    ToolRun run = Run({"import", "--json"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_NE(run.out.find("\"result\": \"ok\""), std::string::npos) << run.out;
    EXPECT_EQ(RecordCount(), 3u);
    const std::size_t damaged = run.out.find("\"damaged\": [");
    ASSERT_NE(damaged, std::string::npos) << run.out;
    const std::string list = run.out.substr(damaged, run.out.find(']', damaged) - damaged);
    EXPECT_NE(list.find(DataFolder()), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1 recordings arrived damaged"), std::string::npos) << run.out;
    EXPECT_EQ(simulator.Terminate(), 0);
}

TEST_F(ImportToolTest, TwoImportsIntoOneFolderAtOnceKeepEveryRecording) {
    BackgroundTool first(
        {"simulate", "--name", "one", "--serial", "SIM0001", "--recordings", "6", "--seed", "1"},
        Env());
    BackgroundTool second(
        {"simulate", "--name", "two", "--serial", "SIM0002", "--recordings", "6", "--seed", "2"},
        Env());
    const std::optional<std::string> portOne = first.FirstLine();
    const std::optional<std::string> portTwo = second.FirstLine();
    ASSERT_TRUE(portOne && portTwo);
    std::filesystem::create_directories(DataFolder());
    auto import = [&](const std::string& port) {
        return Run({"import", "--json", "--port", port, "--folder", DataFolder()});
    };
    std::future<ToolRun> one = std::async(std::launch::async, import, *portOne);
    std::future<ToolRun> two = std::async(std::launch::async, import, *portTwo);
    const ToolRun a = one.get();
    const ToolRun b = two.get();
    ASSERT_EQ(a.status, 0) << a.err << a.out;
    ASSERT_EQ(b.status, 0) << b.err << b.out;
    // Both devices number their recordings alike; none replaced another.
    EXPECT_EQ(RecordCount(), 12u);
    EXPECT_EQ(first.Terminate(), 0);
    EXPECT_EQ(second.Terminate(), 0);
}

TEST_F(ImportToolTest, ACardWithTwoRecordingsOfOneTimeAndClassGivesTwoFiles) {
    const std::string card = home.File("card");
    BackgroundTool simulator({"simulate", "--card", card, "--name", "sim", "--recordings", "1"},
                             Env());
    ASSERT_TRUE(simulator.FirstLine().has_value());
    // A second recording of the same time and class: another heart rate.
    std::string twin = testsupport::ReadFile(card + "/Vtq520/data/ECG_0001.ecg");
    twin[52] = static_cast<char>(twin[52] + 1);
    testsupport::WriteFile(card + "/Vtq520/data/ECG_0002.ecg", twin);

    ToolRun run = Run({"import", "--json"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_EQ(RecordCount(), 2u);
    run = Run({"import", "--json"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_NE(run.out.find("\"added\": []"), std::string::npos) << run.out;
    EXPECT_EQ(RecordCount(), 2u);
    EXPECT_EQ(simulator.Terminate(), 0);
}

TEST_F(ImportToolTest, RefusalsAreExplained) {
    ToolRun run = Run({"import"});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.err.empty());
    run = Run({"import", "--port", "/dev/pts/999999", "--folder", home.File("nowhere")});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.err.empty());
    run = Run({"import", "--set-clock", "maybe"});
    EXPECT_EQ(run.status, 2);
    run = Run({"device-write", "--filter", "half"});
    EXPECT_EQ(run.status, 2);
}

} // namespace
