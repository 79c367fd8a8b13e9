#pragma once
// Checks a control class against its description: its Q_PROPERTYs, Q_INVOKABLE methods and
// signals, from the class up to (not including) UserControl, must be the default interface's
// properties and methods and the event interface's events: same names, order and types, event
// arguments by reference with the described names.

#include "host/automation/TypeLib.h"

#include <QMetaObject>
#include <QStringList>

namespace host {

// One line per mismatch; empty when the class matches.
QStringList checkMetaObject(const LibraryDescription& library, const ClassDescription& cls,
                            const QMetaObject& metaObject);

// The C++ type name an event argument of that type is declared with ("short&", "float&").
QString eventArgumentTypeName(const ParameterDescription& parameter,
                              const LibraryDescription& library);

} // namespace host
