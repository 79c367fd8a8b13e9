#pragma once
// Line numbers for messages about a form file: where the form and each control start in the
// JSON text, so that "control "txtNome" (#2)" can be reported as "form.kvform:14: ...".

#include <QByteArray>
#include <QString>

namespace kvform {

// The 1-based line where control `number` (1-based, file order) opens, or where the "form"
// object opens for number 0; 0 when the text holds no such place.
int lineOfControl(const QByteArray& json, int number);

// "FILE:LINE: problem" for a FormFile or build error about the file: the line comes from the
// message's JSON position or the control it names; without one the message is kept as is.
QString withLine(const QString& message, const QString& file, const QByteArray& json);

} // namespace kvform
