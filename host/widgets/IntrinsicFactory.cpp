#include "host/widgets/IntrinsicFactory.h"

#include "host/value/RuntimeError.h"
#include "host/widgets/ComboBox.h"
#include "host/widgets/CommandButton.h"
#include "host/widgets/Frame.h"
#include "host/widgets/Image.h"
#include "host/widgets/Intrinsic.h"
#include "host/widgets/Label.h"
#include "host/widgets/LineControl.h"
#include "host/widgets/PictureBox.h"
#include "host/widgets/Shape.h"
#include "host/widgets/TextBox.h"
#include "host/widgets/Timer.h"
#include "host/widgets/UserControl.h"

#include <QFontInfo>
#include <QMetaProperty>
#include <QWidget>
#include <memory>

namespace host {

namespace {

using Maker = QObject* (*)(QWidget* parent, const QString& name);

struct IntrinsicClass {
    const char* className;
    const QMetaObject* metaObject;
    Maker make;
};

template <class T>
QObject* makeWidget(QWidget* parent, const QString& name)
{
    return new T(parent, name);
}

QObject* makeTimer(QWidget* parent, const QString& name)
{
    return new Timer(parent, name);
}

const QList<IntrinsicClass>& table()
{
    static const QList<IntrinsicClass> classes{
        {"VB.Label", &Label::staticMetaObject, &makeWidget<Label>},
        {"VB.TextBox", &TextBox::staticMetaObject, &makeWidget<TextBox>},
        {"VB.CommandButton", &CommandButton::staticMetaObject, &makeWidget<CommandButton>},
        {"VB.ComboBox", &ComboBox::staticMetaObject, &makeWidget<ComboBox>},
        {"VB.Frame", &Frame::staticMetaObject, &makeWidget<Frame>},
        {"VB.PictureBox", &PictureBox::staticMetaObject, &makeWidget<PictureBox>},
        {"VB.Image", &Image::staticMetaObject, &makeWidget<Image>},
        {"VB.Shape", &Shape::staticMetaObject, &makeWidget<Shape>},
        {"VB.Line", &LineControl::staticMetaObject, &makeWidget<LineControl>},
        {"VB.Timer", &Timer::staticMetaObject, &makeTimer},
    };
    return classes;
}

const IntrinsicClass* byName(const QString& className)
{
    for (const IntrinsicClass& c : table())
        if (className.compare(QLatin1String(c.className), Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

const IntrinsicClass* byObject(const QObject* object)
{
    if (!object) return nullptr;
    for (const IntrinsicClass& c : table())
        if (object->metaObject() == c.metaObject) return &c;
    return nullptr;
}

bool isPlacement(const char* name)
{
    for (const char* p : {"Left", "Top", "Width", "Height"})
        if (qstrcmp(name, p) == 0) return true;
    return false;
}

bool sameName(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// Whether two fonts show the same: a face name and its substitute ("MS Sans Serif" and the
// Liberation face drawn for it) are one look.
bool sameLook(const QFont& a, const QFont& b)
{
    const QFontInfo x(a), y(b);
    return x.family() == y.family() && qFuzzyCompare(x.pointSizeF(), y.pointSizeF()) &&
           x.weight() == y.weight() && x.italic() == y.italic() && a.underline() == b.underline() &&
           a.strikeOut() == b.strikeOut();
}

} // namespace

bool isIntrinsicClass(const QString& className)
{
    return byName(className) != nullptr;
}

QStringList intrinsicClassNames()
{
    QStringList names;
    for (const IntrinsicClass& c : table())
        names << QLatin1String(c.className);
    return names;
}

QObject* createIntrinsic(const QString& className, QWidget* parent, const QString& name, int index)
{
    const IntrinsicClass* c = byName(className);
    if (!c) return nullptr;
    const QString objectName = index >= 0 ? QStringLiteral("%1(%2)").arg(name).arg(index) : name;
    QObject* object = c->make(parent, objectName);
    if (index >= 0)
        if (auto* intrinsic = dynamic_cast<Intrinsic*>(object))
            intrinsic->setArrayIndex(short(index));
    return object;
}

QString intrinsicClassName(const QObject* object)
{
    const IntrinsicClass* c = byObject(object);
    return c ? QLatin1String(c->className) : QString();
}

bool intrinsicHasGeometry(const QObject* object)
{
    return qobject_cast<const QWidget*>(object) && !qobject_cast<const LineControl*>(object);
}

void applyIntrinsicProperties(QObject* object, const PropertyBag& properties)
{
    for (const PropertyBag::Item& item : properties.items()) {
        if (sameName(item.first, "Font")) {
            auto* intrinsic = dynamic_cast<Intrinsic*>(object);
            if (!intrinsic) raiseError(Err::MethodNotSupported);
            const FontRef font = item.second.toFont();
            intrinsic->putref_Font(font ? font->clone() : FontRef());
            continue;
        }
        CallByNameLet(object, item.first, item.second);
    }
}

PropertyBag intrinsicProperties(const QObject* object)
{
    PropertyBag bag;
    const IntrinsicClass* c = byObject(object);
    if (!c) return bag;
    // The defaults are those of a new widget on a window not yet shown, as build creates them.
    auto host = std::make_unique<QWidget>();
    QObject* fresh = c->make(host.get(), QStringLiteral("defaults"));
    auto* self = const_cast<QObject*>(object);
    const QMetaObject* meta = object->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        if (!p.isWritable() || !p.isReadable() || p.isUser()) continue;
        // Only the runtime's properties (PascalCase), not Qt's own (objectName, geometry, ...).
        const QString name = QLatin1String(p.name());
        if (name.isEmpty() || !name.at(0).isUpper() || isPlacement(p.name())) continue;
        const Variant value = CallByNameGet(self, name);
        if (value == CallByNameGet(fresh, name)) continue;
        bag.WriteProperty(name, value);
    }
    // The font, when the widget shows another one than its container gives it.
    if (const auto* intrinsic = dynamic_cast<const Intrinsic*>(object)) {
        const auto* widget = qobject_cast<const QWidget*>(object);
        const QWidget* parent = widget ? widget->parentWidget() : nullptr;
        const FontRef font = intrinsic->get_Font();
        if (font && parent && !sameLook(font->toQFont(), parent->font()))
            bag.WriteProperty(QStringLiteral("Font"), Variant(font));
    }
    return bag;
}

} // namespace host
