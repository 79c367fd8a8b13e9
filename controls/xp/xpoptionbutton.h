#pragma once
// xpoptionbutton: the option button with the flat look. A click selects it and clears every
// other option button placed directly on the same container (form, frame or picture box); its
// circles come from eight hidden images. Hover tracking and MouseOut as the check box.

#include "host/value/StdFont.h"
#include "host/widgets/ControlArray.h"
#include "host/widgets/UserControl.h"
#include "library/core/Library.h"

#include <QString>

namespace host {
class HoverTimer;
class Image;
class Label;
class PropertyBag;
} // namespace host

namespace Kv_CTRL {

class xpoptionbutton : public host::UserControl {
    Q_OBJECT
    KV_CTRL_PROJECT
    Q_PROPERTY(bool Enabled READ get_Enabled WRITE put_Enabled)
    Q_PROPERTY(bool Value READ get_Value WRITE put_Value)
    Q_PROPERTY(QString Caption READ get_Caption WRITE put_Caption)
    Q_PROPERTY(host::FontRef Font READ get_Font WRITE putref_Font)
    Q_PROPERTY(host::OleColor BackColor READ get_BackColor WRITE put_BackColor)
    Q_PROPERTY(host::OleColor ForeColor READ get_ForeColor WRITE put_ForeColor)

public:
    explicit xpoptionbutton(QWidget* parent = nullptr);
    ~xpoptionbutton() override;

    // The surface's own flag. Not reported through PropertyChanged, yet saved.
    bool get_Enabled() const { return UserControl::get_Enabled(); }
    void put_Enabled(bool value);
    // True for any nonzero stored value. A saved value other than -1 or 0 is kept and saved
    // again, and has no picture.
    bool get_Value() const { return m_Value != 0; }
    void put_Value(bool value); // clears no other button, raises no Click
    QString get_Caption() const;
    void put_Caption(const QString& value);
    host::FontRef get_Font() const { return m_Font; }
    void putref_Font(host::FontRef font); // no font raises 91
    host::OleColor get_BackColor() const { return m_BackColor; }
    void put_BackColor(host::OleColor value); // a bad colour raises 380 and changes nothing
    host::OleColor get_ForeColor() const { return m_ForeColor; }
    void put_ForeColor(host::OleColor value);

    Q_INVOKABLE void ShowAbout();

    // The picture shown last (index into img), -1 before any; for hosts and tests.
    short shownPicture() const { return m_shownPicture; }
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
    // The picture of the value in a condition (0 resting, 1 hovered, 2 pressed, 3 disabled); a
    // value without pictures shows nothing new.
    void ShowPicture(short condition);
    void DrawRest();
    void DrawDisabled();
    void ArrangeLayout();
    void storeValue(short value); // the Value setter's steps, for any stored value
    void clicked();
    void pressed(short& Button, short& Shift, float& x, float& Y);
    void moved(short& Button, short& Shift, float& x, float& Y);
    void released(short& Button, short& Shift, float& x, float& Y);

    void lbl_Change();
    void p_MouseMove(short& Button, short& Shift, float& x, float& Y);
    void Timer1_Timer();

    struct Children {
        explicit Children(QWidget* owner) : img(owner, QStringLiteral("img")) {}
        host::Image* p = nullptr;
        host::Label* lbl = nullptr;
        host::HoverTimer* Timer1 = nullptr;
        host::ControlArray<host::Image> img;
    } ui;

    short m_Value = 0;
    host::FontRef m_Font;
    host::OleColor m_BackColor = 0;
    host::OleColor m_ForeColor = 0;
    short m_shownPicture = -1;
};

} // namespace Kv_CTRL
