#include "host/widgets/UserControl.h"

#include "host/persist/PropertyBag.h"
#include "host/services/Guard.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/FormSite.h"
#include "host/widgets/Keys.h"
#include "host/widgets/Lifetime.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcut>

namespace host {

// ---------------------------------------------------------------- UserControl

UserControl::UserControl(QWidget* parent) : SurfaceBase(parent), Canvas(this), m_geometry(this)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    installAccessibleFactory();
}

UserControl::~UserControl()
{
    // A control deleted directly (not disposed, its container alive) can no longer reach its
    // own Terminate here: the derived part is gone. dispose() is the way to remove a control.
    for (const auto& c : std::as_const(m_ancestorWatch))
        disconnect(c);
}

void UserControl::deferConstituents(QStringList names, std::function<void()> make)
{
    m_deferredNames = std::move(names);
    m_makeDeferred = std::move(make);
}

void UserControl::makeDeferred()
{
    // Taken out first: the constituents made may ask for each other while being made.
    const std::function<void()> make = std::exchange(m_makeDeferred, nullptr);
    m_deferredNames.clear();
    if (make) make();
}

QWidget* UserControl::constituent(const QString& name)
{
    if (defers(name)) makeDeferred();
    return childNamed(this, name);
}

void UserControl::setDesignSize(float widthTwips, float heightTwips)
{
    m_geometry.put_Width(widthTwips);
    m_geometry.put_Height(heightTwips);
}

void UserControl::startLife(const QString& name, const PropertyBag* bag)
{
    if (m_lifeStarted) return;
    setObjectName(name);
    // A control whose constituents take the focus is not a tab stop itself, as on the runtime.
    for (QWidget* child : findChildren<QWidget*>())
        if (child->focusPolicy() & Qt::TabFocus) {
            setFocusPolicy(Qt::NoFocus);
            break;
        }
    if (!m_canGetFocus) setFocusPolicy(Qt::NoFocus);
    guardIn(this, [&] { UserControl_Initialize(); });
    if (bag) {
        PropertyBag copy = *bag;
        guardIn(this, [&] { UserControl_ReadProperties(copy); });
    } else {
        guardIn(this, [&] { UserControl_InitProperties(); });
    }
    m_lifeStarted = true;
    m_lastResizeSize = size();
    guardIn(this, [&] { UserControl_Resize(); });
    watchAncestors();
}

void UserControl::watchAncestors()
{
    for (const auto& c : std::as_const(m_ancestorWatch))
        disconnect(c);
    m_ancestorWatch.clear();
    // A widget announces its destruction before it deletes its children, so Terminate still
    // runs on a whole control when its window is deleted.
    for (QWidget* a = parentWidget(); a; a = a->parentWidget())
        m_ancestorWatch.append(connect(a, &QObject::destroyed, this, [this] { terminate(); }));
}

void UserControl::terminate()
{
    if (!m_lifeStarted || m_terminated) return;
    m_terminated = true;
    guardIn(this, [&] { UserControl_Terminate(); });
    for (UserControl* inner : findChildren<UserControl*>())
        inner->terminate();
}

void UserControl::saveTo(PropertyBag& bag)
{
    UserControl_WriteProperties(bag);
}

void UserControl::PropertyChanged(const QString& name)
{
    Q_EMIT propertyChanged(name);
}

void UserControl::put_Width(float twips)
{
    m_geometry.put_Width(twips);
    raiseResizeIfChanged();
}

void UserControl::put_Height(float twips)
{
    m_geometry.put_Height(twips);
    raiseResizeIfChanged();
}

void UserControl::put_AccessKeys(const QString& keys)
{
    qDeleteAll(m_accessShortcuts);
    m_accessShortcuts.clear();
    m_accessKeys = keys;
    for (const QChar ch : keys) {
        const QChar upper = ch.toUpper();
        if (!upper.isLetterOrNumber()) continue;
        auto* shortcut = new QShortcut(
            QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(upper.unicode()))), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, upper] { raiseAccessKey(upper); });
        // Several controls of the window share the key: Qt fires none of them outright.
        connect(shortcut, &QShortcut::activatedAmbiguously, this,
                [this, upper] { routeSharedAccessKey(upper); });
        m_accessShortcuts.append(shortcut);
    }
}

void UserControl::raiseAccessKey(QChar key)
{
    guardIn(this, [&] {
        short keyAscii = short(key.unicode());
        UserControl_AccessKeyPress(keyAscii);
    });
}

void UserControl::routeSharedAccessKey(QChar key)
{
    // The key goes to the next control after the focused one, in tab order, that has it.
    const FormSite* site = FormSite::of(this);
    const QList<QWidget*> order = site ? site->controls() : containerControls(parentWidget());
    const QWidget* focus = QApplication::focusWidget();
    UserControl* first = nullptr;
    UserControl* next = nullptr;
    bool pastFocus = false;
    for (QWidget* w : order) {
        auto* uc = qobject_cast<UserControl*>(w);
        const bool holds = uc && uc->isEnabled() && uc->isVisible() &&
                           uc->m_accessKeys.contains(key, Qt::CaseInsensitive);
        if (holds && !first) first = uc;
        if (holds && pastFocus && !next) next = uc;
        if (focus && (w == focus || w->isAncestorOf(focus))) pastFocus = true;
    }
    if (UserControl* target = next ? next : first) target->raiseAccessKey(key);
}

void UserControl::raiseResizeIfChanged()
{
    if (!m_lifeStarted || m_terminated || size() == m_lastResizeSize) return;
    m_lastResizeSize = size();
    guardIn(this, [&] { UserControl_Resize(); });
}

bool UserControl::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::DeferredDelete:
        guardIn(this, [&] { terminate(); });
        break;
    case QEvent::ParentChange:
        forgetScreen();
        if (m_lifeStarted) watchAncestors();
        break;
    case QEvent::ScreenChangeInternal:
        forgetScreen();
        break;
    default:
        break;
    }
    return SurfaceBase::event(event);
}

void UserControl::paintEvent(QPaintEvent* event)
{
    if (m_lifeStarted && !m_terminated)
        paintOwner(event, [this] {
            ErrorSourceScope scope(projectOf(this));
            UserControl_Paint();
        });
    else
        paintOwner(event);
}

void UserControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    guardIn(this, [&] {
        m_geometry.syncFromWidget();
        raiseResizeIfChanged();
    });
}

void UserControl::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    m_geometry.syncFromWidget();
}

void UserControl::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous() || !m_lifeStarted || m_terminated || m_showRaised) return;
    m_showRaised = true;
    guardIn(this, [&] { UserControl_Show(); });
}

void UserControl::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous() || !m_showRaised) return;
    m_showRaised = false;
    if (!m_terminated) guardIn(this, [&] { UserControl_Hide(); });
}

QPointF UserControl::toEventUnits(const QPointF& pixels) const
{
    const QPointF inside = pixels - QPointF(contentsRect().topLeft());
    return QPointF(scaleXFromPixels(inside.x()), scaleYFromPixels(inside.y()));
}

void UserControl::passKeyOn(QKeyEvent* event)
{
    // The surface is the control: a key it does not use goes nowhere else.
    event->accept();
}

} // namespace host
