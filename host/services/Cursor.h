#pragma once
// Pointer position and window handles as the platform calls see them: GetCursorPos reads
// services().cursorPos, ScreenToClient maps a screen point into the widget of a window handle.

#include <QtGlobal>

class QWidget;

namespace host {

struct POINTAPI {
    qint32 x = 0;
    qint32 y = 0;
};

// The pointer in screen pixels; nonzero on success.
qint32 GetCursorPos(POINTAPI& point);
// Screen pixels to the client pixels of the window `hWnd`; 0 (point unchanged) for an unknown
// or destroyed window.
qint32 ScreenToClient(qint32 hWnd, POINTAPI& point);
// Client pixels of `hWnd` to screen pixels.
qint32 ClientToScreen(qint32 hWnd, POINTAPI& point);

// A widget's window handle: stable for the widget's life, never reused, never 0.
qint32 hwndOf(QWidget* widget);
// The live widget of a handle, or null.
QWidget* widgetFromHwnd(qint32 hWnd);

} // namespace host
