#pragma once
// VericalText: a title strip whose text runs along the control's height, turned a quarter turn
// with a rotated platform font, optionally over a blue gradient. No children, no events.

#include "host/value/OleColor.h"
#include "host/value/StdFont.h"
#include "host/widgets/UserControl.h"
#include "library/core/Enums.h"
#include "library/core/Library.h"

#include <QString>

namespace host {
class PropertyBag;
} // namespace host

namespace Kv_CTRL {

class VericalText : public host::UserControl {
    Q_OBJECT
    KV_CTRL_PROJECT
    Q_PROPERTY(Kv_CTRL::zOpOrient zDirecao READ get_zDirecao WRITE put_zDirecao)
    Q_PROPERTY(QString zTexto READ get_zTexto WRITE put_zTexto)
    Q_PROPERTY(bool zDegradee READ get_zDegradee WRITE put_zDegradee)
    Q_PROPERTY(host::OleColor BackColor READ get_BackColor WRITE put_BackColor)
    Q_PROPERTY(host::OleColor ForeColor READ get_ForeColor WRITE put_ForeColor)
    Q_PROPERTY(host::FontRef Font READ get_Font WRITE putref_Font)

public:
    explicit VericalText(QWidget* parent = nullptr);
    ~VericalText() override;

    // Every setter redraws at once. The direction is held in 16 bits: out of range raises 6.
    zOpOrient get_zDirecao() const { return zOpOrient(m_zDirecao); }
    void put_zDirecao(zOpOrient value);
    QString get_zTexto() const { return m_zTexto; }
    void put_zTexto(const QString& value);
    bool get_zDegradee() const { return m_zDegradee; }
    void put_zDegradee(bool value);
    // The surface's own colours.
    host::OleColor get_BackColor() const { return Canvas::get_BackColor(); }
    void put_BackColor(host::OleColor value);
    host::OleColor get_ForeColor() const { return Canvas::get_ForeColor(); }
    void put_ForeColor(host::OleColor value);
    // The font the text is drawn with; the surface takes it at Show. No font raises 380.
    host::FontRef get_Font() const { return m_Font; }
    void putref_Font(host::FontRef font);

    Q_INVOKABLE void ShowAbout();

    // Static text that reads as its text.
    host::AccessibleDescription accessibleDescription() const override;

protected:
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
    void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
    void UserControl_Resize() override;
    void UserControl_Show() override;
    void UserControl_Paint() override;

private:
    // Clears the surface, lays the gradient if asked, prints the text turned by a quarter turn.
    // A failure shows one message and stops drawing until a property is set again.
    void DrawVertical();
    // Bands of one colour from the top of the screen down, darkening by 245 levels per screen
    // height; each flag switches one channel (red, green, blue) on.
    void DrawGradient(bool red, bool green, bool blue);
    void redrawAfterSet();

    host::FontRef m_Font;
    short m_zDirecao = 0;
    QString m_zTexto;
    bool m_zDegradee = false;
    short m_Appearance = 0;  // saved and read back only
    short m_BorderStyle = 0; // saved and read back only
    bool m_drawFailed = false;
};

} // namespace Kv_CTRL
