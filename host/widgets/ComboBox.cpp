#include "host/widgets/ComboBox.h"

#include "host/value/RuntimeError.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace host {

ComboBox::ComboBox(QWidget* parent, const QString& name)
    : KeyRelay<QComboBox>(parent), Intrinsic(this)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    connectEditor();
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        guard([&] {
            if (index >= 0) Q_EMIT Click();
        });
    });
    initIntrinsicWidget(this, name);
}

ComboBox::~ComboBox() = default;

void ComboBox::connectEditor()
{
    if (QLineEdit* editor = lineEdit()) {
        // What the user types; a text put by code raises Change in put_Text.
        connect(editor, &QLineEdit::textEdited, this, [this] { guard([&] { Q_EMIT Change(); }); });
    }
}

void ComboBox::AddItem(const QString& item, std::optional<short> index)
{
    const int at = index ? int(*index) : count();
    if (at < 0 || at > count()) raiseError(Err::InvalidProcedureCall);
    const int before = currentIndex();
    const QString text = isEditable() ? currentText() : QString();
    {
        // Qt selects the first item added to an empty list: the runtime selects nothing.
        const QSignalBlocker block(this);
        insertItem(at, item);
        if (before < 0 && currentIndex() >= 0) {
            setCurrentIndex(-1);
            if (isEditable()) setEditText(text);
        }
    }
    m_newIndex = short(at);
}

void ComboBox::RemoveItem(short index)
{
    if (index < 0 || index >= count()) raiseError(Err::InvalidProcedureCall);
    const bool wasSelected = index == currentIndex();
    const QString text = isEditable() ? currentText() : QString();
    const QSignalBlocker block(this);
    removeItem(index);
    if (wasSelected) {
        setCurrentIndex(-1);
        if (isEditable()) setEditText(text);
    }
}

void ComboBox::Clear()
{
    const bool hadText = isEditable() && !currentText().isEmpty();
    {
        const QSignalBlocker block(this);
        clear();
        if (isEditable()) setEditText(QString());
    }
    m_newIndex = -1;
    if (hadText) Q_EMIT Change();
}

void ComboBox::put_ListIndex(short index)
{
    if (index < -1 || index >= count()) raiseError(Err::InvalidPropertyValue);
    setCurrentIndex(index);
}

QString ComboBox::get_List(short index) const
{
    if (index < -1) raiseError(Err::InvalidPropertyArrayIndex);
    if (index == -1) return get_Text();
    return index < count() ? itemText(index) : QString();
}

void ComboBox::put_List(short index, const QString& item)
{
    if (index < 0 || index >= count()) raiseError(Err::InvalidPropertyArrayIndex);
    setItemText(index, item);
}

qint32 ComboBox::get_ItemData(short index) const
{
    if (index < 0 || index >= count()) raiseError(Err::InvalidPropertyArrayIndex);
    return itemData(index, Qt::UserRole).toInt();
}

void ComboBox::put_ItemData(short index, qint32 data)
{
    if (index < 0 || index >= count()) raiseError(Err::InvalidPropertyArrayIndex);
    setItemData(index, data, Qt::UserRole);
}

void ComboBox::put_Style(short style)
{
    if (style < 0 || style > 2) raiseError(Err::InvalidPropertyValue);
    if (style == m_style) return;
    m_style = style;
    const QSignalBlocker block(this);
    setEditable(style != 2);
    if (isEditable()) {
        setInsertPolicy(QComboBox::NoInsert);
        connectEditor();
    }
}

QString ComboBox::get_Text() const
{
    if (isEditable()) return currentText();
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}

void ComboBox::put_Text(const QString& text)
{
    if (isEditable()) {
        if (text == currentText()) return;
        setEditText(text);
        Q_EMIT Change();
        return;
    }
    const int found = findText(text, Qt::MatchExactly);
    if (found < 0) raiseError(383, QStringLiteral("'Text' property is read-only"));
    setCurrentIndex(found);
}

void ComboBox::put_BackColor(OleColor color)
{
    setPaletteColor(QPalette::Base, color);
    m_backColor = color;
}

void ComboBox::put_ForeColor(OleColor color)
{
    setPaletteColor(QPalette::Text, color, false);
    m_foreColor = color;
}

void ComboBox::showPopup()
{
    guard([&] {
        LifeGuard alive(this);
        Q_EMIT DropDown();
        if (alive) QComboBox::showPopup();
    });
}

} // namespace host
