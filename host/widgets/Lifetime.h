#pragma once
// Any event handler may unload a form or delete controls while an event is being delivered, so
// destruction is deferred to the event loop: dispose() marks the object and its children as gone
// and deletes them later; code that raised an event re-checks its object with a LifeGuard.

#include <QPointer>

namespace host {

// Hides a widget (if it is one), marks it and every descendant as disposed, and deletes it once
// control is back in the event loop. Disposing twice does nothing more.
void dispose(QObject* object);
// Whether dispose() was called on the object or one of its ancestors.
bool isDisposed(const QObject* object);

// Taken before raising an event; alive() is false once the object was deleted or disposed.
class LifeGuard {
public:
    explicit LifeGuard(QObject* object) : m_object(object) {}
    bool alive() const { return m_object && !isDisposed(m_object); }
    explicit operator bool() const { return alive(); }

private:
    QPointer<QObject> m_object;
};

} // namespace host
