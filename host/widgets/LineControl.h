#pragma once
// The host's line control: a straight line between two points of its container, given in twips.
// The widget covers the line's bounding box and draws the line itself; it takes no mouse input.

#include "host/value/OleColor.h"

#include <QWidget>

namespace host {

class LineControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(float X1 READ get_X1 WRITE put_X1)
    Q_PROPERTY(float Y1 READ get_Y1 WRITE put_Y1)
    Q_PROPERTY(float X2 READ get_X2 WRITE put_X2)
    Q_PROPERTY(float Y2 READ get_Y2 WRITE put_Y2)
    Q_PROPERTY(quint32 BorderColor READ get_BorderColor WRITE put_BorderColor)
    Q_PROPERTY(short BorderWidth READ get_BorderWidth WRITE put_BorderWidth)
    Q_PROPERTY(short BorderStyle READ get_BorderStyle WRITE put_BorderStyle)
    Q_PROPERTY(bool Visible READ get_Visible WRITE put_Visible)
    Q_PROPERTY(QString Tag READ get_Tag WRITE put_Tag)

public:
    LineControl(QWidget* parent, const QString& name);
    ~LineControl() override;

    float get_X1() const { return m_x1; }
    float get_Y1() const { return m_y1; }
    float get_X2() const { return m_x2; }
    float get_Y2() const { return m_y2; }
    void put_X1(float twips);
    void put_Y1(float twips);
    void put_X2(float twips);
    void put_Y2(float twips);
    OleColor get_BorderColor() const { return m_borderColor; }
    void put_BorderColor(OleColor color);
    short get_BorderWidth() const { return m_borderWidth; } // pixels, 1..8192
    void put_BorderWidth(short width);
    // 0 transparent, 1 solid, 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot, 6 inside solid.
    short get_BorderStyle() const { return m_borderStyle; }
    void put_BorderStyle(short style);

    bool get_Visible() const;
    void put_Visible(bool visible) { setVisible(visible); }
    QString get_Name() const;
    QString get_Tag() const { return m_tag; }
    void put_Tag(const QString& tag) { m_tag = tag; }
    short get_Index() const { return m_index; }
    void setArrayIndex(short index) { m_index = index; }

    // The two end points in the widget's own pixels (what paintEvent draws between).
    QPointF startPixel() const;
    QPointF endPixel() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void setEnd(float& coordinate, float twips); // an end point's coordinate, then re-place
    void place();

    float m_x1 = 0, m_y1 = 0, m_x2 = 0, m_y2 = 0;
    OleColor m_borderColor = SystemColor::WindowText;
    short m_borderWidth = 1;
    short m_borderStyle = 1;
    QString m_tag;
    short m_index = -1;
};

} // namespace host
