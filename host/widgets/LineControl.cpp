#include "host/widgets/LineControl.h"

#include "host/services/Guard.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/Intrinsic.h"

#include <QPainter>
#include <cmath>

namespace host {

namespace {
void checkFinite(float v)
{
    if (!std::isfinite(v)) raiseError(Err::InvalidPropertyValue);
}
} // namespace

LineControl::LineControl(QWidget* parent, const QString& name) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    initIntrinsicWidget(this, name);
    place();
}

LineControl::~LineControl() = default;

void LineControl::put_X1(float twips)
{
    setEnd(m_x1, twips);
}
void LineControl::put_Y1(float twips)
{
    setEnd(m_y1, twips);
}
void LineControl::put_X2(float twips)
{
    setEnd(m_x2, twips);
}
void LineControl::put_Y2(float twips)
{
    setEnd(m_y2, twips);
}

void LineControl::setEnd(float& coordinate, float twips)
{
    checkFinite(twips);
    coordinate = twips;
    place();
}

void LineControl::put_BorderColor(OleColor color)
{
    translateColor(color);
    m_borderColor = color;
    update();
}

void LineControl::put_BorderWidth(short width)
{
    if (width < 1 || width > 8192) raiseError(Err::InvalidPropertyValue);
    m_borderWidth = width;
    place();
}

void LineControl::put_BorderStyle(short style)
{
    if (style < 0 || style > 6) raiseError(Err::InvalidPropertyValue);
    m_borderStyle = style;
    update();
}

bool LineControl::get_Visible() const
{
    return !(isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide));
}

QString LineControl::get_Name() const
{
    const QString name = objectName();
    const qsizetype paren = name.lastIndexOf(QLatin1Char('('));
    return m_index >= 0 && paren > 0 ? name.left(paren) : name;
}

QPointF LineControl::startPixel() const
{
    return QPointF(twipsToPixelsX(m_x1, this), twipsToPixelsY(m_y1, this)) - QPointF(pos());
}

QPointF LineControl::endPixel() const
{
    return QPointF(twipsToPixelsX(m_x2, this), twipsToPixelsY(m_y2, this)) - QPointF(pos());
}

void LineControl::place()
{
    const int x1 = twipsToPixelsX(m_x1, this), y1 = twipsToPixelsY(m_y1, this);
    const int x2 = twipsToPixelsX(m_x2, this), y2 = twipsToPixelsY(m_y2, this);
    const int pad = (m_borderWidth + 1) / 2;
    const QRect box = QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                            QPoint(std::max(x1, x2), std::max(y1, y2)))
                          .adjusted(-pad, -pad, pad, pad);
    setGeometry(box);
    update();
}

void LineControl::paintEvent(QPaintEvent*)
{
    guard([&] {
        if (m_borderStyle == 0) return;
        QPainter p(this);
        Qt::PenStyle style = Qt::SolidLine;
        switch (m_borderStyle) {
        case 2:
            style = Qt::DashLine;
            break;
        case 3:
            style = Qt::DotLine;
            break;
        case 4:
            style = Qt::DashDotLine;
            break;
        case 5:
            style = Qt::DashDotDotLine;
            break;
        default:
            break;
        }
        QPen pen(toQColor(m_borderColor), m_borderWidth, style);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        p.drawLine(startPixel(), endPixel());
    });
}

} // namespace host
