#include "records/RecordFormat.h"

#include "Fixtures.h"

#include <gtest/gtest.h>

#include <string_view>

namespace records {
namespace {

TEST(RecordFormat, LayoutOfKnownSampleCounts) {
    struct Case {
        std::uint64_t n, area, padding, memo;
    };
    for (const Case& c : {Case{3750, 5625, 11, 5696}, Case{24, 36, 16, 112}, Case{13, 20, 0, 80}}) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(SampleAreaSize(c.n), c.area);
        EXPECT_EQ(PaddingSize(c.n), c.padding);
        EXPECT_EQ(MemoBlockOffset(c.n), c.memo);
    }
}

// The padding rule differs for odd and even N (the odd sample's byte is not
// padding); check it against the closed forms for every loadable N.
TEST(RecordFormat, PaddingFollowsParityRuleForEveryCount) {
    for (std::uint64_t n = 0; n <= kMaxSamples; ++n) {
        const std::uint64_t whole = 12 * n / 8;
        const std::uint64_t expected = (n % 2 == 0 ? 16 : 15) - ((whole + 16 * 16 - 4) % 16);
        ASSERT_EQ(PaddingSize(n), expected) << n;
        ASSERT_EQ(MemoBlockOffset(n) % 16, 0u) << n;
        ASSERT_GT(MemoBlockOffset(n), kHeaderSize + whole) << n;
        ASSERT_LE(MemoBlockOffset(n), kHeaderSize + whole + 16) << n;
    }
}

// The checksum as the file format defines it: a reflected table of 0x8408
// over bit-reversed bytes. The implementation takes another route.
std::uint16_t ReflectedReference(std::span<const std::uint8_t> bytes) {
    auto reverse8 = [](unsigned b) {
        unsigned r = 0;
        for (int i = 0; i < 8; ++i) {
            r = (r << 1) | ((b >> i) & 1);
        }
        return r;
    };
    std::uint16_t table[256];
    for (unsigned v = 0; v < 256; ++v) {
        unsigned crc = v;
        for (int i = 0; i < 8; ++i) {
            crc = (crc & 1) ? (crc >> 1) ^ 0x8408 : crc >> 1;
        }
        table[v] = static_cast<std::uint16_t>(crc);
    }
    std::uint16_t crc = 0;
    for (std::uint8_t b : bytes) {
        crc = static_cast<std::uint16_t>((crc >> 8) ^ table[(reverse8(b) ^ crc) & 0xFF]);
    }
    return crc;
}

TEST(RecordFormat, ChecksumMatchesDefinition) {
    constexpr std::string_view kCheck = "123456789";
    const std::span<const std::uint8_t> check(reinterpret_cast<const std::uint8_t*>(kCheck.data()),
                                              kCheck.size());
    EXPECT_EQ(SampleChecksum(check), 0xC38C);
    EXPECT_EQ(Crc16Xmodem(check), 0x31C3);
    EXPECT_EQ(SampleChecksum({}), 0);

    // Every length up to a few blocks of eight, and a full sample area.
    const std::vector<std::uint8_t> area = PackSamples(test::TestSamples(kMaxSamples));
    for (std::size_t length = 0; length <= 40; ++length) {
        const auto part = std::span(area).first(length);
        EXPECT_EQ(SampleChecksum(part), ReflectedReference(part)) << length;
    }
    EXPECT_EQ(SampleChecksum(area), ReflectedReference(area));
}

TEST(RecordFormat, PacksPairsAndOddTail) {
    const std::uint16_t pair[] = {0xABC, 0x123};
    EXPECT_EQ(PackSamples(pair), (std::vector<std::uint8_t>{0xBC, 0x3A, 0x12}));

    const std::uint16_t odd[] = {0xABC, 0x123, 0x456};
    EXPECT_EQ(PackSamples(odd), (std::vector<std::uint8_t>{0xBC, 0x3A, 0x12, 0x56, 0xF4}));
}

TEST(RecordFormat, UnpackReturnsWhatWasPacked) {
    for (std::size_t n : {1u, 2u, 13u, 24u, 4375u}) {
        const auto samples = test::TestSamples(n);
        const auto area = PackSamples(samples);
        ASSERT_EQ(area.size(), SampleAreaSize(n));
        for (std::size_t i = 0; i < n; ++i) {
            ASSERT_EQ(UnpackSample(area, i), samples[i]) << "n " << n << " i " << i;
        }
    }
}

TEST(RecordFormat, LittleEndianFields) {
    std::array<std::uint8_t, 7> bytes{};
    WriteLe32(bytes, 1, kMagic);
    WriteLe16(bytes, 5, 0xBEEF);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 7>{0, 0x45, 0x43, 0x47, 0x0A, 0xEF, 0xBE}));
    EXPECT_EQ(ReadLe32(bytes, 1), kMagic);
    EXPECT_EQ(ReadLe16(bytes, 5), 0xBEEF);
}

} // namespace
} // namespace records
