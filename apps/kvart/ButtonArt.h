#pragma once
// The picture button's art: the small mark its picture box shows when placed, and a printer
// for the demo form's "Imprimir" button. Each is a 15 x 11 grid of named colours.

#include <QImage>

namespace kvart::picturebutton {

inline constexpr QRgb Ground = 0xFFC0C0C0; // RGB(192, 192, 192), the mark's light grey
inline constexpr QRgb Mark = 0xFF008000;   // RGB(0, 128, 0), the green tick

QImage mark(int scale = 1);
QImage printer(int scale = 1);

} // namespace kvart::picturebutton
