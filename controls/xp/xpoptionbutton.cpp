#include "controls/xp/xpoptionbutton.h"

#include "controls/xp/XpToggle.h"
#include "host/persist/PropertyBag.h"
#include "host/regional/Regional.h"
#include "host/services/Guard.h"
#include "host/value/OleColor.h"
#include "host/value/RuntimeError.h"
#include "host/value/StdPicture.h"
#include "host/widgets/HoverTimer.h"
#include "host/widgets/Image.h"
#include "host/widgets/Label.h"
#include "host/widgets/LateBinding.h"
#include "host/widgets/Lifetime.h"

#include <QPointer>

namespace Kv_CTRL {

namespace {

constexpr float DesignWidth = 1575;
constexpr float DesignHeight = 255;
constexpr short PictureCount = 8;

// Picture n, drawn by apps/kvart and embedded in the library.
host::PictureRef loadPicture(short n)
{
    return host::ResourcePicture(QStringLiteral(":/Kv_CTRL/xp/xpoptionbutton%1.png").arg(n));
}

} // namespace

xpoptionbutton::xpoptionbutton(QWidget* parent) : host::UserControl(parent), ui(this)
{
    setDesignSize(DesignWidth, DesignHeight);

    ui.p = new host::Image(this, QStringLiteral("p"));

    ui.lbl = new host::Label(this, QStringLiteral("lbl"));
    ui.lbl->put_BackStyle(0);
    ui.lbl->put_Alignment(0);
    ui.lbl->put_AutoSize(true);
    ui.lbl->put_Caption(QStringLiteral("Label1"));

    ui.Timer1 = new host::HoverTimer(this, QStringLiteral("Timer1"));
    ui.Timer1->put_Interval(10);
    ui.Timer1->put_Enabled(true);

    for (short n = 0; n < PictureCount; ++n) {
        host::Image* image = ui.img.Load(n);
        image->put_Visible(false);
        image->putref_Picture(loadPicture(n));
    }

    host::connectGuarded(ui.lbl, &host::Label::Change, this, &xpoptionbutton::lbl_Change);
    host::connectGuarded(ui.lbl, &host::Label::Click, this, &xpoptionbutton::clicked);
    host::connectGuarded(ui.lbl, &host::Label::MouseDown, this, &xpoptionbutton::pressed);
    host::connectGuarded(ui.lbl, &host::Label::MouseMove, this, &xpoptionbutton::moved);
    host::connectGuarded(ui.lbl, &host::Label::MouseUp, this, &xpoptionbutton::released);
    host::connectGuarded(ui.p, &host::Image::Click, this, &xpoptionbutton::clicked);
    host::connectGuarded(ui.p, &host::Image::MouseDown, this, &xpoptionbutton::pressed);
    host::connectGuarded(ui.p, &host::Image::MouseMove, this, &xpoptionbutton::p_MouseMove);
    host::connectGuarded(ui.p, &host::Image::MouseUp, this, &xpoptionbutton::released);
    host::connectGuarded(ui.Timer1, &host::Timer::Tick, this, &xpoptionbutton::Timer1_Timer);
}

xpoptionbutton::~xpoptionbutton() = default;

// ---------------------------------------------------------------- properties

void xpoptionbutton::put_Enabled(bool value)
{
    UserControl::put_Enabled(value);
    if (get_Enabled())
        DrawRest();
    else
        DrawDisabled();
    ui.lbl->put_ForeColor(xptoggle::captionColor(get_Enabled(), m_ForeColor));
}

void xpoptionbutton::put_Value(bool value)
{
    storeValue(value ? -1 : 0);
}

void xpoptionbutton::storeValue(short value)
{
    m_Value = value;
    DrawRest();
    PropertyChanged(QStringLiteral("Value"));
    host::notifyAccessibleChange(this);
}

QString xpoptionbutton::get_Caption() const
{
    return ui.lbl->get_Caption();
}

void xpoptionbutton::put_Caption(const QString& value)
{
    ui.lbl->put_Caption(value);
    ArrangeLayout();
    PropertyChanged(QStringLiteral("Caption"));
    host::notifyAccessibleChange(this);
}

void xpoptionbutton::putref_Font(host::FontRef font)
{
    if (!font) host::raiseError(host::Err::ObjectVariableNotSet);
    m_Font = std::move(font);
    Canvas::putref_Font(m_Font);
    ui.lbl->putref_Font(m_Font);
    ArrangeLayout();
    PropertyChanged(QStringLiteral("Font"));
}

void xpoptionbutton::put_BackColor(host::OleColor value)
{
    host::translateColor(value); // a bad colour is refused before it is stored and saved
    m_BackColor = value;
    PropertyChanged(QStringLiteral("BackColor"));
    Canvas::put_BackColor(value);
}

void xpoptionbutton::put_ForeColor(host::OleColor value)
{
    host::translateColor(value);
    m_ForeColor = value;
    PropertyChanged(QStringLiteral("ForeColor"));
    ui.lbl->put_ForeColor(xptoggle::captionColor(get_Enabled(), value));
}

void xpoptionbutton::ShowAbout()
{
    Kv_CTRL::ShowAbout();
}

host::AccessibleDescription xpoptionbutton::accessibleDescription() const
{
    host::AccessibleDescription d;
    d.role = host::AccessibleRole::RadioButton;
    d.name = get_Caption();
    d.check = get_Value() ? host::AccessibleCheck::Checked : host::AccessibleCheck::Unchecked;
    return d;
}

// ---------------------------------------------------------------- drawing

void xpoptionbutton::ShowPicture(short condition)
{
    if (m_Value != 0 && m_Value != -1) return;
    const short n = short((m_Value == -1 ? 4 : 0) + condition);
    ui.p->putref_Picture(ui.img(n)->get_Picture());
    m_shownPicture = n;
}

void xpoptionbutton::DrawRest()
{
    if (!get_Enabled()) return DrawDisabled();
    ShowPicture(0);
}

void xpoptionbutton::DrawDisabled()
{
    ShowPicture(3);
}

void xpoptionbutton::ArrangeLayout()
{
    xptoggle::layOut(*this, *ui.p, *ui.lbl);
}

// ---------------------------------------------------------------- life cycle

void xpoptionbutton::UserControl_Initialize()
{
    ArrangeLayout();
    DrawRest();
    Canvas::put_BackColor(m_BackColor);
}

void xpoptionbutton::UserControl_InitProperties()
{
    put_Caption(Ambient().get_DisplayName());
    put_Enabled(true);
    put_Value(false);
    putref_Font(Ambient().get_Font());
    put_BackColor(xptoggle::DefaultBackColor);
    put_ForeColor(xptoggle::DefaultForeColor);
}

void xpoptionbutton::UserControl_ReadProperties(host::PropertyBag& PropBag)
{
    // Read as the 16-bit number it was saved as, so a value other than -1 or 0 survives.
    storeValue(host::CInt(PropBag.ReadProperty(QStringLiteral("Value"), false)));
    put_Caption(
        PropBag.ReadProperty(QStringLiteral("Caption"), Ambient().get_DisplayName()).toString());
    put_Enabled(host::CBool(PropBag.ReadProperty(QStringLiteral("Enabled"), true)));
    putref_Font(PropBag.ReadProperty(QStringLiteral("Font"), Ambient().get_Font()).toFont());
    put_BackColor(
        PropBag.ReadProperty(QStringLiteral("BackColor"), xptoggle::DefaultBackColor).toOleColor());
    put_ForeColor(
        PropBag.ReadProperty(QStringLiteral("ForeColor"), xptoggle::DefaultForeColor).toOleColor());
}

void xpoptionbutton::UserControl_WriteProperties(host::PropertyBag& PropBag)
{
    PropBag.WriteProperty(QStringLiteral("Font"), m_Font, Ambient().get_Font());
    PropBag.WriteProperty(QStringLiteral("Value"), m_Value, short(0));
    PropBag.WriteProperty(QStringLiteral("Caption"), get_Caption(), Ambient().get_DisplayName());
    PropBag.WriteProperty(QStringLiteral("Enabled"), get_Enabled(), true);
    PropBag.WriteProperty(QStringLiteral("BackColor"), m_BackColor, xptoggle::DefaultBackColor);
    PropBag.WriteProperty(QStringLiteral("ForeColor"), m_ForeColor, xptoggle::DefaultForeColor);
}

void xpoptionbutton::UserControl_Resize()
{
    ArrangeLayout();
}

// ---------------------------------------------------------------- input

void xpoptionbutton::clicked()
{
    host::LifeGuard alive(this);
    Q_EMIT Click();
    if (!alive) return;
    // The group is the container's option buttons, this one among them; a handler run by a
    // cleared button may remove controls, so each is held weakly.
    QList<QPointer<QWidget>> group;
    for (QWidget* w : host::containerControls(parentWidget()))
        if (host::TypeOf(w, QStringLiteral("xpoptionbutton"))) group << w;
    for (const QPointer<QWidget>& w : std::as_const(group))
        if (w && !host::isDisposed(w)) host::CallByNameLet(w, QStringLiteral("Value"), false);
    if (!alive) return;
    put_Value(true);
    DrawRest();
}

void xpoptionbutton::pressed(short& Button, short& Shift, float& x, float& Y)
{
    if (get_Enabled()) ShowPicture(2);
    Q_EMIT MouseDown(Button, Shift, x, Y);
}

void xpoptionbutton::moved(short& Button, short& Shift, float& x, float& Y)
{
    ui.Timer1->put_Enabled(true);
    if (!ui.Timer1->isMoveInside(x, Y)) return;
    Q_EMIT MouseMove(Button, Shift, x, Y);
    if (get_Enabled()) ShowPicture(Button == 1 ? 2 : 1);
}

void xpoptionbutton::released(short& Button, short& Shift, float& x, float& Y)
{
    Q_EMIT MouseUp(Button, Shift, x, Y);
}

void xpoptionbutton::Timer1_Timer()
{
    put_ScaleMode(host::vbPixels);
    if (!ui.Timer1->isPointerOutside()) return;
    ui.Timer1->put_Enabled(false);
    host::LifeGuard alive(this);
    Q_EMIT MouseOut();
    if (alive) DrawRest();
}

void xpoptionbutton::UserControl_Click()
{
    clicked();
}

void xpoptionbutton::UserControl_KeyDown(short& KeyCode, short& Shift)
{
    Q_EMIT KeyDown(KeyCode, Shift);
}

void xpoptionbutton::UserControl_KeyPress(short& KeyAscii)
{
    Q_EMIT KeyPress(KeyAscii);
}

void xpoptionbutton::UserControl_KeyUp(short& KeyCode, short& Shift)
{
    Q_EMIT KeyUp(KeyCode, Shift);
}

void xpoptionbutton::UserControl_MouseDown(short& Button, short& Shift, float& x, float& Y)
{
    pressed(Button, Shift, x, Y);
}

void xpoptionbutton::UserControl_MouseMove(short& Button, short& Shift, float& x, float& Y)
{
    moved(Button, Shift, x, Y);
}

void xpoptionbutton::UserControl_MouseUp(short& Button, short& Shift, float& x, float& Y)
{
    released(Button, Shift, x, Y);
}

void xpoptionbutton::lbl_Change()
{
    ArrangeLayout();
}

// The picture reports its own place, not the pointer's, in the surface's current scale.
void xpoptionbutton::p_MouseMove(short& Button, short& Shift, float& /*x*/, float& /*Y*/)
{
    float left = ui.p->get_Left();
    float top = ui.p->get_Top();
    moved(Button, Shift, left, top);
}

} // namespace Kv_CTRL
