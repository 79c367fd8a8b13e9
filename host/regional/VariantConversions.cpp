// The runtime's conversion functions of Variants (CInt, CDbl, CStr, CDate...), IsNumeric and
// IsDate, and the Variant members that are these conversions.

#include "host/regional/Regional.h"

#include "host/regional/RegionalPrivate.h"
#include "host/value/RuntimeError.h"

#include <cfloat>
#include <cmath>

namespace host {

using namespace regional;

namespace {

const QString* textOf(const Variant& value)
{
    return std::get_if<QString>(&value.storage());
}

[[noreturn]] void raiseForKind(const Variant& value)
{
    raiseError(value.isNull() ? Err::InvalidUseOfNull : Err::TypeMismatch);
}

// The number a text stands for; 13 when it is none, 6 when it is too large.
double numberOfText(const QString& text)
{
    double v = 0;
    switch (readNumber(text, v)) {
    case NumberRead::Ok:
        return v;
    case NumberRead::Overflow:
        raiseError(Err::Overflow);
    case NumberRead::NotNumber:
        break;
    }
    raiseError(Err::TypeMismatch);
}

} // namespace

bool IsNumeric(const Variant& value)
{
    const Variant::Storage& s = value.storage();
    if (const QString* text = std::get_if<QString>(&s)) {
        double v;
        return readNumber(*text, v) == NumberRead::Ok;
    }
    // The runtime counts Empty as the number 0; a Date is not a number.
    return value.isEmpty() || value.isNumeric();
}

bool IsDate(const Variant& value)
{
    return IsDate(value, Regional::current().dateOrder);
}

bool IsDate(const Variant& value, DateOrder order)
{
    if (value.type() == VarType::Date) return true;
    const QString* text = textOf(value);
    double serial;
    return text && readDate(*text, order, serial);
}

double CDbl(const Variant& value)
{
    const Variant::Storage& s = value.storage();
    if (std::holds_alternative<std::monostate>(s)) return 0;
    if (const auto* v = std::get_if<short>(&s)) return *v;
    if (const auto* v = std::get_if<qint32>(&s)) return *v;
    if (const auto* v = std::get_if<float>(&s)) return *v;
    if (const auto* v = std::get_if<double>(&s)) return *v;
    if (const auto* v = std::get_if<Variant::Boolean>(&s)) return v->value ? -1 : 0;
    if (const auto* v = std::get_if<Date>(&s)) return v->serial();
    if (const auto* v = std::get_if<QString>(&s)) return numberOfText(*v);
    raiseForKind(value);
}

float CSng(const Variant& value)
{
    if (const auto* v = std::get_if<float>(&value.storage())) return *v;
    const double d = CDbl(value);
    if (std::isfinite(d) && std::fabs(d) > double(FLT_MAX)) raiseError(Err::Overflow);
    return float(d);
}

short CInt(const Variant& value)
{
    const Variant::Storage& s = value.storage();
    if (const auto* v = std::get_if<short>(&s)) return *v;
    return CInt(CDbl(value));
}

qint32 CLng(const Variant& value)
{
    const Variant::Storage& s = value.storage();
    if (const auto* v = std::get_if<qint32>(&s)) return *v;
    if (const auto* v = std::get_if<short>(&s)) return *v;
    return CLng(CDbl(value));
}

bool CBool(const Variant& value)
{
    if (const QString* text = textOf(value)) {
        const QString t = text->trimmed();
        const RegionalSettings& r = Regional::current();
        if (t.compare(u"True", Qt::CaseInsensitive) == 0 ||
            (!r.trueText.isEmpty() && t.compare(r.trueText, Qt::CaseInsensitive) == 0))
            return true;
        if (t.compare(u"False", Qt::CaseInsensitive) == 0 ||
            (!r.falseText.isEmpty() && t.compare(r.falseText, Qt::CaseInsensitive) == 0))
            return false;
    }
    return CDbl(value) != 0;
}

QString CStr(const Variant& value)
{
    const Variant::Storage& s = value.storage();
    if (std::holds_alternative<std::monostate>(s)) return QString();
    if (const auto* v = std::get_if<QString>(&s)) return *v;
    if (const auto* v = std::get_if<short>(&s)) return QString::number(*v);
    if (const auto* v = std::get_if<qint32>(&s)) return QString::number(*v);
    if (const auto* v = std::get_if<float>(&s)) return plainNumber(*v, 7);
    if (const auto* v = std::get_if<double>(&s)) return plainNumber(*v, 15);
    if (const auto* v = std::get_if<Variant::Boolean>(&s))
        return v->value ? QStringLiteral("True") : QStringLiteral("False");
    if (const auto* v = std::get_if<Date>(&s)) return dateText(v->serial());
    raiseForKind(value);
}

Date CDate(const Variant& value)
{
    return CDate(value, Regional::current().dateOrder);
}

Date CDate(const Variant& value, DateOrder order)
{
    const Variant::Storage& s = value.storage();
    if (const auto* v = std::get_if<Date>(&s)) return *v;
    if (const auto* v = std::get_if<QString>(&s)) {
        double serial = 0;
        if (!readDate(*v, order, serial)) raiseError(Err::TypeMismatch);
        return Date(serial);
    }
    const double serial = CDbl(value); // numbers: the serial itself
    if (!serialInRange(serial)) raiseError(Err::Overflow);
    return Date(serial);
}

// The Variant's conversions are these functions.
short Variant::toInteger() const
{
    return host::CInt(*this);
}

qint32 Variant::toLong() const
{
    return host::CLng(*this);
}

quint32 Variant::toOleColor() const
{
    if (const double* d = std::get_if<double>(&m_value)) {
        if (*d >= 2147483648.0 && *d <= 4294967295.0 && *d == std::floor(*d))
            return quint32(qint64(*d));
    }
    return quint32(toLong());
}

float Variant::toSingle() const
{
    return host::CSng(*this);
}

double Variant::toDouble() const
{
    return host::CDbl(*this);
}

bool Variant::toBoolean() const
{
    return host::CBool(*this);
}

QString Variant::toString() const
{
    return host::CStr(*this);
}

Date Variant::toDate() const
{
    return host::CDate(*this);
}

} // namespace host
