#pragma once
// The control surface every control derives from: it runs the runtime's life cycle on the
// control's hooks, turns Qt input into the runtime's events, draws through Canvas, and hands out
// the Ambient and Extender objects.

#include "host/value/Twips.h"
#include "host/value/Variant.h"
#include "host/widgets/Accessible.h"
#include "host/widgets/Canvas.h"
#include "host/widgets/Extender.h"
#include "host/widgets/Intrinsic.h"
#include "host/widgets/LateBinding.h"

#include <QList>
#include <QMetaObject>
#include <QStringList>
#include <QWidget>

#include <functional>

class QShortcut;

namespace host {

class PropertyBag;

// The surface takes its mouse, key and focus events through the same relays as the host's
// widgets, so a control's events follow one set of rules wherever they come from.
using SurfaceBase = KeyRelay<MouseRelay<QWidget>>;

class UserControl : public SurfaceBase, public Canvas {
    Q_OBJECT
public:
    explicit UserControl(QWidget* parent = nullptr);
    ~UserControl() override;

    // Creates a control outside a Form and runs its start of life (Form::add does the same).
    template <class T>
    static T* create(QWidget* parent, const QString& name, const PropertyBag* bag = nullptr)
    {
        T* control = new T(parent);
        control->startLife(name, bag);
        return control;
    }
    // Names the control, then Initialize, InitProperties (no bag) or ReadProperties, Resize.
    // Show follows when the control is shown. Runs once.
    void startLife(const QString& name, const PropertyBag* bag);
    bool lifeStarted() const { return m_lifeStarted; }
    // Raises Terminate once (also done when the control is disposed or its container dies), for
    // this control and then for the controls inside it.
    void terminate();
    bool terminated() const { return m_terminated; }

    // WriteProperties into the bag.
    void saveTo(PropertyBag& bag);
    // The runtime's PropertyChanged: tells the container that a saved property changed.
    void PropertyChanged(const QString& name);

    AmbientProperties Ambient() const { return AmbientProperties(this); }
    ControlExtender Extender() { return ControlExtender(this); }

    // Surface properties besides those of Canvas.
    float get_Width() const { return m_geometry.get_Width(); } // twips
    void put_Width(float twips);
    float get_Height() const { return m_geometry.get_Height(); }
    void put_Height(float twips);
    // The control's own flag: a control inside a disabled container is still Enabled.
    bool get_Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void put_Enabled(bool enabled) { setEnabled(enabled); }
    // Whether the surface itself takes the focus: False for controls that only show something
    // (a title strip), which Tab and clicks then pass by. Set before the control's life starts.
    bool get_CanGetFocus() const { return m_canGetFocus; }
    void put_CanGetFocus(bool canGetFocus) { m_canGetFocus = canGetFocus; }
    // Characters that, typed with Alt, raise AccessKeyPress ("FS" for Alt+F and Alt+S).
    QString get_AccessKeys() const { return m_accessKeys; }
    void put_AccessKeys(const QString& keys);

    // What accessibility tools are told about the control: a plain client area unless the
    // control says what it acts as.
    virtual AccessibleDescription accessibleDescription() const { return {}; }
    // The role alone, asked for every widget Qt describes: a control whose description costs
    // (a field looks for the label beside it) answers it without describing itself.
    virtual AccessibleRole accessibleRole() const { return accessibleDescription().role; }
    // The action a tool asks of a button or a check box: what a click on the surface does.
    virtual void accessibleAction() { UserControl_Click(); }

    // The widget of that name the control is made of (without regard to case), made first when
    // the control defers it; null when it has none. Hosts and scripts reach constituents this
    // way, so a deferred one answers as if it had always been there.
    QWidget* constituent(const QString& name);
    bool defers(const QString& name) const
    {
        return m_deferredNames.contains(name, Qt::CaseInsensitive);
    }

    TwipsGeometry& geometryTwips() { return m_geometry; }
    const TwipsGeometry& geometryTwips() const { return m_geometry; }

Q_SIGNALS:
    void propertyChanged(const QString& name);

protected:
    // Constituents most instances never show (a button, its panel) are made only when needed:
    // `make` creates all those named, once, when constituent() asks for one of them or the
    // control calls makeDeferred().
    void deferConstituents(QStringList names, std::function<void()> make);
    void makeDeferred();

    // Sets the designed size (twips) before the life cycle starts, without raising Resize.
    void setDesignSize(float widthTwips, float heightTwips);

    virtual void UserControl_Initialize() {}
    virtual void UserControl_InitProperties() {}
    virtual void UserControl_ReadProperties(PropertyBag& /*PropBag*/) {}
    virtual void UserControl_WriteProperties(PropertyBag& /*PropBag*/) {}
    virtual void UserControl_Resize() {}
    virtual void UserControl_Show() {}
    virtual void UserControl_Hide() {}
    virtual void UserControl_Paint() {}
    virtual void UserControl_Terminate() {}
    virtual void UserControl_Click() {}
    virtual void UserControl_DblClick() {}
    virtual void UserControl_KeyDown(short& /*KeyCode*/, short& /*Shift*/) {}
    virtual void UserControl_KeyPress(short& /*KeyAscii*/) {}
    virtual void UserControl_KeyUp(short& /*KeyCode*/, short& /*Shift*/) {}
    virtual void UserControl_MouseDown(short& /*Button*/, short& /*Shift*/, float& /*X*/,
                                       float& /*Y*/)
    {}
    virtual void UserControl_MouseMove(short& /*Button*/, short& /*Shift*/, float& /*X*/,
                                       float& /*Y*/)
    {}
    virtual void UserControl_MouseUp(short& /*Button*/, short& /*Shift*/, float& /*X*/,
                                     float& /*Y*/)
    {}
    virtual void UserControl_AccessKeyPress(short& /*KeyAscii*/) {}
    virtual void UserControl_GotFocus() {}
    virtual void UserControl_LostFocus() {}

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    // The relays' events, raised as the hooks.
    void raiseMouseDown(short& b, short& s, float& x, float& y) override
    {
        UserControl_MouseDown(b, s, x, y);
    }
    void raiseMouseMove(short& b, short& s, float& x, float& y) override
    {
        UserControl_MouseMove(b, s, x, y);
    }
    void raiseMouseUp(short& b, short& s, float& x, float& y) override
    {
        UserControl_MouseUp(b, s, x, y);
    }
    void raiseClick() override { UserControl_Click(); }
    void raiseDblClick() override { UserControl_DblClick(); }
    void raiseKeyDown(short& code, short& shift) override { UserControl_KeyDown(code, shift); }
    void raiseKeyPress(short& ascii) override { UserControl_KeyPress(ascii); }
    void raiseKeyUp(short& code, short& shift) override { UserControl_KeyUp(code, shift); }
    void raiseGotFocus() override { UserControl_GotFocus(); }
    void raiseLostFocus() override { UserControl_LostFocus(); }
    // Positions in the surface's own scale, from its contents' top-left.
    QPointF toEventUnits(const QPointF& pixels) const override;
    void applyCharacter(QKeyEvent* event, short, short, bool) override { passKeyOn(event); }
    void passKeyOn(QKeyEvent* event) override;

private:
    void raiseResizeIfChanged();
    void raiseAccessKey(QChar key);
    void routeSharedAccessKey(QChar key);
    void watchAncestors();

    TwipsGeometry m_geometry;
    QSize m_lastResizeSize;
    bool m_lifeStarted = false;
    bool m_canGetFocus = true;
    bool m_terminated = false;
    bool m_showRaised = false;
    QString m_accessKeys;
    QList<QShortcut*> m_accessShortcuts;
    QList<QMetaObject::Connection> m_ancestorWatch;
    QStringList m_deferredNames;
    std::function<void()> m_makeDeferred;
};

} // namespace host
