#include "host/automation/CreateControl.h"

#include "host/automation/Registry.h"
#include "host/automation/Server.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/UserControl.h"

#include <QHash>
#include <QLibrary>
#include <QMutex>

namespace host {

namespace {

// Modules stay loaded for the life of the process: their code runs every object they made,
// and the host cannot know which pointers into them are still held.
QLibrary* loadModule(const QString& path, QString* error)
{
    static QMutex mutex;
    static auto* modules = new QHash<QString, QLibrary*>();
    QMutexLocker lock(&mutex);
    if (QLibrary* loaded = modules->value(path)) return loaded;
    auto* library = new QLibrary(path);
    if (!library->load()) {
        *error = library->errorString();
        delete library;
        return nullptr;
    }
    modules->insert(path, library);
    return library;
}

HRESULT report(QString* error, HRESULT hr, const QString& message)
{
    if (error) *error = message;
    return hr;
}

// The class factory of `progId`, with a reference the caller releases.
HRESULT classFactory(const QString& progId, ClassFactory** out, QString* error)
{
    *out = nullptr;
    Registry registry(Registry::path());
    if (!registry.load()) return report(error, E_FAIL, registry.errorString());
    const std::optional<RegisteredClass> cls = registry.findByProgId(progId);
    if (!cls)
        return report(
            error, REGDB_E_CLASSNOTREG,
            QStringLiteral("'%1' is not registered in %2").arg(progId, registry.filePath()));
    QString loadError;
    QLibrary* module = loadModule(cls->modulePath, &loadError);
    if (!module)
        return report(
            error, E_FAIL,
            QStringLiteral("The module of '%1' cannot be loaded: %2").arg(progId, loadError));
    auto getClassObject =
        reinterpret_cast<DllGetClassObjectFunction>(module->resolve("DllGetClassObject"));
    if (!getClassObject)
        return report(
            error, E_FAIL,
            QStringLiteral("%1 is no control module (no DllGetClassObject)").arg(cls->modulePath));
    void* object = nullptr;
    const HRESULT hr = getClassObject(&cls->clsid, &IID_IClassFactory, &object);
    if (failed(hr) || !object)
        return report(
            error, failed(hr) ? hr : E_FAIL,
            QStringLiteral("'%1' has no class object: %2")
                .arg(progId, lastServerError().isEmpty() ? hresultText(hr) : lastServerError()));
    *out = static_cast<ClassFactory*>(object);
    return S_OK;
}

} // namespace

HRESULT createInstance(const QString& progId, QWidget* parent, UserControl** out, QString* error)
{
    if (!out) return report(error, E_POINTER, QStringLiteral("No place for the new object"));
    *out = nullptr;
    ClassFactory* factory = nullptr;
    HRESULT hr = classFactory(progId, &factory, error);
    if (failed(hr)) return hr;
    hr = factory->CreateInstance(parent, out);
    const QString why = lastServerError();
    factory->Release();
    if (failed(hr))
        return report(error, hr,
                      QStringLiteral("'%1' cannot make the object: %2")
                          .arg(progId, why.isEmpty() ? hresultText(hr) : why));
    return report(error, S_OK, {});
}

const QMetaObject* classMetaObject(const QString& progId)
{
    ClassFactory* factory = nullptr;
    if (failed(classFactory(progId, &factory, nullptr))) return nullptr;
    const ClassDescription& cls = factory->classDescription();
    const QMetaObject* meta = cls.factory ? cls.metaObject : nullptr;
    factory->Release();
    return meta;
}

} // namespace host
