// The graph settings block: what the papers and the print job read from
// the settings (scale, paper, margins, colours, display type).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace app {

// A colour as the settings file stores it: red in bits 0-7, green in bits
// 8-15, blue in bits 16-23.
using COLORREF = std::uint32_t;

enum GraphColour {
    kColourBaseLine,
    kColourMainLine,
    kColourStrongLine,
    kColourFrameLine,
    kColourGraphLine0,
    kColourGraphLine1,
    kColourGraphLine2,
    kColourGraphLine3,
    kColourCalLine,
    kColourBackground,
    kColourCharacter,
    kColourCount
};

enum Margin { kMarginLeft, kMarginRight, kMarginTop, kMarginBottom, kMarginCount };

struct CGraphOption {
    int samplingRate = 125;
    int reserved = 0;
    int printScale = 0;
    int headerOn = 0;
    int footerOn = 0;
    int paperSize = 0;                       // 0 A4, 1 Letter, 3 not set
    std::array<int, kMarginCount> margins{}; // 0.1 mm
    std::array<COLORREF, kColourCount> colours{};
    int displayType = 0;
    std::string printFolder;
};

} // namespace app
