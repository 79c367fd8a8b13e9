#include "host/services/SendKeys.h"

#include "host/services/Guard.h"
#include "host/value/RuntimeError.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>

namespace host {

namespace {

[[noreturn]] void malformed()
{
    raiseError(Err::InvalidProcedureCall);
}

struct NamedKey {
    const char* name;
    int key;
    const char* text;
};

const NamedKey namedKeys[] = {
    {"BACKSPACE", Qt::Key_Backspace, "\b"},
    {"BS", Qt::Key_Backspace, "\b"},
    {"BKSP", Qt::Key_Backspace, "\b"},
    {"BREAK", Qt::Key_Pause, ""},
    {"CAPSLOCK", Qt::Key_CapsLock, ""},
    {"DELETE", Qt::Key_Delete, ""},
    {"DEL", Qt::Key_Delete, ""},
    {"DOWN", Qt::Key_Down, ""},
    {"END", Qt::Key_End, ""},
    {"ENTER", Qt::Key_Return, "\r"},
    {"ESC", Qt::Key_Escape, "\x1b"},
    {"HELP", Qt::Key_Help, ""},
    {"HOME", Qt::Key_Home, ""},
    {"INSERT", Qt::Key_Insert, ""},
    {"INS", Qt::Key_Insert, ""},
    {"LEFT", Qt::Key_Left, ""},
    {"NUMLOCK", Qt::Key_NumLock, ""},
    {"PGDN", Qt::Key_PageDown, ""},
    {"PGUP", Qt::Key_PageUp, ""},
    {"PRTSC", Qt::Key_Print, ""},
    {"RIGHT", Qt::Key_Right, ""},
    {"SCROLLLOCK", Qt::Key_ScrollLock, ""},
    {"TAB", Qt::Key_Tab, "\t"},
    {"UP", Qt::Key_Up, ""},
};

SentKey characterKey(QChar c)
{
    SentKey k;
    k.text = QString(c);
    const QChar upper = c.toUpper();
    k.key = upper.unicode() <= 0xFF ? int(upper.unicode()) : int(Qt::Key_unknown);
    // A capital letter is typed with Shift, as on a keyboard.
    if (c.isLetter() && c.isUpper() && c.toLower() != c) k.modifiers |= Qt::ShiftModifier;
    return k;
}

SentKey braceKey(const QString& inside)
{
    // The name may be a single character itself ({+}, {{}, {}}, {~}), and may carry a count.
    QString name = inside;
    const bool single = inside.size() == 1;
    if (single) {
        if (inside == QLatin1String("~")) return {Qt::Key_AsciiTilde, {}, QStringLiteral("~")};
        return characterKey(inside.at(0));
    }
    const QString upper = name.toUpper();
    for (const NamedKey& named : namedKeys)
        if (upper == QLatin1String(named.name))
            return {named.key, {}, QString::fromLatin1(named.text)};
    if (upper.startsWith(QLatin1Char('F'))) {
        bool ok = false;
        const int n = upper.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= 16 && upper.mid(1) == QString::number(n))
            return {Qt::Key_F1 + (n - 1), {}, QString()};
    }
    malformed();
}

class Parser {
public:
    static constexpr qsizetype MaxKeys = 32767;

    explicit Parser(const QString& s) : m_s(s) {}

    std::vector<SentKey> run()
    {
        parseSequence(false);
        return m_keys;
    }

private:
    // Parses until the end (or a closing parenthesis of a group).
    void parseSequence(bool inGroup)
    {
        while (m_pos < m_s.size()) {
            const QChar c = m_s.at(m_pos);
            if (c == QLatin1Char(')')) {
                if (!inGroup) malformed();
                return;
            }
            parseItem({});
        }
        if (inGroup) malformed(); // a group never closed
    }

    void parseItem(Qt::KeyboardModifiers mods)
    {
        if (m_pos >= m_s.size()) malformed(); // a modifier with nothing after it
        const QChar c = m_s.at(m_pos);
        switch (c.unicode()) {
        case '+':
            ++m_pos;
            return parseItem(mods | Qt::ShiftModifier);
        case '^':
            ++m_pos;
            return parseItem(mods | Qt::ControlModifier);
        case '%':
            ++m_pos;
            return parseItem(mods | Qt::AltModifier);
        case '(': {
            if (!mods) malformed(); // parentheses group keys for a modifier only
            ++m_pos;
            const size_t first = m_keys.size();
            parseSequence(true);
            ++m_pos; // the ')'
            if (m_keys.size() == first) malformed();
            for (size_t i = first; i < m_keys.size(); ++i)
                m_keys[i].modifiers |= mods;
            return;
        }
        case ')':
            malformed();
        case '{':
            return parseBrace(mods);
        case '}':
            malformed();
        case '~':
            ++m_pos;
            return add({Qt::Key_Return, {}, QStringLiteral("\r")}, mods, 1);
        default:
            ++m_pos;
            return add(characterKey(c), mods, 1);
        }
    }

    void parseBrace(Qt::KeyboardModifiers mods)
    {
        // "{}}" names the closing brace; otherwise the name runs to the next '}'.
        qsizetype close;
        if (m_s.mid(m_pos, 3) == QLatin1String("{}}"))
            close = m_pos + 2;
        else
            close = m_s.indexOf(QLatin1Char('}'), m_pos + 1);
        if (close < 0) malformed();
        QString inside = m_s.mid(m_pos + 1, close - m_pos - 1);
        m_pos = close + 1;
        if (inside.isEmpty()) malformed();
        int count = 1;
        const qsizetype space = inside.lastIndexOf(QLatin1Char(' '));
        if (space > 0) {
            bool ok = false;
            count = inside.mid(space + 1).toInt(&ok);
            if (!ok || count < 0) malformed();
            inside = inside.left(space);
        }
        add(braceKey(inside), mods, count);
    }

    void add(SentKey key, Qt::KeyboardModifiers mods, int count)
    {
        // A repeat count is typed one key at a time: a slip such as {DOWN 1587615663} must not
        // take the process's memory.
        if (count > MaxKeys - qsizetype(m_keys.size())) malformed();
        key.modifiers |= mods;
        for (int i = 0; i < count; ++i)
            m_keys.push_back(key);
    }

    const QString& m_s;
    qsizetype m_pos = 0;
    std::vector<SentKey> m_keys;
};

// The keys waiting to be typed, one per turn of the event loop, so that a key that moves the
// focus or opens a form sends the following keys where the focus is then.
class KeyQueue {
public:
    static KeyQueue& instance()
    {
        static KeyQueue queue;
        return queue;
    }

    void append(const std::vector<SentKey>& keys)
    {
        m_keys.insert(m_keys.end(), keys.begin(), keys.end());
        schedule();
    }
    int pending() const { return int(m_keys.size()); }

private:
    void schedule()
    {
        if (m_scheduled || m_keys.empty() || !QCoreApplication::instance()) return;
        m_scheduled = true;
        QTimer::singleShot(0, QCoreApplication::instance(), [this] { typeNext(); });
    }

    void typeNext()
    {
        m_scheduled = false;
        if (m_keys.empty()) return;
        const SentKey key = m_keys.front();
        m_keys.pop_front();
        schedule(); // first, so that a nested loop opened by this key goes on with the rest
        QWidget* target = QApplication::focusWidget();
        if (!target) target = QApplication::activeWindow();
        if (!target) return; // nobody to type into: the key is lost, as on the desktop
        QPointer<QWidget> alive(target);
        guard([&] {
            QKeyEvent press(QEvent::KeyPress, key.key, key.modifiers, key.text);
            QApplication::sendEvent(target, &press);
            if (!alive) return;
            QKeyEvent release(QEvent::KeyRelease, key.key, key.modifiers, key.text);
            QApplication::sendEvent(target, &release);
        });
    }

    std::deque<SentKey> m_keys;
    bool m_scheduled = false;
};

} // namespace

std::vector<SentKey> parseSendKeys(const QString& keys)
{
    return Parser(keys).run();
}

void SendKeys(const QString& keys, bool wait)
{
    const std::vector<SentKey> parsed = parseSendKeys(keys);
    KeyQueue& queue = KeyQueue::instance();
    queue.append(parsed);
    if (!wait || !QCoreApplication::instance()) return;
    while (queue.pending() > 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

int pendingSendKeys()
{
    return KeyQueue::instance().pending();
}

} // namespace host
