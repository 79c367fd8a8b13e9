#include "host/widgets/Frame.h"

#include "host/value/RuntimeError.h"
#include "host/widgets/Accessible.h"

#include <QPainter>

namespace host {

namespace {

// The era's group-box line.
const QColor FrameLine(208, 208, 191);

} // namespace

Frame::Frame(QWidget* parent, const QString& name) : MouseRelay<QWidget>(parent), Intrinsic(this)
{
    setMouseTracking(true);
    initIntrinsicWidget(this, name);
    installAccessibleFactory(); // a form may hold frames before any control
}

Frame::~Frame() = default;

void Frame::put_Caption(const QString& caption)
{
    m_caption = caption;
    update();
    notifyAccessibleChange(this, AccessibleNameChanged);
}

void Frame::put_BorderStyle(short style)
{
    if (style < 0 || style > 1) raiseError(Err::InvalidPropertyValue);
    m_borderStyle = style;
    update();
}

void Frame::put_BackColor(OleColor color)
{
    translateColor(color); // 380 for a bad colour, before anything changes
    m_backColor = color;
    update();
}

void Frame::put_ForeColor(OleColor color)
{
    translateColor(color);
    m_foreColor = color;
    update();
}

void Frame::paintEvent(QPaintEvent*)
{
    guard([&] {
        QPainter p(this);
        p.fillRect(rect(), toQColor(m_backColor));
        const QFontMetrics fm(font());
        const int lineY = fm.height() / 2;
        if (m_borderStyle == 1) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(FrameLine);
            p.drawRoundedRect(QRectF(rect()).adjusted(0.5, lineY + 0.5, -0.5, -0.5), 3, 3);
            p.setRenderHint(QPainter::Antialiasing, false);
        }
        if (m_caption.isEmpty()) return;
        const int flags = Qt::TextShowMnemonic | Qt::AlignLeft | Qt::AlignTop;
        QRect text = fm.boundingRect(QRect(0, 0, width(), fm.height()), flags, m_caption);
        text.moveTo(8, 0);
        p.fillRect(text.adjusted(-2, 0, 2, 0), toQColor(m_backColor));
        p.setPen(isEnabled() ? toQColor(m_foreColor) : QColor(161, 161, 146));
        p.drawText(text, flags, m_caption);
    });
}

void Frame::raiseMouseDown(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseDown(b, s, x, y);
}
void Frame::raiseMouseMove(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseMove(b, s, x, y);
}
void Frame::raiseMouseUp(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseUp(b, s, x, y);
}

} // namespace host
