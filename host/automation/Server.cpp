#include "host/automation/Server.h"

#include "host/automation/Registry.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/UserControl.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QMutex>
#include <QObject>
#include <memory>
#include <new>

namespace host {

namespace {

struct ModuleState {
    QAtomicInt objects{0};
    QAtomicInt locks{0};
};

// Per library, kept for the whole process: objects may die during static destruction, so the
// table is never destroyed.
ModuleState& moduleState(const LibraryDescription& library)
{
    static QMutex mutex;
    static auto* states = new QHash<QUuid, ModuleState*>();
    QMutexLocker lock(&mutex);
    ModuleState*& state = (*states)[library.libid];
    if (!state) state = new ModuleState;
    return *state;
}

thread_local QString t_lastError;

HRESULT fail(HRESULT hr, const QString& message)
{
    t_lastError = message;
    return hr;
}

HRESULT succeed(HRESULT hr = S_OK)
{
    t_lastError.clear();
    return hr;
}

void countObject(ModuleState& state, QObject* object)
{
    state.objects.ref();
    QObject::connect(object, &QObject::destroyed, [&state] { state.objects.deref(); });
}

// Runs a registry update under a lock file, so that two processes registering at the same time
// do not lose each other's entries.
template <class Update>
HRESULT updateRegistry(const QString& modulePath, Update update)
{
    if (modulePath.isEmpty() || !QFileInfo(modulePath).isFile())
        return fail(SELFREG_E_CLASS,
                    QStringLiteral("The module file '%1' does not exist").arg(modulePath));
    Registry registry(Registry::path());
    const QFileInfo file(registry.filePath());
    if (!QDir().mkpath(file.absolutePath()))
        return fail(SELFREG_E_CLASS,
                    QStringLiteral("The folder of the component registry %1 cannot be created")
                        .arg(registry.filePath()));
    QLockFile lock(registry.filePath() + QStringLiteral(".lock"));
    if (!lock.tryLock(10000))
        return fail(SELFREG_E_CLASS,
                    QStringLiteral("The component registry %1 is locked by another process")
                        .arg(registry.filePath()));
    if (!registry.load()) return fail(SELFREG_E_CLASS, registry.errorString());
    update(registry);
    if (!registry.save()) return fail(SELFREG_E_CLASS, registry.errorString());
    return succeed();
}

} // namespace

QString hresultText(HRESULT hr)
{
    static const QHash<HRESULT, const char*> names{
        {S_OK, "S_OK"},
        {S_FALSE, "S_FALSE"},
        {E_NOINTERFACE, "E_NOINTERFACE"},
        {E_POINTER, "E_POINTER"},
        {E_FAIL, "E_FAIL"},
        {E_UNEXPECTED, "E_UNEXPECTED"},
        {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
        {E_INVALIDARG, "E_INVALIDARG"},
        {CLASS_E_NOAGGREGATION, "CLASS_E_NOAGGREGATION"},
        {CLASS_E_CLASSNOTAVAILABLE, "CLASS_E_CLASSNOTAVAILABLE"},
        {REGDB_E_CLASSNOTREG, "REGDB_E_CLASSNOTREG"},
        {SELFREG_E_TYPELIB, "SELFREG_E_TYPELIB"},
        {SELFREG_E_CLASS, "SELFREG_E_CLASS"},
    };
    const QString hex = QStringLiteral("0x%1").arg(quint32(hr), 8, 16, QLatin1Char('0'));
    const char* name = names.value(hr, nullptr);
    return name ? QStringLiteral("%1 (%2)").arg(QLatin1String(name), hex) : hex;
}

ClassFactory::ClassFactory(const LibraryDescription& library, const ClassDescription& cls)
    : m_library(library), m_class(cls)
{
    moduleState(m_library).objects.ref();
}

ClassFactory::~ClassFactory()
{
    moduleState(m_library).objects.deref();
}

HRESULT ClassFactory::QueryInterface(const QUuid& iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    AddRef();
    *out = this;
    return S_OK;
}

quint32 ClassFactory::AddRef()
{
    return quint32(m_refs.fetchAndAddOrdered(1) + 1);
}

quint32 ClassFactory::Release()
{
    const int left = m_refs.fetchAndAddOrdered(-1) - 1;
    if (left == 0) delete this;
    return quint32(qMax(left, 0));
}

HRESULT ClassFactory::CreateInstance(QWidget* parent, UserControl** out)
{
    if (!out) return fail(E_POINTER, QStringLiteral("No place for the new object"));
    *out = nullptr;
    if (!m_class.factory)
        return fail(CLASS_E_CLASSNOTAVAILABLE,
                    QStringLiteral("The class %1 is not available").arg(m_library.progId(m_class)));
    UserControl* control = nullptr;
    try {
        control = m_class.factory(parent);
    } catch (const RuntimeError& e) {
        return fail(E_FAIL, QStringLiteral("Creating %1 raised error %2: %3")
                                .arg(m_library.progId(m_class))
                                .arg(e.number())
                                .arg(e.description()));
    } catch (const std::bad_alloc&) {
        return fail(E_OUTOFMEMORY, QStringLiteral("Out of memory"));
    }
    if (!control)
        return fail(E_FAIL,
                    QStringLiteral("The class %1 made no object").arg(m_library.progId(m_class)));
    countObject(moduleState(m_library), control);
    *out = control;
    return succeed();
}

HRESULT ClassFactory::LockServer(bool lock)
{
    ModuleState& state = moduleState(m_library);
    if (lock) {
        state.locks.ref();
    } else {
        // An unlock without a lock is the caller's fault; the count must not go negative.
        int current = state.locks.loadAcquire();
        while (current > 0 && !state.locks.testAndSetOrdered(current, current - 1))
            current = state.locks.loadAcquire();
        if (current <= 0) return E_UNEXPECTED;
    }
    return S_OK;
}

HRESULT registerServer(const LibraryDescription& library, const QString& modulePath)
{
    return updateRegistry(modulePath,
                          [&](Registry& registry) { registry.addLibrary(library, modulePath); });
}

HRESULT unregisterServer(const LibraryDescription& library, const QString& modulePath)
{
    return updateRegistry(modulePath,
                          [&](Registry& registry) { registry.removeLibrary(library, modulePath); });
}

HRESULT getClassObject(const LibraryDescription& library, const QUuid* clsid, const QUuid* iid,
                       void** out)
{
    if (!out) return fail(E_POINTER, QStringLiteral("No place for the class object"));
    *out = nullptr;
    if (!clsid || !iid) return fail(E_INVALIDARG, QStringLiteral("No class or interface named"));
    const ClassDescription* cls = library.findClass(*clsid);
    if (!cls || !cls->creatable || !cls->factory)
        return fail(CLASS_E_CLASSNOTAVAILABLE,
                    QStringLiteral("The class %1 is not available from %2")
                        .arg(cls ? library.progId(*cls) : clsid->toString(QUuid::WithBraces),
                             library.name));
    if (*iid != IID_IUnknown && *iid != IID_IClassFactory)
        return fail(E_NOINTERFACE, QStringLiteral("A class object offers IClassFactory only"));
    try {
        *out = new ClassFactory(library, *cls);
    } catch (const std::bad_alloc&) {
        return fail(E_OUTOFMEMORY, QStringLiteral("Out of memory"));
    }
    return succeed();
}

HRESULT canUnloadNow(const LibraryDescription& library)
{
    const ModuleState& state = moduleState(library);
    return state.objects.loadAcquire() == 0 && state.locks.loadAcquire() == 0 ? S_OK : S_FALSE;
}

void trackModuleObject(const LibraryDescription& library, QObject* object)
{
    if (object) countObject(moduleState(library), object);
}

int liveModuleObjects(const LibraryDescription& library)
{
    return moduleState(library).objects.loadAcquire();
}

int moduleLocks(const LibraryDescription& library)
{
    return moduleState(library).locks.loadAcquire();
}

QString lastServerError()
{
    return t_lastError;
}

} // namespace host
