#pragma once
// What a control tells the desktop's accessibility tools about itself: which kind of widget it
// acts as (a push button, a check box, a gauge, a line of text), with its name, its state and
// what a tool may do with it, instead of passing for an anonymous drawing surface. Controls
// fill a description; the host turns it into what the tools read.

#include <QList>
#include <QString>
#include <functional>

class QWidget;

namespace host {

enum class AccessibleRole {
    Client,       // a plain surface: the tools see its children
    CheckBox,     // check state, the toggle action
    RadioButton,  // check state, the toggle action (which only ever selects)
    PushButton,   // the press action
    EditableText, // the control's editor child takes the name and the required state
    ProgressBar,  // value, minimum and maximum
    StaticText,   // the name is the text shown
};
enum class AccessibleCheck { Unchecked, Checked, Mixed };

struct AccessibleDescription {
    AccessibleRole role = AccessibleRole::Client;
    // A caption: its "&" access-key marks are not read out ("&&" reads "&"); the marked letter
    // is announced as the action's key (Alt+letter).
    QString name;
    AccessibleCheck check = AccessibleCheck::Unchecked;
    // EditableText: the child the user types into, and whether the form needs an entry in it.
    QWidget* editor = nullptr;
    bool required = false;
    // ProgressBar: where the value stands between its bounds.
    double value = 0;
    double minimum = 0;
    double maximum = 0;
};

// What is said of a required field: the toolkit has no such state to announce.
QString requiredFieldDescription();

// The caption as read out: "Cliente &ativo" is "Cliente ativo", "A && B" is "A & B".
QString captionWithoutAccessKeys(const QString& caption);
// The access key as the tools announce it: "Alt+S" for "&Salvar", empty without a mark.
QString accessKeyOf(const QString& caption);

// The caption of the label that names `control` on its form: the nearest host Label at its left
// on the same line (a form's usual layout), else one just above it (at most a field's height
// away); empty without one.
QString captionBeside(const QWidget* control);

// Installs, once per process, the accessibility factory that asks every UserControl for its
// description and names frames and grids (the first control, frame or grid made does it).
void installAccessibleFactory();

// What changed in a control's description, to be announced to listening tools.
enum AccessibleChange {
    AccessibleNameChanged = 1,
    AccessibleCheckChanged = 2,
    AccessibleValueChanged = 4,
    AccessibleRequiredChanged = 8,
};
// Tells listening tools what changed (an EditableText control's editor takes its new name and
// required state at the same time).
void notifyAccessibleChange(QWidget* control,
                            int changes = AccessibleNameChanged | AccessibleCheckChanged);

// A grid of cells that a form lays out itself (widgets of one container, row by row), read out
// as a table: the headers name the columns, `selected` tells which cell is chosen (-1: none).
// The cells take their names from their own text; an empty cell reads as empty.
struct AccessibleGrid {
    QString name;
    int columns = 1;
    QList<QWidget*> headers;
    QList<QWidget*> cells;
    std::function<int()> selected;
};
void describeGrid(QWidget* container, AccessibleGrid grid);
// Tells listening tools that the grid's chosen cell (or what the cells show) changed.
void notifyGridChange(QWidget* container);

} // namespace host
