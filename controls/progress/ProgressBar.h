#pragma once
// ProgressBar: a horizontal gauge filled from the left as a percentage of its width, with an
// optional caption and percentage printed centred and inverted where the bar covers them.

#include "host/value/OleColor.h"
#include "host/value/StdFont.h"
#include "host/value/Variant.h"
#include "host/widgets/UserControl.h"
#include "library/core/Enums.h"
#include "library/core/Library.h"

#include <QPointer>
#include <QString>

namespace host {
class PictureBox;
class PropertyBag;
} // namespace host

namespace Kv_CTRL {

class ProgressBar : public host::UserControl {
    Q_OBJECT
    KV_CTRL_PROJECT
    Q_PROPERTY(host::OleColor BackColor READ get_BackColor WRITE put_BackColor)
    Q_PROPERTY(host::OleColor ForeColor READ get_ForeColor WRITE put_ForeColor)
    Q_PROPERTY(host::FontRef Font READ get_Font WRITE putref_Font)
    Q_PROPERTY(float Value READ get_Value WRITE put_Value)
    Q_PROPERTY(float Min READ get_Min WRITE put_Min)
    Q_PROPERTY(float Max READ get_Max WRITE put_Max)
    Q_PROPERTY(Kv_CTRL::MyBorderStyle BorderStyle READ get_BorderStyle WRITE put_BorderStyle)
    Q_PROPERTY(host::Variant Caption READ get_Caption WRITE put_Caption)
    Q_PROPERTY(bool ViewPercent READ get_ViewPercent WRITE put_ViewPercent)

public:
    explicit ProgressBar(QWidget* parent = nullptr);
    ~ProgressBar() override;

    // Each setter tells the container and redraws the gauge at once.
    host::OleColor get_BackColor() const { return Canvas::get_BackColor(); } // the gauge
    void put_BackColor(host::OleColor value);
    host::OleColor get_ForeColor() const { return Canvas::get_ForeColor(); } // the bar
    void put_ForeColor(host::OleColor value);
    host::FontRef get_Font() const;
    void putref_Font(host::FontRef font);
    // Value has no range test; Min and Max only clamp what is drawn. A bound crossing the other
    // raises 380 and changes nothing; non-finite numbers raise 380 too.
    float get_Value() const { return m_value; }
    void put_Value(float value);
    float get_Min() const { return m_minimum; }
    void put_Min(float value);
    float get_Max() const { return m_maximum; }
    void put_Max(float value);
    MyBorderStyle get_BorderStyle() const;
    void put_BorderStyle(MyBorderStyle value);
    // Kept as text; a value without one (Null) raises the conversion error and keeps the old.
    host::Variant get_Caption() const { return host::Variant(m_caption); }
    void put_Caption(const host::Variant& value);
    bool get_ViewPercent() const { return m_viewPercent; }
    void put_ViewPercent(bool value);

    // Repaints the gauge box, then draws the gauge once more.
    Q_INVOKABLE void Refresh();
    Q_INVOKABLE void ShowAbout();

    // A progress bar named by its caption, with the value it shows between Min and Max.
    host::AccessibleDescription accessibleDescription() const override;

protected:
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
    void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
    void UserControl_Resize() override;
    void UserControl_Show() override;

private:
    void picGuage_Paint();
    void DrawGauge();
    void changed(const char* property);

    struct {
        QPointer<host::PictureBox> picGuage;
    } ui;

    float m_value = 0;
    float m_minimum = 0;
    float m_maximum = 100;
    QString m_caption;
    bool m_viewPercent = false;
};

} // namespace Kv_CTRL
