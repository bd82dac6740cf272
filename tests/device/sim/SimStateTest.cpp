#include "device/sim/SimState.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace device::sim;

namespace {

SimMemory SampleMemory() {
    SimMemory memory;
    memory.position = 98;
    for (std::uint16_t n = 1; n <= 4; ++n) {
        SimRecordingPlan plan;
        plan.recordNumber = n;
        plan.sampleCount = 200;
        plan.damaged = n == 2;
        StoreRecording(memory, BuildRecordingBlock(plan));
    }
    memory.count = 3;
    memory.battery = 1;
    memory.filter = 0;
    memory.deviceFlag = true;
    memory.clockSet = false;
    memory.clockOffset = -86400;
    return memory;
}

void ExpectSame(const SimMemory& a, const SimMemory& b) {
    EXPECT_EQ(a.position, b.position);
    EXPECT_EQ(a.count, b.count);
    EXPECT_EQ(a.battery, b.battery);
    EXPECT_EQ(a.filter, b.filter);
    EXPECT_EQ(a.deviceFlag, b.deviceFlag);
    EXPECT_EQ(a.clockSet, b.clockSet);
    EXPECT_EQ(a.clockOffset, b.clockOffset);
    EXPECT_EQ(a.slots, b.slots);
}

TEST(SimStateTest, TheFileKeepsEverythingTheDeviceRemembers) {
    testsupport::TempFolder folder;
    const SimMemory memory = SampleMemory();
    const std::string path = folder.File("sim.state");
    ASSERT_TRUE(SaveSimState(path, memory));
    const std::optional<SimMemory> loaded = LoadSimState(path);
    ASSERT_TRUE(loaded.has_value());
    ExpectSame(*loaded, memory);
    // Blocks come back byte for byte, a damaged check included.
    EXPECT_FALSE(BlockCheckMatches(*loaded->slots[99]));

    EXPECT_FALSE(LoadSimState(folder.File("missing")).has_value());
}

TEST(SimStateTest, DamagedOrInconsistentFilesAreRefused) {
    const std::string good = FormatSimState(SampleMemory());
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::string slotLine = good.substr(good.find("Slot"));
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"truncated", good.substr(0, good.size() - 100)},
        {"other version", replaced("RhythmoraSimulatorState=1", "RhythmoraSimulatorState=2")},
        {"count above the slots", replaced("Count=3", "Count=101")},
        {"position outside", replaced("Position=2", "Position=100")},
        {"missing key", replaced("Battery=1\n", "")},
        {"duplicate key", good + "Filter=2\n"},
        {"slot outside", replaced("Slot98=", "Slot100=")},
        {"slot twice", good + slotLine},
        {"not hex", replaced("Slot98=45", "Slot98=G5")},
        {"no equals sign", good + "garbage\n"},
        {"number with junk", replaced("ClockOffset=-86400", "ClockOffset=-86400s")},
        {"empty", ""},
    };
    for (const auto& [what, text] : cases)
        EXPECT_FALSE(ParseSimState(text).has_value()) << what;
    ASSERT_TRUE(ParseSimState(good).has_value());
}

} // namespace
