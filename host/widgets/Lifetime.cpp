#include "host/widgets/Lifetime.h"

#include <QSet>
#include <QWidget>

namespace host {

namespace {
// The objects disposed and not yet deleted. Almost always empty, so the check on every event
// costs one emptiness test; entries leave when their object is destroyed.
QSet<const QObject*>& disposedObjects()
{
    static thread_local QSet<const QObject*> objects;
    return objects;
}
} // namespace

void dispose(QObject* object)
{
    if (!object || isDisposed(object)) return;
    disposedObjects().insert(object);
    QObject::connect(object, &QObject::destroyed, [object] { disposedObjects().remove(object); });
    if (auto* widget = qobject_cast<QWidget*>(object)) widget->hide();
    object->deleteLater();
}

bool isDisposed(const QObject* object)
{
    const QSet<const QObject*>& objects = disposedObjects();
    if (objects.isEmpty()) return false;
    for (const QObject* o = object; o; o = o->parent())
        if (objects.contains(o)) return true;
    return false;
}

} // namespace host
