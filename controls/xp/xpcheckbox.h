#pragma once
// xpcheckbox: the three-state check box with the flat look, its box cut from a twelve-cell strip
// (value x resting, hovered, pressed, disabled) beside a caption; it polls the pointer while
// hovered and raises MouseOut when it leaves. A click toggles Unchecked and Checked; Mixed is
// only ever set by the program.

#include "host/value/StdFont.h"
#include "host/widgets/UserControl.h"
#include "library/core/Enums.h"
#include "library/core/Library.h"

#include <QString>

namespace host {
class HoverTimer;
class Label;
class PictureBox;
class PictureClip;
class PropertyBag;
} // namespace host

namespace Kv_CTRL {

class xpcheckbox : public host::UserControl {
    Q_OBJECT
    KV_CTRL_PROJECT
    Q_PROPERTY(bool Enabled READ get_Enabled WRITE put_Enabled)
    Q_PROPERTY(Kv_CTRL::State Value READ get_Value WRITE put_Value)
    Q_PROPERTY(QString Caption READ get_Caption WRITE put_Caption)
    Q_PROPERTY(host::FontRef Font READ get_Font WRITE putref_Font)
    Q_PROPERTY(host::OleColor BackColor READ get_BackColor WRITE put_BackColor)
    Q_PROPERTY(host::OleColor ForeColor READ get_ForeColor WRITE put_ForeColor)

public:
    explicit xpcheckbox(QWidget* parent = nullptr);
    ~xpcheckbox() override;

    // The surface's own flag. Not reported through PropertyChanged, yet saved.
    bool get_Enabled() const { return UserControl::get_Enabled(); }
    void put_Enabled(bool value);
    // Any 32-bit value is kept and saved; only Unchecked, Checked and Mixed have a look.
    State get_Value() const { return State(m_Value); }
    void put_Value(State value); // raises no Click
    QString get_Caption() const;
    void put_Caption(const QString& value);
    host::FontRef get_Font() const { return m_Font; }
    void putref_Font(host::FontRef font); // no font raises 91
    host::OleColor get_BackColor() const { return m_BackColor; }
    void put_BackColor(host::OleColor value); // a bad colour raises 380 and changes nothing
    // The caption's colour while enabled; a disabled caption stays grey.
    host::OleColor get_ForeColor() const { return m_ForeColor; }
    void put_ForeColor(host::OleColor value);

    Q_INVOKABLE void ShowAbout();

    // The strip cell shown last, -1 before any (for hosts and tests reading the look).
    short shownCell() const { return m_shownCell; }
    host::AccessibleDescription accessibleDescription() const override;

Q_SIGNALS:
    void Click();
    void KeyDown(short& KeyCode, short& Shift);
    void KeyPress(short& KeyAscii);
    void KeyUp(short& KeyCode, short& Shift);
    void MouseOut();
    void MouseDown(short& Button, short& Shift, float& x, float& Y);
    void MouseMove(short& Button, short& Shift, float& x, float& Y);
    void MouseUp(short& Button, short& Shift, float& x, float& Y);

protected:
    void UserControl_Initialize() override;
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
    void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
    void UserControl_Resize() override;
    void UserControl_Click() override;
    void UserControl_KeyDown(short& KeyCode, short& Shift) override;
    void UserControl_KeyPress(short& KeyAscii) override;
    void UserControl_KeyUp(short& KeyCode, short& Shift) override;
    void UserControl_MouseDown(short& Button, short& Shift, float& x, float& Y) override;
    void UserControl_MouseMove(short& Button, short& Shift, float& x, float& Y) override;
    void UserControl_MouseUp(short& Button, short& Shift, float& x, float& Y) override;

private:
    // The cell of the value in a condition (0 resting, 1 hovered, 2 pressed, 3 disabled);
    // a value without a look shows nothing new.
    void ShowCell(short condition);
    void DrawRest();
    void DrawDisabled();
    void ArrangeLayout();
    // What the surface, lbl and p share.
    void clicked();
    void pressed(short& Button, short& Shift, float& x, float& Y);
    void moved(short& Button, short& Shift, float& x, float& Y);
    void released(short& Button, short& Shift, float& x, float& Y);

    void lbl_Change();
    void Timer1_Timer();

    struct {
        host::PictureBox* p = nullptr;
        host::Label* lbl = nullptr;
        host::HoverTimer* Timer1 = nullptr;
        host::PictureClip* pc = nullptr;
    } ui;

    qint32 m_Value = 0;
    host::FontRef m_Font;
    host::OleColor m_BackColor = 0;
    host::OleColor m_ForeColor = 0;
    short m_shownCell = -1;
};

} // namespace Kv_CTRL
