#pragma once
// OLE_COLOR: an RGB value with red in the low byte, or 0x80000000 + a system colour index.
// System colours map to one fixed classic palette, so looks are the same on every desktop.

#include <QColor>
#include <QtGlobal>

namespace host {

using OleColor = quint32;

constexpr OleColor RGB(int red, int green, int blue)
{
    return OleColor(red & 0xFF) | (OleColor(green & 0xFF) << 8) | (OleColor(blue & 0xFF) << 16);
}

constexpr OleColor SystemColorFlag = 0x80000000u;
constexpr OleColor systemColor(int index)
{
    return SystemColorFlag | OleColor(index);
}
constexpr bool isSystemColor(OleColor color)
{
    return (color & SystemColorFlag) != 0;
}

// The system colours by name (vbButtonFace and alike).
namespace SystemColor {
inline constexpr OleColor ScrollBars = systemColor(0);
inline constexpr OleColor Desktop = systemColor(1);
inline constexpr OleColor ActiveTitleBar = systemColor(2);
inline constexpr OleColor InactiveTitleBar = systemColor(3);
inline constexpr OleColor MenuBar = systemColor(4);
inline constexpr OleColor WindowBackground = systemColor(5);
inline constexpr OleColor WindowFrame = systemColor(6);
inline constexpr OleColor MenuText = systemColor(7);
inline constexpr OleColor WindowText = systemColor(8);
inline constexpr OleColor TitleBarText = systemColor(9);
inline constexpr OleColor ActiveBorder = systemColor(10);
inline constexpr OleColor InactiveBorder = systemColor(11);
inline constexpr OleColor ApplicationWorkspace = systemColor(12);
inline constexpr OleColor Highlight = systemColor(13);
inline constexpr OleColor HighlightText = systemColor(14);
inline constexpr OleColor ButtonFace = systemColor(15);
inline constexpr OleColor ButtonShadow = systemColor(16);
inline constexpr OleColor GrayText = systemColor(17);
inline constexpr OleColor ButtonText = systemColor(18);
inline constexpr OleColor InactiveCaptionText = systemColor(19);
inline constexpr OleColor ButtonHighlight = systemColor(20);
inline constexpr OleColor ThreeDDKShadow = systemColor(21);
inline constexpr OleColor ThreeDLight = systemColor(22);
inline constexpr OleColor InfoText = systemColor(23);
inline constexpr OleColor InfoBackground = systemColor(24);
inline constexpr OleColor HotLight = systemColor(25);
inline constexpr OleColor GradientActiveCaption = systemColor(26);
inline constexpr OleColor GradientInactiveCaption = systemColor(27);
inline constexpr OleColor MenuHighlight = systemColor(28);
inline constexpr OleColor MenuBarFlat = systemColor(29);
inline constexpr OleColor FormBackground = systemColor(30); // no role of its own: button face
} // namespace SystemColor

// The RGB value (red in the low byte) of a colour, system colours translated through the fixed
// palette. An unknown system index or a value with stray high bits raises error 380.
OleColor translateColor(OleColor color);
// The same as a QColor (opaque); error 380 as translateColor.
QColor toQColor(OleColor color);
// The OLE_COLOR of a QColor (alpha ignored; any colour model; an invalid QColor is black).
OleColor fromQColor(const QColor& color);

} // namespace host
