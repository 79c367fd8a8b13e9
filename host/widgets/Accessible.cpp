#include "host/widgets/Accessible.h"

#include "host/services/Guard.h"
#include "host/widgets/Frame.h"
#include "host/widgets/Label.h"
#include "host/widgets/UserControl.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QHash>
#include <QKeySequence>
#include <QPointer>

#include <limits>

namespace host {

namespace {

QAccessible::Role qtRole(AccessibleRole role)
{
    switch (role) {
    case AccessibleRole::CheckBox:
        return QAccessible::CheckBox;
    case AccessibleRole::RadioButton:
        return QAccessible::RadioButton;
    case AccessibleRole::PushButton:
        return QAccessible::PushButton;
    case AccessibleRole::EditableText:
        return QAccessible::EditableText;
    case AccessibleRole::ProgressBar:
        return QAccessible::ProgressBar;
    case AccessibleRole::StaticText:
        return QAccessible::StaticText;
    case AccessibleRole::Client:
        break;
    }
    return QAccessible::Client;
}

bool isToggle(AccessibleRole role)
{
    return role == AccessibleRole::CheckBox || role == AccessibleRole::RadioButton;
}

// Captions of buttons mark their access key; drawn text shows "&" as it is.
bool marksAccessKey(AccessibleRole role)
{
    return role == AccessibleRole::PushButton || isToggle(role);
}

// A control that describes itself: everything is asked of the control each time, so it never
// goes stale. What the control draws inside itself (its caption label, its picture) is part of
// it, not children of their own.
class DescribedControl : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit DescribedControl(UserControl* control)
        : QAccessibleWidget(control, qtRole(control->accessibleRole()))
    {}

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface && description().role == AccessibleRole::ProgressBar)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QAccessible::Role role() const override { return qtRole(description().role); }

    QString text(QAccessible::Text t) const override
    {
        const AccessibleDescription d = description();
        switch (t) {
        case QAccessible::Name:
            return marksAccessKey(d.role) ? captionWithoutAccessKeys(d.name) : d.name;
        case QAccessible::Accelerator:
            return marksAccessKey(d.role) ? accessKeyOf(d.name) : QString();
        case QAccessible::Value:
            if (d.role == AccessibleRole::ProgressBar) return QString::number(d.value);
            break;
        default:
            break;
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const AccessibleDescription d = description();
        if (isToggle(d.role)) {
            s.checkable = true;
            s.checked = d.check != AccessibleCheck::Unchecked;
            s.checkStateMixed = d.check == AccessibleCheck::Mixed;
        }
        if (d.role == AccessibleRole::ProgressBar || d.role == AccessibleRole::StaticText)
            s.readOnly = true;
        return s;
    }

    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    // Actions: one, the control's own (the widget's focus action is not offered).
    QStringList actionNames() const override
    {
        const AccessibleRole r = description().role;
        if (r == AccessibleRole::PushButton) return {pressAction()};
        if (isToggle(r)) return {toggleAction()};
        return {};
    }
    void doAction(const QString& name) override
    {
        if (!actionNames().contains(name) || !widget()->isEnabled()) return;
        auto* control = static_cast<UserControl*>(widget());
        guardIn(control, [&] { control->accessibleAction(); });
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        const QString key = text(QAccessible::Accelerator);
        if (key.isEmpty() || !actionNames().contains(name)) return {};
        return {key};
    }

    // Value: what the gauge shows, read only.
    QVariant currentValue() const override { return description().value; }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return description().maximum; }
    QVariant minimumValue() const override { return description().minimum; }
    QVariant minimumStepSize() const override { return 0; }

private:
    AccessibleDescription description() const
    {
        return static_cast<const UserControl*>(widget())->accessibleDescription();
    }
};

// ---------------------------------------------------------------- grids

struct GridEntry {
    AccessibleGrid grid;
    QPointer<QObject> node; // the table's own object, child of the container
    QAccessible::Role containerRole = QAccessible::Client;
    int lastSelected = -1;
};

QHash<const QObject*, GridEntry>& grids()
{
    static QHash<const QObject*, GridEntry> all;
    return all;
}

const GridEntry* gridOfNode(const QObject* node)
{
    for (const GridEntry& e : std::as_const(grids()))
        if (e.node == node) return &e;
    return nullptr;
}

int indexOfCell(const GridEntry& e, const QObject* object)
{
    for (qsizetype i = 0; i < e.grid.cells.size(); ++i)
        if (e.grid.cells.at(i) == object) return int(i);
    return -1;
}

const GridEntry* gridOfCell(const QObject* cell, int* index = nullptr)
{
    if (!cell->isWidgetType()) return nullptr;
    const auto it = grids().constFind(static_cast<const QWidget*>(cell)->parentWidget());
    if (it == grids().constEnd()) return nullptr;
    const int i = indexOfCell(*it, cell);
    if (i < 0) return nullptr;
    if (index) *index = i;
    return &*it;
}

int selectedOf(const GridEntry& e)
{
    return e.grid.selected ? e.grid.selected() : -1;
}

QString labelText(const QWidget* w)
{
    const auto* label = qobject_cast<const QLabel*>(w);
    return label ? label->text() : QString();
}

// The grid itself: a table whose children are the cells, row by row.
class GridTable : public QAccessibleObject, public QAccessibleTableInterface {
public:
    explicit GridTable(QObject* node) : QAccessibleObject(node) {}

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleObject::interface_cast(t);
    }
    QAccessible::Role role() const override { return QAccessible::Table; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.readOnly = true;
        return s;
    }
    QString text(QAccessible::Text t) const override
    {
        const GridEntry* e = entry();
        return e && t == QAccessible::Name ? e->grid.name : QString();
    }
    QRect rect() const override
    {
        QRect r;
        if (const GridEntry* e = entry())
            for (QWidget* cell : e->grid.cells)
                if (cell && cell->isVisible())
                    r |= QRect(cell->mapToGlobal(QPoint(0, 0)), cell->size());
        return r;
    }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(object()->parent());
    }
    int childCount() const override
    {
        const GridEntry* e = entry();
        return e ? int(e->grid.cells.size()) : 0;
    }
    QAccessibleInterface* child(int index) const override
    {
        const GridEntry* e = entry();
        if (!e || index < 0 || index >= e->grid.cells.size()) return nullptr;
        return QAccessible::queryAccessibleInterface(e->grid.cells.at(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const GridEntry* e = entry();
        return e && child ? indexOfCell(*e, child->object()) : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (QAccessibleInterface* c = child(i); c && c->rect().contains(x, y)) return c;
        return nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (column < 0 || column >= columnCount() || row < 0) return nullptr;
        return child(row * columnCount() + column);
    }
    int selectedCellCount() const override { return selectedCells().size(); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        const GridEntry* e = entry();
        const int s = e ? selectedOf(*e) : -1;
        if (QAccessibleInterface* c = s >= 0 ? child(s) : nullptr) return {c};
        return {};
    }
    QString columnDescription(int column) const override
    {
        const GridEntry* e = entry();
        if (!e || column < 0 || column >= e->grid.headers.size()) return {};
        return labelText(e->grid.headers.at(column));
    }
    QString rowDescription(int) const override { return {}; }
    int columnCount() const override
    {
        const GridEntry* e = entry();
        return e ? std::max(1, e->grid.columns) : 0;
    }
    int rowCount() const override
    {
        const int columns = columnCount();
        return columns ? (childCount() + columns - 1) / columns : 0;
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    const GridEntry* entry() const { return gridOfNode(object()); }
};

// One cell of a grid: its text, whether it is the chosen one, and where it stands.
class GridCell : public QAccessibleWidget, public QAccessibleTableCellInterface {
public:
    explicit GridCell(QWidget* cell) : QAccessibleWidget(cell, QAccessible::Cell) {}

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) return labelText(widget()).trimmed();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.selected = isSelected();
        return s;
    }
    QAccessibleInterface* parent() const override { return table(); }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }

    bool isSelected() const override
    {
        int i = -1;
        const GridEntry* e = gridOfCell(widget(), &i);
        return e && selectedOf(*e) == i;
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override
    {
        int i = -1;
        const GridEntry* e = gridOfCell(widget(), &i);
        if (!e || e->grid.columns <= 0) return {};
        const int column = i % e->grid.columns;
        if (column >= e->grid.headers.size()) return {};
        return {QAccessible::queryAccessibleInterface(e->grid.headers.at(column))};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return position().second; }
    int rowIndex() const override { return position().first; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override
    {
        const GridEntry* e = gridOfCell(widget());
        return e ? QAccessible::queryAccessibleInterface(e->node.data()) : nullptr;
    }

private:
    std::pair<int, int> position() const
    {
        int i = -1;
        const GridEntry* e = gridOfCell(widget(), &i);
        if (!e || e->grid.columns <= 0) return {-1, -1};
        return {i / e->grid.columns, i % e->grid.columns};
    }
};

// The container of a grid: its own children, with the cells gathered into the table.
class GridContainer : public QAccessibleWidget {
public:
    GridContainer(QWidget* container, QAccessible::Role role) : QAccessibleWidget(container, role)
    {}

    int childCount() const override { return int(children().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<QAccessibleInterface*> all = children();
        return index >= 0 && index < all.size() ? all.at(index) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return int(children().indexOf(const_cast<QAccessibleInterface*>(child)));
    }

private:
    QList<QAccessibleInterface*> children() const
    {
        QList<QAccessibleInterface*> out;
        const auto it = grids().constFind(widget());
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
            QAccessibleInterface* c = QAccessibleWidget::child(i);
            if (c && !(it != grids().constEnd() && indexOfCell(*it, c->object()) >= 0)) out << c;
        }
        if (it != grids().constEnd() && it->node)
            out << QAccessible::queryAccessibleInterface(it->node.data());
        return out;
    }
};

// A frame: the group of the controls on it (option buttons read as one group), named by its
// caption.
class FrameGroup : public QAccessibleWidget {
public:
    explicit FrameGroup(Frame* frame) : QAccessibleWidget(frame, QAccessible::Grouping) {}
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return captionWithoutAccessKeys(static_cast<const Frame*>(widget())->get_Caption());
        return QAccessibleWidget::text(t);
    }
};

void updateEditor(const AccessibleDescription& d)
{
    QWidget* editor = d.editor;
    if (!editor) return;
    const QString name = captionWithoutAccessKeys(d.name);
    if (editor->accessibleName() != name) editor->setAccessibleName(name);
    const QString description = d.required ? requiredFieldDescription() : QString();
    if (editor->accessibleDescription() != description)
        editor->setAccessibleDescription(description);
}

void nameEveryEditor()
{
    for (QWidget* w : QApplication::allWidgets())
        if (auto* field = qobject_cast<const UserControl*>(w);
            field && field->accessibleRole() == AccessibleRole::EditableText)
            updateEditor(field->accessibleDescription());
}

// Names drift while no tool listens (labels change, fields move): all are read afresh when one
// starts listening.
class EditorNamer : public QAccessible::ActivationObserver {
public:
    void accessibilityActiveChanged(bool active) override
    {
        if (active) nameEveryEditor();
    }
};

QAccessibleInterface* describedControlFactory(const QString& /*key*/, QObject* object)
{
    if (grids().contains(object)) {
        auto* w = static_cast<QWidget*>(object);
        return new GridContainer(w, grids().value(object).containerRole);
    }
    if (gridOfNode(object)) return new GridTable(object);
    if (gridOfCell(object)) return new GridCell(static_cast<QWidget*>(object));
    if (auto* frame = qobject_cast<Frame*>(object)) return new FrameGroup(frame);
    auto* control = qobject_cast<UserControl*>(object);
    if (!control) return nullptr;
    const AccessibleRole role = control->accessibleRole();
    // A plain surface, or a field whose editor speaks for it: Qt's own description.
    if (role == AccessibleRole::Client || role == AccessibleRole::EditableText) return nullptr;
    return new DescribedControl(control);
}

// Drops a description made before the object's part was known, so the next question is
// answered by the factory again.
void forgetInterface(QObject* object)
{
    if (!object) return;
    if (QAccessibleInterface* i = QAccessible::queryAccessibleInterface(object))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(i));
}

} // namespace

QString requiredFieldDescription()
{
    return QStringLiteral("Campo obrigat\u00f3rio");
}

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

QString accessKeyOf(const QString& caption)
{
    const QKeySequence key = QKeySequence::mnemonic(caption);
    return key.isEmpty() ? QString() : key.toString(QKeySequence::NativeText);
}

QString captionBeside(const QWidget* control)
{
    const QWidget* parent = control ? control->parentWidget() : nullptr;
    if (!parent) return {};
    const QRect c = control->geometry();
    const Label* best = nullptr;
    int bestDistance = std::numeric_limits<int>::max();
    for (QObject* child : parent->children()) {
        const auto* label = qobject_cast<const Label*>(child);
        if (!label || label->isHidden() || label->text().isEmpty()) continue;
        const QRect l = label->geometry();
        const bool sameLine = l.top() < c.bottom() && l.bottom() > c.top();
        const bool left = sameLine && l.center().x() < c.left();
        // Above: overlapping the field's columns, no further up than one field height (a
        // heading above a column of fields names none of them).
        const bool above = l.bottom() <= c.top() + 2 && c.top() - l.bottom() <= c.height() &&
                           l.left() < c.right() && l.right() > c.left() - 8;
        // At the left first: a label above is only taken when none stands on the line.
        int distance = std::numeric_limits<int>::max();
        if (left)
            distance = c.left() - l.right();
        else if (above)
            distance = 100000 + c.top() - l.bottom();
        if (distance < bestDistance) {
            bestDistance = distance;
            best = label;
        }
    }
    return best ? best->text() : QString();
}

void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(describedControlFactory);
        static EditorNamer namer;
        QAccessible::installActivationObserver(&namer);
        return true;
    }();
    Q_UNUSED(installed);
}

void notifyAccessibleChange(QWidget* control, int changes)
{
    // Describing a field looks at every label beside it: with nobody listening there is nothing
    // to say (a tool that starts listening has every name read then).
    if (!control || !QAccessible::isActive()) return;
    const auto* surface = qobject_cast<const UserControl*>(control);
    const AccessibleDescription d =
        surface ? surface->accessibleDescription() : AccessibleDescription{};
    if (d.role == AccessibleRole::EditableText) {
        updateEditor(d);
        return;
    }
    if (changes & AccessibleCheckChanged) {
        QAccessible::State changed;
        changed.checked = true;
        changed.checkStateMixed = true;
        QAccessibleStateChangeEvent state(control, changed);
        QAccessible::updateAccessibility(&state);
    }
    if (changes & AccessibleValueChanged) {
        QAccessibleValueChangeEvent value(control, d.value);
        QAccessible::updateAccessibility(&value);
    }
    if (changes & AccessibleNameChanged) {
        QAccessibleEvent name(control, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&name);
    }
}

void describeGrid(QWidget* container, AccessibleGrid grid)
{
    if (!container) return;
    installAccessibleFactory();
    QAccessible::Role role = container->isWindow() ? QAccessible::Window : QAccessible::Client;
    if (QAccessibleInterface* i = QAccessible::queryAccessibleInterface(container))
        role = i->role();
    GridEntry entry;
    entry.node = new QObject(container);
    entry.node->setObjectName(QStringLiteral("grid"));
    entry.containerRole = role;
    entry.grid = std::move(grid);
    const QList<QWidget*> cells = entry.grid.cells;
    grids().insert(container, std::move(entry));
    QObject::connect(container, &QObject::destroyed, [container] { grids().remove(container); });
    forgetInterface(container);
    for (QWidget* cell : cells)
        forgetInterface(cell);
}

void notifyGridChange(QWidget* container)
{
    const auto it = grids().find(container);
    if (it == grids().end()) return;
    const int now = selectedOf(*it);
    const int before = std::exchange(it->lastSelected, now);
    if (!QAccessible::isActive() || now == before) return;
    QAccessible::State changed;
    changed.selected = true;
    for (const int index : {before, now}) {
        if (index < 0 || index >= it->grid.cells.size()) continue;
        QAccessibleStateChangeEvent state(it->grid.cells.at(index), changed);
        QAccessible::updateAccessibility(&state);
    }
    if (now >= 0 && now < it->grid.cells.size()) {
        QAccessibleEvent add(it->grid.cells.at(now), QAccessible::SelectionAdd);
        QAccessible::updateAccessibility(&add);
    }
}

} // namespace host
