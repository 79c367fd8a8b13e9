#pragma once
// The host's combo box: the runtime's list API (AddItem, RemoveItem, Clear, List, ListIndex) on a
// QComboBox. Click follows every change of the selection, from the user or from code; filling
// and clearing the list neither selects an item nor raises Click.

#include "host/widgets/Intrinsic.h"

#include <QComboBox>

namespace host {

class ComboBox : public KeyRelay<QComboBox>, public Intrinsic {
    Q_OBJECT
    Q_PROPERTY(QString Text READ get_Text WRITE put_Text)
    Q_PROPERTY(short ListIndex READ get_ListIndex WRITE put_ListIndex)
    Q_PROPERTY(short ListCount READ get_ListCount)
    Q_PROPERTY(short NewIndex READ get_NewIndex)
    Q_PROPERTY(short Style READ get_Style WRITE put_Style)
    Q_PROPERTY(quint32 BackColor READ get_BackColor WRITE put_BackColor)
    Q_PROPERTY(quint32 ForeColor READ get_ForeColor WRITE put_ForeColor)
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
    ComboBox(QWidget* parent, const QString& name);
    ~ComboBox() override;

    // Adds at the end, or before `index` (0..ListCount, else error 5).
    void AddItem(const QString& item, std::optional<short> index = {});
    void RemoveItem(short index); // error 5 outside the list; removing the selection clears it
    void Clear();                 // empties the list and the text

    short get_ListIndex() const { return short(currentIndex()); }
    void put_ListIndex(short index); // -1 .. ListCount - 1, else error 380
    short get_ListCount() const { return short(count()); }
    short get_NewIndex() const { return m_newIndex; } // where the last AddItem put its item
    QString get_List(short index) const;              // "" past the end; below -1 error 381
    void put_List(short index, const QString& item);  // error 381 outside the list
    qint32 get_ItemData(short index) const;
    void put_ItemData(short index, qint32 data);

    // 0 drop-down combo and 1 simple combo (editable text), 2 drop-down list (selection only).
    short get_Style() const { return m_style; }
    void put_Style(short style);
    QString get_Text() const;
    // Editable styles set the text (Change when it differs); the list style selects the item
    // with that text, and raises 383 when there is none.
    void put_Text(const QString& text);

    OleColor get_BackColor() const { return m_backColor; }
    void put_BackColor(OleColor color);
    OleColor get_ForeColor() const { return m_foreColor; }
    void put_ForeColor(OleColor color);

Q_SIGNALS:
    void Click();
    void Change();
    void DropDown();
    void KeyDown(short& KeyCode, short& Shift);
    void KeyPress(short& KeyAscii);
    void KeyUp(short& KeyCode, short& Shift);
    void GotFocus();
    void LostFocus();

public:
    void showPopup() override;

protected:
    void raiseKeyDown(short& code, short& shift) override { Q_EMIT KeyDown(code, shift); }
    void raiseKeyPress(short& ascii) override { Q_EMIT KeyPress(ascii); }
    void raiseKeyUp(short& code, short& shift) override { Q_EMIT KeyUp(code, shift); }
    void raiseGotFocus() override { Q_EMIT GotFocus(); }
    void raiseLostFocus() override { Q_EMIT LostFocus(); }

private:
    void connectEditor();

    short m_style = 0;
    short m_newIndex = -1;
    OleColor m_backColor = SystemColor::WindowBackground;
    OleColor m_foreColor = SystemColor::WindowText;
};

} // namespace host
