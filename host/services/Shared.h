#pragma once
// State shared by every control of the process (the one calendar form, the one About form):
// made on first use, released when the application ends, so nothing of a control module
// outlives QApplication. Qt widgets live on one thread, so one instance serves the process.

#include <QObject>
#include <QPointer>
#include <memory>

namespace host {

// Keeps the object until releaseSharedObjects(); returns it.
QObject* keepShared(std::unique_ptr<QObject> object);
// Deletes every kept object, newest first. Runs by itself as the QCoreApplication ends.
void releaseSharedObjects();
// How many are kept now.
int sharedObjectCount();

// The process's one T (a QObject with a default constructor), made on first use.
template <class T>
T& shared()
{
    static QPointer<T> instance;
    if (!instance) instance = static_cast<T*>(keepShared(std::make_unique<T>()));
    return *instance;
}

} // namespace host
