#pragma once
// The host's frame: a captioned container that groups the controls placed on it (option buttons
// on one frame form one group). Children are placed in twips from its top-left corner.

#include "host/widgets/Intrinsic.h"

#include <QWidget>

namespace host {

class Frame : public MouseRelay<QWidget>, public Intrinsic {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ get_Caption WRITE put_Caption)
    Q_PROPERTY(short BorderStyle READ get_BorderStyle WRITE put_BorderStyle)
    Q_PROPERTY(quint32 BackColor READ get_BackColor WRITE put_BackColor)
    Q_PROPERTY(quint32 ForeColor READ get_ForeColor WRITE put_ForeColor)
    Q_PROPERTY(bool Enabled READ get_Enabled WRITE put_Enabled)
    Q_PROPERTY(bool Visible READ get_Visible WRITE put_Visible)
    Q_PROPERTY(float Left READ get_Left WRITE put_Left)
    Q_PROPERTY(float Top READ get_Top WRITE put_Top)
    Q_PROPERTY(float Width READ get_Width WRITE put_Width)
    Q_PROPERTY(float Height READ get_Height WRITE put_Height)
    Q_PROPERTY(QString ToolTipText READ get_ToolTipText WRITE put_ToolTipText)
    Q_PROPERTY(QString Tag READ get_Tag WRITE put_Tag)

public:
    Frame(QWidget* parent, const QString& name);
    ~Frame() override;

    // Drawn over the frame's top line; "&x" underlines x.
    QString get_Caption() const { return m_caption; }
    void put_Caption(const QString& caption);
    short get_BorderStyle() const { return m_borderStyle; } // 0 none, 1 fixed single
    void put_BorderStyle(short style);
    OleColor get_BackColor() const { return m_backColor; }
    void put_BackColor(OleColor color);
    OleColor get_ForeColor() const { return m_foreColor; }
    void put_ForeColor(OleColor color);

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
    QString m_caption;
    short m_borderStyle = 1;
    OleColor m_backColor = SystemColor::ButtonFace;
    OleColor m_foreColor = SystemColor::ButtonText;
};

} // namespace host
