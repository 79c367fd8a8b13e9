#pragma once
// What the controls and forms of Kv_CTRL ask of the library they live in. Declared here, below
// the controls; the module shell defines it.

#include <QtGlobal>

class QObject;

// Names Kv_CTRL as the project of a control or form class: errors raised without a source while
// its hooks and handlers run name "Kv_CTRL", as the runtime names the project whose code failed.
#define KV_CTRL_PROJECT Q_CLASSINFO("Project", "Kv_CTRL")

namespace Kv_CTRL {

inline constexpr char ProjectName[] = "Kv_CTRL";

// Counts the object as alive in the module while it exists, so the module is not unloaded
// under a shared form's window.
void trackModuleObject(QObject* object);

// Every control's ShowAbout: opens the library's About dialog modally and returns once it is
// closed. Error 400 while it is already open.
void ShowAbout();

} // namespace Kv_CTRL
