// Logical-to-device coordinate mapping of a device context: the mapping
// modes, their extents and the conversions, as pure functions.
#pragma once

namespace render {

struct POINT {
    int x = 0;
    int y = 0;
    bool operator==(const POINT&) const = default;
};

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const RECT&) const = default;
};

enum MapMode { MM_TEXT = 1, MM_LOMETRIC = 2, MM_ANISOTROPIC = 8 };

// What a device tells about itself: pixels and whole millimetres of the
// drawable surface, and pixels per inch vertically and across (0: as
// vertically).
struct DeviceCaps {
    int nHorzRes = 0;
    int nVertRes = 0;
    int nHorzSizeMm = 0;
    int nVertSizeMm = 0;
    int nLogPixelsY = 96;
    int nLogPixelsX = 0;
};

// device = viewportOrg + (logical * viewportExt / windowExt), per axis.
struct Mapping {
    int nMode = MM_TEXT;
    int nWindowExtX = 1;
    int nWindowExtY = 1;
    int nViewportExtX = 1;
    int nViewportExtY = 1;
    int nViewportOrgX = 0;
    int nViewportOrgY = 0;
};

struct DevicePoint {
    double x = 0;
    double y = 0;
};

// The extents a mode brings on its own: pixels for MM_TEXT; 0.1 mm with
// y upwards for MM_LOMETRIC (from the device's pixels per inch).
// MM_ANISOTROPIC starts from the given extents.
Mapping MappingFor(int mode, const DeviceCaps& caps, const Mapping& current = {});

DevicePoint LPtoDP(const Mapping& m, POINT pt);
// Device units per logical unit along each axis (negative when the axis flips).
double ScaleX(const Mapping& m);
double ScaleY(const Mapping& m);
POINT DPtoLP(const Mapping& m, DevicePoint pt);

} // namespace render
