#pragma once
// xpcmdbutton: the flat, rounded push button that draws itself from a five-cell picture strip
// (normal, pressed, disabled, hover, default), polls the pointer while hovered and raises
// MouseOut when it leaves. Keys only raise the key events: there is no focus or key look.

#include "host/value/StdFont.h"
#include "host/widgets/UserControl.h"
#include "library/core/Enums.h"
#include "library/core/Library.h"

#include <QString>

namespace host {
class HoverTimer;
class Label;
class PictureClip;
class PropertyBag;
} // namespace host

namespace Kv_CTRL {

class xpcmdbutton : public host::UserControl {
    Q_OBJECT
    KV_CTRL_PROJECT
    Q_PROPERTY(bool Enabled READ get_Enabled WRITE put_Enabled)
    Q_PROPERTY(Kv_CTRL::State_b State READ get_State WRITE put_State)
    Q_PROPERTY(QString Caption READ get_Caption WRITE put_Caption)
    Q_PROPERTY(host::FontRef Font READ get_Font WRITE putref_Font)

public:
    // The strip's cells.
    enum Cell : short {
        CellNormal = 0,
        CellPressed = 1,
        CellDisabled = 2,
        CellHover = 3,
        CellDefault = 4
    };

    explicit xpcmdbutton(QWidget* parent = nullptr);
    ~xpcmdbutton() override;

    // The surface's own flag; the caption turns grey RGB(161, 161, 146) while disabled.
    bool get_Enabled() const { return UserControl::get_Enabled(); }
    void put_Enabled(bool value);
    // Stored as given (any 32-bit value); only Normal_ and Default_ choose a resting look.
    State_b get_State() const { return State_b(m_state); }
    void put_State(State_b value);
    // The label's caption: "&x" underlines x and makes Alt+x click the button, "&&" shows "&".
    QString get_Caption() const;
    void put_Caption(const QString& value);
    host::FontRef get_Font() const { return m_font; }
    void putref_Font(host::FontRef font); // no font raises 91

    Q_INVOKABLE void ShowAbout();

    // The cell drawn last (for hosts and tests reading the look without pixels).
    short shownCell() const { return m_shownCell; }
    // A push button named by its caption; pressing it is a click.
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
    void UserControl_Show() override;
    void UserControl_Click() override;
    void UserControl_AccessKeyPress(short& KeyAscii) override;
    void UserControl_KeyDown(short& KeyCode, short& Shift) override;
    void UserControl_KeyPress(short& KeyAscii) override;
    void UserControl_KeyUp(short& KeyCode, short& Shift) override;
    void UserControl_MouseDown(short& Button, short& Shift, float& x, float& Y) override;
    void UserControl_MouseMove(short& Button, short& Shift, float& x, float& Y) override;
    void UserControl_MouseUp(short& Button, short& Shift, float& x, float& Y) override;

private:
    // Cell n over the whole control: corners 1:1, edges stretched along, the centre both ways.
    void DrawCell(short n);
    // The resting look: cell 0 or 4 by State, cell 2 while disabled.
    void DrawRest();
    // Redraws and centres the label (resize, font, caption).
    void PlaceLabel();
    // What every input source shares.
    void pressed(short& Button, short& Shift, float& x, float& Y);
    void moved(short& Button, short& Shift, float& x, float& Y);
    void released(short& Button, short& Shift, float& x, float& Y);

    void lbl_Change();
    void lbl_Click();
    void Timer1_Timer();

    struct {
        host::Label* lbl = nullptr;
        host::HoverTimer* Timer1 = nullptr;
        host::PictureClip* pc = nullptr;
    } ui;

    qint32 m_state = 0;
    host::FontRef m_font;
    short m_restCell = 0;
    short m_shownCell = -1;
};

} // namespace Kv_CTRL
