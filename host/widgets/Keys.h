#pragma once
// The runtime's view of the keyboard: virtual-key codes, the shift mask and KeyAscii, and the
// form's key preview that every focusable widget runs before raising its own key events.

#include <QtGlobal>
#include <qnamespace.h>

class QKeyEvent;
class QWidget;

namespace host {

// Shift mask bits of KeyDown/KeyUp and mouse events.
enum ShiftMask : short { ShiftMaskShift = 1, ShiftMaskCtrl = 2, ShiftMaskAlt = 4 };

// Virtual-key code of a Qt key: letters 65..90, digits 48..57, Backspace 8, Tab 9, Enter 13,
// Shift 16, Ctrl 17, Alt 18, Escape 27, Space 32, PageUp 33 .. Down 40, Insert 45, Delete 46,
// F1 112 ..; 0 for a key without one.
short virtualKeyCode(const QKeyEvent* event);
short shiftMask(Qt::KeyboardModifiers modifiers);
// The KeyAscii a key press produces: the character's code point as 16 bits (ç 231), Ctrl+letter
// 1..26, Enter 13, Backspace 8, Escape 27, Tab 9; 0 when the key produces no character.
short keyAsciiOf(const QKeyEvent* event);

// The form's key preview for a key arriving at `widget`: the form's Form_KeyDown/KeyPress/KeyUp
// run first and the arguments come back as its handler left them. Nothing happens when the
// widget is on no form or its form's KeyPreview is off.
void previewKeyDown(QWidget* widget, short& keyCode, short& shift);
void previewKeyPress(QWidget* widget, short& keyAscii);
void previewKeyUp(QWidget* widget, short& keyCode, short& shift);
// Installs, once per application, the filter that runs the preview before Qt's shortcuts, so
// Alt+F reaches Form_KeyDown before an access key takes it.
void installKeyPreview();

} // namespace host
