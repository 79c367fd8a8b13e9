#pragma once
// Pictures of a form window for screenshots: the client area as the window paints it, inside a
// title bar and frame drawn in the classic blue theme (offscreen windows have no decoration).

#include <QImage>
#include <QString>

class QWidget;

namespace kvform {

QImage snapshot(QWidget* window);
// Writes the picture as PNG, creating the folder; false with a message on failure.
bool saveSnapshot(QWidget* window, const QString& path, QString* error);

} // namespace kvform
