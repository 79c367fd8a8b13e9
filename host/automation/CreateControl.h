#pragma once
// Creation of controls by ProgID: the registry names the module, the module is loaded with
// QLibrary when needed and its class factory makes the control (Form::add places it on a form).

#include "host/automation/HResult.h"

#include <QString>

class QWidget;
struct QMetaObject;

namespace host {

class PropertyBag;
class UserControl;

// The object alone, its life cycle not started, on the given parent. HRESULT-shaped failures
// (REGDB_E_CLASSNOTREG for an unknown ProgID, E_FAIL for an unreadable registry or a module that
// does not load, the factory's own result otherwise), with the reason in *error.
HRESULT createInstance(const QString& progId, QWidget* parent, UserControl** out,
                       QString* error = nullptr);
// The class that createInstance would make for `progId`, without making one; null when it
// cannot make any.
const QMetaObject* classMetaObject(const QString& progId);

} // namespace host
