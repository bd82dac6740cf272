#include "records/ECGContentsData.h"

#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/ResourceText.h"
#include "platform/UniqueFd.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <utility>

namespace records {

// Hands out the bytes of a file read into memory, never past their end.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    // The next n bytes, or nullopt (consuming nothing) when fewer are left.
    std::optional<std::span<const std::uint8_t>> Read(std::size_t n) {
        if (n > m_bytes.size()) {
            return std::nullopt;
        }
        const auto part = m_bytes.first(n);
        m_bytes = m_bytes.subspan(n);
        return part;
    }
    std::span<const std::uint8_t> Rest() const { return m_bytes; }

private:
    std::span<const std::uint8_t> m_bytes;
};

namespace {

constexpr unsigned kUnknownTextId = 10018;
constexpr int kScaleNumerator = 9757;
constexpr int kScaleDenominator = 10000;
constexpr int kSampleValueMask = 0x7FF;

// Only regular files are opened: a FIFO or device named like a record must
// not block or feed the reader.
platform::CUniqueFd OpenRegularFile(const std::string& path) {
    platform::CUniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat st {};
    if (!fd.IsValid() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return platform::CUniqueFd();
    }
    return fd;
}

bool HasRecordExtension(std::string_view path) {
    constexpr std::string_view kExt = "ecg";
    if (path.size() < kExt.size()) {
        return false;
    }
    const auto tail = path.substr(path.size() - kExt.size());
    return std::equal(tail.begin(), tail.end(), kExt.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b;
    });
}

bool HoldsData(std::span<const std::uint8_t> bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](std::uint8_t b) { return b != kPaddingByte; });
}

bool IsUtf8Lead(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

} // namespace

void CECGContentsData::SetPath(const std::string& path) {
    m_strPath = path;
    m_strFileName = platform::BaseName(path);
    m_strSortKey = m_strFileName;
    if (!m_strSortKey.empty() && m_strSortKey.front() == 'd') {
        m_strSortKey.front() = 'z';
    }
}

std::string CECGContentsData::GetFileName(int maxLength) const {
    const auto length = std::count_if(m_strFileName.begin(), m_strFileName.end(), IsUtf8Lead);
    if (maxLength <= 0 || maxLength >= length) {
        return m_strFileName;
    }
    // Cut at a character boundary so the shortened name stays valid UTF-8.
    long keep = std::max(maxLength - 3, 0);
    std::size_t end = 0;
    for (; end < m_strFileName.size(); ++end) {
        if (IsUtf8Lead(m_strFileName[end]) && keep-- == 0) {
            break;
        }
    }
    return m_strFileName.substr(0, end) + "...";
}

void CECGContentsData::Reset() {
    m_nSampleRate = kDefaultSampleRate;
    m_nKind = 2;
    m_tRecorded = 0;
    m_nDeviceValue = 0;
    m_nFilter = 0;
    m_bUndated = 0;
    m_nHeartRate = 0;
    m_nFlags = 0;
    m_nAnalysisClass = 0;
    m_nViewStartMs = m_nViewEndMs = m_nRangeStartMs = m_nRangeEndMs = 0;
    m_bLoaded = 0;
    m_nSampleCount = 0;
    m_pSampleBytes.reset();
    m_header.fill(0);
    m_memo = Memo{};
    m_indicators = AnalysisIndicators{};
    m_bUnreadTail = false;
}

void CECGContentsData::Load() {
    if (m_nLoadFailures > 1) {
        return;
    }
    // Nothing of an earlier load may survive a failed one.
    Reset();
    const platform::CUniqueFd fd = OpenRegularFile(m_strPath);
    if (!fd.IsValid()) {
        ++m_nLoadFailures;
        return;
    }
    if (!HasRecordExtension(m_strPath)) {
        // Not a record file: an empty record, and nothing to hold against it.
        m_bLoaded = 1;
        return;
    }
    std::array<std::uint8_t, kMaxRecordFileSize> buf;
    const auto got = platform::ReadUpTo(fd.Get(), buf);
    if (!got) {
        ++m_nLoadFailures;
        return;
    }
    ByteReader in(std::span<const std::uint8_t>(buf.data(), *got));
    if (!SerializeRead(in)) {
        ++m_nLoadFailures;
        return;
    }
    m_bLoaded = 1;
}

bool CECGContentsData::SerializeRead(ByteReader& in) {
    m_nKind = 1;
    const auto header = in.Read(kHeaderSize);
    if (!header) {
        return false;
    }
    std::copy(header->begin(), header->end(), m_header.begin());
    const std::uint32_t n = ReadLe32(m_header, kOffSampleCount);
    if (n > kMaxSamples) {
        return false;
    }
    const std::size_t areaSize = SampleAreaSize(n);
    const auto area = in.Read(areaSize);
    if (!area) {
        return false;
    }
    m_pSampleBytes = std::make_unique_for_overwrite<std::uint8_t[]>(areaSize);
    std::copy(area->begin(), area->end(), m_pSampleBytes.get());
    m_tRecorded = ReadLe32(m_header, kOffRecordedTime);
    m_nFlags = ReadLe32(m_header, kOffFlags);
    if (!Decode()) {
        m_pSampleBytes.reset();
        return false;
    }

    // From here on a failure keeps the samples: the record stays viewable.
    const auto tail = in.Rest();
    const auto padding = in.Read(PaddingSize(n));
    if (!padding || HoldsData(*padding)) {
        m_bUnreadTail = HoldsData(tail);
        return false;
    }
    if (ReadLe32(m_header, kOffUsableMarker) == kUnusableMarker) {
        m_bUnreadTail = HoldsData(in.Rest());
        return false;
    }
    if (const auto memo = in.Read(kMemoBlockSize)) {
        ReadMemo(*memo);
    }
    return true;
}

bool CECGContentsData::Decode() {
    const std::uint32_t n = ReadLe32(m_header, kOffSampleCount);
    const std::span<const std::uint8_t> area(m_pSampleBytes.get(), SampleAreaSize(n));
    if (ReadLe32(m_header, kOffMagic) != kMagic ||
        SampleChecksum(area) != ReadLe16(m_header, kOffChecksum)) {
        return false;
    }
    const std::uint16_t rate = ReadLe16(m_header, kOffSampleRate);
    m_nSampleRate = rate != 0 ? rate : kDefaultSampleRate;
    const unsigned kind = m_header[kOffKind] & 0x03;
    m_bUndated = (kind == 0 || kind == 3) ? 1 : 0;
    m_nFilter = m_header[kOffFilter] & 0x03;
    m_nDeviceValue = m_header[kOffDeviceValue] & 0x3F;
    m_indicators = IndicatorsFromFlags(m_nFlags);
    m_nAnalysisClass = static_cast<std::uint16_t>(AnalysisClassOf(m_indicators));
    m_nHeartRate = ReadLe16(m_header, kOffHeartRate);
    m_nSampleCount = static_cast<int>(n);
    const int durationMs = static_cast<int>(n * 1000 / static_cast<std::uint32_t>(m_nSampleRate));
    m_nViewStartMs = m_nRangeStartMs = 0;
    m_nViewEndMs = m_nRangeEndMs = durationMs;
    m_bLoaded = 1;
    return true;
}

void CECGContentsData::ReadMemo(std::span<const std::uint8_t> block) {
    for (std::size_t k = 0; k < kMemoItemCount; ++k) {
        const std::size_t at = MemoItemOffset(k);
        const std::size_t length = std::min<std::size_t>(ReadLe16(block, at + 2), kMemoItemTextMax);
        const auto text = block.subspan(at + kMemoItemTextOffset, length);
        m_memo.items[k].nCode = ReadLe16(block, at);
        m_memo.items[k].strText.assign(text.begin(), text.end());
    }
    const std::size_t length =
        std::min<std::size_t>(ReadLe16(block, kOffMemoCommentLength), kMemoCommentMax);
    const auto comment = block.subspan(kOffMemoComment, length);
    m_memo.strComment.assign(comment.begin(), comment.end());
}

bool CECGContentsData::IsValidFile() const {
    if (!HasRecordExtension(m_strPath)) {
        return false;
    }
    const platform::CUniqueFd fd = OpenRegularFile(m_strPath);
    if (!fd.IsValid()) {
        return false;
    }
    std::array<std::uint8_t, kHeaderSize + SampleAreaSize(kMaxSamples)> buf;
    const auto got = platform::ReadUpTo(fd.Get(), buf);
    if (!got || *got < kHeaderSize) {
        return false;
    }
    const std::span<const std::uint8_t> header(buf.data(), kHeaderSize);
    const std::uint32_t n = ReadLe32(header, kOffSampleCount);
    if (ReadLe32(header, kOffMagic) != kMagic || n > kMaxSamples ||
        ReadLe32(header, kOffUsableMarker) == kUnusableMarker ||
        *got < kHeaderSize + SampleAreaSize(n)) {
        return false;
    }
    const std::span<const std::uint8_t> area(buf.data() + kHeaderSize, SampleAreaSize(n));
    return SampleChecksum(area) == ReadLe16(header, kOffChecksum);
}

int CECGContentsData::Save() {
    if (!m_bLoaded || m_nSampleCount == 0) {
        return 1;
    }
    if (m_bUnreadTail || (platform::FileExists(m_strPath) && !platform::CanWrite(m_strPath))) {
        return 0;
    }
    return platform::WriteFileAtomic(m_strPath, SerializeWrite()) ? 1 : 0;
}

std::string CECGContentsData::SerializeWrite() const {
    const auto n = static_cast<std::uint32_t>(m_nSampleCount);
    const std::size_t areaSize = SampleAreaSize(n);
    std::array<std::uint8_t, kMemoBlockSize> memo{};
    for (std::size_t k = 0; k < kMemoItemCount; ++k) {
        const std::size_t at = MemoItemOffset(k);
        const std::string& text = m_memo.items[k].strText;
        WriteLe16(memo, at, m_memo.items[k].nCode);
        WriteLe16(memo, at + 2, static_cast<std::uint16_t>(text.size()));
        std::memcpy(memo.data() + at + kMemoItemTextOffset, text.data(), text.size());
    }
    WriteLe16(memo, kOffMemoCommentLength, static_cast<std::uint16_t>(m_memo.strComment.size()));
    std::memcpy(memo.data() + kOffMemoComment, m_memo.strComment.data(), m_memo.strComment.size());

    std::string out;
    out.reserve(MemoBlockOffset(n) + kMemoBlockSize);
    out.append(m_header.begin(), m_header.end());
    out.append(m_pSampleBytes.get(), m_pSampleBytes.get() + areaSize);
    out.append(PaddingSize(n), static_cast<char>(kPaddingByte));
    out.append(memo.begin(), memo.end());
    return out;
}

std::uint16_t CECGContentsData::GetRecordNumber() const {
    return ReadLe16(m_header, kOffRecordNumber);
}

CECGContentsData::Sample CECGContentsData::GetSample(int i) const {
    if (m_nKind != 1 || i < 0 || i >= m_nSampleCount) {
        return {-1, -1};
    }
    const std::span<const std::uint8_t> area(m_pSampleBytes.get(), SampleAreaSize(m_nSampleCount));
    const int raw = UnpackSample(area, static_cast<std::size_t>(i));
    return {i + 1, (raw * kScaleNumerator / kScaleDenominator) & kSampleValueMask};
}

std::string CECGContentsData::GetDurationText() const {
    const double seconds = static_cast<double>(m_nSampleCount) / m_nSampleRate;
    if (seconds > 0 && seconds < 1000) {
        // to_chars ignores the process locale: always a '.' decimal point.
        char text[16];
        const auto end =
            std::to_chars(std::begin(text), std::end(text), seconds, std::chars_format::fixed, 1);
        return std::string(text, end.ptr);
    }
    return platform::LoadText(kUnknownTextId);
}

bool CECGContentsData::GetIndicator(int i) const {
    switch (i) {
    case 1:
        return m_indicators.fastRate;
    case 2:
        return m_indicators.slowRate;
    case 3:
        return m_indicators.irregularBeats;
    case 4:
        return m_indicators.irregularWave;
    case 5:
        return m_indicators.notAnalysable;
    default:
        return false;
    }
}

std::string CECGContentsData::GetComment() const {
    return platform::Utf16LeToUtf8(m_memo.strComment);
}

std::string CECGContentsData::MemoText(MemoItem item) const {
    return platform::Utf16LeToUtf8(m_memo.items[item].strText);
}

void CECGContentsData::SetMemoText(MemoItem item, std::string_view text) {
    const std::string units = platform::Utf8ToUtf16Le(text);
    std::size_t keep = std::min(units.size(), kMemoItemTextMax);
    if (keep < units.size()) {
        const auto last =
            static_cast<std::uint16_t>(static_cast<unsigned char>(units[keep - 2]) |
                                       (static_cast<unsigned char>(units[keep - 1]) << 8));
        if (last >= 0xD800 && last <= 0xDBFF) {
            // A high surrogate whose partner falls past the limit goes too.
            keep -= 2;
        }
    }
    m_memo.items[item].strText = units.substr(0, keep);
}

void CECGContentsData::SetImageSlot(int slot) {
    m_nImageSlot = slot;
    m_bImageSlotSet = 1;
}

} // namespace records
