#include "library/module/Factories.h"

#include "controls/field/txtCampo.h"
#include "controls/picturebutton/cmdButton.h"
#include "controls/progress/ProgressBar.h"
#include "controls/verticaltext/VericalText.h"
#include "controls/xp/xpcheckbox.h"
#include "controls/xp/xpcmdbutton.h"
#include "controls/xp/xpoptionbutton.h"

#include <cstring>

namespace Kv_CTRL {

namespace {

template <class T>
host::UserControl* make(QWidget* parent)
{
    return new T(parent);
}

template <class T>
Implementation implementation()
{
    return {&make<T>, &T::staticMetaObject};
}

struct Entry {
    const char* className;
    Implementation implementation;
};

// One line a control class.
// clang-format off
const Entry entries[] = {
    {"txtCampo", implementation<txtCampo>()},
    {"cmdButton", implementation<cmdButton>()},
    {"ProgressBar", implementation<ProgressBar>()},
    {"xpcmdbutton", implementation<xpcmdbutton>()},
    {"VericalText", implementation<VericalText>()},
    {"xpcheckbox", implementation<xpcheckbox>()},
    {"xpoptionbutton", implementation<xpoptionbutton>()},
};
// clang-format on

} // namespace

Implementation implementationOf(const char* className)
{
    for (const Entry& entry : entries)
        if (std::strcmp(entry.className, className) == 0) return entry.implementation;
    return {};
}

} // namespace Kv_CTRL
