#include "library/core/Kv_Module.h"

namespace Kv_CTRL {

host::Date& Kv_Module::DataEscolhida()
{
    // One calendar serves the process (widgets live on one thread), so one hand-over date.
    static host::Date date;
    return date;
}

} // namespace Kv_CTRL
