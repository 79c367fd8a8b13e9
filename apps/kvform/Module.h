#pragma once
// kvform's side of the control module: finding libKv_CTRL.so, loading it the way any host does
// (QLibrary, no link) and entering it into this session's component registry.

#include <QString>
#include <QStringList>

namespace host {
struct LibraryDescription;
}

namespace kvform {

// The places the module is looked for, in order: next to the executable, the installed library
// folder relative to it (an installed kvform), the build tree's library folder beside it, and the
// path the build baked in.
QStringList moduleCandidates();

// Loads the first module found and keeps it loaded for the life of the process. False with a
// message in *error when there is none or it does not load.
bool loadModule(QString* path, QString* error);

// Calls the loaded module's DllRegisterServer into the registry at Registry::path().
bool registerModule(QString* error);

// The loaded module's description, null when it exports none.
const host::LibraryDescription* moduleDescription();

} // namespace kvform
