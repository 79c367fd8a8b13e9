#pragma once
// What every intrinsic widget of the host shares: twips geometry, Visible, Enabled, ToolTipText,
// Name, Tag, Index within a control array and a shared Font; plus the relays that turn Qt's mouse,
// key and focus events into the runtime's events with by-reference arguments.

#include "host/services/Guard.h"
#include "host/value/OleColor.h"
#include "host/value/StdFont.h"
#include "host/value/Twips.h"
#include "host/widgets/Keys.h"
#include "host/widgets/Lifetime.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QString>
#include <QWidget>
#include <optional>

namespace host {

// Mouse button values of MouseDown/MouseUp (the button that changed) and MouseMove (all held).
short mouseButtonsOf(Qt::MouseButtons buttons);

// A child's mouse position (pixels from its top-left) in its container's current scale units:
// a widget on a UserControl or a picture box speaks that canvas's scale, elsewhere twips.
QPointF containerUnitsFromPixels(const QWidget* child, const QPointF& pixels);

// Runs the constructor steps every intrinsic widget shares: objectName, and showing a widget
// created on a window that is already on screen (a control placed at run time is visible).
void initIntrinsicWidget(QWidget* widget, const QString& name);

class Intrinsic {
public:
    explicit Intrinsic(QWidget* self);
    virtual ~Intrinsic();
    Intrinsic(const Intrinsic&) = delete;
    Intrinsic& operator=(const Intrinsic&) = delete;

    // Placement in the container's current scale (twips on a form, the surface's scale on a
    // UserControl or picture box); stored twips read back exactly while that scale is twips.
    float get_Left() const;
    float get_Top() const;
    float get_Width() const;
    float get_Height() const;
    void put_Left(float value);
    void put_Top(float value);
    void put_Width(float value);
    void put_Height(float value);
    // The runtime's Move: omitted arguments keep their value.
    void Move(float left, std::optional<float> top = {}, std::optional<float> width = {},
              std::optional<float> height = {});

    // The widget's own flag: a visible control on a window not yet shown reads True.
    bool get_Visible() const;
    void put_Visible(bool visible);
    bool get_Enabled() const;
    void put_Enabled(bool enabled);
    QString get_ToolTipText() const;
    void put_ToolTipText(const QString& text);
    // The control's name without the array index ("lblDia" for the element "lblDia(12)").
    QString get_Name() const;
    QString get_Tag() const { return m_tag; }
    void put_Tag(const QString& tag) { m_tag = tag; }
    // The index within its control array, -1 for a control that is not in one.
    short get_Index() const { return m_index; }
    void setArrayIndex(short index) { m_index = index; }

    // The font is shared by reference: a change made through any holder shows at once. Assigning
    // no font returns the widget to the font it inherits. Reading a widget that was never given
    // one hands out a font object describing what it shows.
    FontRef get_Font() const;
    void putref_Font(const FontRef& font);
    void put_Font(const FontRef& font) { putref_Font(font); }

    // 0 brings the widget to the front of its siblings, 1 sends it to the back.
    void ZOrder(short position = 0);
    void Refresh();

protected:
    // Runs after the widget's font changed (auto-sizing widgets measure again).
    virtual void fontApplied() {}
    // Sets a palette role from an OLE_COLOR; raises 380 for a bad colour before changing anything.
    void setPaletteColor(QPalette::ColorRole role, OleColor color, bool disabledToo = true);

private:
    enum Axis { LeftAxis, TopAxis, WidthAxis, HeightAxis };
    float placement(Axis axis) const;
    void place(Axis axis, float value);
    // The value in twips: unchanged on a twips container.
    double toTwips(Axis axis, double value) const;
    void connectFont() const;
    void applyFont();

    QWidget* m_self;
    mutable TwipsGeometry m_geometry;
    mutable FontRef m_font;
    QString m_tag;
    short m_index = -1;
};

// The widget that holds the application's focus as the runtime sees it: focus that leaves for
// another window (a message box, a popup) and comes back is no move at all.
class FocusAware {
public:
    virtual ~FocusAware();

protected:
    // Called as focus arrives or leaves; raise GotFocus/LostFocus when they return true.
    bool takeLogicalFocus(QFocusEvent* event);
    bool dropLogicalFocus(QFocusEvent* event);
    virtual void raiseLostFocusFromElsewhere() = 0;
    virtual QObject* focusObject() = 0;
};

// Mouse relay: MouseDown, MouseMove, MouseUp with Button, Shift and the position in the
// container's scale (or whatever toEventUnits gives), then Click and DblClick in the runtime's
// order: MouseDown, MouseUp, Click, DblClick, MouseUp. Qt's implicit grab keeps the mouse while a
// button is held. A widget's mouse event is its own: it never goes on to the container as well.
template <class Base>
class MouseRelay : public Base {
public:
    using Base::Base;

protected:
    virtual void raiseMouseDown(short&, short&, float&, float&) {}
    virtual void raiseMouseMove(short&, short&, float&, float&) {}
    virtual void raiseMouseUp(short&, short&, float&, float&) {}
    virtual void raiseClick() {}
    virtual void raiseDblClick() {}
    // False where the Qt widget raises clicks itself (a push button).
    virtual bool raisesMouseClicks() const { return true; }
    virtual QPointF toEventUnits(const QPointF& pixels) const
    {
        return containerUnitsFromPixels(this, pixels);
    }

    void mousePressEvent(QMouseEvent* e) override
    {
        guardIn(this, [&] {
            if (m_inBaseDouble) return Base::mousePressEvent(e);
            LifeGuard alive(this);
            m_afterDouble = false;
            raiseMouse(e, mouseButtonsOf(e->button()), &MouseRelay::raiseMouseDown);
            if (alive) Base::mousePressEvent(e);
            e->accept();
        });
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        guardIn(this, [&] {
            LifeGuard alive(this);
            raiseMouse(e, mouseButtonsOf(e->buttons()), &MouseRelay::raiseMouseMove);
            if (alive) Base::mouseMoveEvent(e);
            e->accept();
        });
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        guardIn(this, [&] {
            LifeGuard alive(this);
            const bool afterDouble = std::exchange(m_afterDouble, false);
            const bool inside = this->rect().contains(e->position().toPoint());
            e->accept();
            raiseMouse(e, mouseButtonsOf(e->button()), &MouseRelay::raiseMouseUp);
            if (!alive) return;
            Base::mouseReleaseEvent(e);
            e->accept();
            if (!alive) return;
            if (raisesMouseClicks() && !afterDouble && inside && e->button() == Qt::LeftButton)
                raiseClick();
        });
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        guardIn(this, [&] {
            if (!raisesMouseClicks() || e->button() != Qt::LeftButton) {
                // A second press for widgets without DblClick (a button clicks twice).
                Base::mouseDoubleClickEvent(e);
                e->accept();
                return;
            }
            LifeGuard alive(this);
            m_afterDouble = true;
            raiseDblClick();
            if (!alive) return;
            m_inBaseDouble = true;
            Base::mouseDoubleClickEvent(e);
            m_inBaseDouble = false;
            e->accept();
        });
    }

private:
    void raiseMouse(QMouseEvent* e, short button,
                    void (MouseRelay::*raise)(short&, short&, float&, float&))
    {
        const QPointF p = toEventUnits(e->position());
        short shift = shiftMask(e->modifiers());
        float x = float(p.x()), y = float(p.y());
        (this->*raise)(button, shift, x, y);
    }

    bool m_afterDouble = false;
    bool m_inBaseDouble = false;
};

// Key and focus relay: KeyDown (the form's preview first), KeyPress for a key that types a
// character, KeyUp (auto-repeat releases skipped); GotFocus/LostFocus for real focus moves.
// KeyCode 0 stops the key's own action (arrow movement), as the character still goes through
// KeyPress; KeyAscii 0 swallows the character; a changed KeyAscii types the changed character.
template <class Base>
class KeyRelay : public Base, public FocusAware {
public:
    using Base::Base;

    // Gives the widget the focus; error 5 when it is hidden or disabled (or its window is).
    void SetFocus()
    {
        if (!this->isVisible() || !this->isEnabled()) raiseError(Err::InvalidProcedureCall);
        this->setFocus(Qt::OtherFocusReason);
    }

    // A widget that is no tab stop is skipped by Tab but still takes the focus when clicked.
    bool get_TabStop() const { return this->focusPolicy() & Qt::TabFocus; }
    void put_TabStop(bool tabStop)
    {
        this->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    }

protected:
    virtual void raiseKeyDown(short&, short&) {}
    virtual void raiseKeyPress(short&) {}
    virtual void raiseKeyUp(short&, short&) {}
    virtual void raiseGotFocus() {}
    virtual void raiseLostFocus() {}

    // Carries out a typed character after KeyPress: `ascii` as the handlers left it (not 0),
    // `original` what the key typed, `stopped` whether KeyDown cleared KeyCode.
    virtual void applyCharacter(QKeyEvent* e, short original, short ascii, bool stopped)
    {
        if (ascii == original && !stopped) return passKeyOn(e);
        QKeyEvent changed = characterEvent(e, ascii, stopped);
        if (changed.key() != 0 || !changed.text().isEmpty()) Base::keyPressEvent(&changed);
    }

    // Hands a key the runtime's events left alone to the Qt widget's own handling.
    virtual void passKeyOn(QKeyEvent* e)
    {
        if (e->type() == QEvent::KeyPress)
            Base::keyPressEvent(e);
        else
            Base::keyReleaseEvent(e);
    }

    // A key event typing `ascii` in place of `e`.
    static QKeyEvent characterEvent(const QKeyEvent* e, short ascii, bool stopped)
    {
        const Qt::KeyboardModifiers mods =
            e->modifiers() & ~(Qt::ControlModifier | Qt::AltModifier);
        switch (ascii) {
        case 8:
            return QKeyEvent(e->type(), Qt::Key_Backspace, mods, QStringLiteral("\b"));
        case 13:
            return QKeyEvent(e->type(), Qt::Key_Return, mods, QStringLiteral("\r"));
        case 27:
            return QKeyEvent(e->type(), Qt::Key_Escape, mods, QString(QChar(27)));
        default:
            break;
        }
        const QChar c{ushort(ascii)};
        if (!c.isPrint()) return QKeyEvent(e->type(), 0, mods, QString());
        const ushort upper = c.toUpper().unicode();
        const int key = stopped || upper > 0xFF ? int(Qt::Key_unknown) : int(upper);
        return QKeyEvent(e->type(), key, mods, QString(c));
    }

    bool event(QEvent* e) override
    {
        // Tab moves the focus before keyPressEvent could see it: KeyDown runs here.
        if (e->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(e);
            // Only the Tab that moves the focus: Ctrl+Tab and Alt+Tab reach keyPressEvent.
            if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
                !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                bool go = true;
                guardIn(this, [&] {
                    LifeGuard alive(this);
                    go = keyDownStage(key) && alive;
                });
                if (!go) {
                    e->accept();
                    return true;
                }
            }
        }
        return Base::event(e);
    }

    void keyPressEvent(QKeyEvent* e) override
    {
        guardIn(this, [&] {
            LifeGuard alive(this);
            const bool stopped = !keyDownStage(e);
            if (!alive) return;
            const short original = keyAsciiOf(e);
            if (original == 0) {
                if (stopped)
                    e->accept();
                else
                    passKeyOn(e);
                return;
            }
            short ascii = original;
            previewKeyPress(this, ascii);
            if (!alive) return;
            if (ascii != 0) {
                raiseKeyPress(ascii);
                if (!alive) return;
            }
            if (ascii == 0) {
                e->accept();
                return;
            }
            applyCharacter(e, original, ascii, stopped);
        });
    }

    void keyReleaseEvent(QKeyEvent* e) override
    {
        guardIn(this, [&] {
            if (e->isAutoRepeat()) return passKeyOn(e);
            LifeGuard alive(this);
            const short original = virtualKeyCode(e);
            short code = original;
            short shift = shiftMask(e->modifiers());
            previewKeyUp(this, code, shift);
            if (!alive) return;
            if (code != 0) {
                raiseKeyUp(code, shift);
                if (!alive) return;
            }
            if (original != 0 && code == 0)
                e->accept();
            else
                passKeyOn(e);
        });
    }

    void focusInEvent(QFocusEvent* e) override
    {
        guardIn(this, [&] {
            Base::focusInEvent(e);
            if (takeLogicalFocus(e)) raiseGotFocus();
        });
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        guardIn(this, [&] {
            Base::focusOutEvent(e);
            if (dropLogicalFocus(e)) raiseLostFocus();
        });
    }

    void raiseLostFocusFromElsewhere() override { raiseLostFocus(); }
    QObject* focusObject() override { return this; }

    // KeyDown with the form's preview first; false when the key was stopped (KeyCode set to 0).
    bool keyDownStage(QKeyEvent* e)
    {
        LifeGuard alive(this);
        const short original = virtualKeyCode(e);
        short code = original;
        short shift = shiftMask(e->modifiers());
        previewKeyDown(this, code, shift);
        if (!alive) return false;
        if (code != 0) {
            raiseKeyDown(code, shift);
            if (!alive) return false;
        }
        return original == 0 || code != 0;
    }
};

} // namespace host
