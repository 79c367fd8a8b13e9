#include "library/core/Kv_Module.h"

namespace Kv_CTRL {

host::Date& Kv_Module::DataEscolhida()
{
    // Each user-interface thread has its own calendar, so each has its own hand-over date.
    thread_local host::Date date;
    return date;
}

} // namespace Kv_CTRL
