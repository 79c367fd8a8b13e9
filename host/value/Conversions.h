#pragma once
// Number-only conversions of the runtime: floating values to its 16- and 32-bit integers.
// Text goes through the regional overloads in host/regional/Regional.h.

#include <QtGlobal>

namespace host {

// Nearest integer, ties to the even neighbour (0.5 -> 0, 1.5 -> 2, 12.5 -> 12).
double roundHalfEven(double value);

// Integer (16-bit) and Long (32-bit): rounded half to even; error 6 (Overflow) when the rounded
// value is out of range or not a number. A caller assigning the result leaves its target
// unchanged on error, since the throw comes before the assignment.
short CInt(double value);
qint32 CLng(double value);

} // namespace host
