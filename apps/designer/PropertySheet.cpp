#include "PropertySheet.h"

#include "host/services/Guard.h"
#include "host/value/OleColor.h"
#include "host/value/StdFont.h"
#include "host/widgets/UserControl.h"
#include "library/module/TypeLibrary.h"

#include <QColor>
#include <QExtensionManager>
#include <QFont>
#include <memory>
#include <optional>

namespace kvdesigner {

namespace {

// The colour an OLE_COLOR draws; none for a value that names no colour.
std::optional<QColor> drawnColor(host::OleColor color)
{
    try {
        return host::toQColor(color);
    } catch (const host::RuntimeError&) {
        return std::nullopt;
    }
}

// A whole number as Designer and .ui files give an OLE_COLOR: <number> is signed, so a system
// colour comes as a negative one; <UInt> and the editor's own values are unsigned.
std::optional<host::OleColor> colorNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        const qlonglong n = value.toLongLong();
        if (n < qlonglong(INT32_MIN) || n > qlonglong(UINT32_MAX)) return std::nullopt;
        return host::OleColor(n);
    }
    default:
        return std::nullopt;
    }
}

ValueKind kindOf(host::BaseType type)
{
    switch (type) {
    case host::BaseType::Color:
        return ValueKind::Color;
    case host::BaseType::Font:
        return ValueKind::Font;
    case host::BaseType::Single:
        return ValueKind::Single;
    default:
        return ValueKind::AsIs;
    }
}

const host::ClassDescription* classOf(const QObject* object)
{
    if (!qobject_cast<const host::UserControl*>(object)) return nullptr;
    for (const host::ClassDescription& cls : Kv_CTRL::typeLibrary().classes)
        if (cls.metaObject == object->metaObject()) return &cls;
    return nullptr;
}

} // namespace

PropertySheet::PropertySheet(QDesignerPropertySheetExtension* designers, const ClassValues* values,
                             QObject* parent)
    : QObject(parent), m_designers(designers), m_values(values)
{}

ValueKind PropertySheet::kindOf(int index) const
{
    return m_values->kinds.value(m_designers->propertyName(index), ValueKind::AsIs);
}

QVariant PropertySheet::property(int index) const
{
    const QVariant value = m_designers->property(index);
    switch (kindOf(index)) {
    case ValueKind::Color: {
        const auto color = host::OleColor(value.toUInt());
        if (host::isSystemColor(color) && m_designers->isChanged(index)) return value;
        const std::optional<QColor> drawn = drawnColor(color);
        return drawn ? QVariant(*drawn) : value;
    }
    case ValueKind::Font:
        if (const host::FontRef font = value.value<host::FontRef>()) return font->toNamedQFont();
        return value;
    case ValueKind::Single:
        return QVariant(double(value.toFloat()));
    case ValueKind::AsIs:
        break;
    }
    return value;
}

void PropertySheet::setProperty(int index, const QVariant& value)
{
    QVariant set = value;
    switch (kindOf(index)) {
    case ValueKind::Color:
        if (value.typeId() == QMetaType::QColor) {
            const auto current = host::OleColor(m_designers->property(index).toUInt());
            const QColor wanted = value.value<QColor>().toRgb();
            if (drawnColor(current) == QColor(wanted.rgb())) return;
            set = QVariant::fromValue(host::fromQColor(wanted));
        } else if (const std::optional<host::OleColor> number = colorNumber(value)) {
            set = QVariant::fromValue(*number);
        }
        break;
    case ValueKind::Font:
        if (value.typeId() == QMetaType::QFont) {
            const host::FontRef current = m_designers->property(index).value<host::FontRef>();
            const host::FontRef wanted = host::StdFont::fromQFont(value.value<QFont>());
            if (current) {
                wanted->put_Charset(current->get_Charset()); // which a QFont does not carry
                if (current->sameAs(*wanted)) return;
            }
            set = QVariant::fromValue(wanted);
        }
        break;
    case ValueKind::Single:
    case ValueKind::AsIs:
        break;
    }
    // The control's setter may refuse the value (error 380): Designer hears of it as a form's
    // run time would, and the property keeps its value.
    host::guard([&] { m_designers->setProperty(index, set); });
}

bool PropertySheet::hasReset(int index) const
{
    return m_values->defaults.contains(m_designers->propertyName(index)) ||
           m_designers->hasReset(index);
}

bool PropertySheet::reset(int index)
{
    const QString name = m_designers->propertyName(index);
    if (!m_values->defaults.contains(name)) return m_designers->reset(index);
    QVariant value = m_values->defaults.value(name);
    // A font of its own, never the sample control's object shared.
    if (const host::FontRef font = value.value<host::FontRef>())
        value = QVariant::fromValue(font->clone());
    host::guard([&] { m_designers->setProperty(index, value); });
    // Back at the default, Designer will not write the value: it reads as a colour again.
    m_designers->setChanged(index, false);
    return true;
}

PropertySheetFactory::PropertySheetFactory(QExtensionManager* manager) : QExtensionFactory(manager)
{}

void PropertySheetFactory::registerWith(QExtensionManager* manager)
{
    if (manager->findChild<PropertySheetFactory*>(QString(), Qt::FindDirectChildrenOnly)) return;
    manager->registerExtensions(new PropertySheetFactory(manager),
                                Q_TYPEID(QDesignerPropertySheetExtension));
}

QObject* PropertySheetFactory::createExtension(QObject* object, const QString& iid,
                                               QObject* parent) const
{
    if (m_askingDesigner || iid != QLatin1String(Q_TYPEID(QDesignerPropertySheetExtension)))
        return nullptr;
    const host::ClassDescription* cls = classOf(object);
    if (!cls) return nullptr;
    // The manager asks each factory in turn: this one declines while it asks, so the answer is
    // the sheet Designer would have used.
    m_askingDesigner = true;
    auto* designers = qt_extension<QDesignerPropertySheetExtension*>(extensionManager(), object);
    m_askingDesigner = false;
    if (!designers) return nullptr;
    auto* sheet = new PropertySheet(designers, &valuesOf(*cls), parent);
    // The factory forgets a dead control's sheet without deleting it.
    connect(object, &QObject::destroyed, sheet, &QObject::deleteLater);
    return sheet;
}

const ClassValues& PropertySheetFactory::valuesOf(const host::ClassDescription& cls) const
{
    auto it = m_values.find(cls.metaObject);
    if (it != m_values.end()) return *it;
    ClassValues values;
    const std::unique_ptr<host::UserControl> sample(cls.factory(nullptr));
    sample->startLife(cls.name, nullptr);
    for (const host::MemberDescription& member : cls.defaultInterface.members) {
        if (member.kind == host::MemberKind::Method) continue;
        const ValueKind kind = kindOf(member.type.base);
        if (kind == ValueKind::AsIs) continue;
        values.kinds.insert(member.name, kind);
        if (kind == ValueKind::Color || kind == ValueKind::Font)
            values.defaults.insert(member.name, sample->property(member.name.toUtf8().constData()));
    }
    return *m_values.insert(cls.metaObject, values);
}

UiValueConversions::UiValueConversions()
{
    add(QMetaType::fromType<QColor>(), QMetaType::fromType<host::OleColor>(),
        [](const void* from, void* to) {
            *static_cast<host::OleColor*>(to) = host::fromQColor(*static_cast<const QColor*>(from));
            return true;
        });
    add(QMetaType::fromType<QFont>(), QMetaType::fromType<host::FontRef>(),
        [](const void* from, void* to) {
            *static_cast<host::FontRef*>(to) =
                host::StdFont::fromQFont(*static_cast<const QFont*>(from));
            return true;
        });
}

UiValueConversions::~UiValueConversions()
{
    for (const auto& [from, to] : std::as_const(m_registered))
        QMetaType::unregisterConverterFunction(from, to);
}

void UiValueConversions::add(QMetaType from, QMetaType to,
                             const QMetaType::ConverterFunction& convert)
{
    if (QMetaType::hasRegisteredConverterFunction(from, to)) return;
    if (QMetaType::registerConverterFunction(convert, from, to)) m_registered.append({from, to});
}

} // namespace kvdesigner
