#include "device/sim/SimDevice.h"
#include "device/DeviceBlocks.h"
#include "device/DeviceClock.h"
#include "device/Frame.h"

#include <gtest/gtest.h>

#include <vector>

using namespace device;
using namespace device::sim;

namespace {

// 2026-03-04 05:06:07 in the device's local time (UTC+9).
constexpr std::int64_t kNow = 1772568367;

std::vector<std::uint8_t> Bytes(const Frame& frame) {
    std::vector<std::uint8_t> out;
    frame.Serialize(out);
    return out;
}

RecordBlock NumberedBlock(std::uint16_t number) {
    SimRecordingPlan plan;
    plan.recordNumber = number;
    plan.sampleCount = 250;
    plan.recorded = kNow;
    return BuildRecordingBlock(plan);
}

class SimDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "JST-9", 1);
        ::tzset();
    }

    CSimDevice Make(SimMemory memory, std::vector<Fault> faults = {}) {
        return CSimDevice(std::move(memory), std::move(faults), [] { return kNow; });
    }
    // Starts an access sequence, so later requests are taken.
    static void Begin(CSimDevice& device) {
        ASSERT_EQ(device.Handle(Bytes(AccessStart())).bytes,
                  (std::vector<std::uint8_t>{0x08, 0x80, 0, 0, 0, 0, 0, 0x88}));
    }
    static ControlBytes ReadBlock(CSimDevice& device, std::int32_t address) {
        FrameReceiveStd response;
        response.Receive(device.Handle(Bytes(SingleAccessRead(address, 16))).bytes);
        EXPECT_EQ(response.Classify(kCmdSingleAccess), ResponseResult::OK);
        ControlBytes block{};
        response.CopyPayload(block);
        return block;
    }
    static ResponseResult Write(CSimDevice& device, std::int32_t address, ControlBytes image) {
        FrameReceiveStd response;
        response.Receive(device.Handle(Bytes(SingleAccessWrite(address, image))).bytes);
        return response.Classify(kCmdSingleAccess);
    }
};

TEST_F(SimDeviceTest, AnswersTheRequestsOfAnImportByteForByte) {
    SimMemory memory;
    memory.battery = 2;
    memory.filter = 2;
    StoreRecording(memory, NumberedBlock(0x2A));
    CSimDevice device = Make(memory);

    // The requests as they travel on the line.
    EXPECT_EQ(device.Handle({{0x08, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x18}}).bytes,
              (std::vector<std::uint8_t>{0x08, 0x80, 0, 0, 0, 0, 0, 0x88}));

    FrameReceiveStd statusReply;
    statusReply.Receive(device.Handle({{0x08, 0x01, 0x00, 0x00, 0xB0, 0x10, 0x00, 0xA9}}).bytes);
    ASSERT_EQ(statusReply.Classify(kCmdSingleAccess), ResponseResult::OK);
    ControlBytes status{};
    statusReply.CopyPayload(status);
    EXPECT_EQ(status[0], 0x02); // battery 2, clock set
    EXPECT_EQ(status[1], 0x02);
    EXPECT_EQ(DeviceClockToTime(std::span<const std::uint8_t, 6>(status.data() + 8, 6)), kNow);
    EXPECT_EQ(status[14], BlockChecksum(status));

    const ControlBytes index = ReadBlock(device, kAddrRecordIndex);
    EXPECT_EQ(index[0], 1);
    EXPECT_EQ(index[2], 1);

    const std::vector<std::uint8_t> reply =
        device.Handle({{0x0A, 0x02, 0x00, 0x00, 0x10, 0x00, 0x16, 0x2C, 0x00, 0x22}}).bytes;
    ASSERT_EQ(reply.size(), 5692u);
    EXPECT_EQ(reply[2] << 8 | reply[3], 5688);
    FrameReceiveExt extended;
    extended.Receive(reply);
    EXPECT_EQ(extended.Classify(kCmdLongRead), ResponseResult::OK);
    RecordBlock block{};
    extended.CopyPayload(block);
    EXPECT_EQ(block, NumberedBlock(0x2A));

    // Sixteen zero bytes at the status image name no clock the device can
    // hold (month 0) with the clock marked set: refused, nothing changes.
    std::vector<std::uint8_t> zeroImage = {0x18, 0x01, 0xC0, 0x01, 0x50, 0x10};
    zeroImage.resize(22, 0x00);
    zeroImage.push_back(0x00);
    zeroImage.push_back(0x98);
    FrameReceiveStd writeReply;
    writeReply.Receive(device.Handle(zeroImage).bytes);
    EXPECT_EQ(writeReply.Classify(kCmdSingleAccess), ResponseResult::ERR_RESPONSE_NORETRY);
    EXPECT_EQ(device.Memory().filter, 2);

    EXPECT_EQ(device.Handle({{0x08, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07}}).bytes,
              (std::vector<std::uint8_t>{0x08, 0x8F, 0, 0, 0, 0, 0, 0x87}));
    EXPECT_EQ(device.Exchanges(), 6u);
}

TEST_F(SimDeviceTest, RefusesWhatTheDeviceCannotDo) {
    CSimDevice device = Make({});
    // Outside an access sequence.
    FrameReceiveStd early;
    early.Receive(device.Handle(Bytes(SingleAccessRead(kAddrDeviceStatus, 16))).bytes);
    EXPECT_EQ(early.Classify(kCmdSingleAccess), ResponseResult::ERR_RESPONSE_NORETRY);
    Begin(device);

    const std::vector<std::vector<std::uint8_t>> refused = {
        Bytes(SingleAccessRead(0x0200, 16)),               // no such register
        Bytes(SingleAccessRead(kAddrDeviceStatus, 17)),    // past the status block
        Bytes(Frame(0x07, {0, 0, 0, 0})),                  // unknown command
        Bytes(SingleAccessLongRead(SlotAddress(0), 5675)), // odd: no extended form fits
        Bytes(SingleAccessLongRead(0x0100, 16)),           // below the slots
    };
    for (const auto& request : refused) {
        const std::vector<std::uint8_t> reply = device.Handle(request).bytes;
        std::unique_ptr<IReceivable> receiver;
        if (reply.front() == kExtendedMark)
            receiver = std::make_unique<FrameReceiveExt>();
        else
            receiver = std::make_unique<FrameReceiveStd>();
        receiver->Receive(reply);
        EXPECT_EQ(receiver->Classify(request[1]), ResponseResult::ERR_RESPONSE_NORETRY)
            << "command " << int(request[1]);
    }

    // A garbled request is answered with a status that asks for it again.
    std::vector<std::uint8_t> garbled = Bytes(SingleAccessRead(kAddrDeviceStatus, 16));
    garbled.back() ^= 0x40;
    FrameReceiveStd response;
    response.Receive(device.Handle(garbled).bytes);
    EXPECT_EQ(response.Classify(kCmdSingleAccess), ResponseResult::ERR_RESPONSE_RETRIABLE);
}

TEST_F(SimDeviceTest, SlotsWrapAroundAndTheCountStopsAtAHundred) {
    SimMemory memory;
    memory.position = 97;
    for (std::uint16_t n = 1; n <= 5; ++n)
        StoreRecording(memory, NumberedBlock(n));
    EXPECT_EQ(memory.position, 2);
    EXPECT_EQ(memory.count, 5);
    CSimDevice device = Make(memory);
    Begin(device);
    const ControlBytes index = ReadBlock(device, kAddrRecordIndex);
    // Newest first, as the import counts them: 5 in slot 1 ... 1 in slot 97.
    for (int i = 0; i < 5; ++i) {
        const int slot = SlotOfRecording(index[0], i);
        FrameReceiveExt extended;
        extended.Receive(
            device.Handle(Bytes(SingleAccessLongRead(SlotAddress(slot), kRecordBlockSize))).bytes);
        RecordBlock block{};
        extended.CopyPayload(block);
        EXPECT_EQ(block[6], 5 - i) << "recording " << i << " in slot " << slot;
    }

    SimMemory full;
    for (int n = 0; n < 103; ++n)
        StoreRecording(full, NumberedBlock(static_cast<std::uint16_t>(n)));
    EXPECT_EQ(full.count, 100);
    EXPECT_EQ(full.position, 3);
    EXPECT_EQ((*full.slots[2])[6], 102); // the oldest ones were overwritten
}

TEST_F(SimDeviceTest, WriteImagesChangeCountFilterAndClock) {
    SimMemory memory;
    memory.clockSet = false;
    memory.filter = 2;
    for (std::uint16_t n = 1; n <= 3; ++n)
        StoreRecording(memory, NumberedBlock(n));
    CSimDevice device = Make(memory);
    Begin(device);

    ControlBytes index = ReadBlock(device, kAddrRecordIndex);
    PrepareCountImage(index, 0);
    EXPECT_EQ(Write(device, kAddrRecordIndexImage, index), ResponseResult::OK);
    EXPECT_EQ(device.Memory().count, 0);
    EXPECT_EQ(device.Memory().position, 3);
    EXPECT_TRUE(device.TakeChanged());
    EXPECT_FALSE(device.TakeChanged());

    ControlBytes status = ReadBlock(device, kAddrDeviceStatus);
    EXPECT_EQ(status[0] & kClockNotSetBit, kClockNotSetBit);
    PrepareSettingsImage(status, 0);
    EXPECT_EQ(Write(device, kAddrDeviceStatusImage, status), ResponseResult::OK);
    EXPECT_EQ(device.Memory().filter, 0);
    EXPECT_FALSE(device.Memory().clockSet); // a settings write leaves an unset clock unset

    ASSERT_TRUE(PrepareClockImage(status, kNow - 3600));
    EXPECT_EQ(Write(device, kAddrDeviceStatusImage, status), ResponseResult::OK);
    status = ReadBlock(device, kAddrDeviceStatus);
    EXPECT_EQ(status[0] & kClockNotSetBit, 0);
    EXPECT_EQ(DeviceClockToTime(std::span<const std::uint8_t, 6>(status.data() + 8, 6)),
              kNow - 3600);
}

TEST_F(SimDeviceTest, BrokenImagesAreRefusedAndChangeNothing) {
    SimMemory memory;
    StoreRecording(memory, NumberedBlock(1));
    CSimDevice device = Make(memory);
    Begin(device);
    const ControlBytes index = ReadBlock(device, kAddrRecordIndex);
    const ControlBytes status = ReadBlock(device, kAddrDeviceStatus);

    struct Case {
        const char* what;
        std::int32_t address;
        ControlBytes image;
    };
    std::vector<Case> cases;
    ControlBytes image = index;
    PrepareCountImage(image, 0);
    image[14] ^= 1;
    cases.push_back({"index checksum", kAddrRecordIndexImage, image});
    image = index;
    PrepareCountImage(image, 0);
    image[3] = 0;
    image[14] = BlockChecksum(image);
    cases.push_back({"parity of the count", kAddrRecordIndexImage, image});
    image = index;
    PrepareCountImage(image, 101);
    cases.push_back({"count above the slots", kAddrRecordIndexImage, image});
    image = status;
    PrepareSettingsImage(image, 0);
    image[14] ^= 0x80;
    cases.push_back({"status checksum", kAddrDeviceStatusImage, image});
    image = status;
    image[9] = 13; // month 13, clock marked set
    PrepareSettingsImage(image, 0);
    cases.push_back({"impossible clock", kAddrDeviceStatusImage, image});
    image = index;
    PrepareCountImage(image, 0);
    cases.push_back({"image at a block instead of its image", kAddrRecordIndex, image});

    for (const Case& c : cases) {
        EXPECT_EQ(Write(device, c.address, c.image), ResponseResult::ERR_RESPONSE_NORETRY)
            << c.what;
    }
    EXPECT_EQ(device.Memory().count, 1);
    EXPECT_EQ(device.Memory().filter, 2);
    EXPECT_FALSE(device.TakeChanged());
}

TEST_F(SimDeviceTest, InjectsFaultsAtTheirExchange) {
    SimMemory memory;
    StoreRecording(memory, NumberedBlock(1));
    const std::vector<std::uint8_t> statusRead = Bytes(SingleAccessRead(kAddrDeviceStatus, 16));
    const std::vector<std::uint8_t> longRead =
        Bytes(SingleAccessLongRead(SlotAddress(0), kRecordBlockSize));

    struct Case {
        Fault fault;
        std::vector<std::uint8_t> request;
        ResponseResult expected;
    };
    const std::vector<Case> cases = {
        {{FaultKind::BadCheck, 2}, statusRead, ResponseResult::BCC_MISMATCH},
        {{FaultKind::BadCheck, 2}, longRead, ResponseResult::BCC_MISMATCH},
        {{FaultKind::Refuse, 2}, statusRead, ResponseResult::ERR_RESPONSE_NORETRY},
        {{FaultKind::Refuse, 2}, longRead, ResponseResult::ERR_RESPONSE_NORETRY},
        // Half a frame does not end the way a frame ends.
        {{FaultKind::Short, 2}, longRead, ResponseResult::BCC_MISMATCH},
        {{FaultKind::Short, 2}, statusRead, ResponseResult::BCC_MISMATCH},
    };
    for (const Case& c : cases) {
        CSimDevice device = Make(memory, {c.fault});
        Begin(device);
        const auto classify = [&](const std::vector<std::uint8_t>& reply) {
            std::unique_ptr<IReceivable> receiver;
            if (reply.front() == kExtendedMark)
                receiver = std::make_unique<FrameReceiveExt>();
            else
                receiver = std::make_unique<FrameReceiveStd>();
            receiver->Receive(reply);
            return receiver->Classify(c.request[1]);
        };
        const SimReply faulty = device.Handle(c.request);
        EXPECT_EQ(classify(faulty.bytes), c.expected) << FormatFault(c.fault);
        // The next exchange is sound again.
        EXPECT_EQ(classify(device.Handle(c.request).bytes), ResponseResult::OK)
            << FormatFault(c.fault);
    }

    CSimDevice silent = Make(memory, {{FaultKind::Silence, 0}});
    EXPECT_TRUE(silent.Handle(Bytes(AccessStart())).bytes.empty());
    EXPECT_TRUE(silent.Handle(statusRead).bytes.empty());

    CSimDevice unplugged = Make(memory, {{FaultKind::Unplug, 2}});
    EXPECT_FALSE(unplugged.Handle(Bytes(AccessStart())).unplug);
    EXPECT_FALSE(unplugged.Handle(statusRead).unplug);
    const SimReply gone = unplugged.Handle(statusRead);
    EXPECT_TRUE(gone.unplug);
    EXPECT_TRUE(gone.bytes.empty());

    // A refused write is not carried out.
    CSimDevice refusing = Make(memory, {{FaultKind::Refuse, 3}});
    Begin(refusing);
    ControlBytes index = ReadBlock(refusing, kAddrRecordIndex);
    PrepareCountImage(index, 0);
    EXPECT_EQ(Write(refusing, kAddrRecordIndexImage, index), ResponseResult::ERR_RESPONSE_NORETRY);
    EXPECT_EQ(refusing.Memory().count, 1);
}

TEST(SimFaultsTest, ParsesTheFaultList) {
    const auto faults = ParseFaultList("bcc@3,silence,refuse@1,short@2,unplug@0,damaged@2");
    ASSERT_TRUE(faults.has_value());
    ASSERT_EQ(faults->size(), 6u);
    EXPECT_EQ((*faults)[0].kind, FaultKind::BadCheck);
    EXPECT_EQ((*faults)[0].at, 3u);
    EXPECT_EQ((*faults)[1].at, 0u);
    EXPECT_EQ((*faults)[4].kind, FaultKind::Unplug);
    EXPECT_EQ((*faults)[5].kind, FaultKind::Damaged);
    for (const char* bad :
         {"bcc@", "bcc@x", "bcc@-1", "loud", "unplug", "damaged", "damaged@0", "bcc@3,", "bcc@3 "})
        EXPECT_FALSE(ParseFaultList(bad).has_value()) << bad;
    EXPECT_TRUE(ParseFaultList("")->empty());
}

} // namespace
