#pragma once
// cmdButton: a command button with a small picture at its left, next to its caption. A host
// button and a picture box over its left part; a click on either is the control's Click, and
// the button's events reach the host with their by-reference arguments handed back.

#include "host/value/OleColor.h"
#include "host/value/StdFont.h"
#include "host/value/StdPicture.h"
#include "host/widgets/UserControl.h"
#include "library/core/Library.h"

#include <QPointer>
#include <QString>

namespace host {
class CommandButton;
class PictureBox;
class PropertyBag;
} // namespace host

namespace Kv_CTRL {

class cmdButton : public host::UserControl {
    Q_OBJECT
    KV_CTRL_PROJECT
    Q_PROPERTY(host::PictureRef Picture READ get_Picture WRITE putref_Picture)
    Q_PROPERTY(host::OleColor BackColor READ get_BackColor WRITE put_BackColor)
    Q_PROPERTY(host::FontRef Font READ get_Font WRITE putref_Font)
    Q_PROPERTY(QString Caption READ get_Caption WRITE put_Caption)
    Q_PROPERTY(bool Enabled READ get_Enabled WRITE put_Enabled)

public:
    explicit cmdButton(QWidget* parent = nullptr);
    ~cmdButton() override;

    // Every property lives in a child; each setter tells the container.
    host::PictureRef get_Picture() const;
    void putref_Picture(const host::PictureRef& picture); // none leaves the box empty
    host::OleColor get_BackColor() const;
    void put_BackColor(host::OleColor value);
    host::FontRef get_Font() const;
    void putref_Font(const host::FontRef& font);
    QString get_Caption() const;
    void put_Caption(const QString& value);
    // The button and its picture together.
    bool get_Enabled() const;
    void put_Enabled(bool value);

    Q_INVOKABLE void ShowAbout();

Q_SIGNALS:
    void Click();
    void KeyDown(short& KeyCode, short& Shift);
    void KeyPress(short& KeyAscii);
    void KeyUp(short& KeyCode, short& Shift);
    void MouseDown(short& Button, short& Shift, float& x, float& Y);
    void MouseMove(short& Button, short& Shift, float& x, float& Y);
    void MouseUp(short& Button, short& Shift, float& x, float& Y);

protected:
    void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
    void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
    void UserControl_Resize() override;

private:
    void cmdButton_Click() { Q_EMIT Click(); }
    void cmdButton_KeyDown(short& KeyCode, short& Shift) { Q_EMIT KeyDown(KeyCode, Shift); }
    void cmdButton_KeyPress(short& KeyAscii) { Q_EMIT KeyPress(KeyAscii); }
    void cmdButton_KeyUp(short& KeyCode, short& Shift) { Q_EMIT KeyUp(KeyCode, Shift); }
    void cmdButton_MouseDown(short& Button, short& Shift, float& x, float& Y)
    {
        Q_EMIT MouseDown(Button, Shift, x, Y);
    }
    void cmdButton_MouseMove(short& Button, short& Shift, float& x, float& Y)
    {
        Q_EMIT MouseMove(Button, Shift, x, Y);
    }
    void cmdButton_MouseUp(short& Button, short& Shift, float& x, float& Y)
    {
        Q_EMIT MouseUp(Button, Shift, x, Y);
    }
    void Pic_Click() { Q_EMIT Click(); }

    struct {
        QPointer<host::CommandButton> cmdButton;
        QPointer<host::PictureBox> Pic;
    } ui;
};

} // namespace Kv_CTRL
