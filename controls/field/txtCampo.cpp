#include "controls/field/txtCampo.h"

#include "controls/calendar/Calendario.h"
#include "host/persist/PropertyBag.h"
#include "host/regional/Regional.h"
#include "host/services/Guard.h"
#include "host/services/Services.h"
#include "host/value/Conversions.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/CommandButton.h"
#include "host/widgets/Label.h"
#include "host/widgets/Lifetime.h"
#include "host/widgets/TextBox.h"
#include "library/core/Kv_Module.h"

#include <algorithm>

namespace Kv_CTRL {

using host::OleColor;
using host::Variant;

namespace {

// Design-time sizes, in twips.
constexpr float DesignWidth = 1680;
constexpr float DesignHeight = 315;
constexpr float MinHeight = 315;
constexpr float MinWidth = 100;
constexpr float ButtonTop = 30;
constexpr float ButtonWidth = 285;
constexpr float ButtonHeight = 270;
constexpr float PanelWidth = 630;

constexpr OleColor FocusColor = host::SystemColor::InfoBackground; // 0x80000018
constexpr OleColor DefaultBackColor = host::SystemColor::WindowBackground;
constexpr OleColor DefaultForeColor = host::SystemColor::WindowText;

constexpr short TypeCharacter = short(CharType::Character);
constexpr short TypeMoney = short(CharType::Money);
constexpr short TypeDate = short(CharType::Date);
constexpr short TypeNumeric = short(CharType::Numeric);

constexpr int MsgInformation = 64; // vbInformation, OK button only

const QString& messageTitle()
{
    static const QString title = QStringLiteral("Atenção !");
    return title;
}

// A 32-bit enumeration value held in 16 bits, as the runtime stores it: Overflow when it does
// not fit.
template <class E>
short to16(E value)
{
    return host::CInt(double(qint32(value)));
}

bool isDigitCode(short code)
{
    return code >= 48 && code <= 57;
}

} // namespace

txtCampo::txtCampo(QWidget* parent) : host::UserControl(parent)
{
    setDesignSize(DesignWidth, DesignHeight);
    Canvas::put_BackColor(DefaultBackColor);
    Canvas::put_ForeColor(DefaultForeColor);

    ui.TextCampo = new host::TextBox(this, QStringLiteral("TextCampo"));
    ui.TextCampo->Move(0, 0);

    // Most fields never show a button: the panel and buttons are made when one is switched on or
    // a host asks for them by name.
    deferConstituents({QStringLiteral("lblButton"), QStringLiteral("cmdLocalizar"),
                       QStringLiteral("cmdCalendario")},
                      [this] { makeButtons(); });

    host::connectGuarded(ui.TextCampo, &host::TextBox::KeyPress, this,
                         &txtCampo::TextCampo_KeyPress);
    host::connectGuarded(ui.TextCampo, &host::TextBox::KeyDown, this, &txtCampo::TextCampo_KeyDown);
    host::connectGuarded(ui.TextCampo, &host::TextBox::KeyUp, this, &txtCampo::TextCampo_KeyUp);
    host::connectGuarded(ui.TextCampo, &host::TextBox::Change, this, &txtCampo::TextCampo_Change);
    host::connectGuarded(ui.TextCampo, &host::TextBox::GotFocus, this,
                         &txtCampo::TextCampo_GotFocus);
    host::connectGuarded(ui.TextCampo, &host::TextBox::LostFocus, this,
                         &txtCampo::TextCampo_LostFocus);
}

txtCampo::~txtCampo() = default;

void txtCampo::makeButtons()
{
    // Creation order is stacking order: the panel lies over the text box's right end and the
    // buttons over the panel.
    ui.lblButton = new host::Label(this, QStringLiteral("lblButton"));
    ui.lblButton->put_BackColor(host::SystemColor::TitleBarText);
    ui.lblButton->Move(0, 0, PanelWidth, DesignHeight);
    ui.lblButton->put_Visible(false);

    ui.cmdLocalizar = new host::CommandButton(this, QStringLiteral("cmdLocalizar"));
    ui.cmdLocalizar->put_Caption(QStringLiteral("?"));
    ui.cmdLocalizar->put_ToolTipText(QStringLiteral("Localizar Registros"));
    ui.cmdLocalizar->putref_Font(
        host::StdFont::create(QStringLiteral("MS Sans Serif"), 8.25, true));
    ui.cmdLocalizar->Move(0, ButtonTop, ButtonWidth, ButtonHeight);
    ui.cmdLocalizar->put_Visible(false);

    ui.cmdCalendario = new host::CommandButton(this, QStringLiteral("cmdCalendario"));
    ui.cmdCalendario->put_Caption(QStringLiteral("..."));
    ui.cmdCalendario->put_ToolTipText(QStringLiteral("Calendário"));
    ui.cmdCalendario->putref_Font(
        host::StdFont::create(QStringLiteral("Times New Roman"), 8.25, true));
    ui.cmdCalendario->Move(0, ButtonTop, ButtonWidth, ButtonHeight);
    ui.cmdCalendario->put_Visible(false);
    const bool enabled = ui.TextCampo->get_Enabled();
    ui.cmdLocalizar->put_Enabled(enabled);
    ui.cmdCalendario->put_Enabled(enabled);
    host::connectGuarded(ui.cmdLocalizar, &host::CommandButton::Click, this,
                         &txtCampo::cmdLocalizar_Click);
    host::connectGuarded(ui.cmdCalendario, &host::CommandButton::Click, this,
                         &txtCampo::cmdCalendario_Click);
}

// ---------------------------------------------------------------- properties

host::AlignmentConstants txtCampo::get_Alignment() const
{
    return host::AlignmentConstants(ui.TextCampo->get_Alignment());
}

void txtCampo::put_Alignment(host::AlignmentConstants value)
{
    ui.TextCampo->put_Alignment(to16(value));
    PropertyChanged(QStringLiteral("Alignment"));
}

CharAppareance txtCampo::get_Appearance() const
{
    return CharAppareance(ui.TextCampo->get_Appearance());
}

void txtCampo::put_Appearance(CharAppareance value)
{
    ui.TextCampo->put_Appearance(to16(value));
    PropertyChanged(QStringLiteral("Appearance"));
}

CharBorderSyle txtCampo::get_BorderStyle() const
{
    return CharBorderSyle(ui.TextCampo->get_BorderStyle());
}

void txtCampo::put_BorderStyle(CharBorderSyle value)
{
    ui.TextCampo->put_BorderStyle(to16(value));
    PropertyChanged(QStringLiteral("BorderStyle"));
}

void txtCampo::putref_Font(host::FontRef font)
{
    if (!font) host::raiseError(host::Err::InvalidPropertyValue);
    m_Font = std::move(font);
    PropertyChanged(QStringLiteral("Font"));
    ui.TextCampo->putref_Font(m_Font);
}

void txtCampo::put_MaxLength(qint32 value)
{
    if (value < 0) host::raiseError(host::Err::InvalidPropertyValue);
    m_MaxLength = value;
    PropertyChanged(QStringLiteral("MaxLength"));
}

bool txtCampo::get_Enabled() const
{
    return ui.TextCampo->get_Enabled();
}

void txtCampo::put_Enabled(bool value)
{
    ui.TextCampo->put_Enabled(value);
    if (ui.cmdLocalizar) {
        ui.cmdLocalizar->put_Enabled(value);
        ui.cmdCalendario->put_Enabled(value);
    }
    PropertyChanged(QStringLiteral("Enabled"));
}

QString txtCampo::get_Text() const
{
    return ui.TextCampo->get_Text();
}

void txtCampo::put_Text(const QString& value)
{
    ui.TextCampo->put_Text(value);
    PropertyChanged(QStringLiteral("Text"));
}

OleColor txtCampo::get_BackColor() const
{
    return Canvas::get_BackColor();
}

void txtCampo::put_BackColor(OleColor value)
{
    ui.TextCampo->put_BackColor(value); // refuses a bad colour before anything changed
    Canvas::put_BackColor(value);
    PropertyChanged(QStringLiteral("BackColor"));
}

OleColor txtCampo::get_ForeColor() const
{
    return ui.TextCampo->get_ForeColor();
}

void txtCampo::put_ForeColor(OleColor value)
{
    ui.TextCampo->put_ForeColor(value);
    Canvas::put_ForeColor(value);
    PropertyChanged(QStringLiteral("ForeColor"));
}

void txtCampo::put_TypeInput(CharType value)
{
    m_TypeInput = to16(value);
    PropertyChanged(QStringLiteral("TypeInput"));
    // A field with the calendar button is a date field whatever it is asked to be.
    if (m_ButtonDate) m_TypeInput = TypeDate;
    m_TypeInputMask.clear();
    ui.TextCampo->put_Text(QString());
    switch (m_TypeInput) {
    case TypeDate:
        ui.TextCampo->put_Alignment(short(host::AlignmentConstants::vbCenter));
        break;
    case TypeNumeric:
        ui.TextCampo->put_Alignment(short(host::AlignmentConstants::vbRightJustify));
        break;
    case TypeMoney:
        ui.TextCampo->put_Alignment(short(host::AlignmentConstants::vbRightJustify));
        ui.TextCampo->put_Text(QStringLiteral("0.00"));
        m_TypeInputMask = QStringLiteral("#####,##0.00");
        break;
    default:
        break;
    }
}

void txtCampo::put_Required(bool value)
{
    m_Required = value;
    PropertyChanged(QStringLiteral("Required"));
    host::notifyAccessibleChange(this);
}

void txtCampo::put_RequiredCaption(const QString& value)
{
    m_RequiredCaption = value;
    PropertyChanged(QStringLiteral("RequiredCaption"));
    host::notifyAccessibleChange(this);
}

void txtCampo::put_UpperCase(bool value)
{
    m_UpperCase = value;
    PropertyChanged(QStringLiteral("UpperCase"));
}

void txtCampo::put_ButtonFind(bool value)
{
    m_ButtonFind = value;
    PropertyChanged(QStringLiteral("ButtonFind"));
    if (value) makeDeferred();
    if (ui.cmdLocalizar) {
        ui.cmdLocalizar->put_Visible(value);
        ui.lblButton->put_Visible(value);
        ui.cmdCalendario->put_Visible(false);
    }
    m_ButtonDate = false;
    update();
    ArrangeLayout();
}

void txtCampo::put_ButtonDate(bool value)
{
    m_ButtonDate = value;
    PropertyChanged(QStringLiteral("ButtonDate"));
    m_ButtonFind = false;
    // Only the type is set: text, mask and alignment stay as they are (no type switch).
    m_TypeInput = TypeDate;
    if (value) ui.TextCampo->put_Alignment(short(host::AlignmentConstants::vbCenter));
    if (value) makeDeferred();
    if (ui.cmdCalendario) {
        ui.cmdCalendario->put_Visible(value);
        ui.cmdLocalizar->put_Visible(false);
    }
    update();
    ArrangeLayout();
}

void txtCampo::put_TypeInputMask(const QString& value)
{
    m_TypeInputMask = value;
    PropertyChanged(QStringLiteral("TypeInputMask"));
}

// ---------------------------------------------------------------- life cycle

void txtCampo::UserControl_InitProperties()
{
    m_Font = Ambient().get_Font();
    m_ButtonFind = false;
    m_ButtonDate = false;
    m_MaxLength = 0;
    m_TypeInput = TypeCharacter;
    m_TypeInputMask.clear();
    m_RequiredCaption.clear();
    m_Required = false;
    m_UpperCase = true;
}

void txtCampo::UserControl_ReadProperties(host::PropertyBag& PropBag)
{
    // Each field gets a font object of its own: two fields read from one bag share nothing.
    const host::FontRef ambient = Ambient().get_Font();
    const host::FontRef stored = PropBag.ReadProperty(QStringLiteral("Font"), ambient).toFont();
    m_Font = stored && stored != ambient ? stored->clone() : ambient;
    ui.TextCampo->put_Alignment(
        host::CInt(PropBag.ReadProperty(QStringLiteral("Alignment"), short(0))));
    ui.TextCampo->put_Appearance(
        host::CInt(PropBag.ReadProperty(QStringLiteral("Appearance"), short(1))));
    ui.TextCampo->put_Enabled(host::CBool(PropBag.ReadProperty(QStringLiteral("Enabled"), true)));
    ui.TextCampo->put_Text(PropBag.ReadProperty(QStringLiteral("Text"), QString()).toString());
    const OleColor back =
        PropBag.ReadProperty(QStringLiteral("BackColor"), DefaultBackColor).toOleColor();
    ui.TextCampo->put_BackColor(back);
    Canvas::put_BackColor(back);
    const OleColor fore =
        PropBag.ReadProperty(QStringLiteral("ForeColor"), DefaultForeColor).toOleColor();
    ui.TextCampo->put_ForeColor(fore);
    Canvas::put_ForeColor(fore);
    m_ButtonFind = host::CBool(PropBag.ReadProperty(QStringLiteral("ButtonFind"), short(0)));
    m_ButtonDate = host::CBool(PropBag.ReadProperty(QStringLiteral("ButtonDate"), short(0)));
    // Never both buttons: a file holding both (written by hand) opens as the setters would leave
    // the field, the date button, read last, switching the find button off.
    if (m_ButtonDate) m_ButtonFind = false;
    m_MaxLength = host::CLng(PropBag.ReadProperty(QStringLiteral("MaxLength"), 0));
    m_TypeInput = host::CInt(PropBag.ReadProperty(QStringLiteral("TypeInput"), short(0)));
    m_TypeInputMask = PropBag.ReadProperty(QStringLiteral("TypeInputMask"), QString()).toString();
    m_RequiredCaption =
        PropBag.ReadProperty(QStringLiteral("RequiredCaption"), QString()).toString();
    m_Required = host::CBool(PropBag.ReadProperty(QStringLiteral("Required"), false));
    m_UpperCase = host::CBool(PropBag.ReadProperty(QStringLiteral("UpperCase"), short(1)));
    ui.TextCampo->put_BorderStyle(
        host::CInt(PropBag.ReadProperty(QStringLiteral("BorderStyle"), short(1))));
}

void txtCampo::UserControl_WriteProperties(host::PropertyBag& PropBag)
{
    PropBag.WriteProperty(QStringLiteral("ButtonFind"), m_ButtonFind, short(0));
    PropBag.WriteProperty(QStringLiteral("ButtonDate"), m_ButtonDate, short(0));
    PropBag.WriteProperty(QStringLiteral("TypeInput"), m_TypeInput, short(0));
    PropBag.WriteProperty(QStringLiteral("TypeInputMask"), m_TypeInputMask, QString());
    PropBag.WriteProperty(QStringLiteral("RequiredCaption"), m_RequiredCaption, QString());
    PropBag.WriteProperty(QStringLiteral("Required"), m_Required, false);
    PropBag.WriteProperty(QStringLiteral("Alignment"), ui.TextCampo->get_Alignment(), short(0));
    PropBag.WriteProperty(QStringLiteral("Font"), m_Font, Ambient().get_Font());
    PropBag.WriteProperty(QStringLiteral("MaxLength"), m_MaxLength, 0);
    PropBag.WriteProperty(QStringLiteral("Appearance"), ui.TextCampo->get_Appearance(), short(1));
    PropBag.WriteProperty(QStringLiteral("Enabled"), ui.TextCampo->get_Enabled(), true);
    PropBag.WriteProperty(QStringLiteral("Text"), ui.TextCampo->get_Text(), QString());
    // The property's colour, not the focus colour a focused text box shows.
    PropBag.WriteProperty(QStringLiteral("BackColor"), Canvas::get_BackColor(), DefaultBackColor);
    PropBag.WriteProperty(QStringLiteral("ForeColor"), ui.TextCampo->get_ForeColor(),
                          DefaultForeColor);
    PropBag.WriteProperty(QStringLiteral("UpperCase"), m_UpperCase, short(1));
    PropBag.WriteProperty(QStringLiteral("BorderStyle"), ui.TextCampo->get_BorderStyle(), short(1));
}

void txtCampo::UserControl_Resize()
{
    ArrangeLayout();
}

void txtCampo::UserControl_Show()
{
    ui.TextCampo->putref_Font(m_Font);
    if (m_ButtonFind || m_ButtonDate) makeDeferred();
    if (ui.cmdLocalizar) {
        ui.cmdLocalizar->put_Visible(m_ButtonFind);
        ui.cmdCalendario->put_Visible(m_ButtonDate);
    }
    // A negative length can only come from a bag; it means no limit, and is saved as it came.
    ui.TextCampo->put_MaxLength(std::max<qint32>(0, m_MaxLength));
    ArrangeLayout();
    // The form is laid out by now: the label beside the field can name it.
    host::notifyAccessibleChange(this);
}

host::AccessibleDescription txtCampo::accessibleDescription() const
{
    // Named by what a sighted user reads beside the field, else by the name its message uses.
    host::AccessibleDescription d;
    d.role = accessibleRole();
    d.editor = ui.TextCampo;
    d.name = host::captionBeside(this);
    if (d.name.isEmpty()) d.name = m_RequiredCaption;
    d.required = m_Required;
    return d;
}

void txtCampo::ArrangeLayout()
{
    if (get_Height() <= MinHeight) put_Height(MinHeight);
    if (get_Width() <= MinWidth) put_Width(MinWidth);
    // The surface has no border, so its inner width is its width, in the twips as set.
    const float scaleWidth = get_Width();
    ui.TextCampo->put_Width(scaleWidth - 30);
    ui.TextCampo->put_Height(get_Height() - 5);
    if (!ui.lblButton) return; // no button was ever wanted
    ui.lblButton->put_Visible(false);
    host::CommandButton* button = nullptr;
    if (ui.cmdLocalizar->get_Visible())
        button = ui.cmdLocalizar;
    else if (ui.cmdCalendario->get_Visible())
        button = ui.cmdCalendario;
    if (button) {
        // A control too narrow for the button keeps a text box of no width, not a negative one.
        const float boxWidth = std::max(0.0f, scaleWidth - 370);
        ui.TextCampo->put_Width(boxWidth);
        button->put_Left(boxWidth + 50);
        ui.lblButton->put_Visible(true);
        ui.lblButton->put_Left(boxWidth + 10);
        ui.lblButton->put_Width(365);
    }
    const bool enabled = ui.TextCampo->get_Enabled();
    ui.cmdLocalizar->put_Enabled(enabled);
    ui.cmdCalendario->put_Enabled(enabled);
}

// ---------------------------------------------------------------- typed input

void txtCampo::TextCampo_KeyPress(short& KeyAscii)
{
    if (m_UpperCase) {
        const QString upper = host::UCase(QString(QChar(ushort(KeyAscii))));
        if (upper.size() == 1) KeyAscii = short(upper.at(0).unicode());
    }
    host::LifeGuard alive(this);
    Q_EMIT KeyPress(KeyAscii);
    if (!alive) return;
    if (KeyAscii == 13) {
        ValidateField();
        KeyAscii = 0; // the text box never receives the Enter character
        return;
    }
    // Ctrl+A (1) selects the whole text: it inserts nothing, so no type need refuse it.
    if (KeyAscii == 8 || KeyAscii == 46 || KeyAscii == 1) return;
    if (m_TypeInput == TypeCharacter) return;
    // Lower-case q..z are refused like every other letter: these fields take no letters.
    if (m_TypeInput == TypeDate) {
        if (KeyAscii != 47 && !isDigitCode(KeyAscii)) KeyAscii = 0;
        return;
    }
    if (KeyAscii != 43 && KeyAscii != 42 && KeyAscii != 45 && KeyAscii != 47 &&
        !isDigitCode(KeyAscii))
        KeyAscii = 0;
}

void txtCampo::TextCampo_KeyDown(short& KeyCode, short& Shift)
{
    host::LifeGuard alive(this);
    Q_EMIT KeyDown(KeyCode, Shift);
    if (!alive) return;
    // F4 and Alt+Down open the calendar, as in every date editor.
    constexpr short vbKeyF4 = 115, vbKeyDown = 40, vbAltMask = 4;
    const bool opens =
        (KeyCode == vbKeyF4 && Shift == 0) || (KeyCode == vbKeyDown && Shift == vbAltMask);
    // Up and Down belong to the host (moving between fields): the text box ignores them.
    if (KeyCode == 38 || KeyCode == 40 || opens) KeyCode = 0;
    if (!opens || !m_ButtonDate) return;
    makeDeferred();
    if (ui.cmdCalendario->get_Enabled()) openCalendar();
}

void txtCampo::TextCampo_KeyUp(short& KeyCode, short& Shift)
{
    Q_EMIT KeyUp(KeyCode, Shift);
}

void txtCampo::TextCampo_Change()
{
    Q_EMIT Change();
}

void txtCampo::TextCampo_GotFocus()
{
    host::notifyAccessibleChange(this); // a caption changed since Show names the field now
    ui.TextCampo->put_BackColor(FocusColor);
    ui.TextCampo->put_SelStart(0);
    ui.TextCampo->put_SelLength(200);
}

void txtCampo::TextCampo_LostFocus()
{
    ui.TextCampo->put_BackColor(Canvas::get_BackColor());
    ui.TextCampo->put_ForeColor(Canvas::get_ForeColor());
}

bool txtCampo::alreadyFormatted(const QString& text) const
{
    // The strict regional reading of an amount: grouping separators carry no value. Only a text
    // the mask gives back exactly counts as formatted.
    QString digits = text;
    digits.remove(host::Regional::current().thousandsSeparator);
    if (!host::IsNumeric(digits)) return false;
    return host::Format(host::CDbl(digits), m_TypeInputMask) == text;
}

void txtCampo::ValidateField()
{
    host::TextBox* box = ui.TextCampo;
    host::LifeGuard alive(this);

    if (m_Required && host::Trim(box->get_Text()).isEmpty()) {
        const QString prompt =
            m_RequiredCaption.isEmpty()
                ? QStringLiteral("Campo é Requirido")
                : QStringLiteral("Campo ") + m_RequiredCaption + QStringLiteral(" é Requirido");
        host::MsgBox(prompt, MsgInformation, messageTitle());
        if (!alive) return;
    }
    if (box->get_Text().isEmpty()) return;

    if (m_TypeInput == TypeDate) {
        box->put_Text(box->get_Text().remove(QLatin1Char('/')));
        const QString year = QString::number(host::Year(host::Today())).rightJustified(4, u'0');
        qsizetype length = box->get_Text().size();
        if (length == 4 || length == 5) box->put_Text(box->get_Text().left(4) + year);
        length = box->get_Text().size();
        if (length == 6 || length == 7) {
            const QString text = box->get_Text();
            box->put_Text(text.left(4) + year.left(2) + text.right(2));
        }
        box->put_Text(host::Format(box->get_Text(), QStringLiteral("00/00/0000")));
        // The field is a day/month/year field by design, whatever the regional order.
        if (!host::IsDate(box->get_Text(), host::DateOrder::DMY)) {
            host::MsgBox(QStringLiteral("Formato de Data Invalido !\r\n\r\nEx: DD/MM/YYYY "),
                         MsgInformation, messageTitle());
            if (!alive) return;
            try {
                box->SetFocus();
            } catch (const host::RuntimeError&) {
                // A hidden or disabled box cannot take the focus back; it is selected all the same.
            }
            box->SelectAllWithFocus();
            return;
        }
        if (!m_TypeInputMask.isEmpty()) {
            // Format reads date text in the regional order: where that is not day/month/year,
            // it is handed the same day written the regional way, so no day and month swap.
            QString source = box->get_Text();
            if (host::Regional::current().dateOrder != host::DateOrder::DMY)
                source = host::CStr(host::CDate(source, host::DateOrder::DMY));
            box->put_Text(host::Format(source, m_TypeInputMask));
        }
        return;
    }

    if (m_TypeInput != TypeCharacter) {
        if (host::Trim(box->get_Text()).isEmpty()) box->put_Text(QStringLiteral("0"));
        if (!host::IsNumeric(box->get_Text())) return;
        if (!m_TypeInputMask.isEmpty() && alreadyFormatted(box->get_Text())) return;
    }

    if (!m_TypeInputMask.isEmpty()) box->put_Text(host::Format(box->get_Text(), m_TypeInputMask));
}

void txtCampo::ShowAbout()
{
    Kv_CTRL::ShowAbout();
}

// ---------------------------------------------------------------- buttons

void txtCampo::cmdLocalizar_Click()
{
    Q_EMIT cmdLocalizar();
}

void txtCampo::cmdCalendario_Click()
{
    openCalendar();
}

void txtCampo::openCalendar()
{
    host::Date& escolhida = Kv_Module::DataEscolhida();
    escolhida = host::Date();
    host::LifeGuard alive(this);
    // No owner: the shared form serves every field; it opens on the screen showing this one.
    Calendario::instance().showModal(this);
    if (!alive) return; // the field went with its form while the calendar was open
    if (!escolhida.isZero()) {
        // Always day/month/year, the order the field checks dates in, whatever the regional
        // setting's short date looks like.
        const QDate date = escolhida.toQDate();
        ui.TextCampo->put_Text(QStringLiteral("%1/%2/%3")
                                   .arg(date.day(), 2, 10, QLatin1Char('0'))
                                   .arg(date.month(), 2, 10, QLatin1Char('0'))
                                   .arg(date.year(), 4, 10, QLatin1Char('0')));
        if (!alive) return;
    }
    Q_EMIT cmdCalendario();
}

} // namespace Kv_CTRL
