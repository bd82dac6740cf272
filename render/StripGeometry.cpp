#include "render/StripGeometry.h"

#include <algorithm>
#include <climits>

namespace render {

namespace {

int ClampToInt(long long v) {
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

} // namespace

int SampleColumn(int left, int right, int j, int current, int xUnits, int xSamples) {
    if (xSamples <= 0)
        return left;
    const long long x = static_cast<long long>(left) +
                        static_cast<long long>(static_cast<double>(xUnits) * j / xSamples) -
                        static_cast<long long>(static_cast<double>(xUnits) * current / xSamples);
    if (x < left)
        return left;
    return ClampToInt(std::min<long long>(x, right));
}

int LastSampleInStrip(int xOffset, int left, int right, int xUnits, int xSamples) {
    if (xUnits <= 0)
        return 0;
    const long long num = static_cast<long long>(xSamples) *
                          (static_cast<long long>(xOffset) - left + static_cast<long long>(right));
    long long q = num / xUnits;
    if (num % xUnits != 0 && num > 0)
        ++q;
    return ClampToInt(q);
}

int SampleOffset(int sample, int xUnits, int xSamples) {
    if (xSamples <= 0)
        return 0;
    return ClampToInt(static_cast<long long>(xUnits) * sample / xSamples);
}

} // namespace render
