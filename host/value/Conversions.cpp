#include "host/value/Conversions.h"

#include "host/value/RuntimeError.h"

#include <cmath>
#include <limits>

namespace host {

double roundHalfEven(double value)
{
    // Done by hand rather than with nearbyint(): the result must not depend on the floating-point
    // rounding mode some other code in the process may have changed.
    if (!std::isfinite(value)) return value;
    const double below = std::floor(value);
    const double fraction = value - below; // exact for every double
    if (fraction < 0.5) return below;
    if (fraction > 0.5) return below + 1.0;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
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
