#pragma once
// The intrinsic widgets a form file may name ("VB.Label", "VB.TextBox", ...): creation by class
// name, and their properties applied and read back by name for Form::build and Form::describe.

#include "host/persist/PropertyBag.h"

#include <QString>
#include <QStringList>

class QObject;
class QWidget;

namespace host {

// Whether the form-file class name is one of the host's intrinsic widgets.
bool isIntrinsicClass(const QString& className);
QStringList intrinsicClassNames();

// A new intrinsic widget (a Timer is a QObject) with the given objectName on the parent; null for
// a class name that is no intrinsic. `index` >= 0 makes it element `index` of a control array.
QObject* createIntrinsic(const QString& className, QWidget* parent, const QString& name,
                         int index = -1);

// The form-file class name of an intrinsic widget, empty for anything else.
QString intrinsicClassName(const QObject* object);

// Whether the object's placement is its own widget geometry (not so for a Timer, which has none,
// nor for a Line, whose ends are its X1/Y1/X2/Y2 properties).
bool intrinsicHasGeometry(const QObject* object);

// Sets each property of the bag by name (Font through the widget's shared font). Raises the
// setter's error, or 438 for a property the widget does not have.
void applyIntrinsicProperties(QObject* object, const PropertyBag& properties);

// The widget's writable properties that differ from those of a new widget of its class, in the
// order its class declares them (placement left out: the record carries it).
PropertyBag intrinsicProperties(const QObject* object);

} // namespace host
