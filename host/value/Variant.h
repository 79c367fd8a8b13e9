#pragma once
// The runtime's Variant: Empty, Null, Integer (16-bit), Long, Single, Double, Boolean (True -1,
// False 0), String, Date, Font, Picture; with the runtime's conversions between them.
// Text conversions follow the regional settings (host/regional).

#include "host/value/Date.h"
#include "host/value/StdFont.h"
#include "host/value/StdPicture.h"

#include <QMetaType>
#include <QString>
#include <variant>

namespace host {

// Numbered as the runtime's VarType.
enum class VarType {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Date = 7,
    String = 8,
    Object = 9, // a font or a picture
    Boolean = 11,
};

class Variant {
public:
    Variant() = default; // Empty
    Variant(const char* text) : m_value(QString::fromUtf8(text)) {}
    Variant(const QString& text) : m_value(text) {}
    Variant(short value) : m_value(value) {}
    Variant(int value) : m_value(qint32(value)) {} // Long
    // An OLE_COLOR (or any unsigned 32-bit value): a Long with the same bits.
    Variant(unsigned int value) : m_value(qint32(value)) {}
    Variant(float value) : m_value(value) {}
    Variant(double value) : m_value(value) {}
    Variant(bool value) : m_value(Boolean{value}) {}
    Variant(Date value) : m_value(value) {}
    Variant(FontRef font) : m_value(std::move(font)) {}
    Variant(PictureRef picture) : m_value(std::move(picture)) {}

    static Variant null();

    VarType type() const;
    bool isEmpty() const { return type() == VarType::Empty; }
    bool isNull() const { return type() == VarType::Null; }
    bool isNumeric() const; // Integer, Long, Single, Double, Boolean (not text: see IsNumeric)
    bool isObject() const { return type() == VarType::Object; }
    // The runtime's name of the type ("Integer", "String", ...; "StdFont", "StdPicture" or
    // "Nothing" for an object).
    QString typeName() const;

    // Conversions as the runtime's CInt, CLng, CSng, CDbl, CBool, CStr, CDate: Empty is 0 or "",
    // Null raises 94, text is read by the regional rules (13 when not a number or date),
    // out-of-range raises 6, an object raises 13. They are the regional functions of the same
    // name (host/regional/Regional.h), implemented there.
    short toInteger() const;
    qint32 toLong() const;
    float toSingle() const;
    double toDouble() const;
    bool toBoolean() const;
    QString toString() const;
    Date toDate() const;
    // An OLE_COLOR: a Long's bits; a whole number from 2^31 to 2^32 - 1 (a colour written
    // unsigned, 2147483653 for 0x80000005) is taken as those bits instead of overflowing.
    quint32 toOleColor() const;
    // The object held, or null for Empty, Null and Nothing; 13 for any other type (a picture
    // asked for a font too).
    FontRef toFont() const;
    PictureRef toPicture() const;

    // Equality as WriteProperty needs it to omit defaults: same kind of value and equal value;
    // numbers (Boolean included) compare by value across numeric types, texts exactly, fonts by
    // attributes, pictures by identity or equal pixels; Empty equals only Empty, Null only Null.
    bool operator==(const Variant& other) const;

    // The raw content, for the conversions (host/regional) and the persistence code.
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    struct Boolean {
        bool value;
    };
    using Storage = std::variant<std::monostate, NullTag, short, qint32, float, double, Boolean,
                                 QString, Date, FontRef, PictureRef>;
    const Storage& storage() const { return m_value; }

private:
    Storage m_value;
};

} // namespace host

Q_DECLARE_METATYPE(host::Variant)
