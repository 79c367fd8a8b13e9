#include "controls/verticaltext/VericalText.h"

#include "host/persist/PropertyBag.h"
#include "host/regional/Regional.h"
#include "host/services/Screen.h"
#include "host/services/Services.h"
#include "host/value/Conversions.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/Gdi.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace Kv_CTRL {

using host::OleColor;

namespace {

// Design-time settings of the surface.
constexpr float DesignWidth = 690;
constexpr float DesignHeight = 3960;
constexpr OleColor DesignForeColor = host::SystemColor::HighlightText; // 0x8000000E

// Defaults of the saved colours (not those of a new control, which keeps its design colours).
constexpr OleColor DefaultBackColor = host::SystemColor::WindowBackground;
constexpr OleColor DefaultForeColor = host::SystemColor::WindowText;

constexpr short ParaCima = short(zOpOrient::ParaCima);
constexpr qint32 QuarterTurn = 900; // tenths of a degree
constexpr qint32 BoldWeight = 700;
constexpr int FaceNameChars = int(sizeof(host::LOGFONTA::lfFaceName)) - 1;

const QString& titleFace()
{
    static const QString face = QStringLiteral("Arial Black");
    return face;
}

// Trailing spaces go, leading ones stay.
QString withoutTrailingSpaces(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

} // namespace

VericalText::VericalText(QWidget* parent)
    : host::UserControl(parent), m_Font(host::StdFont::create(titleFace(), 8.25))
{
    setDesignSize(DesignWidth, DesignHeight);
    put_CanGetFocus(false); // a title: Tab and clicks pass it by
    Canvas::putref_Font(host::StdFont::create(titleFace(), 8.25));
    Canvas::put_ForeColor(DesignForeColor);
}

VericalText::~VericalText() = default;

// ---------------------------------------------------------------- properties

void VericalText::put_zDirecao(zOpOrient value)
{
    m_zDirecao = host::CInt(double(qint32(value)));
    PropertyChanged(QStringLiteral("zDirecao"));
    redrawAfterSet();
}

host::AccessibleDescription VericalText::accessibleDescription() const
{
    host::AccessibleDescription d;
    d.role = host::AccessibleRole::StaticText;
    d.name = m_zTexto.trimmed();
    return d;
}

void VericalText::put_zTexto(const QString& value)
{
    m_zTexto = value;
    PropertyChanged(QStringLiteral("zTexto"));
    host::notifyAccessibleChange(this, host::AccessibleNameChanged);
    redrawAfterSet();
}

void VericalText::put_zDegradee(bool value)
{
    m_zDegradee = value;
    PropertyChanged(QStringLiteral("zDegradee"));
    redrawAfterSet();
}

void VericalText::put_BackColor(OleColor value)
{
    PropertyChanged(QStringLiteral("BackColor"));
    Canvas::put_BackColor(value);
    redrawAfterSet();
}

void VericalText::put_ForeColor(OleColor value)
{
    PropertyChanged(QStringLiteral("ForeColor"));
    Canvas::put_ForeColor(value);
    redrawAfterSet();
}

void VericalText::putref_Font(host::FontRef font)
{
    // Drawing reads the font's size and name on every paint: a missing one is refused here.
    if (!font) host::raiseError(host::Err::InvalidPropertyValue);
    m_Font = std::move(font);
    PropertyChanged(QStringLiteral("Font"));
    redrawAfterSet();
}

void VericalText::ShowAbout()
{
    Kv_CTRL::ShowAbout();
}

void VericalText::redrawAfterSet()
{
    // A new value may have mended what made the last drawing fail.
    m_drawFailed = false;
    DrawVertical();
}

// ---------------------------------------------------------------- life cycle

void VericalText::UserControl_InitProperties()
{
    m_Font = Ambient().get_Font(); // a copy: the container's font keeps its face
    m_Font->put_Name(titleFace());
    m_Appearance = 0;
    m_BorderStyle = 0;
    m_zDirecao = ParaCima;
    m_zTexto.clear();
    m_zDegradee = false;
}

void VericalText::UserControl_ReadProperties(host::PropertyBag& PropBag)
{
    // Each control gets a font object of its own: two strips read from one bag share nothing.
    const host::FontRef ambient = Ambient().get_Font();
    const host::FontRef stored = PropBag.ReadProperty(QStringLiteral("Font"), ambient).toFont();
    m_Font = stored && stored != ambient ? stored->clone() : ambient;
    Canvas::put_BackColor(
        PropBag.ReadProperty(QStringLiteral("BackColor"), DefaultBackColor).toOleColor());
    Canvas::put_ForeColor(
        PropBag.ReadProperty(QStringLiteral("ForeColor"), DefaultForeColor).toOleColor());
    m_Appearance = host::CInt(PropBag.ReadProperty(QStringLiteral("Appearance"), short(0)));
    m_BorderStyle = host::CInt(PropBag.ReadProperty(QStringLiteral("BorderStyle"), short(0)));
    m_zDirecao = host::CInt(PropBag.ReadProperty(QStringLiteral("zDirecao"), short(0)));
    m_zTexto = PropBag.ReadProperty(QStringLiteral("zTexto"), QString()).toString();
    m_zDegradee = host::CBool(PropBag.ReadProperty(QStringLiteral("zDegradee"), false));
}

void VericalText::UserControl_WriteProperties(host::PropertyBag& PropBag)
{
    PropBag.WriteProperty(QStringLiteral("Font"), m_Font, Ambient().get_Font());
    PropBag.WriteProperty(QStringLiteral("BackColor"), Canvas::get_BackColor(), DefaultBackColor);
    PropBag.WriteProperty(QStringLiteral("ForeColor"), Canvas::get_ForeColor(), DefaultForeColor);
    PropBag.WriteProperty(QStringLiteral("Appearance"), m_Appearance, short(0));
    PropBag.WriteProperty(QStringLiteral("BorderStyle"), m_BorderStyle, short(0));
    PropBag.WriteProperty(QStringLiteral("zDirecao"), m_zDirecao, short(0));
    PropBag.WriteProperty(QStringLiteral("zTexto"), m_zTexto, QString());
    PropBag.WriteProperty(QStringLiteral("zDegradee"), m_zDegradee, false);
}

void VericalText::UserControl_Resize()
{
    DrawVertical();
}

void VericalText::UserControl_Show()
{
    Canvas::putref_Font(m_Font);
    DrawVertical();
}

void VericalText::UserControl_Paint()
{
    DrawVertical();
}

// ---------------------------------------------------------------- drawing

void VericalText::DrawVertical()
{
    // After a failure the message has been shown once; paints and resizes leave the surface as
    // it was until a property is set again, or the box would come back with every repaint.
    if (m_drawFailed) return;
    // Setters call this outside the host's hooks: name the library as the source here too.
    host::ErrorSourceScope source(QString::fromLatin1(ProjectName));
    const qint32 hdc = get_hDC();
    qint32 created = 0;
    qint32 kept = 0;
    std::optional<host::RuntimeError> failure;
    try {
        const short s = host::CInt(m_Font->get_Size());
        const short twentieths = host::CInt(s * 20.0); // overflows past 1638 points (error 6)
        host::LOGFONTA lf;
        lf.lfHeight = -host::CLng(twentieths / double(host::Screen::get_TwipsPerPixelY()));
        float x = 50;
        float y = 50;
        if (m_zDirecao == ParaCima) {
            lf.lfEscapement = -QuarterTurn; // reads downwards, glyphs left of the start
            x = float(host::CLng(s * 33.33));
        } else {
            lf.lfEscapement = QuarterTurn; // reads upwards, glyphs right of the start
            y = float(host::CLng(double(get_Height()) - 50));
        }
        lf.lfWeight = m_Font->get_Bold() ? BoldWeight : 0;
        lf.lfItalic = m_Font->get_Italic() ? 255 : 0;
        lf.lfUnderline = m_Font->get_Underline() ? 255 : 0;
        // The record holds 31 characters and the NUL: a longer name is cut, not overrun.
        const QByteArray face = m_Font->get_Name().toLatin1().left(FaceNameChars);
        std::memcpy(lf.lfFaceName, face.constData(), size_t(face.size()));

        created = host::CreateFontIndirectA(lf);
        kept = host::SelectObject(hdc, created);
        Cls();
        if (m_zDegradee) DrawGradient(false, false, true);
        put_CurrentX(x);
        put_CurrentY(y);
        Print(withoutTrailingSpaces(m_zTexto));
    } catch (const host::RuntimeError& error) {
        failure = error;
    }
    // Every way out leaves the surface as it found it: its own font, no font left alive, twips.
    if (kept) host::SelectObject(hdc, kept);
    if (created) host::DeleteObject(created);
    if (get_ScaleMode() != host::vbTwips) put_ScaleMode(host::vbTwips);
    if (failure) {
        m_drawFailed = true;
        host::MsgBox(QStringLiteral("%1 %2 %3")
                         .arg(QString::number(failure->number()), failure->description(),
                              failure->source()));
    }
}

void VericalText::DrawGradient(bool red, bool green, bool blue)
{
    put_ScaleMode(host::vbPixels);
    const qint32 h = host::CLng(host::Screen::get_Height() / host::Screen::get_TwipsPerPixelY());
    // Bands are laid over the screen's height, so a strip shows the top of the gradient. A screen
    // under one pixel high would give a step of 0: no bands rather than an endless loop.
    if (h >= 1) {
        const qint32 step = host::CLng(h / 64.0 + 0.5);
        // The screen's width in twips taken as pixels: far past any control's right edge.
        const float right = host::Screen::get_Width() + 2;
        // Bands that start below the strip would be cut away whole: a strip a third of the
        // screen high stops after a third of them (a resize draws the strip again).
        // The darkening of the screen's last band is checked all the same: on a screen too tall
        // for it the drawing fails with Overflow, whatever the strip's height.
        host::CLng(double(h / step * step) * 245);
        const double bottom = get_ScaleHeight();
        for (qint64 y = 0; y <= h && y - 2 < bottom; y += step) {
            // Long arithmetic: y * 245 fits 32 bits on every real screen (16 bits would overflow
            // past row 133), and raises Overflow rather than wrapping where it does not.
            const qint32 darkening = host::CLng(double(y) * 245);
            const qint32 level = std::max(0, host::CLng(240 - double(darkening) / h));
            const OleColor color = host::RGB(red ? level : 0, green ? level : 0, blue ? level : 0);
            Line(-2, float(y - 2), right, float(y + step + 3), color, host::LineShape::FilledBox);
        }
    }
    put_ScaleMode(host::vbTwips);
}

} // namespace Kv_CTRL
