#include "export/EdfLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace exports {

namespace {

// EDFlib's limits for the data-record duration.
constexpr std::int64_t kUnitsPerSecond = 100000; // 10 us units
constexpr std::int64_t kMinDuration = 100;       // 1 ms
constexpr std::int64_t kMaxDuration = 6000000;   // 60 s
constexpr std::int64_t kMicrosPerSecond = 1000000;
constexpr std::int64_t kMaxMicroDuration = 9999;
// How much longer than an even share a piece may be: room for the end of a
// character.
constexpr std::size_t kEvenSlack = 3;

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Whether a piece may end after the character that ends at `end`: after a
// space, or after an ASCII or ideographic comma.
bool IsBreakAfter(std::string_view text, std::size_t end) {
    static constexpr std::string_view kBreaks[] = {" ", ",", "\u3001", "\uff0c", "\uff1a"};
    for (std::string_view mark : kBreaks) {
        if (end >= mark.size() && text.substr(end - mark.size(), mark.size()) == mark)
            return true;
    }
    return false;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<EdfDataRecords> PlanEdfDataRecords(int sampleCount, int rate, std::size_t notes) {
    if (sampleCount <= 0 || rate <= 0)
        return std::nullopt;
    std::optional<EdfDataRecords> best;
    double bestDistance = 0;
    for (int size = 1; size <= sampleCount; ++size) {
        if (sampleCount % size != 0)
            continue;
        EdfDataRecords plan;
        plan.nSamplesPerRecord = size;
        plan.nRecords = sampleCount / size;
        const std::int64_t tens = size * kUnitsPerSecond;
        const std::int64_t micros = size * kMicrosPerSecond;
        if (tens % rate == 0 && tens / rate >= kMinDuration && tens / rate <= kMaxDuration) {
            plan.nDuration = static_cast<int>(tens / rate);
        } else if (micros % rate == 0 && micros / rate >= 1 && micros / rate <= kMaxMicroDuration) {
            plan.nDuration = static_cast<int>(micros / rate);
            plan.bMicroseconds = true;
        } else {
            continue;
        }
        const std::size_t records = static_cast<std::size_t>(plan.nRecords);
        const std::size_t signals = notes == 0 ? 1 : (notes + records - 1) / records;
        if (signals > static_cast<std::size_t>(kEdfMaxAnnotationSignals))
            continue;
        plan.nAnnotationSignals = static_cast<int>(signals);
        // Distance from one second on a log scale: 0.5 s and 2 s are alike.
        const double distance = std::fabs(std::log(static_cast<double>(size) / rate));
        if (!best || distance < bestDistance) {
            best = plan;
            bestDistance = distance;
        }
    }
    return best;
}

std::vector<std::string> SplitNote(std::string_view note, std::size_t maxBytes) {
    std::vector<std::string> pieces;
    note = Trimmed(note);
    while (!note.empty()) {
        std::size_t cut = note.size();
        if (cut > maxBytes) {
            // Pieces of about equal length, so no word is left alone at the end.
            const std::size_t pieceCount = (note.size() + maxBytes - 1) / maxBytes;
            cut = std::min(maxBytes, (note.size() + pieceCount - 1) / pieceCount + kEvenSlack);
            const std::size_t limit = cut;
            while (cut > 0 && IsContinuationByte(note[cut]))
                --cut;
            // A break after the first third of the piece is worth the shorter line.
            for (std::size_t end = cut; end > limit / 3; --end) {
                if (!IsContinuationByte(note[end]) && IsBreakAfter(note, end)) {
                    cut = end;
                    break;
                }
            }
            // A piece smaller than one character still takes that character.
            if (cut == 0) {
                cut = 1;
                while (cut < note.size() && IsContinuationByte(note[cut]))
                    ++cut;
            }
        }
        if (const std::string_view piece = Trimmed(note.substr(0, cut)); !piece.empty())
            pieces.emplace_back(piece);
        note = Trimmed(note.substr(cut));
    }
    return pieces;
}

} // namespace exports
