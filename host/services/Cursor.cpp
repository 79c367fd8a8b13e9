#include "host/services/Cursor.h"

#include "host/services/Services.h"

#include <QCursor>
#include <QHash>
#include <QPointer>
#include <QWidget>

namespace host {

namespace {

const char* const HandleProperty = "_kv_hwnd";

struct WindowHandles {
    qint32 next = 0x00010000;
    QHash<qint32, QPointer<QWidget>> widgets;
};

WindowHandles& handles()
{
    static WindowHandles h;
    return h;
}

} // namespace

qint32 hwndOf(QWidget* widget)
{
    if (!widget) return 0;
    const QVariant stored = widget->property(HandleProperty);
    if (stored.isValid()) return stored.toInt();
    auto& h = handles();
    const qint32 handle = h.next;
    h.next += 4;
    h.widgets.insert(handle, widget);
    widget->setProperty(HandleProperty, handle);
    // Forget the handle with the widget, so the table does not grow with dead entries.
    QObject::connect(widget, &QObject::destroyed, [handle] { handles().widgets.remove(handle); });
    return handle;
}

QWidget* widgetFromHwnd(qint32 hWnd)
{
    return handles().widgets.value(hWnd).data();
}

qint32 GetCursorPos(POINTAPI& point)
{
    const auto& source = services().cursorPos;
    const QPoint p = source ? source() : QCursor::pos();
    point.x = p.x();
    point.y = p.y();
    return 1;
}

qint32 ScreenToClient(qint32 hWnd, POINTAPI& point)
{
    QWidget* widget = widgetFromHwnd(hWnd);
    if (!widget) return 0;
    const QPoint p = widget->mapFromGlobal(QPoint(point.x, point.y));
    point.x = p.x();
    point.y = p.y();
    return 1;
}

qint32 ClientToScreen(qint32 hWnd, POINTAPI& point)
{
    QWidget* widget = widgetFromHwnd(hWnd);
    if (!widget) return 0;
    const QPoint p = widget->mapToGlobal(QPoint(point.x, point.y));
    point.x = p.x();
    point.y = p.y();
    return 1;
}

} // namespace host
