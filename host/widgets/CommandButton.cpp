#include "host/widgets/CommandButton.h"

#include "host/value/RuntimeError.h"

#include <QPainter>

namespace host {

CommandButton::CommandButton(QWidget* parent, const QString& name)
    : KeyRelay<MouseRelay<QPushButton>>(parent), Intrinsic(this)
{
    setAutoDefault(false);
    setMouseTracking(true);
    connect(this, &QAbstractButton::clicked, this, [this] { guard([&] { Q_EMIT Click(); }); });
    initIntrinsicWidget(this, name);
    // The classic button face, not the desktop style's own.
    setPaletteColor(QPalette::Button, m_backColor);
}

CommandButton::~CommandButton() = default;

void CommandButton::put_Caption(const QString& caption)
{
    setText(caption);
}

void CommandButton::put_Default(bool isDefault)
{
    m_default = isDefault;
    setDefault(isDefault);
    if (isDefault) {
        for (auto* other : window()->findChildren<CommandButton*>())
            if (other != this && other->m_default) other->put_Default(false);
    }
    watchWindow();
}

void CommandButton::put_Cancel(bool isCancel)
{
    m_cancel = isCancel;
    if (isCancel) {
        for (auto* other : window()->findChildren<CommandButton*>())
            if (other != this) other->m_cancel = false;
    }
    watchWindow();
}

void CommandButton::put_BackColor(OleColor color)
{
    setPaletteColor(QPalette::Button, color);
    m_backColor = color;
}

// The classic raised button: face in BackColor, a white and a light edge top-left, a shadow and a
// dark edge bottom-right (swapped to a sunken look while pressed), a black frame around the
// default button, a dotted focus rectangle, and the caption in the button text colour (etched
// grey when disabled). Drawn here so the look is the same under every desktop style.
void CommandButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QRect r = rect();
    p.fillRect(r, toQColor(m_backColor));
    auto edge = [&p](const QRect& box, OleColor topLeft, OleColor bottomRight) {
        p.setPen(toQColor(topLeft));
        p.drawLine(box.topLeft(), box.topRight());
        p.drawLine(box.topLeft(), box.bottomLeft());
        p.setPen(toQColor(bottomRight));
        p.drawLine(box.bottomLeft(), box.bottomRight());
        p.drawLine(box.topRight(), box.bottomRight());
    };
    if (isDefault() || (hasFocus() && m_default)) {
        p.setPen(toQColor(SystemColor::WindowFrame));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    const bool pressed = isDown();
    if (pressed) {
        edge(r, SystemColor::ThreeDDKShadow, SystemColor::ButtonHighlight);
        edge(r.adjusted(1, 1, -1, -1), SystemColor::ButtonShadow, SystemColor::ThreeDLight);
    } else {
        edge(r, SystemColor::ButtonHighlight, SystemColor::ThreeDDKShadow);
        edge(r.adjusted(1, 1, -1, -1), SystemColor::ThreeDLight, SystemColor::ButtonShadow);
    }
    QRect textRect = r.adjusted(2, 2, -2, -2);
    if (pressed) textRect.translate(1, 1);
    p.setFont(font());
    const int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    if (isEnabled()) {
        p.setPen(toQColor(SystemColor::ButtonText));
        p.drawText(textRect, flags, text());
    } else {
        p.setPen(toQColor(SystemColor::ButtonHighlight));
        p.drawText(textRect.translated(1, 1), flags, text());
        p.setPen(toQColor(SystemColor::GrayText));
        p.drawText(textRect, flags, text());
    }
    if (hasFocus()) {
        QPen dots(toQColor(SystemColor::WindowFrame));
        dots.setStyle(Qt::DotLine);
        p.setPen(dots);
        p.drawRect(r.adjusted(3, 3, -4, -4));
    }
}

void CommandButton::put_Value(bool value)
{
    if (value) click();
}

void CommandButton::watchWindow()
{
    QWidget* target = (m_default || m_cancel) ? window() : nullptr;
    if (target == m_watched) return;
    if (m_watched) m_watched->removeEventFilter(this);
    m_watched = target;
    if (target && target != this) target->installEventFilter(this);
}

void CommandButton::showEvent(QShowEvent* e)
{
    guard([&] {
        QPushButton::showEvent(e);
        watchWindow(); // the window is final once the button is on screen
    });
}

bool CommandButton::eventFilter(QObject* watched, QEvent* event)
{
    bool handled = false;
    guard([&] {
        // A key reaches the window only when the focused widget left it unaccepted.
        if (watched != m_watched || event->type() != QEvent::KeyPress) return;
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if ((enter && m_default) || (key == Qt::Key_Escape && m_cancel)) {
            if (isVisible() && isEnabled()) {
                handled = true;
                click();
            }
        }
    });
    return handled || QPushButton::eventFilter(watched, event);
}

void CommandButton::applyCharacter(QKeyEvent* e, short original, short ascii, bool stopped)
{
    // A focused button clicks on Enter as well as on Space, unless KeyDown stopped the key.
    if (ascii == 13) {
        if (!stopped) click();
        return;
    }
    KeyRelay<MouseRelay<QPushButton>>::applyCharacter(e, original, ascii, stopped);
}

void CommandButton::raiseMouseDown(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseDown(b, s, x, y);
}
void CommandButton::raiseMouseMove(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseMove(b, s, x, y);
}
void CommandButton::raiseMouseUp(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseUp(b, s, x, y);
}

} // namespace host
