#pragma once
// The host's text box: a one-line QLineEdit with the runtime's properties and events. Every typed
// character (also one committed by an input method) goes through KeyPress before it is inserted.

#include "host/widgets/Intrinsic.h"

#include <QLineEdit>

namespace host {

class TextBox : public KeyRelay<MouseRelay<QLineEdit>>, public Intrinsic {
    Q_OBJECT
    Q_PROPERTY(QString Text READ get_Text WRITE put_Text)
    Q_PROPERTY(qint32 SelStart READ get_SelStart WRITE put_SelStart)
    Q_PROPERTY(qint32 SelLength READ get_SelLength WRITE put_SelLength)
    Q_PROPERTY(QString SelText READ get_SelText WRITE put_SelText)
    Q_PROPERTY(qint32 MaxLength READ get_MaxLength WRITE put_MaxLength)
    Q_PROPERTY(short Alignment READ get_Alignment WRITE put_Alignment)
    Q_PROPERTY(short Appearance READ get_Appearance WRITE put_Appearance)
    Q_PROPERTY(short BorderStyle READ get_BorderStyle WRITE put_BorderStyle)
    Q_PROPERTY(quint32 BackColor READ get_BackColor WRITE put_BackColor)
    Q_PROPERTY(quint32 ForeColor READ get_ForeColor WRITE put_ForeColor)
    Q_PROPERTY(bool Locked READ get_Locked WRITE put_Locked)
    Q_PROPERTY(bool Enabled READ get_Enabled WRITE put_Enabled)
    Q_PROPERTY(bool TabStop READ get_TabStop WRITE put_TabStop)
    Q_PROPERTY(bool Visible READ get_Visible WRITE put_Visible)
    Q_PROPERTY(float Left READ get_Left WRITE put_Left)
    Q_PROPERTY(float Top READ get_Top WRITE put_Top)
    Q_PROPERTY(float Width READ get_Width WRITE put_Width)
    Q_PROPERTY(float Height READ get_Height WRITE put_Height)
    Q_PROPERTY(QString ToolTipText READ get_ToolTipText WRITE put_ToolTipText)
    Q_PROPERTY(QString Tag READ get_Tag WRITE put_Tag)

public:
    TextBox(QWidget* parent, const QString& name);
    ~TextBox() override;

    QString get_Text() const { return text(); }
    // Never cut by MaxLength; Change only when the text differs; the caret goes to the start.
    void put_Text(const QString& text);
    qint32 get_SelStart() const;
    void put_SelStart(qint32 start); // clears the selection; negative raises 380
    qint32 get_SelLength() const;
    void put_SelLength(qint32 length); // from SelStart, cut at the end of the text; negative 380
    QString get_SelText() const { return selectedText(); }
    void put_SelText(const QString& text); // replaces the selection (or inserts at the caret)
    // 0 = no limit. Limits only what the user types or pastes; negative raises 380.
    qint32 get_MaxLength() const { return m_maxLength; }
    void put_MaxLength(qint32 length);
    short get_Alignment() const { return m_alignment; } // 0 left, 1 right, 2 centre
    void put_Alignment(short alignment);
    short get_Appearance() const { return m_appearance; } // 0 flat, 1 3D
    void put_Appearance(short appearance);
    short get_BorderStyle() const { return m_borderStyle; } // 0 none, 1 fixed single
    void put_BorderStyle(short style);
    OleColor get_BackColor() const { return m_backColor; }
    void put_BackColor(OleColor color);
    OleColor get_ForeColor() const { return m_foreColor; }
    void put_ForeColor(OleColor color);
    bool get_Locked() const { return m_locked; }
    void put_Locked(bool locked);

    // Selects the whole text for retyping, now and again when the box next gets the focus: after
    // a message box the focus comes back to the window late, and a selection made by keys would
    // go wherever the focus is meanwhile.
    void SelectAllWithFocus();

Q_SIGNALS:
    void Change();
    void Click();
    void DblClick();
    void KeyDown(short& KeyCode, short& Shift);
    void KeyPress(short& KeyAscii);
    void KeyUp(short& KeyCode, short& Shift);
    void MouseDown(short& Button, short& Shift, float& X, float& Y);
    void MouseMove(short& Button, short& Shift, float& X, float& Y);
    void MouseUp(short& Button, short& Shift, float& X, float& Y);
    void GotFocus();
    void LostFocus();

protected:
    void raiseKeyDown(short& code, short& shift) override { Q_EMIT KeyDown(code, shift); }
    void raiseKeyPress(short& ascii) override { Q_EMIT KeyPress(ascii); }
    void raiseKeyUp(short& code, short& shift) override { Q_EMIT KeyUp(code, shift); }
    void raiseGotFocus() override { Q_EMIT GotFocus(); }
    void raiseLostFocus() override { Q_EMIT LostFocus(); }
    void raiseMouseDown(short& b, short& s, float& x, float& y) override;
    void raiseMouseMove(short& b, short& s, float& x, float& y) override;
    void raiseMouseUp(short& b, short& s, float& x, float& y) override;
    void raiseClick() override { Q_EMIT Click(); }
    void raiseDblClick() override { Q_EMIT DblClick(); }
    void applyCharacter(QKeyEvent* e, short original, short ascii, bool stopped) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    // The roads by which text enters otherwise than by a key typing one character: paste keys,
    // the X11 primary selection under the middle button, a drop, the context menu's Paste.
    void keyPressEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    class LengthLimit;
    friend class LengthLimit;

    // Inserts what the user typed or pasted, cut to the room MaxLength leaves.
    void typeText(const QString& text);
    int roomLeft() const;
    // As much of typed text as MaxLength leaves room for, never half a character.
    QString fitting(const QString& typed) const;
    // Runs `text` through KeyPress character by character as if typed (a character outside the
    // Basic Multilingual Plane as its two UTF-16 halves, kept only when both come back as they
    // were) and returns what may be inserted; text after a line break is dropped, as a
    // one-line box takes only the first line. `alive` turns false when a handler destroyed us.
    QString throughKeyPress(const QString& text, bool& alive);
    // Pastes the clipboard (or the X11 primary selection) through KeyPress.
    void pasteTyped(bool selection = false);

    qint32 m_maxLength = 0;
    qsizetype m_lastLength = 0;
    bool m_codeEdit = false;
    bool m_locked = false;
    bool m_selectOnFocus = false;
    short m_alignment = 0;
    short m_appearance = 1;
    void applyFrame();
    short m_borderStyle = 1;
    OleColor m_backColor = SystemColor::WindowBackground;
    OleColor m_foreColor = SystemColor::WindowText;
};

} // namespace host
