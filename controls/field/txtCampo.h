#pragma once
// txtCampo: the one-line typed data-entry field (free text, money, date or number) with an
// optional find or calendar button at its right end. It filters typing by type and completes,
// checks and formats its text on Enter, through the host's regional services.

#include "host/value/Alignment.h"
#include "host/value/OleColor.h"
#include "host/value/StdFont.h"
#include "host/widgets/UserControl.h"
#include "library/core/Enums.h"
#include "library/core/Library.h"

#include <QString>

namespace host {
class CommandButton;
class Label;
class PropertyBag;
class TextBox;
} // namespace host

namespace Kv_CTRL {

class txtCampo : public host::UserControl {
    Q_OBJECT
    KV_CTRL_PROJECT
    Q_PROPERTY(host::AlignmentConstants Alignment READ get_Alignment WRITE put_Alignment)
    Q_PROPERTY(Kv_CTRL::CharAppareance Appearance READ get_Appearance WRITE put_Appearance)
    Q_PROPERTY(Kv_CTRL::CharBorderSyle BorderStyle READ get_BorderStyle WRITE put_BorderStyle)
    Q_PROPERTY(host::FontRef Font READ get_Font WRITE putref_Font)
    Q_PROPERTY(qint32 MaxLength READ get_MaxLength WRITE put_MaxLength)
    Q_PROPERTY(bool Enabled READ get_Enabled WRITE put_Enabled)
    Q_PROPERTY(QString Text READ get_Text WRITE put_Text)
    Q_PROPERTY(host::OleColor BackColor READ get_BackColor WRITE put_BackColor)
    Q_PROPERTY(host::OleColor ForeColor READ get_ForeColor WRITE put_ForeColor)
    Q_PROPERTY(Kv_CTRL::CharType TypeInput READ get_TypeInput WRITE put_TypeInput)
    Q_PROPERTY(bool Required READ get_Required WRITE put_Required)
    Q_PROPERTY(QString RequiredCaption READ get_RequiredCaption WRITE put_RequiredCaption)
    Q_PROPERTY(bool UpperCase READ get_UpperCase WRITE put_UpperCase)
    Q_PROPERTY(bool ButtonFind READ get_ButtonFind WRITE put_ButtonFind)
    Q_PROPERTY(bool ButtonDate READ get_ButtonDate WRITE put_ButtonDate)
    Q_PROPERTY(QString TypeInputMask READ get_TypeInputMask WRITE put_TypeInputMask)

public:
    explicit txtCampo(QWidget* parent = nullptr);
    ~txtCampo() override;

    // Values held in 16 bits are converted with CInt: out of range raises 6, nothing changes.
    host::AlignmentConstants get_Alignment() const;
    void put_Alignment(host::AlignmentConstants value);
    CharAppareance get_Appearance() const;
    void put_Appearance(CharAppareance value);
    CharBorderSyle get_BorderStyle() const;
    void put_BorderStyle(CharBorderSyle value);
    host::FontRef get_Font() const { return m_Font; }
    void putref_Font(host::FontRef font); // no font raises 380
    // Reaches the text box at the next Show; negative raises 380.
    qint32 get_MaxLength() const { return m_MaxLength; }
    void put_MaxLength(qint32 value);
    bool get_Enabled() const;
    void put_Enabled(bool value);
    QString get_Text() const;
    void put_Text(const QString& value);
    // The property's colour, kept on the surface: the text box shows the focus colour instead
    // while it has the focus.
    host::OleColor get_BackColor() const;
    void put_BackColor(host::OleColor value);
    host::OleColor get_ForeColor() const;
    void put_ForeColor(host::OleColor value);
    // The type switch: clears text and mask, then sets what the type needs.
    CharType get_TypeInput() const { return CharType(m_TypeInput); }
    void put_TypeInput(CharType value);
    bool get_Required() const { return m_Required; }
    void put_Required(bool value);
    QString get_RequiredCaption() const { return m_RequiredCaption; }
    void put_RequiredCaption(const QString& value);
    bool get_UpperCase() const { return m_UpperCase; }
    void put_UpperCase(bool value);
    // At most one of the two buttons is on: switching one on switches the other off.
    bool get_ButtonFind() const { return m_ButtonFind; }
    void put_ButtonFind(bool value);
    bool get_ButtonDate() const { return m_ButtonDate; }
    void put_ButtonDate(bool value);
    QString get_TypeInputMask() const { return m_TypeInputMask; }
    void put_TypeInputMask(const QString& value);

    // Opens the library's About dialog modally.
    Q_INVOKABLE void ShowAbout();

    // Read out through its text box: the caption beside it, and whether it is required.
    host::AccessibleDescription accessibleDescription() const override;
    host::AccessibleRole accessibleRole() const override
    {
        return host::AccessibleRole::EditableText;
    }

Q_SIGNALS:
    void Change();
    void DblClick(); // declared for hosts; the field never raises it
    void cmdCalendario();
    void cmdLocalizar();
    void KeyPress(short& KeyAscii);
    void KeyDown(short& KeyCode, short& Shift);
    void KeyUp(short& KeyCode, short& Shift);

protected:
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
    void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
    void UserControl_Resize() override;
    void UserControl_Show() override;

private:
    void makeButtons();
    void ArrangeLayout();
    void ValidateField();
    // Whether an amount already reads back unchanged through the mask by the strict regional
    // rules (so "1.234" formatted by "#,##0" is not read again as 1.234).
    bool alreadyFormatted(const QString& text) const;

    void TextCampo_KeyPress(short& KeyAscii);
    void TextCampo_KeyDown(short& KeyCode, short& Shift);
    void TextCampo_KeyUp(short& KeyCode, short& Shift);
    void TextCampo_Change();
    void TextCampo_GotFocus();
    void TextCampo_LostFocus();
    void cmdLocalizar_Click();
    void cmdCalendario_Click();
    // Clears DataEscolhida, shows the shared Calendario form modally, writes the picked date (if
    // any) into the text box as it comes, then raises cmdCalendario.
    void openCalendar();

    // The constituents, each named as its objectName; the panel and buttons are deferred (hosts
    // reach them through constituent()).
    struct {
        host::TextBox* TextCampo = nullptr;
        host::CommandButton* cmdLocalizar = nullptr;
        host::CommandButton* cmdCalendario = nullptr;
        host::Label* lblButton = nullptr;
    } ui;

    bool m_ButtonDate = false;
    bool m_ButtonFind = false;
    short m_TypeInput = 0;
    host::FontRef m_Font;
    qint32 m_MaxLength = 0;
    QString m_TypeInputMask;
    QString m_RequiredCaption;
    bool m_Required = false;
    bool m_UpperCase = true;
};

} // namespace Kv_CTRL
