#include "records/RecordBuilder.h"

#include "records/RecordFormat.h"

#include <array>

namespace records {

std::string BuildRecordFile(const RecordFields& fields, std::span<const std::uint16_t> samples12,
                            bool withMemo) {
    const std::vector<std::uint8_t> area = PackSamples(samples12);
    const auto count = static_cast<std::uint32_t>(samples12.size());

    std::array<std::uint8_t, kHeaderSize> header{};
    WriteLe32(header, kOffMagic, kMagic);
    WriteLe16(header, kOffDevice4, fields.deviceValue4);
    WriteLe16(header, kOffRecordNumber, fields.recordNumber);
    WriteLe32(header, kOffRecordedTime, fields.recordedTime);
    header[kOffKind] = fields.kindByte;
    header[kOffDeviceValue] = fields.deviceValueByte;
    header[kOffFilter] = fields.filterByte;
    WriteLe32(header, kOffSampleCount, count);
    WriteLe16(header, kOffSampleRate, fields.sampleRate);
    WriteLe32(header, kOffFlags, fields.flags);
    WriteLe32(header, kOffUsableMarker, fields.usableMarker);
    WriteLe16(header, kOffHeartRate, fields.heartRate);
    WriteLe16(header, kOffChecksum, SampleChecksum(area));

    std::string file(header.begin(), header.end());
    file.append(area.begin(), area.end());
    file.append(PaddingSize(count), static_cast<char>(kPaddingByte));
    if (withMemo) {
        file.append(kMemoBlockSize, '\0');
    }
    return file;
}

} // namespace records
