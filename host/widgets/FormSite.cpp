#include "host/widgets/FormSite.h"

#include "host/value/RuntimeError.h"
#include "host/widgets/Keys.h"

#include <QHash>
#include <QWidget>

namespace host {

namespace {

const char* const TabIndexProperty = "_kv_tabIndex";

QHash<const QWidget*, FormSite*>& sites()
{
    static QHash<const QWidget*, FormSite*> map;
    return map;
}

} // namespace

FormSite::~FormSite()
{
    auto& map = sites();
    for (auto it = map.begin(); it != map.end();)
        it = it.value() == this ? map.erase(it) : std::next(it);
}

FormSite* FormSite::of(const QWidget* widget)
{
    if (!widget) return nullptr;
    return sites().value(widget->window(), nullptr);
}

void FormSite::attachWindow(const QWidget* window)
{
    installKeyPreview();
    sites().insert(window, this);
}

void FormSite::detachWindow(const QWidget* window)
{
    sites().remove(window);
}

short tabIndexOfControl(const QWidget* control)
{
    if (const FormSite* site = FormSite::of(control)) {
        const short index = site->tabIndexOf(control);
        if (index >= 0) return index;
    }
    return short(control->property(TabIndexProperty).toInt());
}

void setTabIndexOfControl(QWidget* control, short index)
{
    if (index < 0) raiseError(Err::InvalidPropertyValue);
    if (FormSite* site = FormSite::of(control); site && site->tabIndexOf(control) >= 0) {
        site->setTabIndex(control, index);
        return;
    }
    control->setProperty(TabIndexProperty, int(index));
}

} // namespace host
