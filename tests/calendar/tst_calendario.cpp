// The calendar's month grid: the designed widgets, the refresh of a month with its colours and
// marker, the selection mark, members kept across unloading, the refresh's error reports, and a
// picture of March 2026 checked pixel by pixel.

#include "controls/calendar/Calendario.h"
#include "host/services/Shared.h"
#include "host/regional/Regional.h"
#include "host/services/Services.h"
#include "host/value/RuntimeError.h"

#include <QSignalBlocker>
#include <QtTest>

using namespace host;
using Kv_CTRL::Calendario;

namespace {

constexpr OleColor Rosa = Calendario::CorFimDeSemana, Amarelo = Calendario::CorAmarela,
                   Verde = Calendario::CorVerde, Azul = Calendario::CorAzul;
constexpr OleColor Face = SystemColor::ButtonFace, TextoBotao = SystemColor::ButtonText;

// Selects without raising Click, so that each test decides when the grid is refreshed.
void selecionar(ComboBox* list, int index)
{
    const QSignalBlocker block(list);
    list->put_ListIndex(short(index));
}

// Loads the form and fills its lists where loading left them empty.
void abrir(Calendario& form)
{
    form.load();
    if (form.ui.cmbMes->get_ListCount() == 0)
        for (const QString& month : Calendario::nomesDosMeses())
            form.ui.cmbMes->AddItem(month);
    if (form.ui.cmbAno->get_ListCount() == 0)
        for (const QString& year : Calendario::anosDaLista())
            form.ui.cmbAno->AddItem(year);
}

void mostrar(Calendario& form, int year, int month)
{
    selecionar(form.ui.cmbMes, month - 1);
    selecionar(form.ui.cmbAno, year - Calendario::PrimeiroAno);
    form.Atualiza();
}

Label* cell(Calendario& form, short index)
{
    return form.ui.lblDia->item(index);
}

// Everything a refresh may touch, cell by cell.
QStringList estado(Calendario& form)
{
    QStringList cells;
    for (short i = 1; i <= 42; ++i) {
        Label* c = cell(form, i);
        cells << QStringLiteral("%1|%2|%3|%4")
                     .arg(c->get_Caption())
                     .arg(c->get_BackColor(), 0, 16)
                     .arg(c->get_ForeColor(), 0, 16)
                     .arg(c->get_Enabled());
    }
    return cells;
}

} // namespace

class TstCalendario : public QObject {
    Q_OBJECT

    std::unique_ptr<ServicesScope> m_scope;
    QStringList m_messages; // "style|title|prompt"
    QDate m_today;

    void hoje(int y, int m, int d) { m_today = QDate(y, m, d); }
    // What the grid reported (loading with today's year outside the list reports on its own).
    QStringList falhas() const
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
        m_messages.clear();
        // A year the lists do not hold: loading leaves the grid as designed.
        m_today = QDate(2060, 1, 31);
        services().today = [this] { return m_today; };
        services().msgBox = [this](const QString& prompt, int style, const QString& title) {
            m_messages << QStringLiteral("%1|%2|%3").arg(style).arg(title, prompt);
            return 1;
        };
        services().reportError = [this](const RuntimeError& e) {
            m_messages << QStringLiteral("escaped %1").arg(e.number());
        };
    }
    void cleanup() { m_scope.reset(); }

    void designedWidgets()
    {
        Calendario form;
        abrir(form);
        QCOMPARE(form.get_Caption(), QStringLiteral("Caled\u00e1rio"));
        QCOMPARE(form.get_Width(), 2940.f);
        QCOMPARE(form.get_Height(), 3300.f);
        QVERIFY(form.get_KeyPreview());
        QCOMPARE(form.widget()->size(), QSize(196, 220));
        const auto at = [](const Intrinsic* w) {
            return QRectF(w->get_Left(), w->get_Top(), w->get_Width(), w->get_Height());
        };
        QCOMPARE(at(form.ui.cmbMes), QRectF(30, 285, 1905, 315));
        QCOMPARE(at(form.ui.cmbAno), QRectF(1950, 285, 915, 315));
        QCOMPARE(form.tabIndexOf(form.ui.cmbMes), short(0));
        QCOMPARE(form.tabIndexOf(form.ui.cmbAno), short(1));
        QCOMPARE(form.ui.Label1->get_Caption(), QStringLiteral("M\u00eas"));
        QCOMPARE(QPointF(form.ui.Label1->get_Left(), form.ui.Label1->get_Top()), QPointF(45, 60));
        QCOMPARE(form.ui.Label2->get_Caption(), QStringLiteral("Ano"));
        QCOMPARE(QPointF(form.ui.Label2->get_Left(), form.ui.Label2->get_Top()), QPointF(1950, 75));
        const std::initializer_list<const Intrinsic*> boldFace = {
            form.ui.cmbMes.data(), form.ui.cmbAno.data(), form.ui.Label1.data(),
            form.ui.Label2.data()};
        for (const Intrinsic* w : boldFace) {
            QCOMPARE(w->get_Font()->get_Name(), QStringLiteral("MS Sans Serif"));
            QCOMPARE(w->get_Font()->get_Size(), 8.25);
            QVERIFY(w->get_Font()->get_Bold());
        }
        QCOMPARE(Calendario::nomesDosMeses().value(2), QStringLiteral("Mar\u00e7o"));
        QCOMPARE(form.ui.cmbAno->get_ListCount(), short(151));
        QCOMPARE(form.ui.cmbAno->get_List(126), QStringLiteral("2026"));

        // Day cells: row by row from the top left, as designed until a month is shown.
        QCOMPARE(form.ui.lblDia->LBound(), short(1));
        QCOMPARE(form.ui.lblDia->UBound(), short(42));
        for (short i = 1; i <= 42; ++i) {
            Label* c = cell(form, i);
            const int row = (i - 1) / 7, col = (i - 1) % 7;
            QCOMPARE(c->objectName(), QStringLiteral("lblDia(%1)").arg(i));
            QCOMPARE(at(c), QRectF(60 + 405 * col, 1110 + 360 * row, 390, 330));
            QCOMPARE(c->get_Caption(), QStringLiteral("00"));
            QCOMPARE(c->get_BackColor(), SystemColor::WindowBackground);
            QCOMPARE(c->get_ForeColor(), SystemColor::WindowText);
            QCOMPARE(c->get_Alignment(), short(2));
            QCOMPARE(c->get_Font()->get_Size(), 12.0);
            QVERIFY(c->get_Font()->get_Bold());
        }
    }

    void weekdayHeaders_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("Dom") << 0 << 0 << "Dom"
                             << "Domingo";
        QTest::newRow("Seg") << 2 << 1 << "Seg"
                             << "Segunda-Feira";
        QTest::newRow("Ter") << 3 << 2 << "Ter"
                             << "Ter\u00e7a-Feira";
        QTest::newRow("Qua") << 4 << 3 << "Qua"
                             << "Quarta-Feira";
        QTest::newRow("Qui") << 5 << 4 << "Qui"
                             << "Quinta-Feira";
        QTest::newRow("Sex") << 6 << 5 << "Sex"
                             << "Sexta-Feira";
        QTest::newRow("Sab") << 1 << 6 << "Sab"
                             << "S\u00e1bado";
    }
    void weekdayHeaders()
    {
        QFETCH(int, index);
        QFETCH(int, column);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        Calendario form;
        form.load();
        Label* h = form.ui.lblNomeDia->item(short(index));
        QCOMPARE(h->objectName(), QStringLiteral("lblNomeDia(%1)").arg(index));
        QCOMPARE(h->get_Caption(), caption);
        QCOMPARE(h->get_ToolTipText(), toolTip);
        QCOMPARE(h->get_Left(), float(60 + 405 * column));
        QCOMPARE(QRectF(0, h->get_Top(), h->get_Width(), h->get_Height()),
                 QRectF(0, 720, 390, 330));
        QCOMPARE(h->get_BackColor(), Azul);
        QCOMPARE(h->get_ForeColor(), Amarelo);
        QCOMPARE(h->get_Alignment(), short(2));
        QCOMPARE(h->get_Font()->get_Name(), QStringLiteral("Times New Roman"));
        QCOMPARE(h->get_Font()->get_Size(), 8.25);
        QVERIFY(h->get_Font()->get_Bold());
    }

    void monthLayout_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("first"); // the cell showing "1"
        QTest::addColumn<int>("days");
        QTest::newRow("begins on Sunday") << 2026 << 3 << 1 << 31;
        QTest::newRow("31 days from Saturday") << 2026 << 8 << 7 << 31;
        QTest::newRow("Feb 2000") << 2000 << 2 << 3 << 29;
        QTest::newRow("Feb 2004") << 2004 << 2 << 1 << 29;
        QTest::newRow("Feb 1901") << 1901 << 2 << 6 << 28;
        QTest::newRow("Feb 2001") << 2001 << 2 << 5 << 28;
        QTest::newRow("Jan 1901") << 1901 << 1 << 3 << 31;
        QTest::newRow("Dec 2050") << 2050 << 12 << 5 << 31;
        QTest::newRow("Jun 2025") << 2025 << 6 << 1 << 30;
    }
    void monthLayout()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, first);
        QFETCH(int, days);
        Calendario form;
        abrir(form);
        mostrar(form, year, month);
        for (short i = 1; i <= 42; ++i) {
            const int day = i - first + 1;
            const bool holds = day >= 1 && day <= days;
            QCOMPARE(cell(form, i)->get_Caption(), holds ? QString::number(day) : QString());
            QCOMPARE(cell(form, i)->get_Enabled(), holds);
            if (!holds) QCOMPARE(cell(form, i)->get_BackColor(), Face);
        }
        QCOMPARE(form.cMes, short(month));
        QCOMPARE(form.cAno, float(year));
        QVERIFY(falhas().isEmpty());
    }

    void gridFollowsTheGregorianCalendar()
    {
        Calendario form;
        abrir(form);
        for (int year = 1901; year <= 2050; ++year)
            for (int month = 1; month <= 12; ++month) {
                mostrar(form, year, month);
                const QDate d(year, month, 1);
                const short first = short(d.dayOfWeek() % 7 + 1),
                            last = first + d.daysInMonth() - 1;
                const QString where = QStringLiteral("%1/%2").arg(month).arg(year);
                QVERIFY2(cell(form, first)->get_Caption() == QStringLiteral("1"),
                         qPrintable(where));
                QVERIFY2(first == 1 || cell(form, first - 1)->get_Caption().isEmpty(),
                         qPrintable(where));
                QVERIFY2(cell(form, last)->get_Caption() == QString::number(d.daysInMonth()),
                         qPrintable(where));
                QVERIFY2(cell(form, last + 1)->get_Caption().isEmpty(), qPrintable(where));
            }
    }

    void year1900LeavesTheGridAlone()
    {
        hoje(2026, 3, 16);
        Calendario form;
        abrir(form);
        mostrar(form, 2026, 3);
        const QStringList before = estado(form);
        selecionar(form.ui.cmbAno, 0);
        form.Atualiza();
        selecionar(form.ui.cmbMes, 6);
        form.Atualiza();
        QCOMPARE(estado(form), before);
        QCOMPARE(form.cMes, short(3));
        QCOMPARE(form.cAno, 2026.f);
        selecionar(form.ui.cmbAno, 126);
        selecionar(form.ui.cmbMes, -1);
        form.Atualiza();
        QCOMPARE(estado(form), before);
    }

    void looks_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("index");
        QTest::addColumn<quint32>("back");
        QTest::addColumn<quint32>("fore");
        QTest::addColumn<int>("marker"); // cDiaHoje afterwards
        const QDate monday(2026, 3, 16);
        QTest::newRow("Sunday") << monday << 2026 << 3 << 1 << Rosa << Amarelo << 16;
        QTest::newRow("Saturday") << monday << 2026 << 3 << 7 << Rosa << Amarelo << 16;
        QTest::newRow("weekday") << monday << 2026 << 3 << 2 << Face << SystemColor::WindowText
                                 << 16;
        QTest::newRow("marker on Monday")
            << monday << 2026 << 3 << 16 << Amarelo << SystemColor::WindowText << 16;
        QTest::newRow("marker on Sunday")
            << QDate(2026, 3, 15) << 2026 << 3 << 15 << Verde << TextoBotao << 15;
        QTest::newRow("marker on Saturday")
            << QDate(2026, 3, 28) << 2026 << 3 << 28 << Verde << TextoBotao << 28;
        // Only the day number is compared: 16 February 2025, a Sunday, carries the marker.
        QTest::newRow("other month") << monday << 2025 << 2 << 22 << Verde << TextoBotao << 22;
    }
    void looks()
    {
        QFETCH(QDate, today);
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, index);
        QFETCH(quint32, back);
        QFETCH(quint32, fore);
        QFETCH(int, marker);
        m_today = today;
        Calendario form;
        abrir(form);
        mostrar(form, year, month);
        QCOMPARE(cell(form, short(index))->get_BackColor(), back);
        QCOMPARE(cell(form, short(index))->get_ForeColor(), fore);
        QCOMPARE(form.cDiaHoje, short(marker));
    }

    void markerKeptWhenTodayIsMissing_data()
    {
        QTest::addColumn<int>("month"); // a 30-day month of 2026 or 2025
        QTest::addColumn<int>("year");
        QTest::addColumn<quint32>("cellBefore"); // cell 35 once that month is shown
        QTest::addColumn<quint32>("back");       // and after the next selection change
        QTest::addColumn<quint32>("fore");
        QTest::newRow("blank cell") << 4 << 2026 << Face << Amarelo << TextoBotao;
        QTest::newRow("weekend day") << 11 << 2025 << Rosa << Verde << TextoBotao;
    }
    void markerKeptWhenTodayIsMissing()
    {
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(quint32, cellBefore);
        QFETCH(quint32, back);
        QFETCH(quint32, fore);
        hoje(2026, 1, 31);
        Calendario form;
        abrir(form);
        mostrar(form, 2026, 1); // the 31st, a Saturday, in cell 35
        QCOMPARE(form.cDiaHoje, short(35));
        QCOMPARE(cell(form, 35)->get_BackColor(), Verde);
        form.SelecionaDia(10);
        mostrar(form, year, month);
        QCOMPARE(form.cDiaHoje, short(35));
        QCOMPARE(cell(form, 35)->get_BackColor(), cellBefore);
        form.SelecionaDia(12);
        QCOMPARE(cell(form, 35)->get_BackColor(), back);
        QCOMPARE(cell(form, 35)->get_ForeColor(), fore);
        QCOMPARE(cell(form, 10)->get_BackColor(), Face);
        QCOMPARE(cell(form, 12)->get_BackColor(), Azul);
        mostrar(form, 2026, 3); // a month with the 31st moves the marker
        QCOMPARE(form.cDiaHoje, short(31));
    }

    void selection()
    {
        hoje(2026, 3, 16);
        Calendario form;
        abrir(form);
        mostrar(form, 2026, 3);
        form.SelecionaDia(10);
        QCOMPARE(cell(form, 10)->get_BackColor(), Azul);
        QCOMPARE(cell(form, 10)->get_ForeColor(), SystemColor::HighlightText);
        form.SelecionaDia(12);
        QCOMPARE(cell(form, 10)->get_BackColor(), Face);
        QCOMPARE(cell(form, 10)->get_ForeColor(), TextoBotao);
        QCOMPARE(cell(form, 12)->get_BackColor(), Azul);
        QCOMPARE(form.cDiaSel, short(12));
        for (int press = 0; press < 2; ++press) { // pressing the selected cell clears its look
            form.SelecionaDia(12);
            QCOMPARE(cell(form, 12)->get_BackColor(), Face);
            QCOMPARE(cell(form, 12)->get_ForeColor(), TextoBotao);
            QCOMPARE(form.cDiaSel, short(12));
        }
        QCOMPARE(cell(form, 16)->get_BackColor(), Amarelo);
        form.SelecionaDia(16); // the marker selected, then left: yellow again
        QCOMPARE(cell(form, 16)->get_BackColor(), Azul);
        form.SelecionaDia(17);
        QCOMPARE(cell(form, 16)->get_BackColor(), Amarelo);
        QCOMPARE(cell(form, 17)->get_BackColor(), Azul);
        // A refresh drops the look but keeps the index.
        mostrar(form, 2026, 4);
        QCOMPARE(cell(form, 17)->get_BackColor(), Face);
        QCOMPARE(form.cDiaSel, short(17));
    }

    void weekendMarkerTurnsYellowOnceSelected()
    {
        hoje(2026, 3, 15);
        Calendario form;
        abrir(form);
        mostrar(form, 2026, 3);
        form.SelecionaDia(15);
        form.SelecionaDia(20);
        QCOMPARE(cell(form, 15)->get_BackColor(), Amarelo);
        QCOMPARE(cell(form, 15)->get_ForeColor(), TextoBotao);
    }

    void selectionWithoutMarkerOrCell()
    {
        Calendario form;
        abrir(form); // today's year is not in the list: no refresh, no marker
        QCOMPARE(form.cDiaHoje, short(0));
        form.SelecionaDia(5);
        form.SelecionaDia(6);
        QCOMPARE(cell(form, 5)->get_BackColor(), Face);
        QCOMPARE(cell(form, 6)->get_BackColor(), Azul);
        for (short outside : {short(0), short(43), short(-2), short(32767)}) {
            form.SelecionaDia(outside);
            QCOMPARE(form.cDiaSel, outside);
        }
        QCOMPARE(cell(form, 6)->get_BackColor(), Face);
        form.SelecionaDia(8);
        QCOMPARE(cell(form, 8)->get_BackColor(), Azul);
        form.unload();
        form.SelecionaDia(9);
        form.Atualiza();
        QCOMPARE(form.cDiaSel, short(9));
        QVERIFY(falhas().isEmpty());
    }

    void membersSurviveUnloading()
    {
        hoje(2026, 1, 31);
        Calendario form;
        abrir(form);
        mostrar(form, 2026, 1);
        form.SelecionaDia(20);
        form.cDigitado = 4;
        QPointer<QWidget> window = form.widget();
        form.unload();
        QVERIFY(!form.widget());
        QVERIFY(!form.ui.cmbMes && !form.ui.lblDia);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window);
        QCOMPARE(form.cDiaHoje, short(35));
        QCOMPARE(form.cMes, short(1));
        QCOMPARE(form.cAno, 2026.f);
        QCOMPARE(form.cDiaSel, short(20));
        QCOMPARE(form.cDigitado, short(4));
        m_today = QDate(2060, 1, 1);
        abrir(form);
        QCOMPARE(cell(form, 20)->get_Caption(), QStringLiteral("00"));
        form.SelecionaDia(3); // repaints the remembered cells first
        QCOMPARE(cell(form, 20)->get_BackColor(), Face);
        QCOMPARE(cell(form, 35)->get_BackColor(), Amarelo);

        auto loaded = std::make_unique<Calendario>();
        abrir(*loaded);
        loaded.reset(); // destroyed while loaded
        QVERIFY(falhas().isEmpty());
    }

    void atualizaReportsAndResumes_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("reports");
        QTest::addColumn<int>("first"); // the cell showing "1" afterwards
        // The year stays 2026: March 2026 is laid out.
        QTest::newRow("not a number")
            << "abc"
            << "Atualiza : 13 Type mismatch\ncMes : 3  cAno 2026" << 1 << 1;
        // No first day: the zero date's month (31 days from a Saturday) is laid out, and every
        // day's weekday fails again.
        QTest::newRow("fraction") << "2026,5"
                                  << "Atualiza : 13 Type mismatch\ncMes : 3  cAno 2026,5" << 32
                                  << 7;
        QTest::newRow("beyond dates")
            << "99999"
            << "Atualiza : 13 Type mismatch\ncMes : 3  cAno 99999" << 32 << 7;
    }
    void atualizaReportsAndResumes()
    {
        QFETCH(QString, year);
        QFETCH(QString, message);
        QFETCH(int, reports);
        QFETCH(int, first);
        RegionalScope ptBR(Regional::ptBR());
        Calendario form;
        abrir(form);
        mostrar(form, 2026, 4); // "1" in cell 4
        form.ui.cmbAno->AddItem(year);
        selecionar(form.ui.cmbMes, 2);
        selecionar(form.ui.cmbAno, form.ui.cmbAno->get_ListCount() - 1);
        form.Atualiza();
        const QStringList reported = falhas();
        QCOMPARE(reported.size(), reports);
        // OK only, under the application's name.
        QCOMPARE(reported.first(),
                 QStringLiteral("0|%1|%2").arg(QCoreApplication::applicationName(), message));
        // Each failing statement was skipped and the refresh went on.
        QCOMPARE(cell(form, short(first))->get_Caption(), QStringLiteral("1"));
        QCOMPARE(cell(form, short(first + 30))->get_Caption(), QStringLiteral("31"));
    }

    void oneInstanceReleasedWithTheApplication()
    {
        QPointer<Calendario> first = &Calendario::instance();
        QCOMPARE(&Calendario::instance(), first.data());
        first->load();
        QPointer<QWidget> window = first->widget();
        QVERIFY(window);
        // What the application's end runs: the form goes, its window with it.
        host::releaseSharedObjects();
        QVERIFY(!first);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window);
        QCOMPARE(host::sharedObjectCount(), 0);
        Calendario::instance();
        QCOMPARE(host::sharedObjectCount(), 1);
    }

    void pictureOfMarch2026()
    {
        hoje(2026, 3, 16);
        Calendario form;
        abrir(form);
        mostrar(form, 2026, 3);
        form.SelecionaDia(25);
        form.widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.widget()));
        const QImage shot = form.widget()->grab().toImage();
        QVERIFY(shot.save(QStringLiteral("calendario-marco-2026.png")));
        const auto rgbAt = [&](int twipsX, int twipsY) {
            return QColor(shot.pixel(twipsX / 15, twipsY / 15)).rgb() & 0xFFFFFF;
        };
        const auto inCell = [](short i) {
            return QPoint(60 + 405 * ((i - 1) % 7) + 30, 1110 + 360 * ((i - 1) / 7) + 30);
        };
        QCOMPARE(rgbAt(60 + 30, 720 + 30), 0x0000FFu);              // header: blue
        QCOMPARE(rgbAt(inCell(7).x(), inCell(7).y()), 0xFF8080u);   // Saturday the 7th
        QCOMPARE(rgbAt(inCell(16).x(), inCell(16).y()), 0xFFFF00u); // today, a Monday
        QCOMPARE(rgbAt(inCell(25).x(), inCell(25).y()), 0x0000FFu); // the selected cell
        QCOMPARE(rgbAt(inCell(10).x(), inCell(10).y()), 0xECE9D8u); // a plain weekday
        QCOMPARE(rgbAt(inCell(42).x(), inCell(42).y()), 0xECE9D8u); // blank
        // Yellow day numbers are drawn on the weekend cells.
        int yellow = 0;
        for (int y = 1110 / 15; y < (1110 + 330) / 15; ++y)
            for (int x = 60 / 15; x < (60 + 390) / 15; ++x)
                yellow += (shot.pixel(x, y) & 0xFFFFFF) == 0xFFFF00u;
        QVERIFY(yellow > 10);
    }
};

QTEST_MAIN(TstCalendario)
#include "tst_calendario.moc"
