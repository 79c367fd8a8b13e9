#pragma once
// The registration service behind a control module's exported entry points: registers and
// unregisters its classes, hands out class factories, and counts the module's live objects and
// locks to tell whether the module may be unloaded.

#include "host/automation/HResult.h"
#include "host/automation/TypeLib.h"

#include <QAtomicInt>
#include <QString>
#include <QUuid>

class QObject;
class QWidget;

namespace host {

inline const QUuid IID_IUnknown{0x00000000, 0x0000, 0x0000, 0xC0, 0x00, 0x00,
                                0x00,       0x00,   0x00,   0x00, 0x46};
inline const QUuid IID_IClassFactory{0x00000001, 0x0000, 0x0000, 0xC0, 0x00, 0x00,
                                     0x00,       0x00,   0x00,   0x00, 0x46};

// The signatures of a control module's exported entry points (C linkage).
extern "C" {
typedef HRESULT (*DllRegisterServerFunction)();
typedef HRESULT (*DllUnregisterServerFunction)();
typedef HRESULT (*DllGetClassObjectFunction)(const QUuid* clsid, const QUuid* iid, void** out);
typedef HRESULT (*DllCanUnloadNowFunction)();
}

// Makes the objects of one class of a module. Reference counted: the caller of
// DllGetClassObject owns one reference and gives it back with Release().
class ClassFactory {
public:
    ClassFactory(const LibraryDescription& library, const ClassDescription& cls);
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    // IUnknown and IClassFactory give the factory itself (with a new reference).
    HRESULT QueryInterface(const QUuid& iid, void** out);
    quint32 AddRef();
    quint32 Release(); // deletes the factory at zero

    // A new control on the parent; its life cycle is not started yet (the container does
    // that). E_POINTER for a null out-pointer, CLASS_E_CLASSNOTAVAILABLE for a class that has
    // no implementation, E_FAIL when the control's construction raises an error.
    HRESULT CreateInstance(QWidget* parent, UserControl** out);
    // Keeps the module loaded while locked (counted).
    HRESULT LockServer(bool lock);

    const ClassDescription& classDescription() const { return m_class; }

private:
    ~ClassFactory();

    const LibraryDescription& m_library;
    const ClassDescription& m_class;
    QAtomicInt m_refs{1};
};

// The entry points' services; the module passes its description and its own file.
HRESULT registerServer(const LibraryDescription& library, const QString& modulePath);
HRESULT unregisterServer(const LibraryDescription& library, const QString& modulePath);
HRESULT getClassObject(const LibraryDescription& library, const QUuid* clsid, const QUuid* iid,
                       void** out);
// S_OK while no object of the module is alive (controls and class factories) and no lock is
// held, S_FALSE otherwise.
HRESULT canUnloadNow(const LibraryDescription& library);

// Counts an object that the module created by other means (a shared form) as alive until it
// is destroyed.
void trackModuleObject(const LibraryDescription& library, QObject* object);
int liveModuleObjects(const LibraryDescription& library);
int moduleLocks(const LibraryDescription& library);

// Why the last registration or creation call of this thread failed (empty after a success).
QString lastServerError();

} // namespace host
