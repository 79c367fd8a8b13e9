#pragma once
// Kv_Module: the library's module-level state, one for the process (widgets live on one thread).
// DataEscolhida is the date the calendar hands back to the field that opened it (0 = no date).

#include "host/value/Date.h"

namespace Kv_CTRL {

class Kv_Module {
public:
    Kv_Module() = delete;

    // The chosen date; assign through the reference.
    static host::Date& DataEscolhida();
};

} // namespace Kv_CTRL
