#include "render/GridGeometry.h"

namespace render {

GridLevelLines ComputeGridLevel(const RECT& area, int sx, int sy, POINT phase, int yDir,
                                bool horizontal) {
    GridLevelLines result;
    result.phase = {sx, sy * yDir};
    if (sx > 0) {
        // 64-bit so an area near the end of the int range cannot wrap the loop.
        long long x = static_cast<long long>(area.left) + phase.x;
        for (; x <= area.right; x += sx)
            result.lines.push_back(
                {{static_cast<int>(x), area.top}, {static_cast<int>(x), area.bottom}});
        result.phase.x = static_cast<int>(x - area.right);
    }
    if (horizontal && sy > 0) {
        const long long d = yDir < 0 ? -1 : 1;
        long long y = static_cast<long long>(area.top) + phase.y;
        for (; d * y <= d * area.bottom; y += d * sy)
            result.lines.push_back(
                {{area.left, static_cast<int>(y)}, {area.right, static_cast<int>(y)}});
        if (d * y > d * area.bottom)
            result.phase.y = static_cast<int>(y - area.bottom);
    }
    return result;
}

POINT GridStartPhase(double spacingX, double spacingY, int yDir, bool reset) {
    if (reset)
        return {0, 0};
    return {static_cast<int>(spacingX), static_cast<int>(spacingY) * yDir};
}

} // namespace render
