#pragma once
// Prints a library description as interface-definition text, the readable form of the type
// library that developers and the object browser look at.

#include "host/automation/TypeLib.h"

#include <QString>

namespace host {

QString printIdl(const LibraryDescription& library);

} // namespace host
