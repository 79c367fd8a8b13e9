#include "controls/xp/xpcheckbox.h"

#include "controls/xp/XpToggle.h"
#include "host/persist/PropertyBag.h"
#include "host/regional/Regional.h"
#include "host/services/Guard.h"
#include "host/value/OleColor.h"
#include "host/value/RuntimeError.h"
#include "host/value/StdPicture.h"
#include "host/widgets/HoverTimer.h"
#include "host/widgets/Label.h"
#include "host/widgets/PictureBox.h"
#include "host/widgets/PictureClip.h"

namespace Kv_CTRL {

namespace {

// Designed size in twips: the box and a short caption.
constexpr float DesignWidth = 1575;
constexpr float DesignHeight = 255;

// The strip: one column of twelve 16 x 16 cells, drawn by apps/kvart.
constexpr short StripRows = 12;

host::PictureRef loadStrip()
{
    return host::ResourcePicture(QStringLiteral(":/Kv_CTRL/xp/xpcheckbox.png"));
}

bool hasLook(qint32 value)
{
    return value >= 0 && value <= 2;
}

} // namespace

xpcheckbox::xpcheckbox(QWidget* parent) : host::UserControl(parent)
{
    setDesignSize(DesignWidth, DesignHeight);

    ui.p = new host::PictureBox(this, QStringLiteral("p"));
    ui.p->put_BorderStyle(0);
    ui.p->put_TabStop(false);
    // The box reports the pointer in pixels, which lie inside the control whatever scale the
    // surface was left in (twips by a layout, pixels by a tick): moving over the box hovers it.
    ui.p->put_ScaleMode(host::vbPixels);

    ui.lbl = new host::Label(this, QStringLiteral("lbl"));
    ui.lbl->put_BackStyle(0);
    ui.lbl->put_Alignment(2);
    ui.lbl->put_AutoSize(true);
    ui.lbl->put_Caption(QStringLiteral("Check1"));

    ui.Timer1 = new host::HoverTimer(this, QStringLiteral("Timer1"));
    ui.Timer1->put_Interval(10);
    ui.Timer1->put_Enabled(true);

    ui.pc = new host::PictureClip(this, QStringLiteral("pc"));
    ui.pc->put_Cols(1);
    ui.pc->put_Rows(StripRows);
    ui.pc->putref_Picture(loadStrip());

    host::connectGuarded(ui.lbl, &host::Label::Change, this, &xpcheckbox::lbl_Change);
    host::connectGuarded(ui.lbl, &host::Label::Click, this, &xpcheckbox::clicked);
    host::connectGuarded(ui.lbl, &host::Label::MouseDown, this, &xpcheckbox::pressed);
    host::connectGuarded(ui.lbl, &host::Label::MouseMove, this, &xpcheckbox::moved);
    host::connectGuarded(ui.lbl, &host::Label::MouseUp, this, &xpcheckbox::released);
    host::connectGuarded(ui.p, &host::PictureBox::Click, this, &xpcheckbox::clicked);
    host::connectGuarded(ui.p, &host::PictureBox::MouseDown, this, &xpcheckbox::pressed);
    host::connectGuarded(ui.p, &host::PictureBox::MouseMove, this, &xpcheckbox::moved);
    host::connectGuarded(ui.p, &host::PictureBox::MouseUp, this, &xpcheckbox::released);
    host::connectGuarded(ui.Timer1, &host::Timer::Tick, this, &xpcheckbox::Timer1_Timer);
}

xpcheckbox::~xpcheckbox() = default;

// ---------------------------------------------------------------- properties

void xpcheckbox::put_Enabled(bool value)
{
    UserControl::put_Enabled(value);
    if (get_Enabled())
        DrawRest();
    else
        DrawDisabled();
    ui.lbl->put_ForeColor(xptoggle::captionColor(get_Enabled(), m_ForeColor));
}

void xpcheckbox::put_Value(State value)
{
    m_Value = qint32(value);
    DrawRest();
    PropertyChanged(QStringLiteral("Value"));
    host::notifyAccessibleChange(this);
}

QString xpcheckbox::get_Caption() const
{
    return ui.lbl->get_Caption();
}

void xpcheckbox::put_Caption(const QString& value)
{
    ui.lbl->put_Caption(value);
    ArrangeLayout();
    PropertyChanged(QStringLiteral("Caption"));
    host::notifyAccessibleChange(this);
}

void xpcheckbox::putref_Font(host::FontRef font)
{
    if (!font) host::raiseError(host::Err::ObjectVariableNotSet);
    m_Font = std::move(font);
    Canvas::putref_Font(m_Font);
    ui.lbl->putref_Font(m_Font);
    ArrangeLayout();
    PropertyChanged(QStringLiteral("Font"));
}

void xpcheckbox::put_BackColor(host::OleColor value)
{
    host::translateColor(value); // a bad colour is refused before it is stored and saved
    m_BackColor = value;
    PropertyChanged(QStringLiteral("BackColor"));
    Canvas::put_BackColor(value);
}

void xpcheckbox::put_ForeColor(host::OleColor value)
{
    host::translateColor(value);
    m_ForeColor = value;
    PropertyChanged(QStringLiteral("ForeColor"));
    ui.lbl->put_ForeColor(xptoggle::captionColor(get_Enabled(), value));
}

void xpcheckbox::ShowAbout()
{
    Kv_CTRL::ShowAbout();
}

host::AccessibleDescription xpcheckbox::accessibleDescription() const
{
    host::AccessibleDescription d;
    d.role = host::AccessibleRole::CheckBox;
    d.name = get_Caption();
    d.check = m_Value == qint32(State::Checked) ? host::AccessibleCheck::Checked
              : m_Value == qint32(State::Mixed) ? host::AccessibleCheck::Mixed
                                                : host::AccessibleCheck::Unchecked;
    return d;
}

// ---------------------------------------------------------------- drawing

void xpcheckbox::ShowCell(short condition)
{
    if (!hasLook(m_Value)) return;
    const short n = short(4 * m_Value + condition);
    ui.p->putref_Picture(ui.pc->GraphicCell(n));
    m_shownCell = n;
}

void xpcheckbox::DrawRest()
{
    if (!get_Enabled()) return DrawDisabled();
    ShowCell(0);
}

void xpcheckbox::DrawDisabled()
{
    ShowCell(3);
}

void xpcheckbox::ArrangeLayout()
{
    xptoggle::layOut(*this, *ui.p, *ui.lbl);
}

// ---------------------------------------------------------------- life cycle

void xpcheckbox::UserControl_Initialize()
{
    DrawRest();
    ArrangeLayout();
    Canvas::put_BackColor(m_BackColor);
}

void xpcheckbox::UserControl_InitProperties()
{
    put_Caption(Ambient().get_DisplayName());
    put_Enabled(true);
    put_Value(State::Unchecked);
    putref_Font(Ambient().get_Font());
    put_BackColor(xptoggle::DefaultBackColor);
    put_ForeColor(xptoggle::DefaultForeColor);
}

void xpcheckbox::UserControl_ReadProperties(host::PropertyBag& PropBag)
{
    put_Value(State(host::CLng(PropBag.ReadProperty(QStringLiteral("Value"), 0))));
    put_Caption(
        PropBag.ReadProperty(QStringLiteral("Caption"), Ambient().get_DisplayName()).toString());
    put_Enabled(host::CBool(PropBag.ReadProperty(QStringLiteral("Enabled"), true)));
    putref_Font(PropBag.ReadProperty(QStringLiteral("Font"), Ambient().get_Font()).toFont());
    put_BackColor(
        PropBag.ReadProperty(QStringLiteral("BackColor"), xptoggle::DefaultBackColor).toOleColor());
    put_ForeColor(
        PropBag.ReadProperty(QStringLiteral("ForeColor"), xptoggle::DefaultForeColor).toOleColor());
}

void xpcheckbox::UserControl_WriteProperties(host::PropertyBag& PropBag)
{
    PropBag.WriteProperty(QStringLiteral("Font"), m_Font, Ambient().get_Font());
    PropBag.WriteProperty(QStringLiteral("Value"), m_Value, 0);
    PropBag.WriteProperty(QStringLiteral("Caption"), get_Caption(), Ambient().get_DisplayName());
    PropBag.WriteProperty(QStringLiteral("Enabled"), get_Enabled(), true);
    PropBag.WriteProperty(QStringLiteral("BackColor"), m_BackColor, xptoggle::DefaultBackColor);
    PropBag.WriteProperty(QStringLiteral("ForeColor"), m_ForeColor, xptoggle::DefaultForeColor);
}

void xpcheckbox::UserControl_Resize()
{
    ArrangeLayout();
}

// ---------------------------------------------------------------- input

void xpcheckbox::clicked()
{
    Q_EMIT Click();
    if (m_Value == qint32(State::Checked) || m_Value == qint32(State::Mixed))
        put_Value(State::Unchecked);
    else if (m_Value == qint32(State::Unchecked))
        put_Value(State::Checked);
    DrawRest();
}

void xpcheckbox::pressed(short& Button, short& Shift, float& x, float& Y)
{
    if (get_Enabled()) ShowCell(2);
    Q_EMIT MouseDown(Button, Shift, x, Y);
}

void xpcheckbox::moved(short& Button, short& Shift, float& x, float& Y)
{
    ui.Timer1->put_Enabled(true);
    if (!ui.Timer1->isMoveInside(x, Y)) return;
    Q_EMIT MouseMove(Button, Shift, x, Y);
    if (get_Enabled()) ShowCell(Button == 1 ? 2 : 1);
}

void xpcheckbox::released(short& Button, short& Shift, float& x, float& Y)
{
    Q_EMIT MouseUp(Button, Shift, x, Y);
}

void xpcheckbox::Timer1_Timer()
{
    put_ScaleMode(host::vbPixels);
    if (!ui.Timer1->isPointerOutside()) return;
    DrawRest();
    ui.Timer1->put_Enabled(false);
    Q_EMIT MouseOut();
}

void xpcheckbox::UserControl_Click()
{
    clicked();
}

void xpcheckbox::UserControl_KeyDown(short& KeyCode, short& Shift)
{
    Q_EMIT KeyDown(KeyCode, Shift);
}

void xpcheckbox::UserControl_KeyPress(short& KeyAscii)
{
    Q_EMIT KeyPress(KeyAscii);
}

void xpcheckbox::UserControl_KeyUp(short& KeyCode, short& Shift)
{
    Q_EMIT KeyUp(KeyCode, Shift);
}

void xpcheckbox::UserControl_MouseDown(short& Button, short& Shift, float& x, float& Y)
{
    pressed(Button, Shift, x, Y);
}

void xpcheckbox::UserControl_MouseMove(short& Button, short& Shift, float& x, float& Y)
{
    moved(Button, Shift, x, Y);
}

void xpcheckbox::UserControl_MouseUp(short& Button, short& Shift, float& x, float& Y)
{
    released(Button, Shift, x, Y);
}

void xpcheckbox::lbl_Change()
{
    ArrangeLayout();
}

} // namespace Kv_CTRL
