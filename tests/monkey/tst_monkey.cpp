// A seeded monkey at the demo form, which holds every control: random user actions (typing in
// several scripts, dead keys and input methods, special keys, clicks, double-clicks, drags, the
// pointer moving in and out with the hover timers ticking, resizes, closing windows), the
// calendar and the About dialog driven from inside their modal loops, message boxes answered at
// random, between property sets by name, font changes, saves and reloads of the form and loads of
// hand-edited copies. After every action the form must hold together (see check()); a failing
// run is cut down to the shortest list of actions that still fails, printed with its seed.
//
// KV_MONKEY_SEED and KV_MONKEY_ACTIONS choose the run; KV_MONKEY_REPLAY=<file> plays a printed
// list instead; KV_MONKEY_TRACE=1 prints every action as it is played.

#include "Values.h"

#include "controls/calendar/Calendario.h"
#include "controls/field/txtCampo.h"
#include "controls/xp/xpcheckbox.h"
#include "host/automation/Registry.h"
#include "host/automation/Server.h"
#include "host/forms/Form.h"
#include "host/persist/FormFile.h"
#include "host/services/Services.h"
#include "host/widgets/CommandButton.h"
#include "host/widgets/Gdi.h"
#include "host/widgets/HoverTimer.h"
#include "host/widgets/LateBinding.h"
#include "library/about/About.h"
#include "library/core/Kv_Module.h"
#include "library/module/EntryPoints.h"
#include "library/module/TypeLibrary.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest/qtestspontaneevent.h>
#include <QtTest>
#include <cstdarg>
#include <cstdio>
#include <optional>

using namespace host;
using monkey::below;
using monkey::oneIn;
using monkey::Rng;

namespace {

// clang-format off
enum class Kind : quint8 { Type, Compose, DeadKey, Key, Click, DoubleClick, Drag, Hover, Tick, Resize,
                           SetProperty, MutateFont, CallMethod, SaveReload, LoadEdited, Close };
// The user's actions come before SetProperty, the program's from it on. How often each comes:
// its weight out of the weights' sum.
struct KindInfo { Kind kind; int weight; const char* name; };
const KindInfo kinds[] = {
    {Kind::Type, 200, "Type"}, {Kind::Compose, 40, "Compose"}, {Kind::DeadKey, 20, "DeadKey"},
    {Kind::Key, 160, "Key"}, {Kind::Click, 140, "Click"}, {Kind::DoubleClick, 40, "DoubleClick"},
    {Kind::Drag, 30, "Drag"}, {Kind::Hover, 80, "Hover"}, {Kind::Tick, 40, "Tick"},
    {Kind::Resize, 20, "Resize"}, {Kind::SetProperty, 150, "SetProperty"},
    {Kind::MutateFont, 20, "MutateFont"}, {Kind::CallMethod, 10, "CallMethod"},
    {Kind::SaveReload, 15, "SaveReload"}, {Kind::LoadEdited, 10, "LoadEdited"},
    {Kind::Close, 5, "Close"}};
// clang-format on

// One action as recorded: its kind and the numbers it is played from. The numbers choose among
// what the moment offers (the widgets on screen, the properties of a control), so any list of
// actions can be played, also one cut down from a longer list.
struct Action {
    Kind kind;
    quint32 a, b, c;
    quint64 salt; // seeds the values made while it plays: property values, message box answers

    QString encode() const
    {
        return QString::asprintf("%s %u %u %u %llu", kinds[int(kind)].name, a, b, c, salt);
    }
    static std::optional<Action> decode(const QString& line)
    {
        const QStringList f = line.simplified().split(QLatin1Char(' '));
        if (f.size() < 5) return std::nullopt;
        for (const KindInfo& k : kinds)
            if (f[0] == QLatin1String(k.name))
                return Action{k.kind, f[1].toUInt(), f[2].toUInt(), f[3].toUInt(),
                              f[4].toULongLong()};
        return std::nullopt;
    }
};

struct Failure {
    QString key;     // what broke, the same for every run that breaks the same way
    QString message; // with the details
    qsizetype at = 0;
};

// Run-time errors a property set or a method call may raise: 438 no such property or method,
// 383 read-only, 13 type mismatch, 94 Null, 6 overflow, 380 invalid value, 91 no font object,
// 400 the About dialog already open.
const QList<int> setErrors = {438, 383, 13, 94, 6, 380, 91};
const QList<int> methodErrors = {438, 400};

// The messages the controls show by design: a required field left empty, a date that is no
// date, a title strip whose font is too large to draw.
const QRegularExpression expectedMessage(
    QStringLiteral("^(Campo (.* )?é Requirido|Formato de Data Invalido !.*|6 Overflow Kv_CTRL)$"),
    QRegularExpression::DotMatchesEverythingOption);

// Messages and notes, printf-style.
QString fmt(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const QString text = QString::vasprintf(format, args);
    va_end(args);
    return text;
}

template <class T, size_t N>
const T& pick(quint32 n, const T (&items)[N])
{
    return items[n % N];
}

QString controlName(const QWidget* w)
{
    QStringList path;
    for (; w && !w->isWindow(); w = w->parentWidget())
        path.prepend(w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                               : w->objectName());
    return path.isEmpty() ? (w ? w->objectName() + QStringLiteral("(window)") : QString())
                          : path.join(QLatin1Char('.'));
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void settle()
{
    // The hover clock is held and other timers wait: what happens depends on the actions alone.
    QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers);
}

class Monkey : public QObject {
public:
    explicit Monkey(FormDescription start) : m_start(std::move(start))
    {
        for (Form* shared : {static_cast<Form*>(&Kv_CTRL::Calendario::instance()),
                             static_cast<Form*>(&Kv_CTRL::About::instance())})
            connect(shared, &Form::loaded, this, [this, shared] {
                if (m_playing)
                    QMetaObject::invokeMethod(
                        this, [this, shared] { insideModal(shared); }, Qt::QueuedConnection);
            });
        services().reportError = [this](const RuntimeError& e) {
            fail(fmt("escaped error %d", e.number()),
                 fmt("run-time error %d reached the event loop: %s", e.number(),
                     qUtf8Printable(e.description())));
        };
        services().msgBox = [this](const QString& prompt, int style, const QString&) {
            if (!expectedMessage.match(prompt).hasMatch())
                fail(QStringLiteral("message"),
                     QStringLiteral("unexpected message box: ") + prompt);
            static const int buttons[][3] = {{1, 1, 1}, {1, 2, 2}, {3, 4, 5}, {6, 7, 2},
                                             {6, 7, 7}, {4, 2, 2}, {1, 1, 1}, {1, 1, 1}};
            const int answer = buttons[style & 7][below(m_values, 3)];
            ++m_tally[QStringLiteral("message boxes")];
            note(fmt("  message box \"%s\" answered %d", qUtf8Printable(prompt.left(40)), answer));
            return answer;
        };
        services().cursorPos = [this] { return m_pointer; };
        services().today = [] { return QDate(2026, 3, 16); };
    }

    // Plays `actions` from the form as it starts; when `rng` is given, goes on making actions
    // until `count` were played. Returns the first failure.
    std::optional<Failure> run(QList<Action>& actions, Rng* rng, qsizetype count,
                               QStringList* log = nullptr)
    {
        m_actions = &actions;
        m_rng = rng;
        m_count = rng ? count : actions.size();
        m_next = 0;
        m_log = log;
        m_failure.reset();
        m_tally.clear();
        m_playing = true;
        reset();
        while (std::optional<Action> action = next())
            play(*action);
        m_playing = false;
        if (!m_failure) checkCounts();
        return m_failure;
    }

    void setTrace(bool trace) { m_trace = trace; }
    // How often the last run met what it is meant to meet: dialogs, messages, refusals, loads.
    QString tally() const
    {
        QStringList parts;
        for (auto it = m_tally.cbegin(); it != m_tally.cend(); ++it)
            parts << fmt("%s %d", qUtf8Printable(it.key()), it.value());
        return parts.join(QStringLiteral(", "));
    }

private:
    void reset()
    {
        // A run that failed may have left a dialog loaded: each run starts with none.
        Kv_CTRL::About::instance().unload();
        Kv_CTRL::Calendario& cal = Kv_CTRL::Calendario::instance();
        cal.unload();
        flushDeletes();
        cal.cDiaHoje = cal.cMes = cal.cDiaSel = cal.cDigitado = 0;
        cal.cAno = 0;
        Kv_CTRL::Kv_Module::DataEscolhida() = Date();
        QGuiApplication::clipboard()->clear();
        m_pointer = QPoint(-1000, -1000);
        m_depth = 0;
        m_saved = m_start;
        if (m_fonts < 0) {
            m_fonts = gdiLiveObjectCount();
            m_objects = liveModuleObjects(Kv_CTRL::typeLibrary());
            m_widgets = int(QApplication::allWidgets().size());
        }
        reopen(m_start);
    }

    void reopen(const FormDescription& d)
    {
        m_form.build(d);
        m_form.show();
        activate(m_form.widget());
        for (const auto* box : m_form.widget()->findChildren<Kv_CTRL::xpcheckbox*>())
            connect(box, &Kv_CTRL::xpcheckbox::Click, this,
                    [this, name = box->objectName()] { ++m_clicks[name]; });
    }

    QHash<QString, qint32> checkBoxes() const
    {
        QHash<QString, qint32> values;
        if (m_form.isLoaded())
            for (const auto* box : m_form.widget()->findChildren<Kv_CTRL::xpcheckbox*>())
                values.insert(box->objectName(), qint32(box->get_Value()));
        return values;
    }

    static void activate(QWidget* window)
    {
        for (int i = 0; i < 20 && window && QApplication::activeWindow() != window; ++i)
            settle();
    }

    std::optional<Action> next()
    {
        if (m_failure) return std::nullopt;
        if (m_next < m_actions->size()) return (*m_actions)[m_next++];
        if (!m_rng || m_next >= m_count) return std::nullopt;
        Rng& r = *m_rng;
        Kind kind = Kind::Close;
        // Inside a dialog the user gets out now and then; on the form the weights decide.
        if (m_depth == 0 || !oneIn(r, 25)) {
            int total = 0;
            for (const KindInfo& k : kinds)
                total += k.weight;
            int roll = int(below(r, quint32(total)));
            for (const KindInfo& k : kinds)
                if ((roll -= k.weight) < 0) {
                    kind = k.kind;
                    break;
                }
        }
        m_actions->append(Action{kind, quint32(r()), quint32(r()), quint32(r()), r()});
        return (*m_actions)[m_next++];
    }

    void fail(const QString& key, const QString& message)
    {
        if (!m_failure) m_failure = Failure{key, message, m_next};
    }

    void note(const QString& line)
    {
        if (m_log) m_log->append(line);
        if (m_trace) std::fprintf(stderr, "%s\n", qUtf8Printable(line));
    }

    // The window the user's input goes to: an open popup, else the modal dialog, else the form.
    QWidget* root() const
    {
        if (QWidget* popup = QApplication::activePopupWidget()) return popup;
        if (QWidget* modal = QApplication::activeModalWidget()) return modal;
        return m_form.widget();
    }

    QWidget* target(quint32 n) const
    {
        QList<QWidget*> list{root()};
        for (QWidget* w : root()->findChildren<QWidget*>())
            if (w->isVisible() && !w->isWindow()) list << w;
        return list[n % list.size()];
    }

    QWidget* keyboard() const
    {
        QWidget* focus = root()->focusWidget();
        return focus && focus->isVisible() ? focus : root();
    }

    QWidget* control(quint32 n) const
    {
        const QList<QWidget*> list = m_form.controls();
        return list[n % list.size()];
    }

    static QPoint pointIn(const QWidget* w, quint32 x, quint32 y)
    {
        return QPoint(int(x % quint32(std::max(1, w->width()))),
                      int(y % quint32(std::max(1, w->height()))));
    }

    // Runs the actions that follow while a modal dialog is open, from inside its loop.
    void insideModal(Form* dialog)
    {
        if (!dialog->isLoaded() || dialog->widget()->windowModality() == Qt::NonModal) return;
        ++m_depth;
        activate(dialog->widget());
        ++m_tally[dialog->objectName() + QStringLiteral(" opened")];
        note(QStringLiteral("  open ") + dialog->objectName());
        while (dialog->isLoaded())
            if (std::optional<Action> action = next())
                play(*action);
            else
                dialog->unload(); // what the list leaves open is closed
        note(QStringLiteral("  closed ") + dialog->objectName());
        --m_depth;
    }

    // A key as a keyboard sends it: the modifiers down, the key down and up, the modifiers up.
    // Each goes through the shortcut map as a real one does; the widget may go with any of them.
    void key(QWidget* w, Qt::Key k, const QString& typed, Qt::KeyboardModifiers mods)
    {
        static const std::pair<Qt::KeyboardModifier, Qt::Key> modifierKeys[] = {
            {Qt::ShiftModifier, Qt::Key_Shift},
            {Qt::ControlModifier, Qt::Key_Control},
            {Qt::AltModifier, Qt::Key_Alt}};
        note(fmt("  key %x \"%s\" mods %x to %s", k, qUtf8Printable(typed), int(mods),
                 qUtf8Printable(controlName(w))));
        QPointer<QWidget> to = w;
        Qt::KeyboardModifiers held = mods & Qt::KeypadModifier;
        for (const auto& [modifier, modifierKey] : modifierKeys)
            if ((mods & modifier) && to) {
                QTest::simulateEvent(to, true, modifierKey, held, QString(), false);
                held |= modifier;
            }
        if (to) QTest::simulateEvent(to, true, k, mods, typed, false);
        if (to) QTest::simulateEvent(to, false, k, mods, typed, false);
        for (const auto& [modifier, modifierKey] : modifierKeys)
            if ((mods & modifier) && to) {
                held &= ~modifier;
                QTest::simulateEvent(to, false, modifierKey, held, QString(), false);
            }
    }

    void move(QWidget* w, QPoint at, Qt::MouseButtons held)
    {
        m_pointer = w->mapToGlobal(at);
        if (held != Qt::NoButton) return QTest::mouseMove(w, at);
        QMouseEvent e(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, held, {});
        QSpontaneKeyEvent::setSpontaneous(&e);
        QApplication::sendEvent(w, &e);
    }

    void play(const Action& act)
    {
        if (!m_form.isLoaded()) {
            // The user closed the form (or a load failed): it opens again as last saved.
            if (m_depth == 0) checkCounts();
            reopen(m_saved);
        }
        m_values.seed(act.salt);
        note(fmt("#%lld %s", qint64(m_next), qUtf8Printable(act.encode())));
        const qsizetype first = m_next;
        const QHash<QString, qint32> before = checkBoxes();
        m_clicks.clear();
        try {
            perform(act);
        } catch (const RuntimeError& e) {
            fail(fmt("driver error %d", e.number()), e.description());
        } catch (const std::exception& e) {
            fail(QStringLiteral("exception"), QString::fromLocal8Bit(e.what()));
        }
        settle();
        if (m_depth == 0) flushDeletes();
        check();
        // A user's own action (no program step played inside it): each Click raised toggles its
        // check box once, Checked and Mixed to Unchecked, Unchecked to Checked.
        if (act.kind >= Kind::SetProperty || m_next != first) return;
        const QHash<QString, qint32> after = checkBoxes();
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            qint32 expected = it.value();
            for (int n = m_clicks.value(it.key()); n > 0; --n)
                expected = expected == 0 ? 1 : expected == 1 || expected == 2 ? 0 : expected;
            if (after.contains(it.key()) && after.value(it.key()) != expected)
                fail(QStringLiteral("click"),
                     fmt("%s clicked %d times went from %d to %d", qUtf8Printable(it.key()),
                         m_clicks.value(it.key()), it.value(), after.value(it.key())));
        }
    }

    void perform(const Action& act)
    {
        // clang-format off
        using Step = void (Monkey::*)(const Action&);
        static const Step steps[] = {&Monkey::type, &Monkey::compose, &Monkey::deadKey,
            &Monkey::specialKey, &Monkey::mouse, &Monkey::mouse, &Monkey::mouse, &Monkey::hover,
            &Monkey::tick, &Monkey::resize, &Monkey::setProperty, &Monkey::mutateFont,
            &Monkey::callMethod, &Monkey::saveReload, &Monkey::loadEdited, &Monkey::close};
        // clang-format on
        (this->*steps[int(act.kind)])(act);
    }

    void tick(const Action& act)
    {
        for (quint32 i = 0; i <= act.a % 3; ++i)
            HoverTimer::tickAll();
    }

    void close(const Action&)
    {
        QWidget* window = root();
        note(QStringLiteral("  close ") + controlName(window));
        if (window->windowType() == Qt::Popup) return void(window->close());
        QCloseEvent e;
        QApplication::sendEvent(window, &e);
    }

    void type(const Action& act)
    {
        static const char16_t* const typed[] = {
            u"a", u"z", u"M", u"q", u"0", u"5", u"9",  u"/", u"-", u"+", u"*", u",", u".", u" ",
            u"&", u"ç", u"Ç", u"ã", u"õ", u"á", u"É",  u"í", u"ó", u"ú", u"â", u"ê", u"ô", u"à",
            u"ü", u"ñ", u"ß", u"ж", u"Ж", u"λ", u"中", u"ع", u"ש", u"€", u"¿", u"😀", u"𝄞"};
        const QString text = act.a % 3 == 0 ? QString(QChar(ushort(32 + act.b % 95)))
                                            : QString::fromUtf16(pick(act.b, typed));
        // Keys name the upper-case letter; beyond the Basic Multilingual Plane there is none.
        const QChar c = text.at(0);
        key(keyboard(), Qt::Key(text.size() == 1 ? int(c.toUpper().unicode()) : Qt::Key_unknown),
            text, c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
    }

    void compose(const Action& act)
    {
        // What an input method hands over: a preedit, then the committed text.
        static const char16_t* const preedits[] = {u"~", u"´", u"^", u"¨", u"zhong", u""};
        static const char16_t* const commits[] = {u"ã", u"õ",   u"é", u"ê",       u"ç",  u"中文",
                                                  u"😀", u"Жук", u"ñ", u"e\u0301", u"12", u"São"};
        QPointer<QWidget> to = keyboard();
        if (!to->testAttribute(Qt::WA_InputMethodEnabled)) return;
        const QString commit = QString::fromUtf16(pick(act.b, commits));
        note(fmt("  input method \"%s\" to %s", qUtf8Printable(commit),
                 qUtf8Printable(controlName(to))));
        QInputMethodEvent preedit(QString::fromUtf16(pick(act.a, preedits)), {});
        QApplication::sendEvent(to, &preedit);
        if (!to) return;
        QInputMethodEvent done;
        done.setCommitString(commit);
        QApplication::sendEvent(to, &done);
    }

    void deadKey(const Action& act)
    {
        // clang-format off
        struct Dead { Qt::Key dead, letter; const char16_t* composed; };
        static const Dead deads[] = {
            {Qt::Key_Dead_Tilde, Qt::Key_Atilde, u"ã"}, {Qt::Key_Dead_Tilde, Qt::Key_Otilde, u"õ"},
            {Qt::Key_Dead_Acute, Qt::Key_Eacute, u"é"}, {Qt::Key_Dead_Grave, Qt::Key_Agrave, u"à"},
            {Qt::Key_Dead_Circumflex, Qt::Key_Ocircumflex, u"ô"},
            {Qt::Key_Dead_Diaeresis, Qt::Key_Udiaeresis, u"ü"}, {Qt::Key_Dead_Tilde, Qt::Key_Space, u"~"}};
        // clang-format on
        const Dead& d = pick(act.a, deads);
        key(keyboard(), d.dead, QString(), {});
        const bool shift = act.b % 4 == 0;
        const QString composed = QString::fromUtf16(d.composed);
        key(keyboard(), d.letter, shift ? composed.toUpper() : composed,
            shift ? Qt::ShiftModifier : Qt::NoModifier);
    }

    void specialKey(const Action& act)
    {
        // clang-format off
        struct Special { Qt::Key key; const char* text; };
        static const Special specials[] = {
            {Qt::Key_Return, "\r"}, {Qt::Key_Enter, "\r"}, {Qt::Key_Tab, "\t"}, {Qt::Key_Backtab, ""},
            {Qt::Key_Escape, "\x1b"}, {Qt::Key_F4, ""}, {Qt::Key_F1, ""}, {Qt::Key_Up, ""},
            {Qt::Key_Down, ""}, {Qt::Key_Left, ""}, {Qt::Key_Right, ""}, {Qt::Key_PageUp, ""},
            {Qt::Key_PageDown, ""}, {Qt::Key_Home, ""}, {Qt::Key_End, ""}, {Qt::Key_Backspace, "\b"},
            {Qt::Key_Delete, "\x7f"}, {Qt::Key_Space, " "}, {Qt::Key_Insert, ""}, {Qt::Key_A, "a"},
            {Qt::Key_C, "c"}, {Qt::Key_V, "v"}, {Qt::Key_X, "x"}, {Qt::Key_Z, "z"}, {Qt::Key_F, "f"},
            {Qt::Key_S, "s"}, {Qt::Key_B, "b"}};
        using M = Qt::KeyboardModifier;
        static const Qt::KeyboardModifiers modifiers[] = {
            M::NoModifier, M::NoModifier, M::NoModifier, M::NoModifier, M::ShiftModifier,
            M::ControlModifier, M::ControlModifier, M::AltModifier, M::AltModifier,
            M::ControlModifier | M::ShiftModifier, M::ControlModifier | M::AltModifier};
        // clang-format on
        const Special& s = pick(act.a, specials);
        Qt::KeyboardModifiers mods = pick(act.b, modifiers);
        if (s.key == Qt::Key_Backtab) mods |= Qt::ShiftModifier;
        if (s.key == Qt::Key_Enter) mods |= Qt::KeypadModifier;
        QString typed = QString::fromLatin1(s.text);
        // Ctrl with a letter types its control character, as X11 reports it.
        if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && s.key >= Qt::Key_A &&
            s.key <= Qt::Key_Z)
            typed = QChar(ushort(s.key - Qt::Key_A + 1));
        if (s.key == Qt::Key_V || s.key == Qt::Key_Insert)
            QGuiApplication::clipboard()->setText(monkey::randomText(m_values));
        key(keyboard(), s.key, typed, mods);
    }

    void mouse(const Action& act)
    {
        QPointer<QWidget> w = target(act.a);
        const QPoint at = pointIn(w, act.b, act.c);
        const Qt::MouseButton button = act.c % 7 == 0 ? Qt::RightButton : Qt::LeftButton;
        note(fmt("  %s %s %s at %d,%d", kinds[int(act.kind)].name,
                 button == Qt::LeftButton ? "left" : "right", qUtf8Printable(controlName(w)),
                 at.x(), at.y()));
        move(w, at, Qt::NoButton);
        if (!w) return;
        QTest::mousePress(w, button, {}, at);
        if (act.kind == Kind::Drag) {
            // Dragged along to a point that may lie beyond the widget, where it is let go.
            const QPoint to = at + QPoint(int(act.b % 200) - 100, int(act.c % 60) - 30);
            for (int step = 1; step <= 3 && w; ++step)
                move(w, at + (to - at) * step / 3, button);
            if (w) QTest::mouseRelease(w, button, {}, to);
            return;
        }
        if (w) QTest::mouseRelease(w, button, {}, at);
        if (w && act.kind == Kind::DoubleClick) {
            QTest::mouseDClick(w, button, {}, at);
            if (w) QTest::mouseRelease(w, button, {}, at);
        }
        // The menu a right click asks for, where the host's widgets offer one (Qt's own scroll
        // bars run a menu of their own loop that no action would reach).
        const QByteArray cls = w ? QByteArray(w->metaObject()->className()) : QByteArray();
        if (w && button == Qt::RightButton &&
            (cls.startsWith("host::") || cls.startsWith("Kv_CTRL::"))) {
            QContextMenuEvent menu(QContextMenuEvent::Mouse, at, w->mapToGlobal(at));
            QApplication::sendEvent(w, &menu);
        }
    }

    void hover(const Action& act)
    {
        QWidget* w = target(act.a);
        // Half the moves land inside the widget, the others just beyond one of its edges.
        QPoint at = pointIn(w, act.b, act.c);
        if (act.c % 2)
            at +=
                QPoint(act.b % 3 == 0 ? -w->width() - 2 : 0, act.b % 3 == 1 ? w->height() + 1 : 0);
        note(fmt("  hover %s at %d,%d", qUtf8Printable(controlName(w)), at.x(), at.y()));
        if (w->rect().contains(at))
            move(w, at, Qt::NoButton);
        else
            m_pointer = w->mapToGlobal(at);
        for (quint32 i = 0; i < act.a % 3; ++i)
            HoverTimer::tickAll();
    }

    void resize(const Action& act)
    {
        if (act.a % 2 == 0) {
            QWidget* window = root();
            if (window->windowType() == Qt::Popup) return;
            // No window manager lets a window shrink to nothing.
            const QSize size(int(60 + act.b % 900), int(40 + act.c % 700));
            note(fmt("  resize window to %dx%d", size.width(), size.height()));
            return window->resize(size);
        }
        auto* uc = qobject_cast<UserControl*>(control(act.b));
        if (!uc) return;
        const float w = float(act.c % 8000), h = float((act.c >> 13) % 5000);
        note(fmt("  move %s to %gx%g twips", qUtf8Printable(controlName(uc)), w, h));
        uc->Extender().Move(float(act.b % 6000), float(act.a % 4000), w, h);
    }

    void setProperty(const Action& act)
    {
        QWidget* target = control(act.a);
        const QList<QMetaProperty> own = monkey::ownWritableProperties(target->metaObject());
        static const char* const extender[] = {"Left",    "Top",     "Width",    "Height",
                                               "Visible", "Enabled", "TabIndex", "ToolTipText",
                                               "Name",    "Cor"};
        const quint32 choice = act.b % quint32(own.size() + std::size(extender));
        QString name;
        Variant value;
        if (choice < quint32(own.size())) {
            name = QString::fromLatin1(own[int(choice)].name());
            value = monkey::valueFor(m_values, own[int(choice)]);
        } else {
            name = QString::fromLatin1(extender[choice - own.size()]);
            value = monkey::anyValue(m_values);
            // Placements mostly of a sensible size: a window of giant controls only costs memory.
            if (choice - own.size() < 4 && !oneIn(m_values, 8))
                value = Variant(float(qint32(below(m_values, 40000)) - 10000));
        }
        const QString what =
            fmt("%s.%s = %s", qUtf8Printable(controlName(target)), qUtf8Printable(name),
                qUtf8Printable(monkey::describeValue(value)));
        note(QStringLiteral("  ") + what);
        auto* uc = qobject_cast<UserControl*>(target);
        PropertyBag before, after;
        if (uc) uc->saveTo(before);
        try {
            CallByNameLet(target, name, value);
        } catch (const RuntimeError& e) {
            note(fmt("  refused: %d", e.number()));
            ++m_tally[QStringLiteral("sets refused")];
            if (!setErrors.contains(e.number()))
                fail(fmt("set error %d", e.number()),
                     what + fmt(" raised %d: %s", e.number(), qUtf8Printable(e.description())));
            if (uc) uc->saveTo(after);
            if (!(after == before))
                fail(QStringLiteral("refused set changed ") + name,
                     what + fmt(" raised %d but changed what is saved", e.number()));
        }
    }

    void mutateFont(const Action& act)
    {
        // A program changing the font object a control holds (fonts are shared by reference).
        QWidget* target = control(act.a);
        FontRef font;
        try {
            font = CallByNameGet(target, QStringLiteral("Font")).toFont();
        } catch (const RuntimeError&) {
            return;
        }
        if (!font) return;
        note(fmt("  change the font of %s (%u)", qUtf8Printable(controlName(target)), act.b % 6));
        try {
            switch (act.b % 6) {
            case 0:
                return font->put_Size(double(monkey::anyValue(m_values).toSingle()));
            case 1:
                return font->put_Size(0.25 + below(m_values, 8000) / 4.0);
            case 2:
                return font->put_Name(monkey::randomText(m_values));
            case 3:
                return font->put_Weight(short(qint32(m_values()) >> 20));
            case 4:
                return font->put_Charset(short(qint32(m_values()) >> 16));
            default:
                font->put_Bold(oneIn(m_values, 2));
                return font->put_Italic(oneIn(m_values, 2));
            }
        } catch (const RuntimeError& e) {
            if (!setErrors.contains(e.number()))
                fail(fmt("font error %d", e.number()), e.description());
        }
    }

    void callMethod(const Action& act)
    {
        QWidget* target = control(act.a);
        static const char* const methods[] = {"ShowAbout", "ShowAbout", "Refresh", "Nada"};
        const QString method = QString::fromLatin1(pick(act.b, methods));
        note(QStringLiteral("  ") + controlName(target) + QLatin1Char('.') + method);
        try {
            CallMethod(target, method);
        } catch (const RuntimeError& e) {
            if (!methodErrors.contains(e.number()))
                fail(fmt("method error %d", e.number()),
                     fmt("%s.%s raised %d: %s", qUtf8Printable(controlName(target)),
                         qUtf8Printable(method), e.number(), qUtf8Printable(e.description())));
        }
    }

    void saveReload(const Action&)
    {
        note(QStringLiteral("  save and reload"));
        const QString file = QStringLiteral("monkey.kvform");
        const FormDescription saved = m_form.describe();
        QByteArray bytes;
        FormDescription read;
        try {
            bytes = FormFile::serialize(saved, file);
            read = FormFile::parse(bytes, file);
        } catch (const FormFileError& e) {
            return fail(QStringLiteral("save refused"), e.message());
        }
        if (!(read == saved))
            return fail(QStringLiteral("file changed the form"), monkey::difference(saved, read));
        try {
            reopen(read);
        } catch (const RuntimeError& e) {
            return fail(QStringLiteral("saved form does not load"), e.description());
        }
        const FormDescription again = m_form.describe();
        if (!(again == saved))
            return fail(QStringLiteral("reload changed the form"),
                        monkey::difference(saved, again));
        if (FormFile::serialize(again, file) != bytes)
            return fail(QStringLiteral("reload changed the bytes"), QStringLiteral("saved again"));
        m_saved = read;
        ++m_tally[QStringLiteral("saves reloaded")];
    }

    void loadEdited(const Action& act)
    {
        // A form file edited by hand: a few properties of one control set to anything.
        FormDescription d = m_form.describe();
        ControlRecord& record = d.controls[int(act.a % d.controls.size())];
        const QWidget* live = m_form.widget()->findChild<QWidget*>(record.name);
        const QList<QMetaProperty> own =
            live ? monkey::ownWritableProperties(live->metaObject()) : QList<QMetaProperty>();
        if (own.isEmpty()) return;
        for (quint32 i = 0; i <= act.b % 3; ++i) {
            const QMetaProperty& p = own[int(below(m_values, quint32(own.size())))];
            const Variant value = monkey::valueFor(m_values, p);
            note(fmt("  edit %s.%s = %s", qUtf8Printable(record.name), p.name(),
                     qUtf8Printable(monkey::describeValue(value))));
            record.properties.WriteProperty(QString::fromLatin1(p.name()), value);
        }
        const QString file = QStringLiteral("edited.kvform");
        FormDescription read;
        try {
            read = FormFile::parse(FormFile::serialize(d, file), file);
        } catch (const FormFileError&) {
            return; // no file holds it
        }
        try {
            reopen(read);
        } catch (const RuntimeError& e) {
            note(QStringLiteral("  refused: ") + e.description());
            ++m_tally[QStringLiteral("edited files refused")];
            if (!setErrors.contains(e.number()))
                fail(fmt("load error %d", e.number()), e.description());
        }
    }

    // What must hold after every action.
    void check()
    {
        if (!m_form.isLoaded()) return;
        for (const Kv_CTRL::txtCampo* field : m_form.widget()->findChildren<Kv_CTRL::txtCampo*>()) {
            // The buttons are made when first shown or asked for by name: one not made is off.
            const auto shown = [field](const char* name) {
                const auto* b = field->findChild<CommandButton*>(QLatin1String(name));
                return b && !b->isHidden();
            };
            if ((field->get_ButtonFind() && field->get_ButtonDate()) ||
                (shown("cmdLocalizar") && shown("cmdCalendario")))
                fail(QStringLiteral("both buttons"),
                     field->objectName() + QStringLiteral(" has the find and the date button on"));
        }
        int calendars = 0, abouts = 0;
        for (const QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible()) continue;
            calendars += w->objectName() == QLatin1String("Calendario");
            abouts += w->objectName() == QLatin1String("About");
        }
        if (calendars > 1 || abouts > 1)
            fail(QStringLiteral("dialogs"),
                 fmt("%d calendars and %d About dialogs open", calendars, abouts));
    }

    // With every window gone, the fonts, module objects and widgets are those of the start.
    void checkCounts()
    {
        ++m_tally[QStringLiteral("counts checked")];
        m_form.unload();
        flushDeletes();
        const int fonts = gdiLiveObjectCount(), objects = liveModuleObjects(Kv_CTRL::typeLibrary()),
                  widgets = int(QApplication::allWidgets().size());
        if (fonts != m_fonts || objects != m_objects || widgets != m_widgets)
            fail(QStringLiteral("counts"),
                 fmt("after unloading: %d fonts, %d objects, %d widgets; at the start %d, %d, %d",
                     fonts, objects, widgets, m_fonts, m_objects, m_widgets));
    }

    ServicesScope m_services; // the services as they were before the monkey took them over
    const FormDescription m_start;
    FormDescription m_saved; // what the form reopens as
    Form m_form;
    QList<Action>* m_actions = nullptr;
    Rng* m_rng = nullptr;
    Rng m_values;
    qsizetype m_count = 0, m_next = 0;
    std::optional<Failure> m_failure;
    QStringList* m_log = nullptr;
    bool m_trace = false;
    bool m_playing = false;
    int m_depth = 0;
    QPoint m_pointer;
    int m_fonts = -1, m_objects = 0, m_widgets = 0;
    QMap<QString, int> m_tally;
    QHash<QString, int> m_clicks; // Click events raised per check box during the action
};

// Tool tips are windows of their own that come and go on timers: kept out of the count.
class NoToolTips : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* e) override { return e->type() == QEvent::ToolTip; }
};

QtMessageHandler g_previous = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    // QTest complains of every event no widget took, a monkey's events mostly are such; the
    // offscreen platform of popups it cannot raise or let grab the keyboard.
    if (text.contains(QLatin1String("not accepted by receiving widget")) ||
        text.startsWith(QLatin1String("This plugin does not support")))
        return;
    g_previous(type, context, text);
}

qint64 envNumber(const char* name, qint64 fallback)
{
    bool ok = false;
    const qint64 value = qEnvironmentVariable(name).toLongLong(&ok);
    return ok ? value : fallback;
}

} // namespace

class TestMonkey : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    NoToolTips m_noToolTips;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        Registry::setPath(m_dir.filePath(QStringLiteral("registry.json")));
        QCOMPARE(DllRegisterServer(), S_OK);
        HoverTimer::holdClock(true);
        qApp->installEventFilter(&m_noToolTips);
        g_previous = qInstallMessageHandler(quietHandler);
    }

    void cleanupTestCase()
    {
        qInstallMessageHandler(g_previous);
        HoverTimer::holdClock(false);
        Registry::setPath({});
    }

    void monkey()
    {
        const FormDescription start =
            FormFile::read(QStringLiteral(KV_SOURCE_DIR "/apps/kvform/demo.kvform"));
        const quint64 seed = quint64(envNumber("KV_MONKEY_SEED", 20260316));
        const qint64 count = envNumber("KV_MONKEY_ACTIONS", 20000);
        Monkey monkey(start);
        monkey.setTrace(qEnvironmentVariableIntValue("KV_MONKEY_TRACE") != 0);

        qInfo("seed %llu, %lld actions", seed, count); // also where a crash cuts the run short
        QList<Action> actions;
        std::optional<Failure> failure;
        QElapsedTimer clock;
        clock.start();
        if (const QString replay = qEnvironmentVariable("KV_MONKEY_REPLAY"); !replay.isEmpty()) {
            QFile file(replay);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(replay));
            for (const QByteArray& line : file.readAll().split('\n'))
                if (std::optional<Action> a = Action::decode(QString::fromUtf8(line)))
                    actions << *a;
            failure = monkey.run(actions, nullptr, 0);
        } else {
            Rng rng(seed);
            failure = monkey.run(actions, &rng, count);
        }
        qInfo("seed %llu: %lld actions in %lld ms; %s", seed, qint64(actions.size()),
              clock.elapsed(), qPrintable(monkey.tally()));
        if (!failure) return;

        // Cut down, as long as the shorter list still fails the same way (within a time budget):
        // the actions after the failure go, then all but the last few hundreds or thousands
        // (what breaks mostly broke lately), then ever smaller runs of actions.
        actions.resize(failure->at);
        const QString key = failure->key;
        clock.restart();
        for (qsizetype last = 256; last < actions.size(); last *= 8) {
            QList<Action> tail = actions.last(last);
            if (const std::optional<Failure> f = monkey.run(tail, nullptr, 0); f && f->key == key) {
                actions = tail.first(f->at);
                break;
            }
        }
        for (qsizetype chunk = actions.size() / 2; chunk >= 1 && clock.elapsed() < 180000;
             chunk /= 2) {
            for (qsizetype i = 0; i + chunk <= actions.size() && clock.elapsed() < 180000;) {
                QList<Action> shorter = actions;
                shorter.remove(i, chunk);
                const std::optional<Failure> f = monkey.run(shorter, nullptr, 0);
                if (f && f->key == key)
                    actions = shorter.first(f->at);
                else
                    i += chunk;
            }
        }
        QStringList log;
        failure = monkey.run(actions, nullptr, 0, &log);
        QString report =
            fmt("seed %llu, %lld actions still fail: %s\n", seed, qint64(actions.size()),
                qUtf8Printable(failure ? failure->message : QStringLiteral("no more")));
        for (const Action& a : std::as_const(actions))
            report += QStringLiteral("  ") + a.encode() + QLatin1Char('\n');
        if (actions.isEmpty())
            report += QStringLiteral("  (none: opening the form and closing it)\n");
        report += QStringLiteral("as played:\n") +
                  log.mid(std::max<qsizetype>(0, log.size() - 400)).join(QLatin1Char('\n'));
        QFAIL(qPrintable(report));
    }
};

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
