#pragma once
// The values of a control's property bag checked against its class before the control reads
// them: a form file says what each property holds, and a value of the wrong kind is refused with
// the key named, instead of surfacing later as a run-time error inside the control.

#include <QString>

struct QMetaObject;

namespace host {

class PropertyBag;

// Raises 13 (Type mismatch), described as `key "Name": expected ..., not ...`, for the first
// value whose key names a Q_PROPERTY of `meta` and that the property's type cannot hold: text or
// an object for a number, a number outside the type's range, anything but a whole 32-bit number
// for an enumeration, anything but a font for a font. Keys that name no property are left to the
// control, which reads only the ones it knows.
void checkPropertyValues(const QMetaObject& meta, const PropertyBag& bag);

// The same check for a class registered under `progId`, whose meta-object comes from an object
// made and dropped at once; a class that cannot be made is not checked (creating it reports why).
void checkPropertyValues(const QString& progId, const PropertyBag& bag);

} // namespace host
