// The lines of one grid level inside an area and the phase it hands on to
// the next contiguous area, as pure functions of the area and spacing.
#pragma once

#include "render/Mapping.h"

#include <vector>

namespace render {

struct LineSegment {
    POINT from;
    POINT to;
    bool operator==(const LineSegment&) const = default;
};

// Phase: offset of the first line from the area's left edge (x) and top
// edge (y, already multiplied by the vertical direction).
struct GridLevelLines {
    std::vector<LineSegment> lines;
    POINT phase;
};

// Vertical lines from left + phase.x every sx while x <= right; with
// horizontal lines, horizontal ones from top + phase.y every sy towards
// bottom (yDir +1: downwards, -1: upwards). A spacing of 0 or less draws no
// lines in that direction.
GridLevelLines ComputeGridLevel(const RECT& area, int sx, int sy, POINT phase, int yDir,
                                bool horizontal);

// The phase a fresh grid starts with: on the edge when reset, otherwise
// one spacing in.
POINT GridStartPhase(double spacingX, double spacingY, int yDir, bool reset);

} // namespace render
