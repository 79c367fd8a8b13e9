#include "host/widgets/UserControl.h"

#include "host/persist/PropertyBag.h"
#include "host/services/Guard.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/Form.h"
#include "host/widgets/Keys.h"
#include "host/widgets/Lifetime.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QShortcut>

namespace host {

namespace {

const char* const TabIndexProperty = "_kv_tabIndex";

short buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

short buttonsCode(Qt::MouseButtons buttons)
{
    short code = 0;
    if (buttons & Qt::LeftButton) code |= 1;
    if (buttons & Qt::RightButton) code |= 2;
    if (buttons & Qt::MiddleButton) code |= 4;
    return code;
}

bool isQtClass(const QMetaObject* mo)
{
    const char* name = mo->className();
    return name[0] == 'Q' && (name[1] >= 'A' && name[1] <= 'Z');
}

// The control's own property (declared below Qt's classes) of that name, without regard to case.
QMetaProperty ownProperty(const QObject* control, const QString& name)
{
    for (const QMetaObject* mo = control->metaObject(); mo && !isQtClass(mo);
         mo = mo->superClass()) {
        for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i) {
            const QMetaProperty p = mo->property(i);
            if (QString::fromLatin1(p.name()).compare(name, Qt::CaseInsensitive) == 0) return p;
        }
    }
    return {};
}

QVariant toQVariant(const QMetaProperty& p, const Variant& value)
{
    if (p.isEnumType()) return QVariant(int(value.toLong()));
    const int type = p.metaType().id();
    switch (type) {
    case QMetaType::Bool:
        return QVariant(value.toBoolean());
    case QMetaType::Short:
        return QVariant::fromValue(value.toInteger());
    case QMetaType::Int:
        return QVariant(int(value.toLong()));
    case QMetaType::UInt:
        return QVariant(uint(quint32(value.toLong())));
    case QMetaType::Float:
        return QVariant(value.toSingle());
    case QMetaType::Double:
        return QVariant(value.toDouble());
    case QMetaType::QString:
        return QVariant(value.toString());
    default:
        break;
    }
    if (type == qMetaTypeId<FontRef>()) return QVariant::fromValue(value.toFont());
    if (type == qMetaTypeId<PictureRef>()) return QVariant::fromValue(value.toPicture());
    if (type == qMetaTypeId<Variant>()) return QVariant::fromValue(value);
    raiseError(Err::TypeMismatch);
}

Variant fromQVariant(const QVariant& v)
{
    const int type = v.metaType().id();
    switch (type) {
    case QMetaType::Bool:
        return Variant(v.toBool());
    case QMetaType::Short:
        return Variant(short(v.toInt()));
    case QMetaType::UShort:
        return Variant(int(v.toUInt()));
    case QMetaType::Int:
        return Variant(v.toInt());
    case QMetaType::UInt:
        return Variant(uint(v.toUInt()));
    case QMetaType::Float:
        return Variant(v.toFloat());
    case QMetaType::Double:
        return Variant(v.toDouble());
    case QMetaType::QString:
        return Variant(v.toString());
    default:
        break;
    }
    if (type == qMetaTypeId<FontRef>()) return Variant(v.value<FontRef>());
    if (type == qMetaTypeId<PictureRef>()) return Variant(v.value<PictureRef>());
    if (type == qMetaTypeId<Variant>()) return v.value<Variant>();
    if (v.canConvert<int>()) return Variant(v.toInt()); // enumerations
    raiseError(Err::TypeMismatch);
}

[[noreturn]] void readOnly(const QString& name)
{
    raiseError(383, QStringLiteral("'%1' property is read-only").arg(name));
}

bool sameName(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// Geometry in twips of any widget: a UserControl keeps its exact twips, other widgets are
// measured from their pixels.
float twipsOf(QWidget* w, int which)
{
    if (auto* uc = qobject_cast<UserControl*>(w)) {
        const TwipsGeometry& g = uc->geometryTwips();
        const float values[] = {g.get_Left(), g.get_Top(), g.get_Width(), g.get_Height()};
        return values[which];
    }
    const QRect r = w->geometry();
    const int px[] = {r.x(), r.y(), r.width(), r.height()};
    return float(px[which] * (which % 2 == 0 ? twipsPerPixelX(w) : twipsPerPixelY(w)));
}

void setTwipsOf(QWidget* w, int which, float twips)
{
    if (auto* uc = qobject_cast<UserControl*>(w)) {
        ControlExtender e(uc);
        switch (which) {
        case 0:
            e.put_Left(twips);
            break;
        case 1:
            e.put_Top(twips);
            break;
        case 2:
            e.put_Width(twips);
            break;
        default:
            e.put_Height(twips);
            break;
        }
        return;
    }
    if (!std::isfinite(twips) || (which >= 2 && twips < 0)) raiseError(Err::InvalidPropertyValue);
    QRect r = w->geometry();
    const int px = which % 2 == 0 ? twipsToPixelsX(twips, w) : twipsToPixelsY(twips, w);
    switch (which) {
    case 0:
        r.moveLeft(px);
        break;
    case 1:
        r.moveTop(px);
        break;
    case 2:
        r.setWidth(px);
        break;
    default:
        r.setHeight(px);
        break;
    }
    w->setGeometry(r);
}

short tabIndexOfWidget(const QWidget* w)
{
    if (const Form* form = Form::of(w)) {
        const short index = form->tabIndexOf(w);
        if (index >= 0) return index;
    }
    return short(w->property(TabIndexProperty).toInt());
}

void setTabIndexOfWidget(QWidget* w, short index)
{
    if (index < 0) raiseError(Err::InvalidPropertyValue);
    if (Form* form = Form::of(w); form && form->tabIndexOf(w) >= 0) {
        form->setTabIndex(w, index);
        return;
    }
    w->setProperty(TabIndexProperty, int(index));
}

} // namespace

// ---------------------------------------------------------------- late binding

QString TypeName(const QObject* control)
{
    if (!control) return QStringLiteral("Nothing");
    const QString name = QString::fromLatin1(control->metaObject()->className());
    const qsizetype colons = name.lastIndexOf(QLatin1String("::"));
    return colons < 0 ? name : name.mid(colons + 2);
}

bool TypeOf(const QObject* control, const QString& className)
{
    if (!control) return false;
    for (const QMetaObject* mo = control->metaObject(); mo; mo = mo->superClass()) {
        QString name = QString::fromLatin1(mo->className());
        const qsizetype colons = name.lastIndexOf(QLatin1String("::"));
        if (colons >= 0) name = name.mid(colons + 2);
        if (name.compare(className, Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

Variant CallByNameGet(QObject* control, const QString& name)
{
    if (!control) raiseError(Err::ObjectVariableNotSet);
    if (const QMetaProperty p = ownProperty(control, name); p.isValid()) {
        if (!p.isReadable()) raiseError(Err::MethodNotSupported);
        return fromQVariant(p.read(control));
    }
    auto* w = qobject_cast<QWidget*>(control);
    if (w) {
        if (sameName(name, "Name")) return Variant(w->objectName());
        if (sameName(name, "Left")) return Variant(twipsOf(w, 0));
        if (sameName(name, "Top")) return Variant(twipsOf(w, 1));
        if (sameName(name, "Width")) return Variant(twipsOf(w, 2));
        if (sameName(name, "Height")) return Variant(twipsOf(w, 3));
        if (sameName(name, "Visible")) return Variant(!w->isHidden());
        if (sameName(name, "Enabled")) return Variant(w->isEnabled());
        if (sameName(name, "ToolTipText")) return Variant(w->toolTip());
        if (sameName(name, "TabIndex")) return Variant(tabIndexOfWidget(w));
    }
    raiseError(Err::MethodNotSupported);
}

void CallByNameLet(QObject* control, const QString& name, const Variant& value)
{
    if (!control) raiseError(Err::ObjectVariableNotSet);
    if (const QMetaProperty p = ownProperty(control, name); p.isValid()) {
        if (!p.isWritable()) readOnly(QString::fromLatin1(p.name()));
        if (!p.write(control, toQVariant(p, value))) raiseError(Err::TypeMismatch);
        return;
    }
    auto* w = qobject_cast<QWidget*>(control);
    if (w) {
        if (sameName(name, "Name")) readOnly(QStringLiteral("Name"));
        if (sameName(name, "Left")) return setTwipsOf(w, 0, value.toSingle());
        if (sameName(name, "Top")) return setTwipsOf(w, 1, value.toSingle());
        if (sameName(name, "Width")) return setTwipsOf(w, 2, value.toSingle());
        if (sameName(name, "Height")) return setTwipsOf(w, 3, value.toSingle());
        if (sameName(name, "Visible")) return w->setVisible(value.toBoolean());
        if (sameName(name, "Enabled")) return w->setEnabled(value.toBoolean());
        if (sameName(name, "ToolTipText")) return w->setToolTip(value.toString());
        if (sameName(name, "TabIndex")) return setTabIndexOfWidget(w, value.toInteger());
    }
    raiseError(Err::MethodNotSupported);
}

QList<QWidget*> containerControls(const QWidget* container)
{
    QList<QWidget*> result;
    if (!container) return result;
    for (QObject* child : container->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow() || isDisposed(w)) continue;
        const QString name = w->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
        result.append(w);
    }
    return result;
}

// ---------------------------------------------------------------- Ambient

QString AmbientProperties::get_DisplayName() const
{
    return m_control->objectName();
}

FontRef AmbientProperties::get_Font() const
{
    if (const Form* form = Form::of(m_control))
        if (FontRef font = form->get_Font()) return font->clone();
    return StdFont::create();
}

OleColor AmbientProperties::get_BackColor() const
{
    if (const Form* form = Form::of(m_control)) return form->get_BackColor();
    return SystemColor::ButtonFace;
}

OleColor AmbientProperties::get_ForeColor() const
{
    return SystemColor::ButtonText;
}

// ---------------------------------------------------------------- Extender

QString ControlExtender::get_Name() const
{
    return m_control->objectName();
}

float ControlExtender::get_Left() const
{
    return m_control->geometryTwips().get_Left();
}

float ControlExtender::get_Top() const
{
    return m_control->geometryTwips().get_Top();
}

float ControlExtender::get_Width() const
{
    return m_control->get_Width();
}

float ControlExtender::get_Height() const
{
    return m_control->get_Height();
}

void ControlExtender::put_Left(float twips)
{
    m_control->geometryTwips().put_Left(twips);
}

void ControlExtender::put_Top(float twips)
{
    m_control->geometryTwips().put_Top(twips);
}

void ControlExtender::put_Width(float twips)
{
    m_control->put_Width(twips);
}

void ControlExtender::put_Height(float twips)
{
    m_control->put_Height(twips);
}

void ControlExtender::Move(float left, float top, float width, float height)
{
    m_control->geometryTwips().setRect(left, top, width, height);
    m_control->put_Width(width); // raises Resize when the pixels changed
}

bool ControlExtender::get_Visible() const
{
    return !m_control->isHidden();
}

void ControlExtender::put_Visible(bool visible)
{
    m_control->setVisible(visible);
}

bool ControlExtender::get_Enabled() const
{
    return m_control->isEnabled();
}

void ControlExtender::put_Enabled(bool enabled)
{
    m_control->setEnabled(enabled);
}

short ControlExtender::get_TabIndex() const
{
    return tabIndexOfWidget(m_control);
}

void ControlExtender::put_TabIndex(short index)
{
    setTabIndexOfWidget(m_control, index);
}

QString ControlExtender::get_ToolTipText() const
{
    return m_control->toolTip();
}

void ControlExtender::put_ToolTipText(const QString& text)
{
    m_control->setToolTip(text);
}

QWidget* ControlExtender::get_Container() const
{
    return m_control->parentWidget();
}

QList<QWidget*> ControlExtender::ContainerControls() const
{
    return containerControls(m_control->parentWidget());
}

QString ControlExtender::TypeName() const
{
    return host::TypeName(m_control);
}

bool ControlExtender::TypeOf(const QString& className) const
{
    return host::TypeOf(m_control, className);
}

Variant ControlExtender::getProperty(const QString& name) const
{
    return CallByNameGet(m_control, name);
}

void ControlExtender::setProperty(const QString& name, const Variant& value)
{
    CallByNameLet(m_control, name, value);
}

// ---------------------------------------------------------------- UserControl

UserControl::UserControl(QWidget* parent) : QWidget(parent), Canvas(this), m_geometry(this)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

UserControl::~UserControl()
{
    // A control deleted directly (not disposed, its container alive) can no longer reach its
    // own Terminate here: the derived part is gone. dispose() is the way to remove a control.
    for (const auto& c : std::as_const(m_ancestorWatch))
        disconnect(c);
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
    guard([&] { UserControl_Initialize(); });
    if (bag) {
        PropertyBag copy = *bag;
        guard([&] { UserControl_ReadProperties(copy); });
    } else {
        guard([&] { UserControl_InitProperties(); });
    }
    m_lifeStarted = true;
    m_lastResizeSize = size();
    guard([&] { UserControl_Resize(); });
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
    guard([&] { UserControl_Terminate(); });
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
        connect(shortcut, &QShortcut::activated, this, [this, upper] {
            guard([&] {
                short keyAscii = short(upper.unicode());
                UserControl_AccessKeyPress(keyAscii);
            });
        });
        m_accessShortcuts.append(shortcut);
    }
}

void UserControl::raiseResizeIfChanged()
{
    if (!m_lifeStarted || m_terminated || size() == m_lastResizeSize) return;
    m_lastResizeSize = size();
    guard([&] { UserControl_Resize(); });
}

bool UserControl::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::DeferredDelete:
        guard([&] { terminate(); });
        break;
    case QEvent::ParentChange:
        if (m_lifeStarted) watchAncestors();
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        // Tab and Shift+Tab never reach keyPressEvent: they raise KeyDown here, and a handler
        // that zeroes KeyCode keeps the focus where it is.
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            bool stopped = false;
            guard([&] {
                short keyCode = 9;
                short shift = shiftMask(key->modifiers());
                LifeGuard alive(this);
                previewKeyDown(this, keyCode, shift);
                if (alive && keyCode != 0) UserControl_KeyDown(keyCode, shift);
                stopped = keyCode == 0 || !alive;
            });
            if (stopped) {
                event->accept();
                return true;
            }
        }
        break;
    }
    default:
        break;
    }
    return QWidget::event(event);
}

void UserControl::paintEvent(QPaintEvent* event)
{
    if (m_lifeStarted && !m_terminated)
        paintOwner(event, [this] { UserControl_Paint(); });
    else
        paintOwner(event);
}

void UserControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    guard([&] {
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
    guard([&] { UserControl_Show(); });
}

void UserControl::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous() || !m_showRaised) return;
    m_showRaised = false;
    if (!m_terminated) guard([&] { UserControl_Hide(); });
}

void UserControl::mouseArgs(const QMouseEvent* event, short& shift, float& x, float& y) const
{
    const QPointF pos = event->position() - QPointF(contentsRect().topLeft());
    shift = shiftMask(event->modifiers());
    x = scaleXFromPixels(pos.x());
    y = scaleYFromPixels(pos.y());
}

void UserControl::mousePressEvent(QMouseEvent* event)
{
    // Qt keeps delivering to this widget while a button is held, which is the runtime's capture.
    guard([&] {
        short button = buttonCode(event->button()), shift;
        float x, y;
        mouseArgs(event, shift, x, y);
        m_clickAfterDouble = false;
        UserControl_MouseDown(button, shift, x, y);
    });
}

void UserControl::mouseReleaseEvent(QMouseEvent* event)
{
    guard([&] {
        short button = buttonCode(event->button()), shift;
        float x, y;
        mouseArgs(event, shift, x, y);
        const bool click = event->button() == Qt::LeftButton && !m_clickAfterDouble &&
                           rect().contains(event->position().toPoint());
        m_clickAfterDouble = false;
        LifeGuard alive(this);
        UserControl_MouseUp(button, shift, x, y);
        if (click && alive) UserControl_Click();
    });
}

void UserControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Down, Up, Click, DblClick, Up: the second press raises DblClick alone, and its release
    // raises MouseUp without a Click.
    guard([&] {
        if (event->button() != Qt::LeftButton) {
            mousePressEvent(event);
            return;
        }
        m_clickAfterDouble = true;
        UserControl_DblClick();
    });
}

void UserControl::mouseMoveEvent(QMouseEvent* event)
{
    guard([&] {
        short button = buttonsCode(event->buttons()), shift;
        float x, y;
        mouseArgs(event, shift, x, y);
        UserControl_MouseMove(button, shift, x, y);
    });
}

void UserControl::handleKeyDown(QKeyEvent* event)
{
    short keyCode = virtualKeyCode(event);
    short shift = shiftMask(event->modifiers());
    const bool hadCode = keyCode != 0;
    LifeGuard alive(this);
    // A KeyCode zeroed by a handler stops the key's own action, not the character it types:
    // KeyPress still follows, as forms that read digits in KeyPress rely on.
    if (hadCode) {
        previewKeyDown(this, keyCode, shift);
        if (!alive) return;
        if (keyCode != 0) UserControl_KeyDown(keyCode, shift);
        if (!alive) return;
    }
    short keyAscii = keyAsciiOf(event);
    if (keyAscii == 0) return;
    previewKeyPress(this, keyAscii);
    if (!alive || keyAscii == 0) return;
    UserControl_KeyPress(keyAscii);
}

void UserControl::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    guard([&] { handleKeyDown(event); });
}

void UserControl::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    if (event->isAutoRepeat()) return;
    guard([&] {
        short keyCode = virtualKeyCode(event);
        short shift = shiftMask(event->modifiers());
        if (keyCode == 0) return;
        LifeGuard alive(this);
        previewKeyUp(this, keyCode, shift);
        if (alive && keyCode != 0) UserControl_KeyUp(keyCode, shift);
    });
}

void UserControl::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    // Activating the window (a message box closing) is no focus move between controls.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    guard([&] { UserControl_GotFocus(); });
}

void UserControl::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    guard([&] { UserControl_LostFocus(); });
}

} // namespace host
