#include "host/widgets/Lifetime.h"

#include <QWidget>

namespace host {

namespace {
const char* const DisposedProperty = "_kv_disposed";
}

void dispose(QObject* object)
{
    if (!object || isDisposed(object)) return;
    object->setProperty(DisposedProperty, true);
    if (auto* widget = qobject_cast<QWidget*>(object)) widget->hide();
    object->deleteLater();
}

bool isDisposed(const QObject* object)
{
    for (const QObject* o = object; o; o = o->parent())
        if (o->property(DisposedProperty).toBool()) return true;
    return false;
}

} // namespace host
