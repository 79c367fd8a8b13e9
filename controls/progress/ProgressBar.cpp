#include "controls/progress/ProgressBar.h"

#include "host/persist/PropertyBag.h"
#include "host/regional/Regional.h"
#include "host/services/Guard.h"
#include "host/value/Conversions.h"
#include "host/value/RuntimeError.h"
#include "host/value/Twips.h"
#include "host/widgets/PictureBox.h"

#include <algorithm>
#include <cmath>

namespace Kv_CTRL {

using host::OleColor;

namespace {

constexpr float DesignWidth = 3000;
constexpr float DesignHeight = 315;
constexpr OleColor DefaultBackColor = 0xFFFFFF; // white
constexpr OleColor DefaultForeColor = 0xFF0000; // blue (red is the low byte)

// The nearest whole number, ties to the even one, as the runtime rounds to integers. Held in a
// double, so a gauge of any size and any value paints without overflow.
double roundEven(double value)
{
    return std::nearbyint(value);
}

float finite(float value)
{
    if (!std::isfinite(value)) host::raiseError(host::Err::InvalidPropertyValue);
    return value;
}

} // namespace

ProgressBar::ProgressBar(QWidget* parent) : host::UserControl(parent)
{
    setDesignSize(DesignWidth, DesignHeight);
    put_CanGetFocus(false); // it only shows: Tab passes it by
    ui.picGuage = new host::PictureBox(this, QStringLiteral("picGuage"));
    ui.picGuage->put_TabStop(false);
    ui.picGuage->put_BackColor(host::SystemColor::WindowBackground);
    ui.picGuage->putref_Font(host::StdFont::create(QStringLiteral("MS Sans Serif"), 8.25, true));
    ui.picGuage->Move(0, 0, DesignWidth, DesignHeight);
    host::connectGuarded(ui.picGuage, &host::PictureBox::Paint, this, &ProgressBar::picGuage_Paint);
}

ProgressBar::~ProgressBar() = default;

void ProgressBar::changed(const char* property)
{
    PropertyChanged(QString::fromLatin1(property));
    Refresh();
}

void ProgressBar::put_BackColor(OleColor value)
{
    Canvas::put_BackColor(value);
    changed("BackColor");
}

void ProgressBar::put_ForeColor(OleColor value)
{
    Canvas::put_ForeColor(value);
    changed("ForeColor");
}

host::FontRef ProgressBar::get_Font() const
{
    return ui.picGuage->get_Font();
}

void ProgressBar::putref_Font(host::FontRef font)
{
    ui.picGuage->putref_Font(font);
    changed("Font");
}

void ProgressBar::put_Value(float value)
{
    m_value = finite(value);
    changed("Value");
    host::notifyAccessibleChange(this, host::AccessibleValueChanged);
}

void ProgressBar::put_Min(float value)
{
    if (finite(value) > m_maximum) host::raiseError(host::Err::InvalidPropertyValue);
    m_minimum = value;
    changed("Min");
    host::notifyAccessibleChange(this, host::AccessibleValueChanged);
}

void ProgressBar::put_Max(float value)
{
    if (m_minimum > finite(value)) host::raiseError(host::Err::InvalidPropertyValue);
    m_maximum = value;
    changed("Max");
    host::notifyAccessibleChange(this, host::AccessibleValueChanged);
}

host::AccessibleDescription ProgressBar::accessibleDescription() const
{
    // The value the bar shows: held within the bounds, as the gauge draws it.
    host::AccessibleDescription d;
    d.role = host::AccessibleRole::ProgressBar;
    d.name = m_caption;
    d.minimum = m_minimum;
    d.maximum = m_maximum;
    d.value = std::clamp<double>(m_value, m_minimum, m_maximum);
    return d;
}

MyBorderStyle ProgressBar::get_BorderStyle() const
{
    return MyBorderStyle(ui.picGuage->get_BorderStyle());
}

void ProgressBar::put_BorderStyle(MyBorderStyle value)
{
    // Held in 16 bits: a value beyond them overflows (6) instead of wrapping onto 0 or 1.
    ui.picGuage->put_BorderStyle(host::CInt(double(qint32(value))));
    changed("BorderStyle");
}

void ProgressBar::put_Caption(const host::Variant& value)
{
    m_caption = value.toString();
    changed("Caption");
    host::notifyAccessibleChange(this, host::AccessibleNameChanged);
}

void ProgressBar::put_ViewPercent(bool value)
{
    m_viewPercent = value;
    changed("ViewPercent");
}

void ProgressBar::Refresh()
{
    ui.picGuage->Refresh();
    DrawGauge();
}

void ProgressBar::ShowAbout()
{
    Kv_CTRL::ShowAbout();
}

void ProgressBar::picGuage_Paint()
{
    DrawGauge();
}

void ProgressBar::DrawGauge()
{
    host::PictureBox& box = *ui.picGuage;
    double v = roundEven(m_value);
    if (v < m_minimum)
        v = roundEven(m_minimum);
    else if (v > m_maximum)
        v = roundEven(m_maximum);
    const double p = roundEven(host::twipsPerPixelX(this)); // one pixel, in twips

    QString text;
    if (!m_caption.isEmpty()) text = m_caption;
    if (m_viewPercent) {
        if (!text.isEmpty()) text += QLatin1Char(' ');
        // v is whole already: its digits, whatever its size (a bound may lie far beyond 64 bits),
        // and 0 for a value rounded to zero from below.
        text += QString::number(v == 0 ? 0.0 : v, 'f', 0) + QStringLiteral(" %");
    }

    const double W = roundEven(box.get_ScaleWidth() - p);
    const double H = roundEven(box.get_ScaleHeight() - p);
    const auto fp = float(p), fw = float(W), fh = float(H);
    box.put_DrawMode(host::vbCopyPen);
    box.Line(fp, fp, fw, fh, get_BackColor(), host::LineShape::FilledBox);
    box.put_CurrentX((box.get_ScaleWidth() - box.TextWidth(text)) / 2);
    box.put_CurrentY((box.get_ScaleHeight() - box.TextHeight(text)) / 2);
    box.Print(text);

    if (v > 0) {
        // Two exclusive-or passes: the background turns to the bar colour and a text pixel t
        // to t ^ fore ^ back, so the caption shows inverted under the bar.
        const auto x = float(W / 100.0 * v);
        box.put_DrawMode(host::vbXorPen);
        box.Line(fp, fp, x, fh, get_ForeColor(), host::LineShape::FilledBox);
        box.Line(fp, fp, x, fh, get_BackColor(), host::LineShape::FilledBox);
        box.put_DrawMode(host::vbCopyPen);
    }
}

void ProgressBar::UserControl_InitProperties()
{
    m_value = 0;
    m_minimum = 0;
    m_maximum = 100;
    Canvas::put_BackColor(DefaultBackColor);
    Canvas::put_ForeColor(DefaultForeColor);
    m_caption.clear();
    m_viewPercent = false;
}

void ProgressBar::UserControl_ReadProperties(host::PropertyBag& PropBag)
{
    Canvas::put_BackColor(
        PropBag.ReadProperty(QStringLiteral("BackColor"), DefaultBackColor).toOleColor());
    Canvas::put_ForeColor(
        PropBag.ReadProperty(QStringLiteral("ForeColor"), DefaultForeColor).toOleColor());
    // A font of its own: gauges read from one bag share nothing.
    const host::FontRef ambient = Ambient().get_Font();
    const host::FontRef stored = PropBag.ReadProperty(QStringLiteral("Font"), ambient).toFont();
    ui.picGuage->putref_Font(stored && stored != ambient ? stored->clone() : ambient);
    ui.picGuage->put_BorderStyle(
        host::CInt(PropBag.ReadProperty(QStringLiteral("BorderStyle"), short(1))));
    // Stored as they come, crossed bounds included; only numbers no gauge can hold are refused.
    m_value = finite(PropBag.ReadProperty(QStringLiteral("Value"), 0.f).toSingle());
    m_minimum = finite(PropBag.ReadProperty(QStringLiteral("Min"), 0.f).toSingle());
    m_maximum = finite(PropBag.ReadProperty(QStringLiteral("Max"), 100.f).toSingle());
    m_caption = PropBag.ReadProperty(QStringLiteral("Caption"), QString()).toString();
    m_viewPercent = host::CBool(PropBag.ReadProperty(QStringLiteral("ViewPercent"), false));
}

void ProgressBar::UserControl_WriteProperties(host::PropertyBag& PropBag)
{
    PropBag.WriteProperty(QStringLiteral("BackColor"), get_BackColor(), DefaultBackColor);
    PropBag.WriteProperty(QStringLiteral("ForeColor"), get_ForeColor(), DefaultForeColor);
    PropBag.WriteProperty(QStringLiteral("Font"), get_Font(), Ambient().get_Font());
    PropBag.WriteProperty(QStringLiteral("BorderStyle"), ui.picGuage->get_BorderStyle(), short(1));
    PropBag.WriteProperty(QStringLiteral("Value"), m_value, 0.f);
    PropBag.WriteProperty(QStringLiteral("Min"), m_minimum, 0.f);
    PropBag.WriteProperty(QStringLiteral("Max"), m_maximum, 100.f);
    PropBag.WriteProperty(QStringLiteral("Caption"), m_caption, QString());
    PropBag.WriteProperty(QStringLiteral("ViewPercent"), m_viewPercent, false);
}

void ProgressBar::UserControl_Resize()
{
    ui.picGuage->put_Width(get_ScaleWidth());
    ui.picGuage->put_Height(get_ScaleHeight());
}

void ProgressBar::UserControl_Show()
{
    Refresh();
}

} // namespace Kv_CTRL
