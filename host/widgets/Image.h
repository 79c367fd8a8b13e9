#pragma once
// The host's image control: shows a picture at its own size (the control taking the picture's
// size) or stretched over the control, with mouse events and clicks.

#include "host/value/StdPicture.h"
#include "host/widgets/Intrinsic.h"

#include <QWidget>

namespace host {

class Image : public MouseRelay<QWidget>, public Intrinsic {
    Q_OBJECT
    Q_PROPERTY(bool Stretch READ get_Stretch WRITE put_Stretch)
    Q_PROPERTY(short BorderStyle READ get_BorderStyle WRITE put_BorderStyle)
    Q_PROPERTY(bool Enabled READ get_Enabled WRITE put_Enabled)
    Q_PROPERTY(bool Visible READ get_Visible WRITE put_Visible)
    Q_PROPERTY(float Left READ get_Left WRITE put_Left)
    Q_PROPERTY(float Top READ get_Top WRITE put_Top)
    Q_PROPERTY(float Width READ get_Width WRITE put_Width)
    Q_PROPERTY(float Height READ get_Height WRITE put_Height)
    Q_PROPERTY(QString ToolTipText READ get_ToolTipText WRITE put_ToolTipText)
    Q_PROPERTY(QString Tag READ get_Tag WRITE put_Tag)

public:
    Image(QWidget* parent, const QString& name);
    ~Image() override;

    PictureRef get_Picture() const { return m_picture; }
    void putref_Picture(const PictureRef& picture);
    void put_Picture(const PictureRef& picture) { putref_Picture(picture); }
    // False: the control takes the picture's size; True: the picture fills the control.
    bool get_Stretch() const { return m_stretch; }
    void put_Stretch(bool stretch);
    short get_BorderStyle() const { return m_borderStyle; } // 0 none, 1 fixed single
    void put_BorderStyle(short style);

Q_SIGNALS:
    void Click();
    void DblClick();
    void MouseDown(short& Button, short& Shift, float& X, float& Y);
    void MouseMove(short& Button, short& Shift, float& X, float& Y);
    void MouseUp(short& Button, short& Shift, float& X, float& Y);

protected:
    void paintEvent(QPaintEvent* e) override;
    void raiseMouseDown(short& b, short& s, float& x, float& y) override;
    void raiseMouseMove(short& b, short& s, float& x, float& y) override;
    void raiseMouseUp(short& b, short& s, float& x, float& y) override;
    void raiseClick() override { Q_EMIT Click(); }
    void raiseDblClick() override { Q_EMIT DblClick(); }

private:
    void fitToPicture();

    PictureRef m_picture;
    bool m_stretch = false;
    short m_borderStyle = 0;
};

} // namespace host
