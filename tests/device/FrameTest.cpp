#include "device/Frame.h"

#include "device/DeviceError.h"

#include <gtest/gtest.h>

#include <vector>

namespace device {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Prefix(const Bytes& bytes, std::size_t n) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
}

Bytes Wire(const Frame& frame) {
    Bytes out{0xAA}; // Serialize must replace, not append
    frame.Serialize(out);
    return out;
}

TEST(Frame, RequestsSerializeToTheirWireBytes) {
    EXPECT_EQ(Wire(AccessStart()), (Bytes{0x08, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x18}));
    EXPECT_EQ(Wire(AccessEnd()), (Bytes{0x08, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07}));
    EXPECT_EQ(Wire(SingleAccessRead(0xB0, 16)),
              (Bytes{0x08, 0x01, 0x00, 0x00, 0xB0, 0x10, 0x00, 0xA9}));
    EXPECT_EQ(Wire(SingleAccessLongRead(0x1000, 5676)),
              (Bytes{0x0A, 0x02, 0x00, 0x00, 0x10, 0x00, 0x16, 0x2C, 0x00, 0x22}));

    Bytes write{0x18, 0x01, 0xC0, 0x01, 0x50, 0x10};
    write.resize(6 + 16 + 1, 0x00);
    write.push_back(0x98);
    EXPECT_EQ(Wire(SingleAccessWrite(0x150, Bytes(16, 0))), write);
}

TEST(Frame, AddressesAreCutToTheirFieldWidths) {
    // A single access carries 20 address bits; the long read all 32.
    EXPECT_EQ(
        Wire(SingleAccessRead(0x7ABCDE, 1)),
        (Bytes{0x08, 0x01, 0x0A, 0xBC, 0xDE, 0x01, 0x00, 0x08 ^ 0x01 ^ 0x0A ^ 0xBC ^ 0xDE ^ 0x01}));
    const Bytes longRead = Wire(SingleAccessLongRead(0x12345678, 0xFFFF));
    EXPECT_EQ(Bytes(longRead.begin() + 2, longRead.begin() + 8),
              (Bytes{0x12, 0x34, 0x56, 0x78, 0xFF, 0xFF}));
    const SingleAccessLongRead slot99(0x1000 + 99 * 0x4000, 5676);
    ASSERT_TRUE(slot99.Target());
    EXPECT_EQ(slot99.Target()->address, 0x1000 + 99 * 0x4000);
    EXPECT_EQ(slot99.Target()->size, 5676u);
    EXPECT_FALSE(AccessStart().Target());
}

TEST(Frame, WriteLongerThanALengthByteCanDescribeIsRefused) {
    EXPECT_NO_THROW(SingleAccessWrite(0x140, Bytes(kMaxStdData, 0)));
    EXPECT_THROW(SingleAccessWrite(0x140, Bytes(kMaxStdData + 1, 0)), std::invalid_argument);
}

// A valid standard response to a 16-byte read, then single changes to it.
Bytes StdResponse(std::uint8_t status = 0, Bytes payload = Bytes(16, 0x5A)) {
    return BuildStandardResponse(kCmdSingleAccess, payload, status);
}

TEST(FrameReceiveStd, ClassifiesResponses) {
    Bytes badBcc = StdResponse(kStatusNoRetry);
    badBcc.back() ^= 0x01;
    Bytes wrongCommand = StdResponse();
    wrongCommand[1] = kCmdSingleAccess;
    wrongCommand.back() ^= kCmdSingleAccess ^ (kCmdSingleAccess + kResponseBit);
    struct Case {
        const char* name;
        Bytes bytes;
        ResponseResult expected;
        std::uint8_t status;
    };
    const Case cases[] = {
        {"ok", StdResponse(), ResponseResult::OK, 0},
        {"seven bytes", Prefix(StdResponse(), 7), ResponseResult::SIZE_ILLEGAL, 0},
        {"empty", Bytes{}, ResponseResult::SIZE_ILLEGAL, 0},
        {"check byte one bit off, even with 0xE6", badBcc, ResponseResult::BCC_MISMATCH, 0xE6},
        {"request command echoed", wrongCommand, ResponseResult::CMD_MISMATCH, 0},
        {"refusal", StdResponse(0xE6), ResponseResult::ERR_RESPONSE_NORETRY, 0xE6},
        {"status 01", StdResponse(0x01), ResponseResult::ERR_RESPONSE_RETRIABLE, 0x01},
        {"status E5", StdResponse(0xE5), ResponseResult::ERR_RESPONSE_RETRIABLE, 0xE5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameReceiveStd receiver;
        receiver.Receive(c.bytes);
        EXPECT_EQ(receiver.Classify(kCmdSingleAccess), c.expected);
        EXPECT_EQ(receiver.Status(), c.status);
    }
}

TEST(FrameReceiveStd, ClassifiesAgainstTheRequestsCommand) {
    FrameReceiveStd receiver;
    receiver.Receive(BuildStandardResponse(kCmdAccessEnd, {}, 0));
    EXPECT_EQ(receiver.Classify(kCmdAccessEnd), ResponseResult::OK);
    EXPECT_EQ(receiver.Classify(kCmdAccessStart), ResponseResult::CMD_MISMATCH);
}

TEST(FrameReceiveStd, CopyPayloadNeedsTheExactSize) {
    FrameReceiveStd empty;
    empty.Receive(BuildStandardResponse(kCmdAccessStart, {}, 0));
    ASSERT_EQ(empty.Classify(kCmdAccessStart), ResponseResult::OK);
    EXPECT_NO_THROW(empty.CopyPayload({}));
    Bytes sixteen(16);
    try {
        empty.CopyPayload(sixteen);
        FAIL() << "no error";
    } catch (const DeviceError& e) {
        EXPECT_EQ(e.Code(), "GD001");
    }

    Bytes payload(16);
    for (std::size_t i = 0; i < payload.size(); ++i) {
        payload[i] = static_cast<std::uint8_t>(i * 7);
    }
    FrameReceiveStd full;
    full.Receive(StdResponse(0, payload));
    full.CopyPayload(sixteen);
    EXPECT_EQ(sixteen, payload);
}

Bytes ExtResponse(std::size_t payloadSize, std::uint8_t status = 0) {
    Bytes payload(payloadSize);
    for (std::size_t i = 0; i < payloadSize; ++i) {
        payload[i] = static_cast<std::uint8_t>(i * 31 + 3);
    }
    return BuildExtendedResponse(kCmdLongRead, payload, status, 0x3C);
}

TEST(FrameReceiveExt, BuiltResponseHasTheWireLayout) {
    const Bytes r = ExtResponse(5676);
    ASSERT_EQ(r.size(), 5692u);
    EXPECT_EQ(r[0], 0xFE);
    EXPECT_EQ(r[1], 0x3C);
    EXPECT_EQ(r[2] * 256 + r[3], 5688);
    EXPECT_EQ(r[4], kCmdLongRead + kResponseBit);
    EXPECT_EQ(r[11], 3);
    EXPECT_EQ(r[5690], 0xFE);
    EXPECT_EQ(r[5691], 0x3C);
    // Each check byte cancels its half of offsets 2 to N-5.
    std::uint8_t even = 0;
    std::uint8_t odd = 0;
    for (std::size_t i = 2; i <= r.size() - 3; ++i) {
        (i % 2 == 0 ? even : odd) ^= r[i];
    }
    EXPECT_EQ(even, 0);
    EXPECT_EQ(odd, 0);
}

TEST(FrameReceiveExt, ClassifiesResponses) {
    auto changed = [](Bytes bytes, std::size_t fromEnd, std::uint8_t mask) {
        bytes[bytes.size() - fromEnd] ^= mask;
        return bytes;
    };
    struct Case {
        const char* name;
        Bytes bytes;
        ResponseResult expected;
    };
    const Case cases[] = {
        {"ok", ExtResponse(5676), ResponseResult::OK},
        {"ok, empty payload", ExtResponse(0), ResponseResult::OK},
        {"odd length", Prefix(ExtResponse(0), 15), ResponseResult::SIZE_ILLEGAL},
        {"fourteen bytes", Prefix(ExtResponse(0), 14), ResponseResult::SIZE_ILLEGAL},
        {"even check byte", changed(ExtResponse(8), 4, 0x10), ResponseResult::BCC_MISMATCH},
        {"odd check byte", changed(ExtResponse(8), 3, 0x10), ResponseResult::BCC_MISMATCH},
        {"payload byte", changed(ExtResponse(8), 8, 0x80), ResponseResult::BCC_MISMATCH},
        {"trailer mark", changed(ExtResponse(8), 2, 0x01), ResponseResult::BCC_MISMATCH},
        // M lies outside the XOR range: only the trailer comparison sees it.
        {"trailer M", changed(ExtResponse(8), 1, 0xFF), ResponseResult::BCC_MISMATCH},
        {"refusal", ExtResponse(8, 0xE6), ResponseResult::ERR_RESPONSE_NORETRY},
        {"status 05", ExtResponse(8, 0x05), ResponseResult::ERR_RESPONSE_RETRIABLE},
        {"answer to a single read", BuildExtendedResponse(kCmdSingleAccess, Bytes(8), 0, 1),
         ResponseResult::CMD_MISMATCH},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameReceiveExt receiver;
        receiver.Receive(c.bytes);
        EXPECT_EQ(receiver.Classify(kCmdLongRead), c.expected);
    }
}

TEST(FrameReceiveExt, CopyPayloadNeedsTheExactSize) {
    const Bytes r = ExtResponse(5676);
    FrameReceiveExt receiver;
    receiver.Receive(r);
    ASSERT_EQ(receiver.Classify(kCmdLongRead), ResponseResult::OK);
    Bytes block(5676);
    receiver.CopyPayload(block);
    EXPECT_EQ(block, Bytes(r.begin() + 11, r.end() - 5));
    Bytes shorter(5675);
    try {
        receiver.CopyPayload(shorter);
        FAIL() << "no error";
    } catch (const DeviceError& e) {
        EXPECT_EQ(e.Code(), "GD002");
    }

    FrameReceiveExt nothing;
    nothing.Receive(Bytes(15, 0));
    EXPECT_EQ(nothing.Status(), 0);
    EXPECT_THROW(nothing.CopyPayload({}), DeviceError);
}

TEST(FrameReceiveExt, TooLongAPayloadIsRefused) {
    EXPECT_EQ(BuildExtendedResponse(kCmdLongRead, Bytes(kMaxExtPayload), 0, 0).size(), 0xFFFFu + 4);
    EXPECT_THROW(BuildExtendedResponse(kCmdLongRead, Bytes(kMaxExtPayload + 1), 0, 0),
                 std::invalid_argument);
}

} // namespace
} // namespace device
