#include "device/DeviceBlocks.h"

#include "device/DeviceClock.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <time.h>

#include <array>

namespace device {
namespace {

using Block = std::array<std::uint8_t, 16>;

class LocalTime : public ::testing::Test {
protected:
    LocalTime() : m_tz("TZ", "JST-9") { ::tzset(); }
    ~LocalTime() override { ::tzset(); }

    testsupport::ScopedEnv m_tz;
};

TEST(DeviceBlocks, CountImageSetsCountParityAndChecksumOnly) {
    Block index{0x05, 0x00, 0x03, 0x00, 0, 0, 0, 0, 0, 0x7E, 0, 0, 0, 0, 0x99, 0x42};
    PrepareCountImage(index, 0);
    EXPECT_EQ(index, (Block{0x05, 0x00, 0x00, 0x80, 0, 0, 0, 0, 0, 0x7E, 0, 0, 0, 0,
                            static_cast<std::uint8_t>(0x05 + 0x80 + 0x7E), 0x42}));
    // Odd parity over count and bit 7: an odd count needs no extra bit.
    for (const auto& [count, parity] :
         {std::pair<int, int>{1, 0x00}, {3, 0x80}, {7, 0x00}, {100, 0x00}, {0xFF, 0x80}}) {
        PrepareCountImage(index, static_cast<std::uint8_t>(count));
        EXPECT_EQ(index[kIdxParity], parity) << count;
    }
}

TEST(DeviceBlocks, ChecksumWrapsAtAByte) {
    Block block{};
    block.fill(0xFF);
    EXPECT_EQ(BlockChecksum(block), static_cast<std::uint8_t>(14 * 0xFF));
}

TEST(DeviceBlocks, SettingsImageZeroesReservedBytesAndKeepsTheRest) {
    Block status;
    for (std::size_t i = 0; i < status.size(); ++i) {
        status[i] = static_cast<std::uint8_t>(0x10 + i);
    }
    PrepareSettingsImage(status, 0x06);
    const Block expected{0x10, 0x06, 0,    0,    0x14, 0x15, 0, 0,
                         0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0, 0};
    Block withSum = expected;
    withSum[kBlockChecksum] = BlockChecksum(expected);
    EXPECT_EQ(status, withSum);
}

TEST_F(LocalTime, ClockImageCarriesLocalTimeAndAlwaysMarksTheClockSet) {
    // 2026-12-10 12:04:05 in UTC+9.
    const std::int64_t time = 1796871845;
    for (std::uint8_t first : {0x42, 0x02, 0xFF}) {
        Block status{};
        status[kStaBattery] = first;
        status[kStaFilter] = 0x06;
        status[3] = 0x33;
        ASSERT_TRUE(PrepareClockImage(status, time));
        EXPECT_EQ(status[kStaBattery], first & ~0x40);
        EXPECT_EQ(status[kStaFilter], 0x06);
        EXPECT_EQ(status[3], 0);
        EXPECT_EQ((std::array<std::uint8_t, 6>{status[8], status[9], status[10], status[11],
                                               status[12], status[13]}),
                  (std::array<std::uint8_t, 6>{26, 12, 10, 12, 4, 5}));
        EXPECT_EQ(status[kBlockChecksum], BlockChecksum(status));
    }
}

TEST_F(LocalTime, ClockOutsideTheDevicesYearsIsRefused) {
    Block status{};
    status[kStaBattery] = 0x42;
    const Block before = status;
    EXPECT_FALSE(PrepareClockImage(status, 946684800 - 9 * 3600 - 1)); // 1999-12-31 23:59:59
    EXPECT_EQ(status, before);
    EXPECT_TRUE(PrepareClockImage(status, 946684800 - 9 * 3600));
}

TEST_F(LocalTime, DeviceClockBytesConvertBothWays) {
    const std::array<std::uint8_t, 6> bytes{26, 12, 10, 12, 4, 5};
    EXPECT_EQ(DeviceClockToTime(bytes), 1796871845);
    EXPECT_EQ(TimeToDeviceClock(1796871845), bytes);
    for (const auto& bad : {std::array<std::uint8_t, 6>{26, 0, 1, 0, 0, 0},
                            std::array<std::uint8_t, 6>{26, 13, 1, 0, 0, 0},
                            std::array<std::uint8_t, 6>{26, 2, 30, 0, 0, 0},
                            std::array<std::uint8_t, 6>{26, 1, 0, 0, 0, 0},
                            std::array<std::uint8_t, 6>{26, 1, 1, 24, 0, 0},
                            std::array<std::uint8_t, 6>{26, 1, 1, 0, 60, 0},
                            std::array<std::uint8_t, 6>{26, 1, 1, 0, 0, 60},
                            std::array<std::uint8_t, 6>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}) {
        EXPECT_FALSE(DeviceClockToTime(bad)) << int(bad[1]) << "/" << int(bad[2]);
    }
    EXPECT_TRUE(DeviceClockToTime(std::array<std::uint8_t, 6>{24, 2, 29, 23, 59, 59}));
}

TEST(DeviceBlocks, SlotsCountBackFromThePosition) {
    struct Case {
        int position, i, slot;
    };
    for (const Case& c :
         {Case{5, 0, 4}, Case{5, 4, 0}, Case{5, 5, 99}, Case{2, 2, 99}, Case{2, 1, 0},
          Case{2, 0, 1}, Case{0, 0, 99}, Case{99, 99, 99}, Case{0, 99, 0}}) {
        EXPECT_EQ(SlotOfRecording(static_cast<std::uint8_t>(c.position), c.i), c.slot)
            << c.position << " " << c.i;
    }
    EXPECT_EQ(SlotAddress(99), 0x18D000);
}

// The index block comes from the device: whatever it claims, the address
// stays inside the slot area.
TEST(DeviceBlocks, UnexpectedIndexValuesStillNameASlot) {
    for (int position = 0; position < 256; ++position) {
        for (int i = 0; i < 256; ++i) {
            const int slot = SlotOfRecording(static_cast<std::uint8_t>(position), i);
            ASSERT_GE(slot, 0) << position << " " << i;
            ASSERT_LT(slot, kSlotCount) << position << " " << i;
        }
    }
}

} // namespace
} // namespace device
