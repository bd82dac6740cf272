#include "render/Mapping.h"

#include <cmath>

namespace render {

Mapping MappingFor(int mode, const DeviceCaps& caps, const Mapping& current) {
    Mapping m = current;
    m.nMode = mode;
    if (mode == MM_LOMETRIC) {
        // A device that does not know its size gets 96 pixels per inch.
        m.nWindowExtX = caps.nHorzSizeMm > 0 ? caps.nHorzSizeMm * 10 : 254;
        m.nWindowExtY = caps.nVertSizeMm > 0 ? caps.nVertSizeMm * 10 : 254;
        m.nViewportExtX = caps.nHorzSizeMm > 0 ? caps.nHorzRes : 96;
        m.nViewportExtY = -(caps.nVertSizeMm > 0 ? caps.nVertRes : 96);
    } else if (mode != MM_ANISOTROPIC) {
        m.nMode = MM_TEXT;
        m.nWindowExtX = m.nWindowExtY = 1;
        m.nViewportExtX = m.nViewportExtY = 1;
    }
    return m;
}

double ScaleX(const Mapping& m) {
    return m.nWindowExtX == 0 ? 0.0 : static_cast<double>(m.nViewportExtX) / m.nWindowExtX;
}

double ScaleY(const Mapping& m) {
    return m.nWindowExtY == 0 ? 0.0 : static_cast<double>(m.nViewportExtY) / m.nWindowExtY;
}

DevicePoint LPtoDP(const Mapping& m, POINT pt) {
    return {m.nViewportOrgX + pt.x * ScaleX(m), m.nViewportOrgY + pt.y * ScaleY(m)};
}

POINT DPtoLP(const Mapping& m, DevicePoint pt) {
    const double sx = ScaleX(m);
    const double sy = ScaleY(m);
    return {sx == 0 ? 0 : static_cast<int>(std::lround((pt.x - m.nViewportOrgX) / sx)),
            sy == 0 ? 0 : static_cast<int>(std::lround((pt.y - m.nViewportOrgY) / sy))};
}

} // namespace render
