#include "host/automation/PropertyCheck.h"

#include "host/automation/CreateControl.h"
#include "host/persist/PropertyBag.h"
#include "host/value/RuntimeError.h"
#include "host/value/StdFont.h"
#include "host/value/StdPicture.h"
#include "host/value/Variant.h"
#include "host/widgets/UserControl.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <cmath>
#include <limits>
#include <memory>

namespace host {

namespace {

// What a JSON value was read as, for the message.
QString kindOf(const Variant& value)
{
    switch (value.type()) {
    case VarType::Empty:
    case VarType::Null:
        return QStringLiteral("null");
    case VarType::String:
        return QStringLiteral("a string");
    case VarType::Boolean:
        return QStringLiteral("a boolean");
    case VarType::Date:
        return QStringLiteral("a date");
    case VarType::Object:
        return value.typeName() == QLatin1String("StdPicture") ? QStringLiteral("a picture")
                                                               : QStringLiteral("a font");
    default:
        return QStringLiteral("the number %1").arg(value.toDouble(), 0, 'g', 17);
    }
}

bool isNumber(const Variant& value)
{
    switch (value.type()) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Boolean:
        return true;
    default:
        return false;
    }
}

bool isWhole(const Variant& value, double low, double high)
{
    if (!isNumber(value)) return false;
    const double v = value.toDouble();
    return std::isfinite(v) && v == std::floor(v) && v >= low && v <= high;
}

// The enumeration a property is declared with, or an invalid one.
QMetaEnum enumerationOf(const QMetaProperty& property)
{
    if (property.isEnumType()) return property.enumerator();
    const QMetaType type = property.metaType();
    const QMetaObject* scope = type.metaObject();
    if (!(type.flags() & QMetaType::IsEnumeration) || !scope) return {};
    QByteArray name = type.name();
    name = name.mid(name.lastIndexOf(':') + 1);
    const int index = scope->indexOfEnumerator(name.constData());
    return index >= 0 ? scope->enumerator(index) : QMetaEnum();
}

// Why `value` cannot be held by `property`, or a null text when it can.
QString mismatch(const QMetaProperty& property, const Variant& value)
{
    if (const QMetaEnum e = enumerationOf(property); e.isValid()) {
        // Any whole number the enumeration's 32 bits hold: a number that names no member is the
        // control's to keep (a check box's odd Value is saved and read back) or to refuse.
        if (isWhole(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()))
            return {};
        QStringList members;
        for (int i = 0; i < e.keyCount(); ++i)
            members << QString::number(e.value(i));
        return QStringLiteral("expected one of the %1 values (%2)")
            .arg(QString::fromLatin1(e.enumName()), members.join(QStringLiteral(", ")));
    }
    const QMetaType type = property.metaType();
    switch (type.id()) {
    case QMetaType::Bool:
        return isNumber(value) ? QString() : QStringLiteral("expected a boolean (-1 or 0)");
    case QMetaType::Short:
        // Held in 16 bits as the runtime's Integer, rounded as CInt rounds.
        return isNumber(value) && std::isfinite(value.toDouble()) &&
                       std::abs(value.toDouble()) <= 32767.5
                   ? QString()
                   : QStringLiteral("expected a whole number from -32768 to 32767");
    case QMetaType::Int:
        return isNumber(value) && std::isfinite(value.toDouble()) &&
                       std::abs(value.toDouble()) <= 2147483647.5
                   ? QString()
                   : QStringLiteral("expected a whole number from -2147483648 to 2147483647");
    case QMetaType::UInt:
        // A colour: its bits as a Long, or written unsigned.
        return isWhole(value, std::numeric_limits<qint32>::min(),
                       std::numeric_limits<quint32>::max())
                   ? QString()
                   : QStringLiteral("expected a colour (a whole number)");
    case QMetaType::Float:
    case QMetaType::Double:
        return isNumber(value) && std::isfinite(value.toDouble())
                   ? QString()
                   : QStringLiteral("expected a number");
    case QMetaType::QString:
        return value.type() == VarType::String ? QString() : QStringLiteral("expected a string");
    default:
        break;
    }
    if (type == QMetaType::fromType<FontRef>())
        return value.type() == VarType::Object && value.typeName() == QLatin1String("StdFont")
                   ? QString()
                   : QStringLiteral("expected a font ({\"$font\": {...}})");
    if (type == QMetaType::fromType<PictureRef>())
        return value.isNull() || (value.type() == VarType::Object &&
                                  value.typeName() == QLatin1String("StdPicture"))
                   ? QString()
                   : QStringLiteral("expected a picture ({\"$picture\": ...}) or null");
    return {}; // Variant and the types a form file does not spell: the control decides
}

} // namespace

void checkPropertyValues(const QMetaObject& meta, const PropertyBag& bag)
{
    for (const auto& [name, value] : bag.items()) {
        // Bags match names without regard to case, as the control's reading does; the class's
        // own properties come last and shadow Qt's ("Font" before QWidget's "font").
        for (int i = meta.propertyCount() - 1; i >= 0; --i) {
            const QMetaProperty property = meta.property(i);
            if (name.compare(QLatin1String(property.name()), Qt::CaseInsensitive) != 0) continue;
            const QString problem = mismatch(property, value);
            if (!problem.isNull())
                raiseError(
                    Err::TypeMismatch,
                    QStringLiteral("key \"%1\": %2, not %3").arg(name, problem, kindOf(value)));
            break;
        }
    }
}

void checkPropertyValues(const QString& progId, const PropertyBag& bag)
{
    if (bag.isEmpty()) return;
    if (const QMetaObject* meta = classMetaObject(progId)) checkPropertyValues(*meta, bag);
}

} // namespace host
