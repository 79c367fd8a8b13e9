#include "XpArt.h"

#include "ButtonArt.h"

#include <algorithm>
#include <cmath>

namespace kvart {

QImage renderGrid(const CellGrid& grid, const Shader& shader, int scale, QImage::Format format)
{
    scale = std::max(scale, 1);
    const QSize cell = grid.cell * scale;
    QImage image(grid.size() * scale, format);
    image.fill(Qt::transparent);
    for (int y = 0; y < image.height(); ++y) {
        const int row = y / cell.height(), ly = y % cell.height();
        for (int x = 0; x < image.width(); ++x) {
            const int column = x / cell.width(), lx = x % cell.width();
            const int index = row * grid.columns + column;
            if (index >= grid.count) continue;
            Sample s;
            s.cell = index;
            s.pixel = QPoint(lx / scale, ly / scale);
            s.at = QPointF((lx + 0.5) / scale, (ly + 0.5) / scale);
            image.setPixel(x, y, shader(s));
        }
    }
    return image;
}

QRgb mix(QRgb from, QRgb to, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [t](int a, int b) { return int(std::lround(a + (b - a) * t)); };
    return qRgba(channel(qRed(from), qRed(to)), channel(qGreen(from), qGreen(to)),
                 channel(qBlue(from), qBlue(to)), channel(qAlpha(from), qAlpha(to)));
}

namespace xpcmdbutton {

namespace {

constexpr QRgb White = 0xFFFFFFFF;
// The button face of the era's theme, which the softened corners fade into.
constexpr QRgb Face = 0xFFECE9D8; // RGB(236, 233, 216)

// The interior under any ring: the normal or pressed gradient by height.
QRgb interior(int cell, const Sample& s, int h)
{
    const double y = s.at.y();
    if (cell == Pressed) return mix(PressedTop, PressedBottom, (y - 1.5) / (h - 3.0));
    if (s.pixel.y() == h - 2) return NormalLastRow;
    return mix(NormalTop, NormalBottom, (y - 1.5) / (h - 4.0));
}

// The 2-pixel inner ring of the hover and default looks, graded from top to bottom.
QRgb ring(int cell, const Sample& s, int h)
{
    const double y = s.at.y();
    if (cell == Hover)
        return s.pixel.y() == 1 ? HoverTop : mix(HoverTop2, HoverBottom, (y - 2.5) / (h - 5.0));
    return mix(DefaultTop, DefaultBottom, (y - 1.5) / (h - 3.0));
}

} // namespace

QRgb shade(const Sample& s)
{
    const int w = Grid.cell.width(), h = Grid.cell.height();
    const int x = s.pixel.x(), y = s.pixel.y();
    const bool xEdge = x == 0 || x == w - 1, yEdge = y == 0 || y == h - 1;
    if (s.cell == Disabled) {
        if (xEdge && yEdge) return White;
        if (xEdge || yEdge) return DisabledOutline;
        return DisabledFace;
    }
    // Softened corners: the corner pixel mostly face, its two neighbours on the outline half
    // way, the pixel inside the corner half outline.
    if (xEdge && yEdge) return mix(Outline, Face, 0.75);
    const bool xNear = x == 1 || x == w - 2, yNear = y == 1 || y == h - 2;
    if ((xEdge && yNear) || (yEdge && xNear)) return mix(Outline, Face, 0.4);
    if (xEdge || yEdge) return Outline;
    const bool ringed = s.cell == Hover || s.cell == Default;
    const bool inRing = x <= 2 || x >= w - 3 || y <= 2 || y >= h - 3;
    const QRgb under = ringed && inRing ? ring(s.cell, s, h) : interior(s.cell, s, h);
    if (xNear && yNear) return mix(Outline, under, 0.5);
    return under;
}

QImage strip(int scale)
{
    return renderGrid(Grid, shade, scale);
}

} // namespace xpcmdbutton

const QList<Artwork>& artworks()
{
    static const QList<Artwork> list{
        {QStringLiteral("xpcmdbutton.png"), [](int scale) { return xpcmdbutton::strip(scale); }},
        {QStringLiteral("cmdbutton-mark.png"),
         [](int scale) { return picturebutton::mark(scale); }},
        {QStringLiteral("cmdbutton-printer.png"),
         [](int scale) { return picturebutton::printer(scale); }},
    };
    return list;
}

} // namespace kvart
