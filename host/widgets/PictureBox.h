#pragma once
// The host's picture box: a framed drawing surface with the host's drawing API (Canvas, the same
// implementation as the control surface), a Picture, auto-sizing, Paint, mouse events in its
// scale mode, keys and focus.

#include "host/value/StdPicture.h"
#include "host/widgets/Canvas.h"
#include "host/widgets/Intrinsic.h"

#include <QFrame>

namespace host {

class PictureBox : public KeyRelay<MouseRelay<QFrame>>, public Intrinsic, public Canvas {
    Q_OBJECT
    Q_PROPERTY(short BorderStyle READ get_BorderStyle WRITE put_BorderStyle)
    Q_PROPERTY(bool AutoSize READ get_AutoSize WRITE put_AutoSize)
    Q_PROPERTY(short ScaleMode READ get_ScaleMode WRITE put_ScaleMode)
    Q_PROPERTY(quint32 BackColor READ get_BackColor WRITE put_BackColor)
    Q_PROPERTY(quint32 ForeColor READ get_ForeColor WRITE put_ForeColor)
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
    PictureBox(QWidget* parent, const QString& name);
    ~PictureBox() override;

    // The picture is laid into the drawing at the top-left corner over the back colour; no
    // picture clears the drawing. With AutoSize the box takes the picture's size.
    PictureRef get_Picture() const { return m_picture; }
    void putref_Picture(const PictureRef& picture);
    void put_Picture(const PictureRef& picture) { putref_Picture(picture); }
    short get_BorderStyle() const { return m_borderStyle; } // 0 none, 1 fixed single (sunken)
    void put_BorderStyle(short style);
    bool get_AutoSize() const { return m_autoSize; }
    void put_AutoSize(bool autoSize);

    // One font for the widget and its drawing.
    FontRef get_Font() const;
    void putref_Font(const FontRef& font);
    void put_Font(const FontRef& font) { putref_Font(font); }
    void Refresh() { Canvas::Refresh(); }

Q_SIGNALS:
    void Paint();
    void Click();
    void DblClick();
    void MouseDown(short& Button, short& Shift, float& X, float& Y);
    void MouseMove(short& Button, short& Shift, float& X, float& Y);
    void MouseUp(short& Button, short& Shift, float& X, float& Y);
    void KeyDown(short& KeyCode, short& Shift);
    void KeyPress(short& KeyAscii);
    void KeyUp(short& KeyCode, short& Shift);
    void GotFocus();
    void LostFocus();

protected:
    void paintEvent(QPaintEvent* e) override;
    void raiseMouseDown(short& b, short& s, float& x, float& y) override;
    void raiseMouseMove(short& b, short& s, float& x, float& y) override;
    void raiseMouseUp(short& b, short& s, float& x, float& y) override;
    void raiseClick() override { Q_EMIT Click(); }
    void raiseDblClick() override { Q_EMIT DblClick(); }
    void raiseKeyDown(short& code, short& shift) override { Q_EMIT KeyDown(code, shift); }
    void raiseKeyPress(short& ascii) override { Q_EMIT KeyPress(ascii); }
    void raiseKeyUp(short& code, short& shift) override { Q_EMIT KeyUp(code, shift); }
    void raiseGotFocus() override { Q_EMIT GotFocus(); }
    void raiseLostFocus() override { Q_EMIT LostFocus(); }
    QPointF toEventUnits(const QPointF& pixels) const override;

private:
    void layPicture();
    void fitToPicture();

    PictureRef m_picture;
    short m_borderStyle = 1;
    bool m_autoSize = false;
};

} // namespace host
