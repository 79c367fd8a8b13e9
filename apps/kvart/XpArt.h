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

// One picture file of the art: its name in controls/xp/art/ and how it is drawn.
struct Artwork {
    QString fileName;
    std::function<QImage(int scale)> draw;
};
// Every picture the generator makes (the check box and option button art join here).
const QList<Artwork>& artworks();

} // namespace kvart
