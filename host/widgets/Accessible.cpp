#include "host/widgets/Accessible.h"

#include "host/widgets/UserControl.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace host {

namespace {

QAccessible::Role qtRole(AccessibleRole role)
{
    switch (role) {
    case AccessibleRole::CheckBox:
        return QAccessible::CheckBox;
    case AccessibleRole::RadioButton:
        return QAccessible::RadioButton;
    case AccessibleRole::Client:
        break;
    }
    return QAccessible::Client;
}

// A control that describes itself: role, name and check state come from the control each time
// they are asked, so they never go stale.
class DescribedControl : public QAccessibleWidget {
public:
    explicit DescribedControl(UserControl* control)
        : QAccessibleWidget(control, qtRole(control->accessibleDescription().role))
    {}

    QAccessible::Role role() const override { return qtRole(description().role); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) return captionWithoutAccessKeys(description().name);
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const AccessibleDescription d = description();
        if (d.role == AccessibleRole::Client) return s;
        s.checkable = true;
        s.checked = d.check != AccessibleCheck::Unchecked;
        s.checkStateMixed = d.check == AccessibleCheck::Mixed;
        return s;
    }

private:
    AccessibleDescription description() const
    {
        return static_cast<const UserControl*>(widget())->accessibleDescription();
    }
};

QAccessibleInterface* describedControlFactory(const QString& /*key*/, QObject* object)
{
    auto* control = qobject_cast<UserControl*>(object);
    if (!control || control->accessibleDescription().role == AccessibleRole::Client)
        return nullptr; // Qt's own description of a plain widget
    return new DescribedControl(control);
}

} // namespace

QString captionWithoutAccessKeys(const QString& caption)
{
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        else if (caption[i] == QLatin1Char('&'))
            continue;
        out += caption[i];
    }
    return out;
}

void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(describedControlFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void notifyAccessibleChange(QWidget* control)
{
    if (!control || !QAccessible::isActive()) return;
    QAccessible::State changed;
    changed.checked = true;
    changed.checkStateMixed = true;
    QAccessibleStateChangeEvent state(control, changed);
    QAccessible::updateAccessibility(&state);
    QAccessibleEvent name(control, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&name);
}

} // namespace host
