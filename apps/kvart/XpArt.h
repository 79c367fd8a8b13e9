#pragma once
// The art of the XP-look controls, drawn by our own code from the controls' look tables: the
// generator behind the PNG files in controls/xp/art/ that libKv_CTRL embeds. `kvart` writes them;
// tests/xp/tst_xpart draws them again and compares, so the files and the code never drift.
//
// Every picture is drawn at a whole scale factor: scale 1 gives the sizes the controls use (the
// xpcmdbutton strip is 90 x 21), scale 2 the same art for high-density screens. A picture is
// described once, in logical pixels of scale 1; each device pixel asks the picture's shader for
// its colour with the logical pixel it falls in (for outlines, rings and corners) and its exact
// logical position (for gradients and shapes).

#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QString>
#include <functional>

namespace kvart {

// A grid of equal cells: `columns` across, as many rows as `count` needs, counted row by row
// (the PictureClip's order).
struct CellGrid {
    QSize cell; // logical pixels
    int count = 1;
    int columns = 1;
    int rows() const { return (count + columns - 1) / columns; }
    QSize size() const { return {cell.width() * columns, cell.height() * rows()}; }
};

// What a shader is asked: the cell, the logical pixel (0..cell-1) and the exact logical position
// of the device pixel's centre within the cell.
struct Sample {
    int cell = 0;
    QPoint pixel;
    QPointF at;
};
using Shader = std::function<QRgb(const Sample&)>;

// Draws every cell of the grid at `scale` (>= 1) into an image of `format`.
QImage renderGrid(const CellGrid& grid, const Shader& shader, int scale = 1,
                  QImage::Format format = QImage::Format_RGB32);

// Colour helpers shared by the looks.
QRgb mix(QRgb from, QRgb to, double t); // t 0 gives `from`, 1 gives `to`; clamped; rounded

// ---- xpcmdbutton: one row of five 18 x 21 cells.
// 0 normal, 1 pressed, 2 disabled, 3 hover, 4 default.
namespace xpcmdbutton {
inline constexpr int Normal = 0, Pressed = 1, Disabled = 2, Hover = 3, Default = 4;
inline const CellGrid Grid{QSize(18, 21), 5, 5};
// The look table's colours, for the tests that check the art against it.
inline constexpr QRgb Outline = 0xFF003C74;         // RGB(0, 60, 116)
inline constexpr QRgb NormalTop = 0xFFFFFFFF;       // white
inline constexpr QRgb NormalBottom = 0xFFE2DFD6;    // RGB(226, 223, 214)
inline constexpr QRgb NormalLastRow = 0xFFD6D0C5;   // RGB(214, 208, 197)
inline constexpr QRgb PressedTop = 0xFFD0CBBF;      // RGB(208, 203, 191)
inline constexpr QRgb PressedBottom = 0xFFF2F1EE;   // RGB(242, 241, 238)
inline constexpr QRgb DisabledOutline = 0xFFC9C7BA; // RGB(201, 199, 186)
inline constexpr QRgb DisabledFace = 0xFFF5F4EA;    // RGB(245, 244, 234)
inline constexpr QRgb HoverTop = 0xFFFFF0CF;        // RGB(255, 240, 207)
inline constexpr QRgb HoverTop2 = 0xFFFCD279;       // RGB(252, 210, 121)
inline constexpr QRgb HoverBottom = 0xFFE59700;     // RGB(229, 151, 0)
inline constexpr QRgb DefaultTop = 0xFFCEE7FF;      // RGB(206, 231, 255)
inline constexpr QRgb DefaultBottom = 0xFF6982EE;   // RGB(105, 130, 238)
QRgb shade(const Sample& s);
QImage strip(int scale = 1);
} // namespace xpcmdbutton

// ---- xpcheckbox: one column of twelve 16 x 16 cells, cell = 4 x value + condition.
// Conditions 0 resting, 1 hovered, 2 pressed, 3 disabled; values 0 unchecked, 1 checked, 2 mixed.
namespace xpcheckbox {
inline constexpr int Resting = 0, Hovered = 1, Pressed = 2, Disabled = 3;
inline const CellGrid Grid{QSize(16, 16), 12, 1};
inline constexpr QRgb Outline = 0xFF1F5080;           // RGB(31, 80, 128)
inline constexpr QRgb RestTop = 0xFFDFDFD0;           // RGB(223, 223, 208)
inline constexpr QRgb RestBottom = 0xFFFFFFFF;        // white
inline constexpr QRgb RingTop = 0xFFFFF0CF;           // RGB(255, 240, 207)
inline constexpr QRgb RingBottom = 0xFFFFB030;        // RGB(255, 176, 48)
inline constexpr QRgb HoverInside = 0xFFE0E0E0;       // RGB(224, 224, 224), cell 1
inline constexpr QRgb HoverInsideOn = 0xFFF0F0F0;     // RGB(240, 240, 240), cell 5
inline constexpr QRgb PressedTop = 0xFFB0B0A0;        // RGB(176, 176, 160)
inline constexpr QRgb PressedBottom = 0xFFF0EFDF;     // RGB(240, 239, 223)
inline constexpr QRgb DisabledMark = 0xFFCFCFBF;      // RGB(207, 207, 191): outline and marks
inline constexpr QRgb Tick = 0xFF20A020;              // RGB(32, 160, 32)
inline constexpr QRgb PressedMarkTop = 0xFF1F801F;    // RGB(31, 128, 31)
inline constexpr QRgb PressedMarkBottom = 0xFF1F8F1F; // RGB(31, 143, 31)
inline constexpr QRgb MixedRest = 0xFFA0D0A0;         // RGB(160, 208, 160)
inline constexpr QRgb MixedHover = 0xFF20A020;        // RGB(32, 160, 32)
// Whether the logical point lies on the tick (about three pixels thick) or the mixed square.
bool onTick(QPointF at);
bool onSquare(QPoint pixel);
QRgb shade(const Sample& s);
QImage strip(int scale = 1);
} // namespace xpcheckbox

// ---- xpoptionbutton: eight 13 x 13 circles, picture = 4 x (selected) + condition; outside the
// circle white and fully transparent.
namespace xpoptionbutton {
inline constexpr int Resting = 0, Hovered = 1, Pressed = 2, Disabled = 3;
inline constexpr QSize Size(13, 13);
inline constexpr QRgb Outside = 0x00FFFFFF;         // white, transparent
inline constexpr QRgb Outline = 0xFF1C5180;         // RGB(28, 81, 128)
inline constexpr QRgb RestTop = 0xFFE0E0DB;         // RGB(224, 224, 219)
inline constexpr QRgb RestBottom = 0xFFFBFBFA;      // RGB(251, 251, 250)
inline constexpr QRgb RingTop = 0xFFFEDF9C;         // RGB(254, 223, 156)
inline constexpr QRgb RingBottom = 0xFFF9BD48;      // RGB(249, 189, 72)
inline constexpr QRgb HoverCentre = 0xFFF1EFDF;     // RGB(241, 239, 223)
inline constexpr QRgb PressedTop = 0xFFB7B7AD;      // RGB(183, 183, 173)
inline constexpr QRgb PressedBottom = 0xFFEDEBDB;   // RGB(237, 235, 219)
inline constexpr QRgb DisabledOutline = 0xFFCAC8BB; // RGB(202, 200, 187)
inline constexpr QRgb DisabledDot = 0xFFC0BFB5;     // RGB(192, 191, 181)
inline constexpr QRgb DotLight = 0xFF55D551;        // RGB(85, 213, 81)
inline constexpr QRgb DotDark = 0xFF139210;         // RGB(19, 146, 16)
QRgb shade(int picture, const Sample& s);
QImage picture(int n, int scale = 1);
} // namespace xpoptionbutton

// One picture file of the art: its name in controls/xp/art/ and how it is drawn.
struct Artwork {
    QString fileName;
    std::function<QImage(int scale)> draw;
};
// Every picture the generator makes.
const QList<Artwork>& artworks();
// The file of the picture at a scale: "name.png" at 1, "name@2x.png" at 2 (the host's
// LoadPicture finds the high-density version by that name).
QString fileNameAt(const Artwork& art, int scale);

} // namespace kvart
