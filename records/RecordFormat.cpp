#include "records/RecordFormat.h"

#include <array>

namespace records {

namespace {

// CRC-16/XMODEM (polynomial 0x1021, MSB first, initial 0), sliced by 16:
// kTables[k][x] is what byte x contributes when k zero bytes follow it, so a
// block of 16 bytes folds into the register with independent lookups instead
// of a chain of 16 dependent ones: many times the speed of a single table.
using CrcTable = std::array<std::uint16_t, 256>;
constexpr int kSlice = 16;

constexpr std::array<CrcTable, kSlice> MakeSlicedTables() {
    std::array<CrcTable, kSlice> tables{};
    for (unsigned b = 0; b < 256; ++b) {
        unsigned crc = b << 8;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
        }
        tables[0][b] = static_cast<std::uint16_t>(crc);
    }
    for (int k = 1; k < kSlice; ++k) {
        for (unsigned b = 0; b < 256; ++b) {
            const unsigned prev = tables[k - 1][b];
            tables[k][b] = static_cast<std::uint16_t>((prev << 8) ^ tables[0][prev >> 8]);
        }
    }
    return tables;
}

constexpr std::array<CrcTable, kSlice> kTables = MakeSlicedTables();

constexpr std::uint16_t Reverse16(std::uint16_t v) {
    std::uint16_t r = 0;
    for (int bit = 0; bit < 16; ++bit) {
        r = static_cast<std::uint16_t>((r << 1) | ((v >> bit) & 1));
    }
    return r;
}

} // namespace

std::uint16_t Crc16Xmodem(std::span<const std::uint8_t> bytes) {
    const auto& t = kTables;
    unsigned crc = 0;
    std::size_t i = 0;
    for (; i + kSlice <= bytes.size(); i += kSlice) {
        const std::uint8_t* p = bytes.data() + i;
        crc = t[15][p[0] ^ (crc >> 8)] ^ t[14][p[1] ^ (crc & 0xFF)] ^ t[13][p[2]] ^ t[12][p[3]] ^
              t[11][p[4]] ^ t[10][p[5]] ^ t[9][p[6]] ^ t[8][p[7]] ^ t[7][p[8]] ^ t[6][p[9]] ^
              t[5][p[10]] ^ t[4][p[11]] ^ t[3][p[12]] ^ t[2][p[13]] ^ t[1][p[14]] ^ t[0][p[15]];
    }
    for (; i < bytes.size(); ++i) {
        crc = ((crc << 8) & 0xFFFF) ^ t[0][(crc >> 8) ^ bytes[i]];
    }
    return static_cast<std::uint16_t>(crc);
}

// The stored checksum is defined with a reflected table over bit-reversed
// bytes; that equals the plain MSB-first CRC with its 16 bits reversed at the
// end, which needs no per-byte reversal.
std::uint16_t SampleChecksum(std::span<const std::uint8_t> bytes) {
    return Reverse16(Crc16Xmodem(bytes));
}

std::uint16_t UnpackSample(std::span<const std::uint8_t> area, std::size_t i) {
    const std::size_t bit = 12 * i;
    const std::size_t at = bit / 8;
    const unsigned lo = at < area.size() ? area[at] : 0;
    const unsigned hi = at + 1 < area.size() ? area[at + 1] : 0;
    return static_cast<std::uint16_t>(((lo | (hi << 8)) >> (bit % 8)) & 0xFFF);
}

std::vector<std::uint8_t> PackSamples(std::span<const std::uint16_t> values) {
    std::vector<std::uint8_t> area(SampleAreaSize(values.size()));
    std::size_t out = 0;
    for (std::size_t i = 0; i < values.size(); i += 2) {
        const unsigned a = values[i] & 0xFFF;
        area[out++] = static_cast<std::uint8_t>(a);
        if (i + 1 == values.size()) {
            // The odd sample's high bits share their byte with a 1111 nibble.
            area[out++] = static_cast<std::uint8_t>(0xF0 | (a >> 8));
            break;
        }
        const unsigned b = values[i + 1] & 0xFFF;
        area[out++] = static_cast<std::uint8_t>((a >> 8) | ((b & 0xF) << 4));
        area[out++] = static_cast<std::uint8_t>(b >> 4);
    }
    return area;
}

} // namespace records
