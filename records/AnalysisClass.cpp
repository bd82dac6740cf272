#include "records/AnalysisClass.h"

namespace records {

AnalysisIndicators IndicatorsFromFlags(std::uint32_t flags) {
    const std::uint32_t f = flags & 0xFFFF;
    return {
        .fastRate = (f & 0x0020) != 0,
        .slowRate = (f & 0x0040) != 0,
        .irregularBeats = (f & 0x0291) != 0,
        .irregularWave = (f & 0x010E) != 0,
        .notAnalysable = (f & 0x7800) != 0,
    };
}

int AnalysisClassOf(const AnalysisIndicators& ind) {
    if (ind.notAnalysable || (ind.fastRate && ind.slowRate)) {
        return kNotAnalysableClass;
    }
    // Rows by (beats, wave): none, beats, wave, both.
    static constexpr int kNormalRate[4] = {0, 9, 11, 10};
    static constexpr int kFastRate[4] = {1, 2, 3, 4};
    static constexpr int kSlowRate[4] = {5, 6, 7, 8};
    const int row = (ind.irregularBeats ? 1 : 0) + (ind.irregularWave ? 2 : 0);
    if (ind.fastRate) {
        return kFastRate[row];
    }
    if (ind.slowRate) {
        return kSlowRate[row];
    }
    return kNormalRate[row];
}

int SeverityOf(const AnalysisIndicators& ind) {
    if (ind.notAnalysable) {
        return 3;
    }
    if (ind.irregularBeats || ind.irregularWave) {
        return 2;
    }
    if (ind.fastRate || ind.slowRate) {
        return 1;
    }
    return 0;
}

} // namespace records
