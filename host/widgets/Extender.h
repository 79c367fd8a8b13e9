#pragma once
// What a control sees of its container: the Ambient properties it reads, and the Extender that
// holds its name, placement, visibility and tab order on the container's side.

#include "host/value/OleColor.h"
#include "host/value/StdFont.h"
#include "host/value/Variant.h"

#include <QList>
#include <QString>

class QWidget;

namespace host {

class UserControl;

// What the container tells a control (Ambient): read when asked.
class AmbientProperties {
public:
    explicit AmbientProperties(const UserControl* control) : m_control(control) {}
    bool get_UserMode() const { return true; }
    QString get_DisplayName() const; // the extender name
    FontRef get_Font() const;        // a new font object copying the container's font
    OleColor get_BackColor() const;
    OleColor get_ForeColor() const;

private:
    const UserControl* m_control;
};

// The container's side of a control (Extender): name, placement in twips, visibility, tab
// order, and late-bound access to the control and to its siblings.
class ControlExtender {
public:
    explicit ControlExtender(UserControl* control) : m_control(control) {}
    QString get_Name() const;
    float get_Left() const;
    void put_Left(float twips);
    float get_Top() const;
    void put_Top(float twips);
    float get_Width() const;
    void put_Width(float twips);
    float get_Height() const;
    void put_Height(float twips);
    void Move(float left, float top, float width, float height);
    bool get_Visible() const;
    void put_Visible(bool visible);
    bool get_Enabled() const;
    void put_Enabled(bool enabled);
    short get_TabIndex() const;
    void put_TabIndex(short index);
    QString get_ToolTipText() const;
    void put_ToolTipText(const QString& text);

    QWidget* get_Container() const;
    // The controls on the same container, this one included, in creation order.
    QList<QWidget*> ContainerControls() const;
    QString TypeName() const;
    bool TypeOf(const QString& className) const;
    Variant getProperty(const QString& name) const;
    void setProperty(const QString& name, const Variant& value);

private:
    UserControl* m_control;
};

} // namespace host
