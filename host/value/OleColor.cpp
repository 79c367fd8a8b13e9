#include "host/value/OleColor.h"

#include "host/value/RuntimeError.h"

#include <array>

namespace host {

namespace {

// The default blue theme of the early-2000s desktop, which the controls' looks were drawn for.
// 25..29 are that theme's hot-light, gradient captions, menu highlight and flat menu bar; 30 has
// no role of its own there and takes the button face, like the form backgrounds of that theme.
constexpr std::array<OleColor, 31> ClassicPalette = {
    RGB(212, 208, 200), //  0 scroll bar
    RGB(0, 78, 152),    //  1 desktop
    RGB(0, 84, 227),    //  2 active caption
    RGB(122, 150, 223), //  3 inactive caption
    RGB(255, 255, 255), //  4 menu
    RGB(255, 255, 255), //  5 window
    RGB(0, 0, 0),       //  6 window frame
    RGB(0, 0, 0),       //  7 menu text
    RGB(0, 0, 0),       //  8 window text
    RGB(255, 255, 255), //  9 caption text
    RGB(212, 208, 200), // 10 active border
    RGB(212, 208, 200), // 11 inactive border
    RGB(128, 128, 128), // 12 application workspace
    RGB(49, 106, 197),  // 13 highlight
    RGB(255, 255, 255), // 14 highlight text
    RGB(236, 233, 216), // 15 button face
    RGB(172, 168, 153), // 16 button shadow
    RGB(172, 168, 153), // 17 grey text
    RGB(0, 0, 0),       // 18 button text
    RGB(216, 228, 248), // 19 inactive caption text
    RGB(255, 255, 255), // 20 button highlight
    RGB(113, 111, 100), // 21 3D dark shadow
    RGB(241, 239, 226), // 22 3D light
    RGB(0, 0, 0),       // 23 tool-tip text
    RGB(255, 255, 225), // 24 tool-tip background
    RGB(0, 0, 128),     // 25 hot-light
    RGB(61, 149, 255),  // 26 gradient active caption
    RGB(157, 185, 235), // 27 gradient inactive caption
    RGB(49, 106, 197),  // 28 menu highlight
    RGB(236, 233, 216), // 29 menu bar
    RGB(236, 233, 216), // 30 form
};

} // namespace

OleColor translateColor(OleColor color)
{
    if (isSystemColor(color)) {
        const OleColor index = color & ~SystemColorFlag;
        if (index >= ClassicPalette.size()) raiseError(Err::InvalidPropertyValue);
        return ClassicPalette[index];
    }
    // The palette-relative forms (0x01.., 0x02..) name no colour here: only plain RGB is one.
    if ((color & 0xFF000000u) != 0) raiseError(Err::InvalidPropertyValue);
    return color;
}

QColor toQColor(OleColor color)
{
    const OleColor rgb = translateColor(color);
    return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}

OleColor fromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return RGB(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace host
