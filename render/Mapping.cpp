#include "render/Mapping.h"

#include <cmath>

namespace render {

Mapping MappingFor(int mode, const DeviceCaps& caps, const Mapping& current) {
    Mapping m = current;
    m.nMode = mode;
    if (mode == MM_LOMETRIC) {
        // 254 tenths of a millimetre are an inch. The size in whole
        // millimetres would stretch a paper that is not (Letter is 279.4 mm
        // high), so the resolution gives the scale. A device that does not
        // know it gets 96 pixels per inch.
        const int dpiY = caps.nLogPixelsY > 0 ? caps.nLogPixelsY : 96;
        const int dpiX = caps.nLogPixelsX > 0 ? caps.nLogPixelsX : dpiY;
        m.nWindowExtX = m.nWindowExtY = 254;
        m.nViewportExtX = dpiX;
        m.nViewportExtY = -dpiY;
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
