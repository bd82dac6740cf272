// CECGContentsData: one ECG recording in memory. It loads and checks a record
// file, derives what lists, reports and windows show, carries the memo and
// saves the file back with a changed memo.
#pragma once

#include "records/AnalysisClass.h"
#include "records/RecordFormat.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace records {

class ByteReader;

class CECGContentsData {
public:
    // Sample number (1-based) and value (0-2047); (-1, -1) for an index
    // outside the record.
    struct Sample {
        int number;
        int value;
    };

    // The four coded memo items, in file order.
    enum MemoItem { kSituation = 0, kSymptoms = 1, kPosition = 2, kPosture = 3 };

    CECGContentsData() = default;
    CECGContentsData(const CECGContentsData&) = delete;
    CECGContentsData& operator=(const CECGContentsData&) = delete;
    CECGContentsData(CECGContentsData&&) = default;
    CECGContentsData& operator=(CECGContentsData&&) = default;

    // Reads the file at the path. Afterwards IsLoaded() tells whether the
    // samples are usable; a load that found the file damaged counts a
    // failure, and after two failures Load no longer reads.
    void Load();
    // Writes the memo back into the file, keeping header and samples byte
    // for byte. 0 when the file is write-protected or cannot be written (the
    // old file then stays as it was), else 1. A record without samples
    // writes nothing and gives 1.
    int Save();
    // Quick check of the file at the path without keeping anything: a record
    // file whose header and samples are intact and that is not marked unusable.
    bool IsValidFile() const;
    // Drops samples, memo and the values taken from the file.
    void Reset();

    void SetPath(const std::string& path);
    const std::string& GetPath() const { return m_strPath; }
    // With 0 < maxLength < the name's length in characters: the first
    // maxLength - 3 characters and "...".
    std::string GetFileName(int maxLength = 0) const;
    // The file name with a leading "d" made "z", so that undated ("p")
    // records sort before dated ones.
    const std::string& GetSortKey() const { return m_strSortKey; }

    bool IsLoaded() const { return m_bLoaded != 0; }
    int GetLoadFailures() const { return m_nLoadFailures; }
    // 1 once a file was read, 2 for an empty record.
    int GetKind() const { return m_nKind; }

    std::int64_t GetRecordTime() const { return m_tRecorded; }
    std::uint16_t GetRecordNumber() const;
    int GetSampleRate() const { return m_nSampleRate; }
    // N when loaded, else 0.
    int GetSampleCount() const { return m_nSampleCount; }
    Sample GetSample(int i) const;
    int GetDurationMs() const { return m_nRangeEndMs; }
    // Seconds with one decimal ("35.0"), or the text for "Unknown".
    std::string GetDurationText() const;
    std::uint16_t GetHeartRate() const { return m_nHeartRate; }
    bool IsUndated() const { return m_bUndated != 0; }
    std::uint16_t GetFilter() const { return m_nFilter; }
    std::uint16_t GetDeviceValue() const { return m_nDeviceValue; }
    std::uint32_t GetFlags() const { return m_nFlags; }
    // Analysis indicators I1 to I5 by number (i = 1..5); false for other i.
    bool GetIndicator(int i) const;
    int GetAnalysisClass() const { return m_nAnalysisClass; }
    int GetSeverity() const { return SeverityOf(m_indicators); }

    // Display window and print range in milliseconds, 0 to the duration.
    int GetZoom() const { return m_nZoom; }
    int GetViewStartMs() const { return m_nViewStartMs; }
    int GetViewEndMs() const { return m_nViewEndMs; }
    int GetRangeStartMs() const { return m_nRangeStartMs; }
    int GetRangeEndMs() const { return m_nRangeEndMs; }

    // Memo. Texts are UTF-8 here and UTF-16LE in the file; a text setter keeps
    // at most 30 UTF-16 code units and never half of a surrogate pair.
    std::uint16_t GetSituation() const { return m_memo.items[kSituation].nCode; }
    void SetSituation(std::uint16_t code) { m_memo.items[kSituation].nCode = code; }
    std::string GetSituationText() const { return MemoText(kSituation); }
    void SetSituationText(std::string_view text) { SetMemoText(kSituation, text); }
    std::uint16_t GetSymptoms() const { return m_memo.items[kSymptoms].nCode; }
    void SetSymptoms(std::uint16_t bits) { m_memo.items[kSymptoms].nCode = bits; }
    std::string GetSymptomText() const { return MemoText(kSymptoms); }
    void SetSymptomText(std::string_view text) { SetMemoText(kSymptoms, text); }
    std::uint16_t GetPosition() const { return m_memo.items[kPosition].nCode; }
    void SetPosition(std::uint16_t code) { m_memo.items[kPosition].nCode = code; }
    std::string GetPositionText() const { return MemoText(kPosition); }
    std::uint16_t GetPosture() const { return m_memo.items[kPosture].nCode; }
    void SetPosture(std::uint16_t code) { m_memo.items[kPosture].nCode = code; }
    std::string GetPostureText() const { return MemoText(kPosture); }
    // The comment has no setter: it comes from the file and goes back unchanged.
    std::string GetComment() const;

    // Record list state.
    bool IsChecked() const { return m_bChecked != 0; }
    void ToggleChecked() { m_bChecked = !m_bChecked; }
    int GetImageSlot() const { return m_nImageSlot; }
    bool HasImageSlot() const { return m_bImageSlotSet != 0; }
    void SetImageSlot(int slot);
    void ForgetImageSlot() {
        m_nImageSlot = -1;
        m_bImageSlotSet = 0;
    }

private:
    struct MemoEntry {
        std::uint16_t nCode = 0;
        std::string strText; // UTF-16LE bytes, at most kMemoItemTextMax
    };
    struct Memo {
        std::array<MemoEntry, kMemoItemCount> items;
        std::string strComment; // UTF-16LE bytes, at most kMemoCommentMax
    };

    // Reading fills the record from the file's bytes and returns false on a
    // damaged file; writing gives the bytes of the whole file.
    bool SerializeRead(ByteReader& in);
    std::string SerializeWrite() const;
    bool Decode();
    void ReadMemo(std::span<const std::uint8_t> block);

    std::string MemoText(MemoItem item) const;
    void SetMemoText(MemoItem item, std::string_view text);

    int m_nLoadFailures = 0;
    int m_nSampleRate = kDefaultSampleRate;
    int m_nKind = 2;
    std::string m_strPath;
    std::string m_strFileName;
    std::string m_strSortKey;
    std::int64_t m_tRecorded = 0;
    std::uint16_t m_nDeviceValue = 0;
    std::uint16_t m_nFilter = 0;
    int m_bUndated = 0;
    std::uint16_t m_nHeartRate = 0;
    std::uint32_t m_nFlags = 0;
    std::uint16_t m_nAnalysisClass = 0;
    int m_nZoom = 100;
    int m_nViewStartMs = 0;
    int m_nViewEndMs = 0;
    int m_nRangeStartMs = 0;
    int m_nRangeEndMs = 0;
    int m_nImageSlot = -1;
    int m_bImageSlotSet = 0;
    int m_bLoaded = 0;
    // Samples are kept only as the packed bytes read from the file (needed
    // to write them back unchanged); GetSample unpacks and scales on demand.
    // A decoded array (8 bytes a sample against 1.5) would make a list of
    // thousands of records several times larger.
    int m_nSampleCount = 0;
    std::unique_ptr<std::uint8_t[]> m_pSampleBytes;
    // The header as read, written back as it is; device values nothing here
    // interprets (offsets 4, 15, 48, 50, ...) live only in it.
    std::array<std::uint8_t, kHeaderSize> m_header{};
    Memo m_memo;
    int m_bChecked = 0;
    AnalysisIndicators m_indicators;
    // Set when a load stopped before bytes of the file's tail that it could
    // not take in (a bad padding, or a memo skipped on a record marked
    // unusable): writing the file back would destroy them.
    bool m_bUnreadTail = false;
};

} // namespace records
