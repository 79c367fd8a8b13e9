#pragma once
// The classes the module can make: each control class's factory and meta-object, by class name.

#include "host/automation/TypeLib.h"

class QMetaObject;

namespace Kv_CTRL {

struct Implementation {
    host::ControlFactory factory = nullptr;
    const QMetaObject* metaObject = nullptr;
};

// The class's factory and meta-object; empty for a class the module does not implement yet, so
// creating it answers "class not available".
Implementation implementationOf(const char* className);

} // namespace Kv_CTRL
