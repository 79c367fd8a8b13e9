#pragma once
// Random values for the controls' properties, made from a seeded generator: of the type each
// Q_PROPERTY declares (enumerations from their meta-enum, colours, fonts, pictures, texts,
// numbers) with the edges a program or a file may hand over, and now and then of another type.

#include "host/value/Variant.h"

#include <QMetaProperty>
#include <QString>
#include <random>

namespace host {
struct FormDescription;
}

namespace monkey {

using Rng = std::mt19937_64;

// Whether this build runs under AddressSanitizer (several times slower: runs are shortened).
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool sanitized = true;
#elif defined(__has_feature)
inline constexpr bool sanitized = __has_feature(address_sanitizer);
#else
inline constexpr bool sanitized = false;
#endif

// 0 .. n - 1 (n > 0), the same on every platform.
inline quint32 below(Rng& rng, quint32 n)
{
    return quint32(rng() % n);
}
inline bool oneIn(Rng& rng, quint32 n)
{
    return below(rng, n) == 0;
}

// Texts a user or a program writes: empty, accented, non-Latin, beyond the Basic Multilingual
// Plane, control characters, numbers and dates as text, long runs.
QString randomText(Rng& rng);
// Any value of any type the runtime's Variant holds, Empty and Null included.
host::Variant anyValue(Rng& rng);
// A value for the property: one of its own type, edges included, or (one time in eight) any.
host::Variant valueFor(Rng& rng, const QMetaProperty& property);
// The control's own properties (declared below Qt's classes) that can be written.
QList<QMetaProperty> ownWritableProperties(const QMetaObject* meta);
// How a value reads in a message: its type and a short rendering.
QString describeValue(const host::Variant& value);
// Where two descriptions of a form first differ: the control and property, and both values.
QString difference(const host::FormDescription& a, const host::FormDescription& b);

} // namespace monkey
