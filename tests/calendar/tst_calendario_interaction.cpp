// The date road end to end: a field's calendar button opens the shared Calendario form modally,
// the form is driven from inside its modal loop (lists, mouse, keyboard) and the picked date
// comes back into the field; also the field's find button and its events. Clock fixed on Monday
// 16/03/2026 unless a test says otherwise.

#include "controls/calendar/Calendario.h"
#include "controls/field/txtCampo.h"
#include "host/automation/Server.h"
#include "host/forms/Form.h"
#include "host/regional/Regional.h"
#include "host/services/Services.h"
#include "host/widgets/CommandButton.h"
#include "host/widgets/TextBox.h"
#include "library/core/Kv_Module.h"
#include "library/module/TypeLibrary.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace host;
using Kv_CTRL::Calendario;
using Kv_CTRL::Kv_Module;
using Kv_CTRL::txtCampo;

namespace {

constexpr OleColor Azul = Calendario::CorAzul, Rosa = Calendario::CorFimDeSemana,
                   Amarelo = Calendario::CorAmarela;

Calendario& cal()
{
    return Calendario::instance();
}

Label* cell(short index)
{
    return cal().ui.lblDia->item(index);
}

// The cell showing day `day` of the month on screen, 0 when none does.
short cellOf(int day)
{
    for (short i = 1; i <= 42; ++i)
        if (cell(i)->get_Caption() == QString::number(day)) return i;
    return 0;
}

// Chooses month and year in the lists as the user would: each choice raises Click.
void show(int year, int month)
{
    cal().ui.cmbMes->put_ListIndex(short(month - 1));
    cal().ui.cmbAno->put_ListIndex(short(year - Calendario::PrimeiroAno));
}

void press(QWidget* w)
{
    QTest::mousePress(w, Qt::LeftButton, {}, w->rect().center());
    if (w->isVisible()) QTest::mouseRelease(w, Qt::LeftButton, {}, w->rect().center());
}

// A user's double-click: press, release, double-click, release (the last one only where the
// widget is still on screen: a confirm closes the form under it).
void doubleClick(QWidget* w)
{
    const QPoint at = w->rect().center();
    QTest::mousePress(w, Qt::LeftButton, {}, at);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    QTest::mouseRelease(w->isVisible() ? w : w->window(), Qt::LeftButton, {}, at);
}

// Where the keyboard goes in the calendar: the focused list, else the window.
QWidget* keyboard()
{
    QWidget* window = cal().widget();
    QWidget* focus = QApplication::focusWidget();
    return focus && focus->window() == window ? focus : window;
}

void key(Qt::Key k, Qt::KeyboardModifiers mods = {})
{
    QTest::keyClick(keyboard(), k, mods);
}

} // namespace

class TstCalendarioInteraction : public QObject {
    Q_OBJECT

    std::unique_ptr<ServicesScope> m_scope;
    std::unique_ptr<RegionalScope> m_regional;
    std::unique_ptr<Form> m_form;
    QStringList m_events;   // "txtData:Change"
    QStringList m_messages; // "style|title|prompt"
    QDate m_today;
    bool m_leftOpen = false; // the last action left the calendar open

    txtCampo* field(const QString& name, const QString& text = {})
    {
        auto* f = m_form->add<txtCampo>(name);
        f->put_ButtonDate(true);
        f->put_Text(text);
        f->move(10, 10 + 30 * int(m_form->controls().size() - 1));
        for (const auto& raised :
             {std::pair{&txtCampo::Change, "Change"}, std::pair{&txtCampo::DblClick, "DblClick"},
              std::pair{&txtCampo::cmdCalendario, "cmdCalendario"},
              std::pair{&txtCampo::cmdLocalizar, "cmdLocalizar"}}) {
            const QString entry = name + QLatin1Char(':') + QLatin1String(raised.second);
            connect(f, raised.first, this, [this, entry] { m_events << entry; });
        }
        return f;
    }
    static TextBox* box(txtCampo* f) { return f->findChild<TextBox*>(QStringLiteral("TextCampo")); }

    // Clicks the field's calendar button and runs `action` on the calendar from inside its modal
    // loop. Whatever the action leaves open is closed afterwards (m_leftOpen tells); a calendar
    // that never becomes the modal window fails the test instead of hanging it.
    void pick(txtCampo* f, const std::function<void()>& action,
              const std::function<void()>& open = {})
    {
        m_leftOpen = false;
        bool acted = false, timedOut = false;
        QTimer poll, watchdog;
        poll.setSingleShot(true);
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            // Act once the calendar is the active window, as a user's keys would reach it.
            if (!modal || modal != cal().widget() || !modal->isVisible() ||
                QApplication::activeWindow() != modal) {
                poll.start();
                return;
            }
            acted = true;
            action();
            if (cal().isLoaded()) {
                m_leftOpen = true;
                cal().unload();
            }
        });
        watchdog.setSingleShot(true);
        watchdog.setInterval(10000);
        connect(&watchdog, &QTimer::timeout, this, [&] {
            timedOut = true;
            poll.stop();
            cal().unload();
        });
        poll.start();
        watchdog.start();
        if (open)
            open();
        else
            QTest::mouseClick(f->findChild<CommandButton*>(QStringLiteral("cmdCalendario")),
                              Qt::LeftButton);
        poll.stop();
        watchdog.stop();
        QVERIFY2(!timedOut, "the calendar never became the modal window");
        QVERIFY2(acted, "the calendar was not shown modally");
        QVERIFY(!cal().isLoaded());
    }

    QStringList failures() const
    {
        QStringList found;
        for (const QString& m : m_messages)
            if (!m.contains(QLatin1String("|Load : "))) found << m;
        return found;
    }

private Q_SLOTS:
    void init()
    {
        m_scope = std::make_unique<ServicesScope>();
        m_regional = std::make_unique<RegionalScope>(Regional::ptBR());
        m_events.clear();
        m_messages.clear();
        m_today = QDate(2026, 3, 16);
        services().today = [this] { return m_today; };
        services().msgBox = [this](const QString& prompt, int style, const QString& title) {
            m_messages << QStringLiteral("%1|%2|%3").arg(style).arg(title, prompt);
            return 1;
        };
        services().reportError = [this](const RuntimeError& e) {
            m_messages << QStringLiteral("escaped %1 %2").arg(e.number()).arg(e.description());
        };
        // Each test starts from a calendar that never saw a selection or a typed number.
        cal().cDiaSel = cal().cDigitado = 0;
        Kv_Module::DataEscolhida() = Date();
        m_form = std::make_unique<Form>();
        m_form->load();
        m_form->widget()->resize(300, 140);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form->widget()));
    }
    void cleanup()
    {
        if (cal().isLoaded()) cal().unload();
        m_form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_regional.reset();
        m_scope.reset();
    }

    void opensOnTodaysMonthWhateverTheFieldHolds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("today");
        QTest::newRow("empty field") << QString() << QDate(2026, 3, 16);
        QTest::newRow("other date") << "25/12/1999" << QDate(2026, 3, 16);
        QTest::newRow("not a date") << "ABC" << QDate(2004, 2, 29);
        QTest::newRow("last year") << "01/01/2001" << QDate(2050, 12, 31);
    }
    void opensOnTodaysMonthWhateverTheFieldHolds()
    {
        QFETCH(QString, text);
        QFETCH(QDate, today);
        m_today = today;
        txtCampo* f = field(QStringLiteral("txtData"), text);
        m_events.clear();
        QWidget* window = nullptr;
        QRect screen;
        pick(f, [&] {
            window = cal().widget();
            screen = f->screen()->availableGeometry();
            QCOMPARE(window->windowTitle(), QStringLiteral("Caled\u00e1rio"));
            QVERIFY(!window->parent()); // no owner form
            QVERIFY(qAbs(window->geometry().center().x() - screen.center().x()) <= 1);
            QVERIFY(qAbs(window->geometry().center().y() - screen.center().y()) <= 1);
            QCOMPARE(cal().ui.cmbMes->get_ListCount(), short(12));
            QCOMPARE(cal().ui.cmbMes->get_Text(),
                     Calendario::nomesDosMeses().at(today.month() - 1));
            QCOMPARE(cal().ui.cmbAno->get_ListCount(), short(151));
            QCOMPARE(cal().ui.cmbAno->get_Text(), QString::number(today.year()));
            QCOMPARE(cal().cMes, short(today.month()));
            QCOMPARE(cal().cAno, float(today.year()));
            // Day 1 in its weekday's column, today marked.
            QCOMPARE(cellOf(1), short(today.addDays(1 - today.day()).dayOfWeek() % 7 + 1));
            QCOMPARE(cellOf(today.daysInMonth()), short(cellOf(1) + today.daysInMonth() - 1));
            QCOMPARE(cal().cDiaHoje, cellOf(today.day()));
            for (short i = 1; i <= 42; ++i)
                QCOMPARE(cell(i)->get_ToolTipText(),
                         QStringLiteral("Click-Duplo aqui para confirmar"));
            key(Qt::Key_Escape);
        });
        QCOMPARE(box(f)->get_Text(), text);
        QVERIFY(!m_leftOpen);
        QCOMPARE(m_events, QStringList{"txtData:cmdCalendario"});
        QVERIFY(m_messages.isEmpty());
    }

    void doubleClickPicksTheDay_data()
    {
        QTest::addColumn<bool>("enUS");
        QTest::newRow("pt-BR") << false;
        // The field checks day/month/year: the hand-over writes that order under any setting.
        QTest::newRow("en-US") << true;
    }
    void doubleClickPicksTheDay()
    {
        QFETCH(bool, enUS);
        if (enUS) {
            m_regional.reset(); // scopes restore in reverse order
            m_regional = std::make_unique<RegionalScope>(Regional::enUS());
            QCOMPARE(CStr(Variant(Date::fromQDate(QDate(2004, 3, 15)))),
                     QStringLiteral("3/15/2004"));
        }
        txtCampo* f = field(QStringLiteral("txtData"), QStringLiteral("01/01/2001"));
        f->put_TypeInput(Kv_CTRL::CharType::Date);
        f->put_Text(QStringLiteral("texto livre"));
        m_events.clear();
        pick(f, [&] {
            show(2004, 3);
            QCOMPARE(cellOf(15), short(16));
            doubleClick(cell(16));
            // Confirmed and closed by the double-click itself.
            QVERIFY(!cal().isLoaded());
        });
        QVERIFY(!m_leftOpen);
        QCOMPARE(box(f)->get_Text(), QStringLiteral("15/03/2004"));
        QCOMPARE(m_events, (QStringList{"txtData:Change", "txtData:cmdCalendario"}));
        QCOMPARE(Kv_Module::DataEscolhida().toQDate(), QDate(2004, 3, 15));
        QVERIFY(failures().isEmpty());
    }

    void closingWithoutPickLeavesTheText_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("Escape") << true;
        QTest::newRow("window closed") << false;
    }
    void closingWithoutPickLeavesTheText()
    {
        QFETCH(bool, byEscape);
        txtCampo* f = field(QStringLiteral("txtData"));
        pick(f, [&] { doubleClick(cell(cellOf(5))); });
        QCOMPARE(box(f)->get_Text(), QStringLiteral("05/03/2026"));
        box(f)->put_Text(QStringLiteral("outro"));
        m_events.clear();
        pick(f, [&] {
            press(cell(cellOf(20))); // selected, never confirmed
            if (byEscape)
                key(Qt::Key_Escape);
            else
                cal().widget()->close();
            QVERIFY(!cal().isLoaded());
        });
        QVERIFY(!m_leftOpen);
        QCOMPARE(box(f)->get_Text(), QStringLiteral("outro"));
        QCOMPARE(m_events, QStringList{"txtData:cmdCalendario"});
        QVERIFY(Kv_Module::DataEscolhida().isZero());
        QVERIFY(failures().isEmpty());
    }

    void twoFieldsDoNotShareAPick()
    {
        txtCampo* first = field(QStringLiteral("txtInicio"));
        txtCampo* second = field(QStringLiteral("txtFim"), QStringLiteral("31/12/2026"));
        pick(first, [&] { doubleClick(cell(cellOf(10))); });
        pick(second, [&] { key(Qt::Key_Escape); });
        QCOMPARE(box(first)->get_Text(), QStringLiteral("10/03/2026"));
        QCOMPARE(box(second)->get_Text(), QStringLiteral("31/12/2026"));
        QCOMPARE(m_events, (QStringList{"txtInicio:Change", "txtInicio:cmdCalendario",
                                        "txtFim:cmdCalendario"}));
    }

    void digitKeysSelectDays_data()
    {
        QTest::addColumn<int>("month");      // of 2026
        QTest::addColumn<QString>("digits"); // typed one after the other
        QTest::addColumn<bool>("ctrl");      // held while typing (no character)
        QTest::addColumn<int>("day");        // selected afterwards, 0 for none
        QTest::addColumn<int>("typed");      // cDigitado afterwards
        // December 2026 begins on a Tuesday: day 9 is cell 11, not cell 9.
        QTest::newRow("9") << 12 << "9" << false << 9 << 9;
        QTest::newRow("2 0 extends") << 12 << "20" << false << 20 << 20;
        QTest::newRow("3 1") << 12 << "31" << false << 31 << 31;
        QTest::newRow("3 5 starts anew") << 12 << "35" << false << 5 << 5;
        QTest::newRow("3 1 1 starts anew") << 12 << "311" << false << 1 << 1;
        QTest::newRow("0 then 5") << 12 << "05" << false << 5 << 5;
        QTest::newRow("0 names no day") << 12 << "0" << false << 0 << 0;
        // February 2026 has 28 days: 30 is no day, and 0 alone selects nothing.
        QTest::newRow("past the month") << 2 << "30" << false << 0 << 0;
        QTest::newRow("ctrl types nothing") << 12 << "9" << true << 0 << 0;
    }
    void digitKeysSelectDays()
    {
        QFETCH(int, month);
        QFETCH(QString, digits);
        QFETCH(bool, ctrl);
        QFETCH(int, day);
        QFETCH(int, typed);
        txtCampo* f = field(QStringLiteral("txtData"));
        pick(f, [&] {
            show(2026, month);
            for (const QChar d : digits)
                key(Qt::Key(Qt::Key_0 + d.digitValue()),
                    ctrl ? Qt::ControlModifier : Qt::NoModifier);
            QCOMPARE(cal().cDigitado, short(typed));
            for (short i = 1; i <= 42; ++i)
                QCOMPARE(cell(i)->get_BackColor() == Azul, day > 0 && i == cellOf(day));
            // The keys did nothing to the lists.
            QCOMPARE(cal().ui.cmbMes->get_ListIndex(), short(month - 1));
            QCOMPARE(cal().ui.cmbAno->get_Text(), QStringLiteral("2026"));
            key(Qt::Key_Return);
            QCOMPARE(cal().isLoaded(), day == 0);
        });
        QCOMPARE(box(f)->get_Text(),
                 day ? QDate(2026, month, day).toString(QStringLiteral("dd/MM/yyyy")) : QString());
        QVERIFY(failures().isEmpty());
    }

    void keysMoveTheSelectedDay_data()
    {
        QTest::addColumn<QString>("keys"); // l r u d: arrows, p n: Page Up / Down, digits
        QTest::addColumn<QDate>("picked"); // by Enter at the end
        // Today is Monday 16/03/2026: an arrow with nothing selected starts there.
        QTest::newRow("arrow starts at today") << "l" << QDate(2026, 3, 16);
        QTest::newRow("left") << "10l" << QDate(2026, 3, 9);
        QTest::newRow("right") << "10r" << QDate(2026, 3, 11);
        QTest::newRow("up a week") << "10u" << QDate(2026, 3, 3);
        QTest::newRow("down a week") << "10d" << QDate(2026, 3, 17);
        QTest::newRow("into the next month") << "31r" << QDate(2026, 4, 1);
        QTest::newRow("into the previous month") << "2u" << QDate(2026, 2, 23);
        QTest::newRow("page down") << "31n" << QDate(2026, 4, 30);
        QTest::newRow("page up") << "15pp" << QDate(2026, 1, 15);
    }
    void keysMoveTheSelectedDay()
    {
        QFETCH(QString, keys);
        txtCampo* f = field(QStringLiteral("txtData"));
        pick(f, [&] {
            for (const QChar k : keys) {
                static const QHash<QChar, Qt::Key> named{
                    {u'l', Qt::Key_Left}, {u'r', Qt::Key_Right},  {u'u', Qt::Key_Up},
                    {u'd', Qt::Key_Down}, {u'p', Qt::Key_PageUp}, {u'n', Qt::Key_PageDown}};
                key(named.value(k, Qt::Key(k.unicode())));
            }
            key(Qt::Key_Return);
        });
        QFETCH(QDate, picked);
        QCOMPARE(box(f)->get_Text(), picked.toString(QStringLiteral("dd/MM/yyyy")));
    }

    void keysOpenTheCalendar_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("F4") << int(Qt::Key_F4) << int(Qt::NoModifier);
        QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier);
    }
    void keysOpenTheCalendar()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        txtCampo* f = field(QStringLiteral("txtData"));
        pick(
            f, [&] { QTest::keyClick(keyboard(), Qt::Key_9); },
            [&] { QTest::keyClick(box(f), Qt::Key(key), Qt::KeyboardModifiers(modifiers)); });
        QVERIFY(m_leftOpen);
        QCOMPARE(m_events, QStringList{"txtData:cmdCalendario"});
    }

    void tabReachesBothLists()
    {
        txtCampo* f = field(QStringLiteral("txtData"));
        pick(f, [&] {
            cal().ui.cmbMes->SetFocus();
            key(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(cal().ui.cmbAno));
            key(Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(cal().ui.cmbMes));
        });
    }

    void secondClickOfTheButtonPicksNothing()
    {
        // The first click of a double-click on "..." opened the calendar; the second lands on a
        // day: its press and the double-click reach the cell, the first release never did.
        txtCampo* f = field(QStringLiteral("txtData"), QStringLiteral("antes"));
        pick(f, [&] {
            QWidget* day = cell(cellOf(20));
            QTest::mousePress(day, Qt::LeftButton, {}, day->rect().center());
            QTest::mouseDClick(day, Qt::LeftButton, {}, day->rect().center());
            QTest::mouseRelease(day, Qt::LeftButton, {}, day->rect().center());
            QVERIFY(cal().isLoaded());
            QCOMPARE(cell(cellOf(20))->get_BackColor(), Azul);
            doubleClick(day); // a double-click made in the calendar picks
        });
        QCOMPARE(box(f)->get_Text(), QStringLiteral("20/03/2026"));
    }

    void monthChangeRestoresTheSelectedCellsText()
    {
        txtCampo* f = field(QStringLiteral("txtData"));
        pick(f, [&] {
            press(cell(20)); // Friday 20 March 2026
            QCOMPARE(cell(20)->get_ForeColor(), OleColor(SystemColor::HighlightText));
            show(2026, 4); // Friday 17 April sits in that cell
            QCOMPARE(cell(20)->get_Caption(), QStringLiteral("17"));
            QCOMPARE(cell(20)->get_BackColor(), OleColor(SystemColor::ButtonFace));
            QCOMPARE(cell(20)->get_ForeColor(), OleColor(SystemColor::ButtonText));
        });
    }

    void digitsNeverMoveTheLists_data()
    {
        QTest::addColumn<QString>("list");
        QTest::newRow("month list") << "cmbMes";
        QTest::newRow("year list") << "cmbAno";
    }
    void digitsNeverMoveTheLists()
    {
        QFETCH(QString, list);
        txtCampo* f = field(QStringLiteral("txtData"));
        pick(f, [&] {
            ComboBox* focused = list == QLatin1String("cmbMes") ? cal().ui.cmbMes : cal().ui.cmbAno;
            focused->SetFocus();
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(focused));
            // "2" and "1" would pick 2000 and 1900 by their first character; Down moves the
            // selected day, not the list.
            for (Qt::Key k : {Qt::Key_2, Qt::Key_1, Qt::Key_Down, Qt::Key_End})
                QTest::keyClick(focused, k);
            QCOMPARE(cal().ui.cmbMes->get_ListIndex(), short(2));
            QCOMPARE(cal().ui.cmbAno->get_Text(), QStringLiteral("2026"));
            QCOMPARE(cellOf(1), short(1)); // still March 2026
            QCOMPARE(cal().cDiaSel, short(28));
            QCOMPARE(cell(28)->get_BackColor(), Azul);
        });
        QVERIFY(failures().isEmpty());
    }

    void enterConfirmsOnlyTheCellSelectedOnScreen_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QDate>("picked"); // null: nothing confirmed, the form stays open
        // m: mouse press on the cell showing 20; k: day 9 typed in December 2026 (cell 11);
        // n: next month in the list; e: Enter.
        QTest::newRow("mouse then Enter") << "me" << QDate(2026, 3, 20);
        QTest::newRow("digit then Enter") << "3e" << QDate(2026, 3, 3);
        QTest::newRow("nothing selected") << "e" << QDate();
        QTest::newRow("second press cleared it") << "mme" << QDate();
        QTest::newRow("lost in a month change") << "mne" << QDate();
        QTest::newRow("typed day") << "ke" << QDate(2026, 12, 9);
    }
    void enterConfirmsOnlyTheCellSelectedOnScreen()
    {
        QFETCH(QString, steps);
        QFETCH(QDate, picked);
        txtCampo* f = field(QStringLiteral("txtData"));
        pick(f, [&] {
            for (const QChar s : steps) {
                switch (s.toLatin1()) {
                case 'm':
                    press(cell(cellOf(20)));
                    break;
                case 'n':
                    cal().ui.cmbMes->put_ListIndex(short(cal().ui.cmbMes->get_ListIndex() + 1));
                    break;
                case 'k':
                    show(2026, 12);
                    key(Qt::Key_9);
                    QCOMPARE(cell(11)->get_BackColor(), Azul);
                    break;
                case 'e':
                    key(Qt::Key_Return);
                    break;
                default:
                    key(Qt::Key(s.unicode()));
                }
            }
            QCOMPARE(cal().isLoaded(), picked.isNull());
        });
        QCOMPARE(m_leftOpen, picked.isNull());
        QCOMPARE(box(f)->get_Text(), picked.isNull() ? QString() : picked.toString("dd/MM/yyyy"));
        const Date handed = Kv_Module::DataEscolhida();
        QCOMPARE(handed.isZero() ? QDate() : handed.toQDate(), picked);
        QVERIFY(failures().isEmpty());
    }

    void enterNeverConfirmsASelectionFromAnEarlierOpening()
    {
        txtCampo* f = field(QStringLiteral("txtData"));
        pick(f, [&] {
            press(cell(cellOf(20)));
            key(Qt::Key_Escape);
        });
        QCOMPARE(cal().cDiaSel, short(20));
        pick(f, [&] { key(Qt::Key_Return); });
        QVERIFY(m_leftOpen);
        QVERIFY(box(f)->get_Text().isEmpty());
    }

    void year1900KeepsTheMonthOnScreen()
    {
        txtCampo* f = field(QStringLiteral("txtData"));
        pick(f, [&] {
            show(2010, 4);
            const short day20 = cellOf(20);
            QCOMPARE(day20, short(24));
            cal().ui.cmbAno->put_ListIndex(0);
            QCOMPARE(cal().ui.cmbAno->get_Text(), QStringLiteral("1900"));
            QCOMPARE(cellOf(1), short(5)); // April 2010 still laid out
            doubleClick(cell(day20));
        });
        QVERIFY(!m_leftOpen);
        QCOMPARE(box(f)->get_Text(), QStringLiteral("20/04/2010"));
    }

    void reopeningStartsAtTodayAndRepaintsRememberedCells()
    {
        txtCampo* f = field(QStringLiteral("txtData"));
        // July 2011: the 9th is a Saturday in cell 14.
        pick(f, [&] {
            show(2011, 7);
            press(cell(14));
            QCOMPARE(cell(14)->get_BackColor(), Azul);
            key(Qt::Key_Escape);
        });
        QCOMPARE(cal().cDiaSel, short(14));
        pick(f, [&] {
            QCOMPARE(cal().ui.cmbMes->get_ListIndex(), short(2));
            QCOMPARE(cal().ui.cmbAno->get_Text(), QStringLiteral("2026"));
            // Saturday 14 March, in the same cell, is laid out as a weekend day.
            QCOMPARE(cellOf(14), short(14));
            QCOMPARE(cell(14)->get_BackColor(), Rosa);
            QCOMPARE(cell(14)->get_ForeColor(), Amarelo);
            QCOMPARE(cal().cDiaSel, short(14));
            press(cell(cellOf(18)));
            // The remembered selection is cleared before the new one is marked.
            QCOMPARE(cell(14)->get_BackColor(), SystemColor::ButtonFace);
            QCOMPARE(cell(14)->get_ForeColor(), SystemColor::ButtonText);
            QCOMPARE(cell(cal().cDiaHoje)->get_BackColor(), Amarelo);
            QCOMPARE(cell(cellOf(18))->get_BackColor(), Azul);
        });
        QVERIFY(m_leftOpen);
    }

    void loadErrorReportsAndStillOpens()
    {
        m_today = QDate(2061, 5, 10);
        txtCampo* f = field(QStringLiteral("txtData"), QStringLiteral("antes"));
        pick(f, [&] {
            QCOMPARE(m_messages,
                     QStringList{QStringLiteral("0|%1|Load : 380 Invalid property value\n"
                                                "cmbMes : 4  cmbAno -1")
                                     .arg(QCoreApplication::applicationName())});
            QCOMPARE(cal().ui.cmbMes->get_ListIndex(), short(4));
            QCOMPARE(cal().ui.cmbAno->get_ListIndex(), short(-1));
            // The later steps ran: tool tips given, the designed grid left alone.
            QCOMPARE(cell(1)->get_ToolTipText(), QStringLiteral("Click-Duplo aqui para confirmar"));
            QCOMPARE(cell(1)->get_Caption(), QStringLiteral("00"));
            // "00" is no day: neither the mouse nor Enter confirms it.
            doubleClick(cell(1));
            key(Qt::Key_2); // no day on the designed grid
            QVERIFY(cell(2)->get_BackColor() != Azul);
            key(Qt::Key_Return);
            QVERIFY(cal().isLoaded());
            // Choosing a year lays the month out; then a day can be picked.
            cal().ui.cmbAno->put_ListIndex(short(2050 - 1900));
            doubleClick(cell(cellOf(7)));
        });
        QVERIFY(!m_leftOpen);
        QCOMPARE(box(f)->get_Text(), QStringLiteral("07/05/2050"));
        QCOMPARE(m_messages.size(), 1);
    }

    void fieldGoneWhileTheCalendarIsOpen()
    {
        QPointer<txtCampo> f = field(QStringLiteral("txtData"));
        pick(f, [&] {
            m_form->unload(); // the field's form closes under the open calendar
            doubleClick(cell(cellOf(10)));
        });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!f);
        QCOMPARE(Kv_Module::DataEscolhida().toQDate(), QDate(2026, 3, 10));
        QCOMPARE(m_events, QStringList()); // nothing raised by a field that is gone
        QVERIFY(m_messages.isEmpty());
    }

    void sharedFormCountsWhileLoaded()
    {
        const int before = liveModuleObjects(Kv_CTRL::typeLibrary());
        txtCampo* f = field(QStringLiteral("txtData"));
        int during = 0;
        pick(f, [&] {
            during = liveModuleObjects(Kv_CTRL::typeLibrary());
            key(Qt::Key_Escape);
        });
        QCOMPARE(during, before + 1);
        QTRY_COMPARE(liveModuleObjects(Kv_CTRL::typeLibrary()), before);
    }

    void findButtonOnlyTellsTheHost()
    {
        txtCampo* f = field(QStringLiteral("txtBusca"), QStringLiteral("CLIENTE"));
        f->put_ButtonFind(true);
        m_events.clear();
        auto* find = f->findChild<CommandButton*>(QStringLiteral("cmdLocalizar"));
        QVERIFY(find->isVisible());
        Kv_Module::DataEscolhida() = Date::fromQDate(QDate(2020, 1, 1));
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(find, Qt::LeftButton);
        QCOMPARE(m_events, QStringList(3, QStringLiteral("txtBusca:cmdLocalizar")));
        QCOMPARE(box(f)->get_Text(), QStringLiteral("CLIENTE"));
        QVERIFY(!cal().isLoaded());
        QCOMPARE(Kv_Module::DataEscolhida().toQDate(), QDate(2020, 1, 1));
        QVERIFY(m_messages.isEmpty());
    }

    void doubleClickOnTheTextRaisesNoDblClick()
    {
        txtCampo* f = field(QStringLiteral("txtData"), QStringLiteral("15/03/2026"));
        m_events.clear();
        doubleClick(box(f));
        QCOMPARE(m_events, QStringList());
        QVERIFY(!cal().isLoaded());
    }

    void pictureOfTheOpenCalendar()
    {
        txtCampo* f = field(QStringLiteral("txtNascimento"), QStringLiteral("10/03/2026"));
        f->put_TypeInput(Kv_CTRL::CharType::Date);
        f->put_Text(QStringLiteral("10/03/2026"));
        QImage shot;
        pick(f, [&] {
            press(cell(cellOf(20)));
            QVERIFY(QTest::qWaitForWindowExposed(cal().widget()));
            const QImage left = m_form->widget()->grab().toImage();
            const QImage right = cal().widget()->grab().toImage();
            shot = QImage(left.width() + 20 + right.width(), qMax(left.height(), right.height()),
                          QImage::Format_RGB32);
            shot.fill(Qt::white);
            QPainter p(&shot);
            p.drawImage(0, 0, left);
            p.drawImage(left.width() + 20, 0, right);
            key(Qt::Key_Escape);
        });
        QVERIFY(!shot.isNull());
        QVERIFY(shot.save(QStringLiteral("calendario-aberto.png")));
        const int calX = m_form->widget()->width() + 20;
        const auto rgb = [&](int x, int y) { return shot.pixel(x, y) & 0xFFFFFFu; };
        // The field's "..." button at its right end, its dots drawn.
        auto* button = f->findChild<CommandButton*>(QStringLiteral("cmdCalendario"));
        QVERIFY(button->isVisible());
        const QRect inField(f->mapTo(m_form->widget(), QPoint(0, 0)), f->size());
        const QRect onButton(button->mapTo(m_form->widget(), QPoint(0, 0)), button->size());
        QVERIFY(inField.contains(onButton));
        QVERIFY(onButton.right() >= inField.right() - 3);
        int dots = 0;
        const QRect face = onButton.adjusted(3, 3, -3, -3); // inside the button's border
        for (int y = face.top(); y <= face.bottom(); ++y)
            for (int x = face.left(); x <= face.right(); ++x)
                dots += qGray(shot.pixel(x, y)) < 80;
        QVERIFY(dots > 0);
        // Calendar: blue header, yellow marker on Monday the 16th, blue selection on the 20th.
        const auto inCell = [&](short i) {
            return QPoint(calX + (60 + 405 * ((i - 1) % 7) + 30) / 15,
                          (1110 + 360 * ((i - 1) / 7) + 30) / 15);
        };
        QCOMPARE(rgb(calX + (60 + 30) / 15, (720 + 30) / 15), 0x0000FFu);
        QCOMPARE(rgb(inCell(16).x(), inCell(16).y()), 0xFFFF00u);
        QCOMPARE(rgb(inCell(20).x(), inCell(20).y()), 0x0000FFu);
        QCOMPARE(rgb(inCell(21).x(), inCell(21).y()), 0xFF8080u); // Saturday the 21st
    }
};

QTEST_MAIN(TstCalendarioInteraction)
#include "tst_calendario_interaction.moc"
