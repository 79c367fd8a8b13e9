#pragma once
// The host's command button: a QPushButton with the runtime's Caption (with its & access key),
// Default and Cancel buttons of its window, and the runtime's key, mouse and focus events.

#include "host/widgets/Intrinsic.h"

#include <QPointer>
#include <QPushButton>

namespace host {

class CommandButton : public KeyRelay<MouseRelay<QPushButton>>, public Intrinsic {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ get_Caption WRITE put_Caption)
    Q_PROPERTY(bool Default READ get_Default WRITE put_Default)
    Q_PROPERTY(bool Cancel READ get_Cancel WRITE put_Cancel)
    Q_PROPERTY(quint32 BackColor READ get_BackColor WRITE put_BackColor)
    Q_PROPERTY(bool Enabled READ get_Enabled WRITE put_Enabled)
    Q_PROPERTY(bool TabStop READ get_TabStop WRITE put_TabStop)
    Q_PROPERTY(bool Visible READ get_Visible WRITE put_Visible)
    Q_PROPERTY(float Left READ get_Left WRITE put_Left)
    Q_PROPERTY(float Top READ get_Top WRITE put_Top)
    Q_PROPERTY(float Width READ get_Width WRITE put_Width)
    Q_PROPERTY(float Height READ get_Height WRITE put_Height)
    Q_PROPERTY(QString ToolTipText READ get_ToolTipText WRITE put_ToolTipText)
    Q_PROPERTY(QString Tag READ get_Tag WRITE put_Tag)

public:
    CommandButton(QWidget* parent, const QString& name);
    ~CommandButton() override;

    QString get_Caption() const { return text(); }
    void put_Caption(const QString& caption);
    // Enter anywhere on the window clicks the Default button (unless a focused button takes it);
    // Escape clicks the Cancel button. One of each per window: setting one clears the others.
    bool get_Default() const { return m_default; }
    void put_Default(bool isDefault);
    bool get_Cancel() const { return m_cancel; }
    void put_Cancel(bool isCancel);
    OleColor get_BackColor() const { return m_backColor; }
    void put_BackColor(OleColor color);
    // Setting True clicks the button, as the runtime's Value does.
    bool get_Value() const { return isDown(); }
    void put_Value(bool value);

Q_SIGNALS:
    void Click();
    void KeyDown(short& KeyCode, short& Shift);
    void KeyPress(short& KeyAscii);
    void KeyUp(short& KeyCode, short& Shift);
    void MouseDown(short& Button, short& Shift, float& X, float& Y);
    void MouseMove(short& Button, short& Shift, float& X, float& Y);
    void MouseUp(short& Button, short& Shift, float& X, float& Y);
    void GotFocus();
    void LostFocus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void raiseKeyDown(short& code, short& shift) override { Q_EMIT KeyDown(code, shift); }
    void raiseKeyPress(short& ascii) override { Q_EMIT KeyPress(ascii); }
    void raiseKeyUp(short& code, short& shift) override { Q_EMIT KeyUp(code, shift); }
    void raiseGotFocus() override { Q_EMIT GotFocus(); }
    void raiseLostFocus() override { Q_EMIT LostFocus(); }
    void raiseMouseDown(short& b, short& s, float& x, float& y) override;
    void raiseMouseMove(short& b, short& s, float& x, float& y) override;
    void raiseMouseUp(short& b, short& s, float& x, float& y) override;
    bool raisesMouseClicks() const override { return false; }
    void applyCharacter(QKeyEvent* e, short original, short ascii, bool stopped) override;

private:
    void watchWindow();

    bool m_default = false;
    bool m_cancel = false;
    OleColor m_backColor = SystemColor::ButtonFace;
    QPointer<QWidget> m_watched;
};

} // namespace host
