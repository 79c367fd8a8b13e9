#include "host/widgets/LateBinding.h"

#include "host/value/RuntimeError.h"
#include "host/widgets/Extender.h"
#include "host/widgets/FormSite.h"
#include "host/widgets/Lifetime.h"
#include "host/widgets/UserControl.h"

#include <QMetaProperty>
#include <QWidget>
#include <cmath>

namespace host {

namespace {

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
    case QMetaType::UInt: // the unsigned properties are OLE colours, which may come unsigned
        return QVariant(uint(value.toOleColor()));
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
    twips = boundedTwips(twips, which >= 2);
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
        if (sameName(name, "Enabled")) return Variant(!w->testAttribute(Qt::WA_ForceDisabled));
        if (sameName(name, "ToolTipText")) return Variant(w->toolTip());
        if (sameName(name, "TabIndex")) return Variant(tabIndexOfControl(w));
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
        if (sameName(name, "TabIndex")) return setTabIndexOfControl(w, value.toInteger());
    }
    raiseError(Err::MethodNotSupported);
}

void CallMethod(QObject* control, const QString& name)
{
    if (!control) raiseError(Err::ObjectVariableNotSet);
    for (const QMetaObject* mo = control->metaObject(); mo && !isQtClass(mo);
         mo = mo->superClass()) {
        for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
            const QMetaMethod m = mo->method(i);
            if (m.access() != QMetaMethod::Public || m.methodType() == QMetaMethod::Signal ||
                m.parameterCount() != 0 ||
                QString::fromLatin1(m.name()).compare(name, Qt::CaseInsensitive) != 0)
                continue;
            // Straight into the class's own generated dispatch, so an error the method raises
            // reaches the caller through the control's code alone.
            void* args[] = {nullptr};
            control->qt_metacall(QMetaObject::InvokeMetaMethod, i, args);
            return;
        }
    }
    raiseError(Err::MethodNotSupported);
}

bool isControlWidget(const QWidget* widget)
{
    const QString name = widget->objectName();
    return !widget->isWindow() && !name.isEmpty() && !name.startsWith(QLatin1String("qt_")) &&
           !isDisposed(widget);
}

namespace {

void collectControls(const QWidget* parent, QList<QWidget*>& out)
{
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow()) continue;
        const bool control = isControlWidget(w);
        if (control) out.append(w);
        // A UserControl's widgets are its own; frames and picture boxes hold the form's.
        if (!control || !qobject_cast<UserControl*>(w)) collectControls(w, out);
    }
}

const QWidget* containerOf(const QWidget* control)
{
    const QWidget* p = control->parentWidget();
    while (p && !p->isWindow() && !isControlWidget(p))
        p = p->parentWidget();
    return p;
}

} // namespace

QList<QWidget*> controlsUnder(const QWidget* root)
{
    QList<QWidget*> result;
    if (root) collectControls(root, result);
    return result;
}

QList<QWidget*> containerControls(const QWidget* container)
{
    QList<QWidget*> result = controlsUnder(container);
    result.removeIf([container](const QWidget* w) { return containerOf(w) != container; });
    return result;
}

QWidget* childNamed(QWidget* parent, const QString& name)
{
    if (!parent) return nullptr;
    auto* control = qobject_cast<UserControl*>(parent);
    if (control && control->defers(name)) return control->constituent(name);
    const QList<QWidget*> all = parent->findChildren<QWidget*>();
    for (QWidget* w : all)
        if (w->objectName() == name) return w;
    for (QWidget* w : all)
        if (w->objectName().compare(name, Qt::CaseInsensitive) == 0) return w;
    return nullptr;
}

} // namespace host
