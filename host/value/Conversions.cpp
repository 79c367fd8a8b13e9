#include "host/value/Conversions.h"

#include "host/value/RuntimeError.h"

#include <cmath>
#include <limits>

namespace host {

double roundHalfEven(double value)
{
    // Done by hand rather than with nearbyint(): the result must not depend on the floating-point
    // rounding mode some other code in the process may have changed.
    // From 2^52 on every double is a whole number; below it the value fits 64 bits, whose
    // truncation gives the floor without a library call (drawings round every band).
    constexpr double Whole = 4503599627370496.0;
    if (!(std::fabs(value) < Whole) || value == 0) return value; // NaN, infinities, -0 as given
    const double truncated = double(qint64(value));
    const double below = truncated > value ? truncated - 1.0 : truncated;
    const double fraction = value - below; // exact for every double
    if (fraction < 0.5) return below;
    if (fraction > 0.5) return below + 1.0;
    return (qint64(below) & 1) == 0 ? below : below + 1.0;
}

namespace {

template <typename Integer>
Integer roundedInto(double value)
{
    const double rounded = roundHalfEven(value);
    // Written so that NaN fails the test too.
    if (!(rounded >= double(std::numeric_limits<Integer>::min()) &&
          rounded <= double(std::numeric_limits<Integer>::max())))
        raiseError(Err::Overflow);
    return Integer(rounded);
}

} // namespace

short CInt(double value)
{
    return roundedInto<short>(value);
}

qint32 CLng(double value)
{
    return roundedInto<qint32>(value);
}

} // namespace host
