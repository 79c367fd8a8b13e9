#pragma once
// The description of Kv_CTRL as data: its seven control classes with their interfaces, events,
// enumerations and identifiers. The entry points register it and the checks compare it with
// the controls' meta-objects.

#include "host/automation/TypeLib.h"

#include <QImage>
#include <QString>

namespace Kv_CTRL {

inline constexpr char MakerName[] = "Kv Sistemas";

const host::LibraryDescription& typeLibrary();

// The 16 x 15, 24-bit image the designer's toolbox shows for a control class; a null image for
// a name that is not one of the library's classes.
QImage toolboxImage(const QString& className);

} // namespace Kv_CTRL
