#include "controls/picturebutton/cmdButton.h"

#include "host/persist/PropertyBag.h"
#include "host/regional/Regional.h"
#include "host/services/Guard.h"
#include "host/widgets/CommandButton.h"
#include "host/widgets/PictureBox.h"

#include <algorithm>

namespace Kv_CTRL {

namespace {

constexpr float DesignWidth = 1620, DesignHeight = 420;
constexpr float FixedHeight = 430; // whatever height the host asks for
constexpr float Margin = 20;       // the strip of surface right of and below the button
constexpr host::OleColor DefaultBackColor = host::SystemColor::ButtonFace;
const char* const DefaultCaption = "&MyButton"; // a saved form without a caption

host::PictureRef designBitmap()
{
    return host::ResourcePicture(QStringLiteral(":/Kv_CTRL/xp/cmdbutton-mark.png"));
}

} // namespace

cmdButton::cmdButton(QWidget* parent) : host::UserControl(parent)
{
    setDesignSize(DesignWidth, DesignHeight);
    ui.cmdButton = new host::CommandButton(this, QStringLiteral("cmdButton"));
    ui.cmdButton->Move(0, 0, DesignWidth - Margin, DesignHeight - Margin);
    ui.cmdButton->put_Caption(QStringLiteral("&Button"));
    ui.Pic = new host::PictureBox(this, QStringLiteral("Pic"));
    ui.Pic->put_BorderStyle(0);
    ui.Pic->put_TabStop(false);
    ui.Pic->Move(105, 105, 225, 165);
    ui.Pic->putref_Picture(designBitmap());

    using B = host::CommandButton;
    host::connectGuarded(ui.cmdButton, &B::Click, this, &cmdButton::cmdButton_Click);
    host::connectGuarded(ui.cmdButton, &B::KeyDown, this, &cmdButton::cmdButton_KeyDown);
    host::connectGuarded(ui.cmdButton, &B::KeyPress, this, &cmdButton::cmdButton_KeyPress);
    host::connectGuarded(ui.cmdButton, &B::KeyUp, this, &cmdButton::cmdButton_KeyUp);
    host::connectGuarded(ui.cmdButton, &B::MouseDown, this, &cmdButton::cmdButton_MouseDown);
    host::connectGuarded(ui.cmdButton, &B::MouseMove, this, &cmdButton::cmdButton_MouseMove);
    host::connectGuarded(ui.cmdButton, &B::MouseUp, this, &cmdButton::cmdButton_MouseUp);
    host::connectGuarded(ui.Pic, &host::PictureBox::Click, this, &cmdButton::Pic_Click);
}

cmdButton::~cmdButton() = default;

host::PictureRef cmdButton::get_Picture() const
{
    return ui.Pic->get_Picture();
}

void cmdButton::putref_Picture(const host::PictureRef& picture)
{
    ui.Pic->putref_Picture(picture);
    PropertyChanged(QStringLiteral("Picture"));
}

host::OleColor cmdButton::get_BackColor() const
{
    return ui.cmdButton->get_BackColor();
}

void cmdButton::put_BackColor(host::OleColor value)
{
    ui.cmdButton->put_BackColor(value);
    PropertyChanged(QStringLiteral("BackColor"));
}

host::FontRef cmdButton::get_Font() const
{
    return ui.cmdButton->get_Font();
}

void cmdButton::putref_Font(const host::FontRef& font)
{
    ui.cmdButton->putref_Font(font);
    PropertyChanged(QStringLiteral("Font"));
}

QString cmdButton::get_Caption() const
{
    return ui.cmdButton->get_Caption();
}

void cmdButton::put_Caption(const QString& value)
{
    ui.cmdButton->put_Caption(value);
    PropertyChanged(QStringLiteral("Caption"));
}

bool cmdButton::get_Enabled() const
{
    return ui.cmdButton->get_Enabled();
}

void cmdButton::put_Enabled(bool value)
{
    ui.cmdButton->put_Enabled(value);
    ui.Pic->put_Enabled(value);
    PropertyChanged(QStringLiteral("Enabled"));
}

void cmdButton::ShowAbout()
{
    Kv_CTRL::ShowAbout();
}

void cmdButton::UserControl_ReadProperties(host::PropertyBag& PropBag)
{
    const host::FontRef ambient = Ambient().get_Font();
    const host::FontRef stored = PropBag.ReadProperty(QStringLiteral("Font"), ambient).toFont();
    ui.cmdButton->putref_Font(stored && stored != ambient ? stored->clone() : ambient);
    putref_Picture(PropBag.ReadProperty(QStringLiteral("Picture"), host::PictureRef()).toPicture());
    ui.cmdButton->put_BackColor(
        PropBag.ReadProperty(QStringLiteral("BackColor"), DefaultBackColor).toOleColor());
    ui.cmdButton->put_Caption(
        PropBag.ReadProperty(QStringLiteral("Caption"), QString::fromUtf8(DefaultCaption))
            .toString());
    // Both children: a button saved disabled must not click through its picture either.
    const bool enabled = host::CBool(PropBag.ReadProperty(QStringLiteral("Enabled"), true));
    ui.cmdButton->put_Enabled(enabled);
    ui.Pic->put_Enabled(enabled);
}

void cmdButton::UserControl_WriteProperties(host::PropertyBag& PropBag)
{
    PropBag.WriteProperty(QStringLiteral("BackColor"), get_BackColor(), DefaultBackColor);
    PropBag.WriteProperty(QStringLiteral("Font"), get_Font(), Ambient().get_Font());
    PropBag.WriteProperty(QStringLiteral("Picture"), get_Picture(), host::PictureRef());
    PropBag.WriteProperty(QStringLiteral("Caption"), get_Caption(),
                          QString::fromUtf8(DefaultCaption));
    PropBag.WriteProperty(QStringLiteral("Enabled"), get_Enabled(), true);
}

void cmdButton::UserControl_Resize()
{
    put_Height(FixedHeight); // raises Resize once more only when the height changed
    ui.cmdButton->Move(0, 0, std::max(0.f, get_Width() - Margin), get_Height() - Margin);
}

} // namespace Kv_CTRL
