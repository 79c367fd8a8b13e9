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

namespace {

double toSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a, ap = p - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = std::clamp(QPointF::dotProduct(ap, ab) / len2, 0.0, 1.0);
    const QPointF d = ap - ab * t;
    return std::hypot(d.x(), d.y());
}

} // namespace

namespace xpcheckbox {

bool onTick(QPointF at)
{
    // Left middle, down to the lower centre, up to the top right; pixels within 1.2 of the line
    // make a mark three pixels high on its slopes.
    const QPointF a(4.5, 7.5), b(7.5, 10.5), c(11.5, 4.5);
    return std::min(toSegment(at, a, b), toSegment(at, b, c)) <= 1.2;
}

bool onSquare(QPoint pixel)
{
    return pixel.x() >= 3 && pixel.x() <= 12 && pixel.y() >= 3 && pixel.y() <= 12;
}

QRgb shade(const Sample& s)
{
    const int value = s.cell / 4, condition = s.cell % 4;
    const int x = s.pixel.x(), y = s.pixel.y();
    const bool outline = x == 0 || y == 0 || x == 15 || y == 15;
    const bool marked = (value == 1 && onTick(s.at)) || (value == 2 && onSquare(s.pixel));
    // 0 at the interior's top-left pixel, 1 at its bottom-right one.
    const double diagonal = (s.at.x() - 1.5 + s.at.y() - 1.5) / 26.0;
    if (condition == Disabled) {
        if (outline || marked) return DisabledMark;
        return 0xFFFFFFFF;
    }
    if (outline) return Outline;
    if (marked) {
        if (condition == Pressed)
            return mix(PressedMarkTop, PressedMarkBottom, (s.at.y() - 3.5) / 9.0);
        if (value == 2 && condition == Resting) return MixedRest;
        return value == 2 ? MixedHover : Tick;
    }
    switch (condition) {
    case Hovered:
        if (x <= 2 || y <= 2 || x >= 13 || y >= 13) return mix(RingTop, RingBottom, diagonal);
        return value == 0 ? HoverInside : HoverInsideOn;
    case Pressed:
        return mix(PressedTop, PressedBottom, diagonal);
    default:
        return mix(RestTop, RestBottom, diagonal);
    }
}

QImage strip(int scale)
{
    return renderGrid(Grid, shade, scale);
}

} // namespace xpcheckbox

namespace xpoptionbutton {

QRgb shade(int picture, const Sample& s)
{
    const bool selected = picture >= 4;
    const int condition = picture % 4;
    const double d = std::hypot(s.at.x() - 6.5, s.at.y() - 6.5);
    if (d > 6.3) return Outside;
    if (d > 5.3) return condition == Disabled ? DisabledOutline : Outline;
    const bool dot = selected && d <= 2.6;
    if (condition == Disabled) return dot ? DisabledDot : 0xFFFFFFFF;
    if (dot) // lit from the top left
        return mix(DotLight, DotDark, std::hypot(s.at.x() - 5.0, s.at.y() - 5.0) / 4.2);
    const double diagonal = (s.at.x() - 1.5 + s.at.y() - 1.5) / 20.0;
    switch (condition) {
    case Hovered:
        return d > 3.3 ? mix(RingTop, RingBottom, (s.at.y() - 1.5) / 10.0) : HoverCentre;
    case Pressed:
        return mix(PressedTop, PressedBottom, diagonal);
    default:
        return mix(RestTop, RestBottom, diagonal);
    }
}

QImage picture(int n, int scale)
{
    return renderGrid(
        CellGrid{Size, 1, 1}, [n](const Sample& s) { return shade(n, s); }, scale,
        QImage::Format_ARGB32);
}

} // namespace xpoptionbutton

const QList<Artwork>& artworks()
{
    static const QList<Artwork> list = [] {
        QList<Artwork> l{
            {QStringLiteral("xpcmdbutton.png"),
             [](int scale) { return xpcmdbutton::strip(scale); }},
            {QStringLiteral("cmdbutton-mark.png"),
             [](int scale) { return picturebutton::mark(scale); }},
            {QStringLiteral("cmdbutton-printer.png"),
             [](int scale) { return picturebutton::printer(scale); }},
            {QStringLiteral("xpcheckbox.png"), [](int scale) { return xpcheckbox::strip(scale); }},
        };
        for (int n = 0; n < 8; ++n)
            l.append({QStringLiteral("xpoptionbutton%1.png").arg(n),
                      [n](int scale) { return xpoptionbutton::picture(n, scale); }});
        return l;
    }();
    return list;
}

QString fileNameAt(const Artwork& art, int scale)
{
    if (scale == 1) return art.fileName;
    QString name = art.fileName;
    return name.replace(QStringLiteral(".png"), QStringLiteral("@%1x.png").arg(scale));
}

} // namespace kvart
