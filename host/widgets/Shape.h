#pragma once
// The host's shape control: a rectangle, square, oval, circle or rounded figure drawn with the
// runtime's border and fill settings. It takes no mouse input, as the runtime's shape.

#include "host/widgets/Intrinsic.h"

#include <QWidget>

namespace host {

class Shape : public QWidget, public Intrinsic {
    Q_OBJECT
    Q_PROPERTY(short Shape READ get_Shape WRITE put_Shape)
    Q_PROPERTY(quint32 BorderColor READ get_BorderColor WRITE put_BorderColor)
    Q_PROPERTY(short BorderStyle READ get_BorderStyle WRITE put_BorderStyle)
    Q_PROPERTY(short BorderWidth READ get_BorderWidth WRITE put_BorderWidth)
    Q_PROPERTY(quint32 FillColor READ get_FillColor WRITE put_FillColor)
    Q_PROPERTY(short FillStyle READ get_FillStyle WRITE put_FillStyle)
    Q_PROPERTY(short BackStyle READ get_BackStyle WRITE put_BackStyle)
    Q_PROPERTY(quint32 BackColor READ get_BackColor WRITE put_BackColor)
    Q_PROPERTY(bool Visible READ get_Visible WRITE put_Visible)
    Q_PROPERTY(float Left READ get_Left WRITE put_Left)
    Q_PROPERTY(float Top READ get_Top WRITE put_Top)
    Q_PROPERTY(float Width READ get_Width WRITE put_Width)
    Q_PROPERTY(float Height READ get_Height WRITE put_Height)
    Q_PROPERTY(QString Tag READ get_Tag WRITE put_Tag)

public:
    Shape(QWidget* parent, const QString& name);
    ~Shape() override;

    // 0 rectangle, 1 square, 2 oval, 3 circle, 4 rounded rectangle, 5 rounded square.
    short get_Shape() const { return m_shape; }
    void put_Shape(short shape);
    OleColor get_BorderColor() const { return m_borderColor; }
    void put_BorderColor(OleColor color);
    // 0 transparent, 1 solid, 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot, 6 inside solid.
    short get_BorderStyle() const { return m_borderStyle; }
    void put_BorderStyle(short style);
    short get_BorderWidth() const { return m_borderWidth; } // pixels, 1..8192
    void put_BorderWidth(short width);
    OleColor get_FillColor() const { return m_fillColor; }
    void put_FillColor(OleColor color);
    // 0 solid, 1 transparent, 2 horizontal, 3 vertical, 4 upward diagonal, 5 downward diagonal,
    // 6 cross, 7 diagonal cross.
    short get_FillStyle() const { return m_fillStyle; }
    void put_FillStyle(short style);
    short get_BackStyle() const { return m_backStyle; } // 0 transparent, 1 opaque
    void put_BackStyle(short style);
    OleColor get_BackColor() const { return m_backColor; }
    void put_BackColor(OleColor color);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    short m_shape = 0;
    OleColor m_borderColor = SystemColor::WindowText;
    short m_borderStyle = 1;
    short m_borderWidth = 1;
    OleColor m_fillColor = 0;
    short m_fillStyle = 1;
    short m_backStyle = 0;
    OleColor m_backColor = SystemColor::WindowBackground;
};

} // namespace host
