#pragma once
// Creation of controls by ProgID: the registry names the module, the module is loaded with
// QLibrary when needed and its class factory makes the control, which then starts its life on
// the form like one placed with Form::add<T>.

#include "host/automation/HResult.h"

#include <QString>

class QWidget;

namespace host {

class Form;
class PropertyBag;
class UserControl;

// Places a new control of the registered class on the form (loading the form if needed):
// Initialize, then InitProperties (no bag) or ReadProperties, then Resize. Raises 429 when the
// class is not registered, its module cannot be loaded or it cannot make the object; 727 for a
// name already in use.
UserControl* createControl(Form& form, const QString& progId, const QString& name,
                           const PropertyBag* bag = nullptr);

// The object alone, its life cycle not started, on the given parent. HRESULT-shaped failures
// (REGDB_E_CLASSNOTREG for an unknown ProgID, E_FAIL for an unreadable registry or a module that
// does not load, the factory's own result otherwise), with the reason in *error.
HRESULT createInstance(const QString& progId, QWidget* parent, UserControl** out,
                       QString* error = nullptr);

} // namespace host
