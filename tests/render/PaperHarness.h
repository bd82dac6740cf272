// A paper over a recording device context for the drawer tests: logical
// coordinates in 0.1 mm with y up (printer) or pixels with y down.
#pragma once

#include "render/ECGBasePaper.h"
#include "render/RecordingDC.h"

namespace render::test {

inline DeviceCaps A4PrinterCaps() {
    return DeviceCaps{4961, 7016, 210, 297, 600};
}
inline DeviceCaps ScreenCaps(int width = 1920, int height = 1080) {
    return DeviceCaps{width, height, 510, 287, 96};
}

struct PaperHarness {
    explicit PaperHarness(int mapMode)
        : dc(mapMode == MM_TEXT ? ScreenCaps() : A4PrinterCaps(), mapMode != MM_TEXT),
          paper(mapMode, 10.0, 10.0) {
        paper.SetDC(&dc);
    }
    RecordingDC dc;
    CECGBasePaper paper;
};

} // namespace render::test
