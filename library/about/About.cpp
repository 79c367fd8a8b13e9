#include "library/core/Library.h"

#include "host/value/RuntimeError.h"

namespace Kv_CTRL {

void ShowAbout()
{
    // The dialog is built from the library's own button and title strip.
    host::raiseError(429, QStringLiteral("ActiveX component can't create object: the About "
                                         "dialog is not available in this build"));
}

} // namespace Kv_CTRL
