#pragma once
// The exported entry points of libKv_CTRL.so, with C linkage: registration and creation of the
// library's classes through the host's registration service.

#include "host/automation/HResult.h"

#include <QUuid>
#include <QtGlobal>

namespace host {
struct LibraryDescription;
}

extern "C" {
// Enters every class and the type library into the component registry (Registry::path()).
Q_DECL_EXPORT host::HRESULT DllRegisterServer();
// Removes this module's entries from the registry and leaves everything else.
Q_DECL_EXPORT host::HRESULT DllUnregisterServer();
// A class factory (IID_IClassFactory or IID_IUnknown) for a class of the library.
Q_DECL_EXPORT host::HRESULT DllGetClassObject(const QUuid* rclsid, const QUuid* riid, void** ppv);
// S_OK when no object of the module is alive and no lock is held, else S_FALSE.
Q_DECL_EXPORT host::HRESULT DllCanUnloadNow();
// The library's description (classes, interfaces, type library), for a host that loaded the
// module without linking it and shows the type library (kvform --typelib). Valid while the module
// is loaded.
Q_DECL_EXPORT const host::LibraryDescription* DllGetLibraryDescription();
}

namespace Kv_CTRL {
// The absolute path of the loaded libKv_CTRL.so.
QString modulePath();
} // namespace Kv_CTRL
