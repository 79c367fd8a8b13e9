#include "host/value/Variant.h"

#include "host/value/RuntimeError.h"

#include <optional>
#include <type_traits>

namespace host {

namespace {

// The numeric value of a number or Boolean (True -1); nothing for other types.
std::optional<double> numericValue(const Variant::Storage& storage)
{
    return std::visit(
        [](const auto& v) -> std::optional<double> {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, short> || std::is_same_v<T, qint32> ||
                          std::is_same_v<T, float> || std::is_same_v<T, double>)
                return double(v);
            else if constexpr (std::is_same_v<T, Variant::Boolean>)
                return v.value ? -1.0 : 0.0;
            else
                return std::nullopt;
        },
        storage);
}

// An object reference to no object.
bool isNothing(const Variant::Storage& storage)
{
    if (const auto* font = std::get_if<FontRef>(&storage)) return !*font;
    if (const auto* picture = std::get_if<PictureRef>(&storage)) return !*picture;
    return false;
}

} // namespace

Variant Variant::null()
{
    Variant v;
    v.m_value = NullTag{};
    return v;
}

VarType Variant::type() const
{
    return std::visit(
        [](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return VarType::Empty;
            else if constexpr (std::is_same_v<T, NullTag>)
                return VarType::Null;
            else if constexpr (std::is_same_v<T, short>)
                return VarType::Integer;
            else if constexpr (std::is_same_v<T, qint32>)
                return VarType::Long;
            else if constexpr (std::is_same_v<T, float>)
                return VarType::Single;
            else if constexpr (std::is_same_v<T, double>)
                return VarType::Double;
            else if constexpr (std::is_same_v<T, Boolean>)
                return VarType::Boolean;
            else if constexpr (std::is_same_v<T, QString>)
                return VarType::String;
            else if constexpr (std::is_same_v<T, Date>)
                return VarType::Date;
            else
                return VarType::Object; // FontRef, PictureRef
        },
        m_value);
}

bool Variant::isNumeric() const
{
    return numericValue(m_value).has_value();
}

QString Variant::typeName() const
{
    switch (type()) {
    case VarType::Empty:
        return QStringLiteral("Empty");
    case VarType::Null:
        return QStringLiteral("Null");
    case VarType::Integer:
        return QStringLiteral("Integer");
    case VarType::Long:
        return QStringLiteral("Long");
    case VarType::Single:
        return QStringLiteral("Single");
    case VarType::Double:
        return QStringLiteral("Double");
    case VarType::Date:
        return QStringLiteral("Date");
    case VarType::String:
        return QStringLiteral("String");
    case VarType::Boolean:
        return QStringLiteral("Boolean");
    case VarType::Object:
        break;
    }
    // An object reports its class; a reference to none is Nothing.
    if (const auto* font = std::get_if<FontRef>(&m_value))
        return *font ? QStringLiteral("StdFont") : QStringLiteral("Nothing");
    const auto& picture = std::get<PictureRef>(m_value);
    return picture ? QStringLiteral("StdPicture") : QStringLiteral("Nothing");
}

FontRef Variant::toFont() const
{
    if (const auto* font = std::get_if<FontRef>(&m_value)) return *font;
    if (isEmpty() || isNull()) return nullptr;
    // A picture reference to nothing is Nothing as well, which any object variable accepts.
    if (isNothing(m_value)) return nullptr;
    raiseError(Err::TypeMismatch);
}

PictureRef Variant::toPicture() const
{
    if (const auto* picture = std::get_if<PictureRef>(&m_value)) return *picture;
    if (isEmpty() || isNull()) return nullptr;
    if (isNothing(m_value)) return nullptr;
    raiseError(Err::TypeMismatch);
}

bool Variant::operator==(const Variant& other) const
{
    const std::optional<double> a = numericValue(m_value);
    const std::optional<double> b = numericValue(other.m_value);
    if (a || b) return a && b && *a == *b;

    const VarType t = type();
    if (t != other.type()) return false;
    switch (t) {
    case VarType::Empty:
    case VarType::Null:
        return true;
    case VarType::String:
        return std::get<QString>(m_value) == std::get<QString>(other.m_value);
    case VarType::Date:
        return std::get<Date>(m_value) == std::get<Date>(other.m_value);
    case VarType::Object:
        break;
    default:
        return false; // numbers were handled above
    }

    // Objects: Nothing equals Nothing whatever the reference's kind.
    const bool thisNothing = isNothing(m_value);
    const bool otherNothing = isNothing(other.m_value);
    if (thisNothing || otherNothing) return thisNothing && otherNothing;
    const auto* fontA = std::get_if<FontRef>(&m_value);
    const auto* fontB = std::get_if<FontRef>(&other.m_value);
    if (fontA && fontB) return *fontA == *fontB || (*fontA)->sameAs(**fontB);
    const auto* pictureA = std::get_if<PictureRef>(&m_value);
    const auto* pictureB = std::get_if<PictureRef>(&other.m_value);
    if (pictureA && pictureB) return *pictureA == *pictureB || (*pictureA)->samePixels(**pictureB);
    return false; // a font and a picture
}

} // namespace host
