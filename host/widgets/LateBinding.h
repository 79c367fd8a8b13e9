#pragma once
// Late binding on any control, a UserControl or a host widget: its class by name, and its
// properties read and written by name as a host's script or a form file does.

#include "host/value/Variant.h"

#include <QList>
#include <QString>

class QObject;
class QWidget;

namespace host {

// Late binding on any control (a UserControl or a host widget).
// The class name without namespace ("xpoptionbutton").
QString TypeName(const QObject* control);
// Whether the control is of that class or derives from it (by name, without namespace).
bool TypeOf(const QObject* control, const QString& className);
template <class T>
bool TypeOf(const QObject* control)
{
    return dynamic_cast<const T*>(control) != nullptr;
}
// Reads / writes a property by name (without regard to case): the control's own Q_PROPERTYs
// first, then the extender's (Name, Left, Top, Width, Height, Visible, Enabled, TabIndex,
// ToolTipText). 438 for a name it does not have, 383 for a read-only one, 13 for a value that
// does not convert.
Variant CallByNameGet(QObject* control, const QString& name);
void CallByNameLet(QObject* control, const QString& name, const Variant& value);
// Calls a method of the control's own that takes no arguments (ShowAbout), by name without
// regard to case; 438 when it has none. Its run-time errors reach the caller.
void CallMethod(QObject* control, const QString& name);
// A control is a named widget that is no window (UserControls and host widgets alike).
bool isControlWidget(const QWidget* widget);
// Every control under `root` in creation order, inside frames and picture boxes too, but not the
// widgets a UserControl is made of.
QList<QWidget*> controlsUnder(const QWidget* root);
// The controls whose container is `container` (the nearest control or window above them).
QList<QWidget*> containerControls(const QWidget* container);
// The widget of that name under `parent` (exact case first, then without regard to case); a
// UserControl's deferred constituents are made when asked for.
QWidget* childNamed(QWidget* parent, const QString& name);

} // namespace host
