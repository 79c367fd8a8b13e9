#include "host/widgets/Shape.h"

#include "host/value/RuntimeError.h"

#include <QPainter>
#include <QPainterPath>

namespace host {

namespace {
Qt::PenStyle penStyleOf(short borderStyle)
{
    switch (borderStyle) {
    case 0:
        return Qt::NoPen;
    case 2:
        return Qt::DashLine;
    case 3:
        return Qt::DotLine;
    case 4:
        return Qt::DashDotLine;
    case 5:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}
Qt::BrushStyle brushStyleOf(short fillStyle)
{
    switch (fillStyle) {
    case 0:
        return Qt::SolidPattern;
    case 2:
        return Qt::HorPattern;
    case 3:
        return Qt::VerPattern;
    case 4:
        return Qt::BDiagPattern;
    case 5:
        return Qt::FDiagPattern;
    case 6:
        return Qt::CrossPattern;
    case 7:
        return Qt::DiagCrossPattern;
    default:
        return Qt::NoBrush;
    }
}
void checkRange(short value, short low, short high)
{
    if (value < low || value > high) raiseError(Err::InvalidPropertyValue);
}
} // namespace

Shape::Shape(QWidget* parent, const QString& name) : QWidget(parent), Intrinsic(this)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    initIntrinsicWidget(this, name);
}

Shape::~Shape() = default;

void Shape::put_Shape(short shape)
{
    checkRange(shape, 0, 5);
    m_shape = shape;
    update();
}

void Shape::put_BorderColor(OleColor color)
{
    translateColor(color);
    m_borderColor = color;
    update();
}

void Shape::put_BorderStyle(short style)
{
    checkRange(style, 0, 6);
    m_borderStyle = style;
    update();
}

void Shape::put_BorderWidth(short width)
{
    checkRange(width, 1, 8192);
    m_borderWidth = width;
    update();
}

void Shape::put_FillColor(OleColor color)
{
    translateColor(color);
    m_fillColor = color;
    update();
}

void Shape::put_FillStyle(short style)
{
    checkRange(style, 0, 7);
    m_fillStyle = style;
    update();
}

void Shape::put_BackStyle(short style)
{
    checkRange(style, 0, 1);
    m_backStyle = style;
    update();
}

void Shape::put_BackColor(OleColor color)
{
    translateColor(color);
    m_backColor = color;
    update();
}

void Shape::paintEvent(QPaintEvent*)
{
    guard([&] {
        QPainter p(this);
        // Squares and circles take the shorter side, centred in the control.
        QRectF area = rect();
        if (m_shape == 1 || m_shape == 3 || m_shape == 5) {
            const qreal side = std::min(area.width(), area.height());
            area = QRectF(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
        }
        // The pen is centred on the outline: inset it by half its width to stay inside.
        const qreal pen = m_borderStyle == 0 ? 0 : m_borderWidth;
        const QRectF outline = area.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
        QPainterPath path;
        switch (m_shape) {
        case 2:
        case 3:
            path.addEllipse(outline);
            break;
        case 4:
        case 5: {
            const qreal r = std::min(outline.width(), outline.height()) / 6;
            path.addRoundedRect(outline, r, r);
            break;
        }
        default:
            path.addRect(outline);
            break;
        }
        if (m_shape >= 2) p.setRenderHint(QPainter::Antialiasing);
        if (m_backStyle == 1) p.fillPath(path, toQColor(m_backColor));
        if (m_fillStyle != 1)
            p.fillPath(path, QBrush(toQColor(m_fillColor), brushStyleOf(m_fillStyle)));
        if (m_borderStyle != 0) {
            QPen qpen(toQColor(m_borderColor), pen, penStyleOf(m_borderStyle));
            qpen.setJoinStyle(Qt::MiterJoin);
            p.strokePath(path, qpen);
        }
    });
}

} // namespace host
