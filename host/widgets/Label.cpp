#include "host/widgets/Label.h"

#include "host/value/RuntimeError.h"

#include <QPainter>

namespace host {

Label::Label(QWidget* parent, const QString& name) : MouseRelay<QLabel>(parent), Intrinsic(this)
{
    setTextFormat(Qt::PlainText);
    setMouseTracking(true); // MouseMove without a button held, as the runtime raises it
    initIntrinsicWidget(this, name);
}

Label::~Label() = default;

void Label::put_Caption(const QString& caption)
{
    if (caption == text()) return;
    setText(caption);
    fitToCaption();
    update();
    Q_EMIT Change();
}

void Label::put_AutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    fitToCaption();
    update();
}

void Label::put_WordWrap(bool wordWrap)
{
    m_wordWrap = wordWrap;
    fitToCaption();
    update();
}

void Label::put_BackStyle(short style)
{
    if (style < 0 || style > 1) raiseError(Err::InvalidPropertyValue);
    m_backStyle = style;
    update();
}

void Label::put_Alignment(short alignment)
{
    if (alignment < 0 || alignment > 2) raiseError(Err::InvalidPropertyValue);
    m_alignment = alignment;
    update();
}

void Label::put_BorderStyle(short style)
{
    if (style < 0 || style > 1) raiseError(Err::InvalidPropertyValue);
    m_borderStyle = style;
    fitToCaption();
    update();
}

void Label::put_UseMnemonic(bool use)
{
    m_useMnemonic = use;
    fitToCaption();
    update();
}

void Label::put_BackColor(OleColor color)
{
    translateColor(color); // 380 for a bad colour, before anything changes
    m_backColor = color;
    update();
}

void Label::put_ForeColor(OleColor color)
{
    translateColor(color);
    m_foreColor = color;
    update();
}

int Label::textFlags(bool wrap) const
{
    int flags = Qt::AlignTop;
    switch (m_alignment) {
    case 1:
        flags |= Qt::AlignRight;
        break;
    case 2:
        flags |= Qt::AlignHCenter;
        break;
    default:
        flags |= Qt::AlignLeft;
        break;
    }
    if (wrap) flags |= Qt::TextWordWrap;
    flags |= m_useMnemonic ? Qt::TextShowMnemonic : Qt::TextDontClip;
    return flags;
}

QSize Label::sizeHint() const
{
    const QFontMetrics fm(font());
    const int b = 2 * borderWidth();
    if (m_autoSize && m_wordWrap) {
        const int w = std::max(1, width() - b);
        const QRect r = fm.boundingRect(QRect(0, 0, w, 1 << 20), textFlags(true), text());
        return {width(), std::max(r.height(), fm.height()) + b};
    }
    const QRect r = fm.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), textFlags(false), text());
    return {r.width() + b, std::max(r.height(), fm.height()) + b};
}

void Label::fitToCaption()
{
    if (!m_autoSize) return;
    const QSize want = sizeHint();
    if (want != size()) resize(want);
}

void Label::paintEvent(QPaintEvent*)
{
    guard([&] {
        QPainter p(this);
        if (m_backStyle == 1) p.fillRect(rect(), toQColor(m_backColor));
        const int b = borderWidth();
        if (b) {
            p.setPen(QColor(0, 0, 0));
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
        p.setFont(font());
        // Only the label's own flag greys it: controls colour a disabled caption themselves.
        p.setPen(get_Enabled() ? toQColor(m_foreColor)
                               : palette().color(QPalette::Disabled, QPalette::WindowText));
        const bool wrap = !m_autoSize || m_wordWrap;
        p.drawText(rect().adjusted(b, b, -b, -b), textFlags(wrap), text());
    });
}

void Label::raiseMouseDown(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseDown(b, s, x, y);
}
void Label::raiseMouseMove(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseMove(b, s, x, y);
}
void Label::raiseMouseUp(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseUp(b, s, x, y);
}

} // namespace host
