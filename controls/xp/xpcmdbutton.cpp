#include "controls/xp/xpcmdbutton.h"

#include "host/persist/PropertyBag.h"
#include "host/regional/Regional.h"
#include "host/services/Guard.h"
#include "host/value/OleColor.h"
#include "host/value/RuntimeError.h"
#include "host/value/StdPicture.h"
#include "host/widgets/HoverTimer.h"
#include "host/widgets/Label.h"
#include "host/widgets/PictureClip.h"

#include <cmath>

namespace Kv_CTRL {

namespace {

// Designed size in twips (the About dialog's close button is 2085 x 360).
constexpr float DesignWidth = 1215;
constexpr float DesignHeight = 375;

constexpr host::OleColor EnabledCaption = host::RGB(0, 0, 0);
constexpr host::OleColor DisabledCaption = host::RGB(161, 161, 146);

// The strip: one row of five 18 x 21 cells, drawn by apps/kvart.
constexpr short StripCols = 5;
constexpr float CellWidth = 18, CellHeight = 21, Edge = 3;

// The strip embedded in the library, with its high-density version.
host::PictureRef loadStrip()
{
    return host::LoadPicture(QStringLiteral(":/Kv_CTRL/xp/xpcmdbutton.png"));
}

// The access keys of a caption: each letter after a single "&" ("&&" is a literal "&").
QString accessKeysOf(const QString& caption)
{
    QString keys;
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) continue;
        if (caption[i + 1] != QLatin1Char('&')) keys += caption[i + 1];
        ++i;
    }
    return keys;
}

} // namespace

xpcmdbutton::xpcmdbutton(QWidget* parent) : host::UserControl(parent)
{
    setDesignSize(DesignWidth, DesignHeight);

    ui.lbl = new host::Label(this, QStringLiteral("lbl"));
    ui.lbl->put_BackStyle(0);
    ui.lbl->put_Alignment(2);
    ui.lbl->put_AutoSize(true);
    ui.lbl->put_Caption(QStringLiteral("xpcmdbutton"));

    ui.Timer1 = new host::HoverTimer(this, QStringLiteral("Timer1"));
    ui.Timer1->put_Interval(10);
    ui.Timer1->put_Enabled(false);

    ui.pc = new host::PictureClip(this, QStringLiteral("pc"));
    ui.pc->put_Cols(StripCols);
    ui.pc->put_Rows(1);
    ui.pc->putref_Picture(loadStrip());

    host::connectGuarded(ui.lbl, &host::Label::Change, this, &xpcmdbutton::lbl_Change);
    host::connectGuarded(ui.lbl, &host::Label::Click, this, &xpcmdbutton::lbl_Click);
    host::connectGuarded(ui.lbl, &host::Label::MouseDown, this, &xpcmdbutton::pressed);
    host::connectGuarded(ui.lbl, &host::Label::MouseMove, this, &xpcmdbutton::moved);
    host::connectGuarded(ui.lbl, &host::Label::MouseUp, this, &xpcmdbutton::released);
    host::connectGuarded(ui.Timer1, &host::Timer::Tick, this, &xpcmdbutton::Timer1_Timer);
}

xpcmdbutton::~xpcmdbutton() = default;

// ---------------------------------------------------------------- properties

void xpcmdbutton::put_Enabled(bool value)
{
    UserControl::put_Enabled(value);
    PropertyChanged(QStringLiteral("Enabled"));
    DrawRest();
    ui.lbl->put_ForeColor(get_Enabled() ? EnabledCaption : DisabledCaption);
}

void xpcmdbutton::put_State(State_b value)
{
    m_state = qint32(value);
    PropertyChanged(QStringLiteral("State"));
    DrawRest();
}

host::AccessibleDescription xpcmdbutton::accessibleDescription() const
{
    host::AccessibleDescription d;
    d.role = host::AccessibleRole::PushButton;
    d.name = get_Caption();
    return d;
}

QString xpcmdbutton::get_Caption() const
{
    return ui.lbl->get_Caption();
}

void xpcmdbutton::put_Caption(const QString& value)
{
    put_AccessKeys(accessKeysOf(value));
    ui.lbl->put_Caption(value); // Change places the label
    PropertyChanged(QStringLiteral("Caption"));
    host::notifyAccessibleChange(this, host::AccessibleNameChanged);
}

void xpcmdbutton::putref_Font(host::FontRef font)
{
    if (!font) host::raiseError(host::Err::ObjectVariableNotSet);
    m_font = std::move(font);
    Canvas::putref_Font(m_font);
    ui.lbl->putref_Font(m_font);
    PlaceLabel();
    PropertyChanged(QStringLiteral("Font"));
}

void xpcmdbutton::ShowAbout()
{
    Kv_CTRL::ShowAbout();
}

// ---------------------------------------------------------------- drawing

void xpcmdbutton::DrawCell(short n)
{
    put_ScaleMode(host::vbPixels);
    const float W = get_ScaleWidth();
    const float H = get_ScaleHeight();
    const float right = W - Edge, bottom = H - Edge, across = W - 2 * Edge;
    // Rounded half to even as CInt rounds, without its 16-bit limit: a button taller than 32767
    // pixels draws too.
    const float down = float(std::nearbyint(H - 2 * Edge));
    const float srcRight = CellWidth - Edge, srcBottom = CellHeight - Edge;
    const float srcAcross = CellWidth - 2 * Edge, srcDown = CellHeight - 2 * Edge;
    struct Slice {
        float x, y, w, h, sx, sy, sw, sh;
    };
    const Slice slices[] = {
        {0, 0, Edge, Edge, 0, 0, Edge, Edge},                           // top-left
        {right, 0, Edge, Edge, srcRight, 0, Edge, Edge},                // top-right
        {right, bottom, Edge, Edge, srcRight, srcBottom, Edge, Edge},   // bottom-right
        {0, bottom, Edge, Edge, 0, srcBottom, Edge, Edge},              // bottom-left
        {Edge, 0, across, Edge, Edge, 0, srcAcross, Edge},              // top edge
        {right, Edge, Edge, down, srcRight, Edge, Edge, srcDown},       // right edge
        {0, Edge, Edge, down, 0, Edge, Edge, srcDown},                  // left edge
        {Edge, bottom, across, Edge, Edge, srcBottom, srcAcross, Edge}, // bottom edge
        {Edge, Edge, across, down, Edge, Edge, srcAcross, srcDown},     // centre
    };
    for (const Slice& s : slices) {
        // A button under 6 x 6 pixels has empty edges and centre: they are skipped.
        if (s.w <= 0 || s.h <= 0) continue;
        PaintPicture(ui.pc->GraphicCell(n), s.x, s.y, s.w, s.h, s.sx, s.sy, s.sw, s.sh);
    }
    m_shownCell = n;
}

void xpcmdbutton::DrawRest()
{
    if (m_state == qint32(State_b::Default_))
        m_restCell = CellDefault;
    else if (m_state == qint32(State_b::Normal_))
        m_restCell = CellNormal;
    DrawCell(get_Enabled() ? m_restCell : short(CellDisabled));
}

void xpcmdbutton::PlaceLabel()
{
    DrawRest();
    ui.lbl->put_Top((get_ScaleHeight() - ui.lbl->get_Height()) / 2);
    ui.lbl->put_Left((get_ScaleWidth() - ui.lbl->get_Width()) / 2);
}

// ---------------------------------------------------------------- life cycle

void xpcmdbutton::UserControl_Initialize()
{
    DrawRest();
}

void xpcmdbutton::UserControl_InitProperties()
{
    m_state = qint32(State_b::Normal_);
    put_Enabled(true);
    put_Caption(Ambient().get_DisplayName());
    putref_Font(Ambient().get_Font());
}

void xpcmdbutton::UserControl_ReadProperties(host::PropertyBag& PropBag)
{
    m_state = host::CLng(PropBag.ReadProperty(QStringLiteral("State"), 0));
    put_Enabled(host::CBool(PropBag.ReadProperty(QStringLiteral("Enabled"), true)));
    put_Caption(
        PropBag.ReadProperty(QStringLiteral("Caption"), Ambient().get_DisplayName()).toString());
    putref_Font(PropBag.ReadProperty(QStringLiteral("Font"), Ambient().get_Font()).toFont());
}

void xpcmdbutton::UserControl_WriteProperties(host::PropertyBag& PropBag)
{
    PropBag.WriteProperty(QStringLiteral("State"), m_state, 0);
    PropBag.WriteProperty(QStringLiteral("Enabled"), get_Enabled(), true);
    PropBag.WriteProperty(QStringLiteral("Caption"), get_Caption(), Ambient().get_DisplayName());
    PropBag.WriteProperty(QStringLiteral("Font"), m_font, Ambient().get_Font());
}

void xpcmdbutton::UserControl_Resize()
{
    PlaceLabel();
}

void xpcmdbutton::UserControl_Show()
{
    DrawRest();
}

// ---------------------------------------------------------------- input

void xpcmdbutton::UserControl_Click()
{
    Q_EMIT Click();
}

void xpcmdbutton::UserControl_AccessKeyPress(short& /*KeyAscii*/)
{
    Q_EMIT Click();
}

void xpcmdbutton::UserControl_KeyDown(short& KeyCode, short& Shift)
{
    Q_EMIT KeyDown(KeyCode, Shift);
}

void xpcmdbutton::UserControl_KeyPress(short& KeyAscii)
{
    Q_EMIT KeyPress(KeyAscii);
}

void xpcmdbutton::UserControl_KeyUp(short& KeyCode, short& Shift)
{
    Q_EMIT KeyUp(KeyCode, Shift);
}

void xpcmdbutton::UserControl_MouseDown(short& Button, short& Shift, float& x, float& Y)
{
    pressed(Button, Shift, x, Y);
}

void xpcmdbutton::UserControl_MouseMove(short& Button, short& Shift, float& x, float& Y)
{
    moved(Button, Shift, x, Y);
}

void xpcmdbutton::UserControl_MouseUp(short& Button, short& Shift, float& x, float& Y)
{
    released(Button, Shift, x, Y);
}

void xpcmdbutton::lbl_Change()
{
    PlaceLabel();
}

void xpcmdbutton::lbl_Click()
{
    Q_EMIT Click();
}

void xpcmdbutton::pressed(short& Button, short& Shift, float& x, float& Y)
{
    Q_EMIT MouseDown(Button, Shift, x, Y);
    DrawCell(CellPressed);
}

void xpcmdbutton::moved(short& Button, short& Shift, float& x, float& Y)
{
    ui.Timer1->put_Enabled(true);
    if (!ui.Timer1->isMoveInside(x, Y)) return;
    Q_EMIT MouseMove(Button, Shift, x, Y);
    DrawCell(Button == 1 ? CellPressed : CellHover);
}

void xpcmdbutton::released(short& Button, short& Shift, float& x, float& Y)
{
    Q_EMIT MouseUp(Button, Shift, x, Y);
    DrawRest();
}

void xpcmdbutton::Timer1_Timer()
{
    if (!ui.Timer1->isPointerOutside()) return;
    ui.Timer1->put_Enabled(false);
    Q_EMIT MouseOut();
    DrawRest();
}

} // namespace Kv_CTRL
