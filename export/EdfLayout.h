// How a recording is laid out in an EDF+ file so that every sample is
// written exactly once and every note fits: the data-record size and
// duration, the number of annotation signals, and notes cut into the
// pieces EDFlib can store. Pure functions, kept apart from the library
// calls.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace exports {

// EDFlib stores at most this many bytes of one annotation's text.
inline constexpr std::size_t kEdfAnnotationBytes = 40;
// EDFlib allows this many annotation signals, each holding one annotation
// per data record.
inline constexpr int kEdfMaxAnnotationSignals = 64;

struct EdfDataRecords {
    int nSamplesPerRecord = 0;
    int nRecords = 0;
    // The duration of one data record as EDFlib takes it: in units of
    // 10 microseconds, or with bMicroseconds in microseconds (below 10 ms).
    int nDuration = 0;
    bool bMicroseconds = false;
    int nAnnotationSignals = 1;
};

// The data records for sampleCount samples at rate Hz carrying `notes`
// annotations: records of equal size that divide the samples exactly, with
// a duration EDFlib can state exactly (1 ms to 60 s, or 1 to 9999 us), as
// close to one second as possible, and enough annotation signals for the
// notes. nullopt when no such layout exists (a rate that divides into no
// exact duration, no samples at all).
std::optional<EdfDataRecords> PlanEdfDataRecords(int sampleCount, int rate, std::size_t notes);

// Cuts a note into pieces of at most maxBytes bytes of whole UTF-8
// characters, each piece ending after a space or a comma where one is
// near enough to the cut. Leading and trailing spaces of pieces are
// dropped; an empty note gives no piece.
std::vector<std::string> SplitNote(std::string_view note, std::size_t maxBytes);

} // namespace exports
