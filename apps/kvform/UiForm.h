#pragma once
// Qt Designer forms (.ui) run by kvform as its own form files. The top widget is the form (its
// objectName, windowTitle and size), each Kv_CTRL widget one control created by ProgID
// ("Kv_CTRL::txtCampo" -> "Kv_CTRL.txtCampo") at its designed place. The designed properties
// are then set through the controls' properties in file order, as QUiLoader sets them on the
// controls Designer made: the form shows what Designer showed.

#include "host/persist/FormFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

namespace host {
class Form;
}

namespace kvform {

// One property a .ui sets on a control.
struct UiSetting {
    QString control;
    QString property;
    QVariant value;      // for an enumeration, the key without its scope ("Money")
    bool isEnum = false; // resolved by the property's own enumeration once the control exists
    int line = 0;
};

struct UiForm {
    host::FormDescription description; // controls with empty property bags
    QList<UiSetting> settings;
};

bool isUiFile(const QString& path);

// Reads a .ui file held in memory; a FormFileError names "FILE:LINE: problem" for anything it
// cannot place (a widget that is not a Kv_CTRL control, a layout, a value of an unknown kind).
UiForm parseUi(const QByteArray& bytes, const QString& sourceName);

// Sets the designed properties on the built form; a RuntimeError of a setter is given back as a
// FormFileError naming the file and line.
void applyUiSettings(const UiForm& ui, host::Form& form, const QString& sourceName);

} // namespace kvform
