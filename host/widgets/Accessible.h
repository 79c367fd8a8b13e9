#pragma once
// What a control tells the desktop's accessibility tools about itself: a control that acts as a
// check box or an option button says so, with its caption and its check state, instead of
// passing for an anonymous drawing surface.

#include <QString>

class QWidget;

namespace host {

enum class AccessibleRole { Client, CheckBox, RadioButton };
enum class AccessibleCheck { Unchecked, Checked, Mixed };

struct AccessibleDescription {
    AccessibleRole role = AccessibleRole::Client;
    QString name; // a caption: its "&" access-key marks are not read out ("&&" reads "&")
    AccessibleCheck check = AccessibleCheck::Unchecked;
};

// The caption as read out: "Cliente &ativo" is "Cliente ativo", "A && B" is "A & B".
QString captionWithoutAccessKeys(const QString& caption);

// Installs, once per process, the accessibility factory that asks every UserControl for its
// description (UserControl does it when the first control is made).
void installAccessibleFactory();

// Tells listening accessibility tools that the control's check state or name changed.
void notifyAccessibleChange(QWidget* control);

} // namespace host
