#include "host/widgets/TextBox.h"

#include "host/value/RuntimeError.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QValidator>
#include <limits>
#include <utility>

namespace host {

// The backstop of MaxLength for edits that bypass the key path (the context menu's paste, a drop,
// an input method): the user's change is cut back at the caret. Text set by code always passes,
// and a text already longer than the limit (set by code, or a lowered limit) may keep its length.
class TextBox::LengthLimit : public QValidator {
public:
    explicit LengthLimit(TextBox* box) : QValidator(box), m_box(box) {}

    State validate(QString& input, int& pos) const override
    {
        const qint32 limit = m_box->m_maxLength;
        if (limit <= 0 || m_box->m_codeEdit) return Acceptable;
        const qsizetype allowed = std::max<qsizetype>(limit, m_box->m_lastLength);
        const qsizetype excess = input.size() - allowed;
        if (excess <= 0) return Acceptable;
        const qsizetype cut = std::min<qsizetype>(excess, pos);
        input.remove(pos - cut, cut);
        pos -= int(cut);
        return input.size() <= allowed ? Acceptable : Invalid;
    }

private:
    TextBox* m_box;
};

namespace {
// Sets a flag for the duration of a code edit.
class CodeEdit {
public:
    explicit CodeEdit(bool& flag) : m_flag(flag), m_saved(flag) { m_flag = true; }
    ~CodeEdit() { m_flag = m_saved; }

private:
    bool& m_flag;
    bool m_saved;
};

Qt::Alignment qtAlignment(short alignment)
{
    switch (alignment) {
    case 1:
        return Qt::AlignRight | Qt::AlignVCenter;
    case 2:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}
} // namespace

TextBox::TextBox(QWidget* parent, const QString& name)
    : KeyRelay<MouseRelay<QLineEdit>>(parent), Intrinsic(this)
{
    // The runtime's limit is ours alone: Qt's own would cut text set by code.
    setMaxLength(std::numeric_limits<int>::max());
    setValidator(new LengthLimit(this));
    setMouseTracking(true);
    connect(this, &QLineEdit::textChanged, this, [this] {
        guard([&] {
            m_lastLength = text().size();
            Q_EMIT Change();
        });
    });
    initIntrinsicWidget(this, name);
}

TextBox::~TextBox() = default;

void TextBox::put_Text(const QString& value)
{
    CodeEdit code(m_codeEdit);
    setText(value);
    if (cursorPosition() != 0) setCursorPosition(0);
}

qint32 TextBox::get_SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TextBox::put_SelStart(qint32 start)
{
    if (start < 0) raiseError(Err::InvalidPropertyValue);
    setCursorPosition(int(std::min<qsizetype>(start, text().size())));
}

qint32 TextBox::get_SelLength() const
{
    return qint32(selectedText().size());
}

void TextBox::put_SelLength(qint32 length)
{
    if (length < 0) raiseError(Err::InvalidPropertyValue);
    const int start = get_SelStart();
    const int count = int(std::min<qsizetype>(length, text().size() - start));
    if (count == 0)
        setCursorPosition(start);
    else
        setSelection(start, count);
}

void TextBox::put_SelText(const QString& value)
{
    CodeEdit code(m_codeEdit);
    insert(value);
}

void TextBox::put_MaxLength(qint32 length)
{
    if (length < 0) raiseError(Err::InvalidPropertyValue);
    m_maxLength = length;
}

void TextBox::put_Alignment(short alignment)
{
    if (alignment < 0 || alignment > 2) raiseError(Err::InvalidPropertyValue);
    m_alignment = alignment;
    setAlignment(qtAlignment(alignment));
}

void TextBox::put_Appearance(short appearance)
{
    if (appearance < 0 || appearance > 1) raiseError(Err::InvalidPropertyValue);
    m_appearance = appearance;
    applyFrame();
}

void TextBox::put_BorderStyle(short style)
{
    if (style < 0 || style > 1) raiseError(Err::InvalidPropertyValue);
    m_borderStyle = style;
    applyFrame();
}

// A 3D box has the style's sunken frame; a flat one a plain one-pixel line in the window-frame
// colour, drawn by paintEvent inside a one-pixel margin; BorderStyle 0 has neither.
void TextBox::applyFrame()
{
    const bool flatLine = m_borderStyle == 1 && m_appearance == 0;
    setFrame(m_borderStyle == 1 && m_appearance == 1);
    setTextMargins(flatLine ? QMargins(2, 1, 2, 1) : QMargins());
    update();
}

void TextBox::paintEvent(QPaintEvent* e)
{
    QLineEdit::paintEvent(e);
    if (m_borderStyle != 1 || m_appearance != 0) return;
    QPainter painter(this);
    painter.setPen(toQColor(SystemColor::WindowFrame));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TextBox::put_BackColor(OleColor color)
{
    setPaletteColor(QPalette::Base, color);
    m_backColor = color;
}

void TextBox::put_ForeColor(OleColor color)
{
    // Disabled text keeps the style's grey, as the runtime's disabled text box does.
    setPaletteColor(QPalette::Text, color, false);
    m_foreColor = color;
}

void TextBox::put_Locked(bool locked)
{
    m_locked = locked;
    setReadOnly(locked);
}

void TextBox::SelectAllWithFocus()
{
    selectAll();
    m_selectOnFocus = !(hasFocus() && window()->isActiveWindow());
}

void TextBox::focusInEvent(QFocusEvent* e)
{
    KeyRelay::focusInEvent(e);
    if (std::exchange(m_selectOnFocus, false)) selectAll();
}

void TextBox::raiseMouseDown(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseDown(b, s, x, y);
}
void TextBox::raiseMouseMove(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseMove(b, s, x, y);
}
void TextBox::raiseMouseUp(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseUp(b, s, x, y);
}

int TextBox::roomLeft() const
{
    if (m_maxLength <= 0) return std::numeric_limits<int>::max();
    const qsizetype kept = text().size() - selectedText().size();
    return int(std::max<qsizetype>(0, m_maxLength - kept));
}

QString TextBox::fitting(const QString& typed) const
{
    const int room = roomLeft();
    if (typed.size() <= room) return typed;
    // Cut between characters: half of one beyond the Basic Multilingual Plane is no text.
    const qsizetype cut = room > 0 && typed.at(room - 1).isHighSurrogate() ? room - 1 : room;
    return typed.left(cut);
}

void TextBox::typeText(const QString& typed)
{
    if (m_locked) return;
    const QString kept = fitting(typed);
    if (!kept.isEmpty()) insert(kept);
}

QString TextBox::throughKeyPress(const QString& text, bool& alive)
{
    LifeGuard guardAlive(this);
    const auto raise = [&](short& ascii) {
        previewKeyPress(this, ascii);
        if (guardAlive && ascii != 0) raiseKeyPress(ascii);
        alive = bool(guardAlive);
        return alive;
    };
    alive = true;
    QString result;
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    const QString firstLine = end < 0 ? text : text.left(end);
    for (qsizetype i = 0; i < firstLine.size(); ++i) {
        const QChar ch = firstLine[i];
        if (ch.unicode() < 32 || ch.unicode() == 127) continue; // no text
        if (ch.isHighSurrogate() && i + 1 < firstLine.size() && firstLine[i + 1].isLowSurrogate()) {
            short high = short(ch.unicode()), low = short(firstLine[i + 1].unicode());
            ++i;
            if (!raise(high) || !raise(low)) return {};
            if (high == short(ch.unicode()) && low == short(firstLine[i].unicode()))
                result += QString(firstLine.mid(i - 1, 2));
            continue;
        }
        if (ch.isSurrogate()) continue; // half a character is no text
        short ascii = short(ch.unicode());
        if (!raise(ascii)) return {};
        if (ascii == 8) {
            // A handler that turned a character into Backspace erases as Backspace does.
            if (!result.isEmpty())
                result.chop(result.size() > 1 && result.back().isLowSurrogate() ? 2 : 1);
            else if (!m_locked)
                backspace();
            continue;
        }
        const QChar c{ushort(ascii)};
        if (ascii != 0 && c.isPrint() && !c.isSurrogate()) result += c;
    }
    return m_locked ? QString() : result;
}

void TextBox::pasteTyped(bool selection)
{
    if (m_locked) return;
    const QString clip = QGuiApplication::clipboard()->text(selection ? QClipboard::Selection
                                                                      : QClipboard::Clipboard);
    if (clip.isEmpty()) return;
    bool alive = true;
    const QString typed = throughKeyPress(clip, alive);
    if (alive) typeText(typed);
}

void TextBox::keyPressEvent(QKeyEvent* e)
{
    guard([&] {
        // Shift+Insert (and the Paste key) type no character, and a character beyond the Basic
        // Multilingual Plane has no KeyAscii of its own: both would reach Qt's editing unseen.
        // (A key with a KeyAscii is neither: asked first, it spares matching the key against
        // the platform's paste bindings on every character typed.)
        const bool typesAscii = keyAsciiOf(e) != 0;
        const bool pasteKey = !typesAscii && e->matches(QKeySequence::Paste);
        const QString text = e->text();
        const bool beyondBmp = !typesAscii && !text.isEmpty() && text.at(0).isSurrogate() &&
                               !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (!pasteKey && !beyondBmp) return KeyRelay::keyPressEvent(e);
        e->accept();
        LifeGuard alive(this);
        if (!keyDownStage(e) || !alive) return;
        if (pasteKey) return pasteTyped();
        bool stillAlive = true;
        const QString typed = throughKeyPress(text, stillAlive);
        if (stillAlive) typeText(typed);
    });
}

void TextBox::mouseReleaseEvent(QMouseEvent* e)
{
    guard([&] {
        const bool primaryPaste =
            e->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection();
        if (!primaryPaste) return KeyRelay::mouseReleaseEvent(e);
        // Qt would insert the selection on release itself: MouseUp here, then the paste typed.
        LifeGuard alive(this);
        const QPointF at = toEventUnits(e->position());
        short button = mouseButtonsOf(e->button());
        short shift = shiftMask(e->modifiers());
        float x = float(at.x()), y = float(at.y());
        raiseMouseUp(button, shift, x, y);
        if (!alive || isReadOnly()) return;
        deselect();
        pasteTyped(true);
        e->accept();
    });
}

void TextBox::dropEvent(QDropEvent* e)
{
    guard([&] {
        // Text moved within the box is already in it; text from elsewhere is typed.
        if (e->source() == this || !e->mimeData()->hasText()) return KeyRelay::dropEvent(e);
        LifeGuard alive(this);
        bool stillAlive = true;
        const QString typed = throughKeyPress(e->mimeData()->text(), stillAlive);
        if (!alive || !stillAlive) return;
        if (typed.isEmpty()) {
            e->ignore();
            return;
        }
        QMimeData filtered;
        filtered.setText(typed);
        QDropEvent drop(e->position(), e->possibleActions(), &filtered, e->buttons(),
                        e->modifiers());
        drop.setDropAction(e->dropAction());
        KeyRelay::dropEvent(&drop);
        e->setDropAction(drop.dropAction());
        e->setAccepted(drop.isAccepted());
    });
}

namespace {
// Qt names the standard menu's actions only from 6.5 on; before, its text tells.
bool isPasteAction(const QAction* action)
{
    if (action->objectName() == QLatin1String("edit-paste")) return true;
    const QString text = action->text().section(QLatin1Char('\t'), 0, 0);
    return text == QCoreApplication::translate("QLineEdit", "&Paste");
}
} // namespace

void TextBox::contextMenuEvent(QContextMenuEvent* e)
{
    guard([&] {
        QMenu* menu = createStandardContextMenu();
        if (!menu) return;
        menu->setAttribute(Qt::WA_DeleteOnClose);
        for (QAction* action : menu->actions()) {
            if (action->menu()) {
                // Unicode control characters, inserted past every filter.
                menu->removeAction(action);
            } else if (isPasteAction(action)) {
                action->setObjectName(QStringLiteral("edit-paste"));
                disconnect(action, &QAction::triggered, nullptr, nullptr);
                connect(action, &QAction::triggered, this,
                        [this] { guard([&] { pasteTyped(); }); });
            }
        }
        menu->popup(e->globalPos());
    });
}

void TextBox::applyCharacter(QKeyEvent* e, short original, short ascii, bool stopped)
{
    const bool unchanged = ascii == original && !stopped;
    switch (ascii) {
    case 13:
        // Nothing is inserted; left unaccepted so that the window's default button sees it.
        e->ignore();
        return;
    case 8:
        if (m_locked) return;
        if (unchanged)
            QLineEdit::keyPressEvent(e);
        else
            backspace();
        return;
    case 3:
        copy();
        return;
    case 22:
        pasteTyped();
        return;
    case 24:
        if (m_locked)
            copy();
        else
            cut();
        return;
    default:
        break;
    }
    if (ascii == 1) {
        selectAll(); // Ctrl+A, also where a handler let it through changed
        return;
    }
    const QChar c{ushort(ascii)};
    if (!c.isPrint()) {
        // Other control characters keep their editing meaning (Ctrl+A, Ctrl+Z) when unchanged.
        if (unchanged) QLineEdit::keyPressEvent(e);
        return;
    }
    // The rest of a key that typed more than one character (a composed sequence).
    const QString text = e->text();
    typeText(QString(c) + (unchanged && text.size() > 1 ? text.mid(1) : QString()));
}

void TextBox::inputMethodEvent(QInputMethodEvent* e)
{
    guard([&] {
        const QString commit = e->commitString();
        if (commit.isEmpty()) return QLineEdit::inputMethodEvent(e);
        bool alive = true;
        QString result = throughKeyPress(commit, alive);
        if (!alive) return;
        result = fitting(result);
        QInputMethodEvent changed(e->preeditString(), e->attributes());
        changed.setCommitString(result, e->replacementStart(), e->replacementLength());
        QLineEdit::inputMethodEvent(&changed);
    });
}

} // namespace host
