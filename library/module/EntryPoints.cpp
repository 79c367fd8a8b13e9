#include "library/module/EntryPoints.h"

#include "host/automation/Server.h"
#include "library/core/Library.h"
#include "library/module/TypeLibrary.h"

#include <QFileInfo>
#include <dlfcn.h>

namespace Kv_CTRL {

namespace {
// Any code of this module does; a private function cannot be interposed by another module.
void anchor() {}
} // namespace

QString modulePath()
{
    // The file the loader mapped this code from: the registry must name the module itself,
    // whichever way the process found it.
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&anchor), &info) == 0 || !info.dli_fname) return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

} // namespace Kv_CTRL

extern "C" {

host::HRESULT DllRegisterServer()
{
    return host::registerServer(Kv_CTRL::typeLibrary(), Kv_CTRL::modulePath());
}

host::HRESULT DllUnregisterServer()
{
    return host::unregisterServer(Kv_CTRL::typeLibrary(), Kv_CTRL::modulePath());
}

host::HRESULT DllGetClassObject(const QUuid* rclsid, const QUuid* riid, void** ppv)
{
    return host::getClassObject(Kv_CTRL::typeLibrary(), rclsid, riid, ppv);
}

host::HRESULT DllCanUnloadNow()
{
    return host::canUnloadNow(Kv_CTRL::typeLibrary());
}

const host::LibraryDescription* DllGetLibraryDescription()
{
    return &Kv_CTRL::typeLibrary();
}

} // extern "C"

namespace Kv_CTRL {

void trackModuleObject(QObject* object)
{
    host::trackModuleObject(typeLibrary(), object);
}

} // namespace Kv_CTRL
