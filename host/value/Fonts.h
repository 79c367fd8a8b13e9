#pragma once
// The host's font faces: the classic desktop faces the controls name, mapped to the metric-
// compatible fonts installed here, so that every widget converts a font the same way.

#include <QFont>
#include <QString>

namespace host {

// The installed family that stands in for a face ("MS Sans Serif" -> "Liberation Sans"); a face
// without a substitute is returned as given. Faces are matched without regard to case.
QString qtFamilyFor(const QString& face);

// The Qt font for a face, a size in points and the runtime's weight (0..1000, 0 meaning normal).
// "Arial Black" becomes Liberation Sans at black weight, its substitute having no black face.
QFont qtFontFor(const QString& name, double points, int weight = 400, bool italic = false,
                bool underline = false, bool strikethrough = false);

// Registers the substitutions with QFont, so that a QFont naming a classic face directly finds the
// substitute too. Runs by itself when the application object is created; calling again is harmless.
void registerFontSubstitutions();

} // namespace host
