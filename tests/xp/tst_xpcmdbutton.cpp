// xpcmdbutton: the look state machine row by row with the events in their order
// (each event logs the cell shown when it was raised, so "events before the look" is checked),
// MouseOut once per visit, the inclusive edges, Default_ while disabled, the caption's place and
// colour and access key, a saved Default_ button, the nine-slice drawing in pixels, and a picture
// of the five looks written for a person to check.

#include "controls/xp/xpcmdbutton.h"
#include "host/persist/PropertyBag.h"
#include "host/services/Services.h"
#include "host/value/OleColor.h"
#include "host/value/StdFont.h"
#include "host/widgets/HoverTimer.h"
#include "host/widgets/Label.h"

#include <QPainter>
#include <QtTest>

using Kv_CTRL::State_b;
using Kv_CTRL::xpcmdbutton;

namespace {

constexpr QSize ButtonSize(80, 24);

QImage strip()
{
    return QImage(QStringLiteral(":/Kv_CTRL/xp/xpcmdbutton.png"))
        .convertToFormat(QImage::Format_RGB32);
}

QImage cell(int n)
{
    return strip().copy(n * 18, 0, 18, 21);
}

QString rgb(QRgb c)
{
    return QStringLiteral("%1,%2,%3").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

Qt::MouseButtons heldOf(int b)
{
    Qt::MouseButtons held;
    if (b & 1) held |= Qt::LeftButton;
    if (b & 2) held |= Qt::RightButton;
    if (b & 4) held |= Qt::MiddleButton;
    return held;
}

Qt::MouseButton buttonOf(int b)
{
    return b == 2 ? Qt::RightButton : b == 4 ? Qt::MiddleButton : Qt::LeftButton;
}

} // namespace

// A button on a window, the pointer injected, every event logged with the cell shown then.
struct Rig {
    QWidget window;
    xpcmdbutton* cmd = nullptr;
    host::Label* lbl = nullptr;
    host::HoverTimer* timer = nullptr;
    QStringList log;
    QPoint pointer{-100, -100}; // screen pixels

    explicit Rig(QSize size = ButtonSize, const host::PropertyBag* bag = nullptr)
    {
        host::services().cursorPos = [this] { return pointer; };
        host::services().reportError = [this](const host::RuntimeError& e) {
            log << QStringLiteral("Error %1").arg(e.number());
        };
        window.resize(320, 120);
        cmd = host::UserControl::create<xpcmdbutton>(&window, QStringLiteral("cmdSalvar"), bag);
        cmd->move(20, 20);
        cmd->resize(size);
        lbl = cmd->findChild<host::Label*>(QStringLiteral("lbl"));
        timer = cmd->findChild<host::HoverTimer*>(QStringLiteral("Timer1"));
        auto at = [this] { return QStringLiteral(" @%1").arg(cmd->shownCell()); };
        auto mouseLog = [this, at](const char* name) {
            return [this, at, name](short& b, short& s, float& x, float& y) {
                log << QStringLiteral("%1 %2 %3 %4 %5")
                               .arg(QLatin1String(name))
                               .arg(b)
                               .arg(s)
                               .arg(x)
                               .arg(y) +
                           at();
            };
        };
        QObject::connect(cmd, &xpcmdbutton::MouseDown, cmd, mouseLog("MouseDown"));
        QObject::connect(cmd, &xpcmdbutton::MouseMove, cmd, mouseLog("MouseMove"));
        QObject::connect(cmd, &xpcmdbutton::MouseUp, cmd, mouseLog("MouseUp"));
        QObject::connect(cmd, &xpcmdbutton::Click, cmd,
                         [this, at] { log << QStringLiteral("Click") + at(); });
        QObject::connect(cmd, &xpcmdbutton::MouseOut, cmd, [this, at] {
            log << QStringLiteral("MouseOut timer=%1").arg(timer->get_Enabled()) + at();
        });
        QObject::connect(cmd, &xpcmdbutton::KeyDown, cmd, [this, at](short& k, short& s) {
            log << QStringLiteral("KeyDown %1 %2").arg(k).arg(s) + at();
        });
        QObject::connect(cmd, &xpcmdbutton::KeyPress, cmd, [this, at](short& k) {
            log << QStringLiteral("KeyPress %1").arg(k) + at();
        });
        QObject::connect(cmd, &xpcmdbutton::KeyUp, cmd, [this, at](short& k, short& s) {
            log << QStringLiteral("KeyUp %1 %2").arg(k).arg(s) + at();
        });
        window.show();
    }

    void pointAt(int x, int y) { pointer = cmd->mapToGlobal(QPoint(x, y)); }
    QImage shot() { return cmd->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Brings the button to look n (0 normal .. 4 default) the way a user or host does.
    void showLook(int n)
    {
        const char* steps[] = {nullptr, "down 5 5 1", nullptr, "move 5 5 0", nullptr};
        if (steps[n]) step(QString::fromLatin1(steps[n]));
        if (n == 2) cmd->put_Enabled(false);
        if (n == 4) cmd->put_State(State_b::Default_);
    }

    // One step of the little language the state-machine rows are written in.
    void step(const QString& line)
    {
        const QStringList w = line.split(QLatin1Char(' '));
        auto n = [&](int i) { return w.value(i).toInt(); };
        const QString& op = w[0];
        QWidget* target = op.startsWith(QLatin1Char('l')) ? static_cast<QWidget*>(lbl) : cmd;
        const QString verb = op.startsWith(QLatin1Char('l')) ? op.mid(1) : op;
        if (verb == QLatin1String("move"))
            mouse(target, QEvent::MouseMove, {n(1), n(2)}, Qt::NoButton, heldOf(n(3)));
        else if (verb == QLatin1String("down"))
            mouse(target, QEvent::MouseButtonPress, {n(1), n(2)}, buttonOf(n(3)), heldOf(n(3)));
        else if (verb == QLatin1String("up"))
            mouse(target, QEvent::MouseButtonRelease, {n(1), n(2)}, buttonOf(n(3)), {});
        else if (verb == QLatin1String("tick")) {
            pointAt(n(1), n(2));
            host::HoverTimer::tickAll();
        } else if (verb == QLatin1String("state"))
            cmd->put_State(State_b(n(1)));
        else if (verb == QLatin1String("enabled"))
            cmd->put_Enabled(n(1) != 0);
        else if (verb == QLatin1String("caption"))
            cmd->put_Caption(w.mid(1).join(QLatin1Char(' ')));
        else if (verb == QLatin1String("font"))
            cmd->putref_Font(host::StdFont::create(QStringLiteral("Arial"), 12, true));
        else if (verb == QLatin1String("resize"))
            cmd->resize(n(1), n(2));
        else if (verb == QLatin1String("key")) {
            QKeyEvent down(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QApplication::sendEvent(cmd, &down);
            QKeyEvent up(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QApplication::sendEvent(cmd, &up);
        } else
            QFAIL(qPrintable(QStringLiteral("bad step ") + line));
    }
};

class tst_xpcmdbutton : public QObject {
    Q_OBJECT
    std::unique_ptr<host::ServicesScope> m_services;

private Q_SLOTS:
    void init() { m_services = std::make_unique<host::ServicesScope>(); }
    void cleanup() { m_services.reset(); }

    void newButtonRestsCentred()
    {
        Rig r;
        QCOMPARE(r.cmd->shownCell(), 0);
        QCOMPARE(r.cmd->get_Caption(), QStringLiteral("cmdSalvar")); // the ambient display name
        QCOMPARE(r.timer->get_Enabled(), false);
        const QRect l = r.lbl->geometry();
        QVERIFY(l.width() > 0);
        QVERIFY(qAbs(l.center().x() * 2 + 1 - ButtonSize.width()) <= 2);
        QVERIFY(qAbs(l.center().y() * 2 + 1 - ButtonSize.height()) <= 2);
        QCOMPARE(r.cmd->get_ScaleMode(), short(host::vbPixels));
    }

    // The looks' state machine, one row per transition, with the events in their order.
    void stateMachine_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<int>("cell");
        QTest::addColumn<bool>("timer");
        using L = QStringList;
        QTest::newRow("move inside, left held")
            << L{"move 10 10 1"} << L{"MouseMove 1 0 10 10 @0"} << 1 << true;
        QTest::newRow("move inside, right held")
            << L{"move 10 10 2"} << L{"MouseMove 2 0 10 10 @0"} << 3 << true;
        QTest::newRow("move inside, no button")
            << L{"move 10 10 0"} << L{"MouseMove 0 0 10 10 @0"} << 3 << true;
        QTest::newRow("move inside, left and right")
            << L{"move 10 10 3"} << L{"MouseMove 3 0 10 10 @0"} << 3 << true;
        QTest::newRow("move outside while held") << L{"move -5 30 1"} << L{} << 0 << true;
        QTest::newRow("left down")
            << L{"down 10 10 1"} << L{"MouseDown 1 0 10 10 @0"} << 1 << false;
        QTest::newRow("right down")
            << L{"down 10 10 2"} << L{"MouseDown 2 0 10 10 @0"} << 1 << false;
        QTest::newRow("down, up, click")
            << L{"down 10 10 1", "up 10 10 1"}
            << L{"MouseDown 1 0 10 10 @0", "MouseUp 1 0 10 10 @1", "Click @0"} << 0 << false;
        QTest::newRow("released over it rests until moved")
            << L{"move 10 10 0", "down 10 10 1", "up 10 10 1"}
            << L{"MouseMove 0 0 10 10 @0", "MouseDown 1 0 10 10 @3", "MouseUp 1 0 10 10 @1",
                 "Click @0"}
            << 0 << true;
        QTest::newRow("tick outside")
            << L{"move 10 10 0", "tick 100 10"}
            << L{"MouseMove 0 0 10 10 @0", "MouseOut timer=0 @3"} << 0 << false;
        QTest::newRow("tick inside")
            << L{"move 10 10 0", "tick 10 10"} << L{"MouseMove 0 0 10 10 @0"} << 3 << true;
        QTest::newRow("dragged out and back")
            << L{"down 10 10 1", "move 10 10 1", "tick -3 10", "move 10 10 1"}
            << L{"MouseDown 1 0 10 10 @0", "MouseMove 1 0 10 10 @1", "MouseOut timer=0 @1",
                 "MouseMove 1 0 10 10 @0"}
            << 1 << true;
        QTest::newRow("label move: its own position")
            << L{"lmove 2 3 0"} << L{"MouseMove 0 0 2 3 @0"} << 3 << true;
        QTest::newRow("label press and release")
            << L{"ldown 2 3 1", "lup 2 3 1"}
            << L{"MouseDown 1 0 2 3 @0", "MouseUp 1 0 2 3 @1", "Click @0"} << 0 << false;
        QTest::newRow("State set while hovered")
            << L{"move 10 10 0", "state 1"} << L{"MouseMove 0 0 10 10 @0"} << 4 << true;
        QTest::newRow("State odd value keeps the resting cell")
            << L{"state 1", "state 7"} << L{} << 4 << false;
        QTest::newRow("Enabled set") << L{"enabled 0"} << L{} << 2 << false;
        QTest::newRow("Caption set while hovered")
            << L{"move 10 10 0", "caption Outro"} << L{"MouseMove 0 0 10 10 @0"} << 0 << true;
        QTest::newRow("Font set while hovered")
            << L{"move 10 10 0", "font"} << L{"MouseMove 0 0 10 10 @0"} << 0 << true;
        QTest::newRow("resize while hovered")
            << L{"move 10 10 0", "resize 100 30"} << L{"MouseMove 0 0 10 10 @0"} << 0 << true;
        QTest::newRow("hovered, taller than a 16-bit count of pixels")
            << L{"resize 40 40000", "move 10 10 0"} << L{"MouseMove 0 0 10 10 @0"} << 3 << true;
        QTest::newRow("keys never change the look")
            << L{"move 10 10 0", "key"}
            << L{"MouseMove 0 0 10 10 @0", "KeyDown 65 0 @3", "KeyPress 97 @3", "KeyUp 65 0 @3"}
            << 3 << true;
    }
    void stateMachine()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, events);
        QFETCH(int, cell);
        QFETCH(bool, timer);
        Rig r;
        for (const QString& s : steps)
            r.step(s);
        QCOMPARE(r.log, events);
        QCOMPARE(int(r.cmd->shownCell()), cell);
        QCOMPARE(r.timer->get_Enabled(), timer);
        // What is shown is that cell: the middle of the top edge (ring or outline row 1).
        const QImage shot = r.shot();
        QCOMPARE(rgb(shot.pixel(shot.width() / 2, 1)),
                 rgb(cell == 0 || cell == 1 || cell == 2 || cell == 3 || cell == 4
                         ? ::cell(cell).pixel(9, 1)
                         : 0));
    }

    void mouseOutOncePerVisit()
    {
        Rig r;
        r.pointAt(200, 10);
        QTest::qWait(50); // created, never visited: ticks (if any) raise nothing
        host::HoverTimer::tickAll();
        QVERIFY(r.log.isEmpty());
        QVERIFY(!host::HoverTimer::isClockRunning());
        for (int visit = 1; visit <= 2; ++visit) {
            r.step(QStringLiteral("move 10 10 0"));
            r.step(QStringLiteral("tick 10 10"));
            r.step(QStringLiteral("tick 200 10"));
            r.step(QStringLiteral("tick 200 10"));
            QCOMPARE(r.log.filter(QStringLiteral("MouseOut")).size(), visit);
            QVERIFY(!r.timer->get_Enabled());
        }
        // The real clock does it too, within a few ticks.
        r.log.clear();
        r.step(QStringLiteral("move 10 10 0"));
        r.pointAt(200, 10);
        QTRY_COMPARE_WITH_TIMEOUT(r.log.filter(QStringLiteral("MouseOut")).size(), 1, 1000);
        QTest::qWait(50);
        QCOMPARE(r.log.filter(QStringLiteral("MouseOut")).size(), 1);
        QVERIFY(!host::HoverTimer::isClockRunning());
    }

    // The right and bottom edges are inside, one pixel further is out: for MouseMove and ticks.
    void edges_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("inside");
        const int w = ButtonSize.width(), h = ButtonSize.height();
        QTest::newRow("top-left") << QPoint(0, 0) << true;
        QTest::newRow("right edge") << QPoint(w, 5) << true;
        QTest::newRow("bottom edge") << QPoint(5, h) << true;
        QTest::newRow("bottom-right") << QPoint(w, h) << true;
        QTest::newRow("right + 1") << QPoint(w + 1, 5) << false;
        QTest::newRow("bottom + 1") << QPoint(5, h + 1) << false;
        QTest::newRow("left - 1") << QPoint(-1, 5) << false;
        QTest::newRow("top - 1") << QPoint(5, -1) << false;
    }
    void edges()
    {
        QFETCH(QPoint, at);
        QFETCH(bool, inside);
        Rig r;
        r.step(QStringLiteral("move %1 %2 0").arg(at.x()).arg(at.y()));
        QCOMPARE(r.log.size(), inside ? 1 : 0);
        QVERIFY(r.timer->get_Enabled());
        r.log.clear();
        r.step(QStringLiteral("tick %1 %2").arg(at.x()).arg(at.y()));
        QCOMPARE(r.log.size(), inside ? 0 : 1);
    }

    void defaultWhileDisabled()
    {
        Rig r;
        r.cmd->put_Enabled(false);
        r.cmd->put_State(State_b::Default_);
        QCOMPARE(r.cmd->shownCell(), 2);
        QCOMPARE(rgb(r.shot().pixel(5, 12)), rgb(cell(2).pixel(9, 10))); // beside the caption
        r.cmd->put_Enabled(true);
        QCOMPARE(r.cmd->shownCell(), 4);
        QCOMPARE(rgb(r.shot().pixel(40, 1)), rgb(cell(4).pixel(9, 1)));
    }

    void caption()
    {
        Rig r;
        QStringList changed;
        connect(r.cmd, &host::UserControl::propertyChanged, r.cmd,
                [&](const QString& n) { changed << n; });
        r.cmd->put_Caption(QStringLiteral("Um texto bem mais longo"));
        const QRect l = r.lbl->geometry();
        QVERIFY(qAbs(l.center().x() * 2 + 1 - ButtonSize.width()) <= 2); // re-centred at once
        QCOMPARE(changed, QStringList{QStringLiteral("Caption")});
        QCOMPARE(r.lbl->get_ForeColor(), host::RGB(0, 0, 0));
        r.cmd->put_Enabled(false);
        QCOMPARE(r.lbl->get_ForeColor(), host::RGB(161, 161, 146));
        r.cmd->put_Enabled(true);
        QCOMPARE(r.lbl->get_ForeColor(), host::RGB(0, 0, 0));
    }

    // "&x" is the access key (Alt+x clicks, without changing the look); "&&" is a plain "&".
    void accessKey_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("clicksOnAltS");
        QTest::newRow("&Salvar") << QStringLiteral("&Salvar") << QStringLiteral("S") << 1;
        QTest::newRow("S&&alvar") << QStringLiteral("S&&alvar") << QString() << 0;
        QTest::newRow("&& &Salvar") << QStringLiteral("&& &Salvar") << QStringLiteral("S") << 1;
    }
    void accessKey()
    {
        QFETCH(QString, caption);
        QFETCH(QString, keys);
        QFETCH(int, clicksOnAltS);
        Rig r;
        r.cmd->put_Caption(caption);
        QCOMPARE(r.cmd->get_AccessKeys(), keys);
        QVERIFY(QTest::qWaitForWindowActive(&r.window));
        QTest::keyClick(&r.window, Qt::Key_S, Qt::AltModifier);
        QCOMPARE(r.log.filter(QStringLiteral("Click")).size(), clicksOnAltS);
        QCOMPARE(r.cmd->shownCell(), 0);
    }

    void savedDefaultLoadsShowingCell4()
    {
        host::PropertyBag bag;
        {
            Rig saved;
            saved.cmd->put_State(State_b::Default_);
            saved.cmd->put_Caption(QStringLiteral("&Salvar"));
            saved.cmd->saveTo(bag);
        }
        QCOMPARE(bag.ReadProperty(QStringLiteral("State"), 0).toString(), QStringLiteral("1"));
        Rig loaded(ButtonSize, &bag);
        QCOMPARE(loaded.cmd->get_State(), State_b::Default_);
        QCOMPARE(loaded.cmd->get_Caption(), QStringLiteral("&Salvar"));
        QCOMPARE(loaded.cmd->shownCell(), 4);
        QCOMPARE(rgb(loaded.shot().pixel(40, 1)), rgb(cell(4).pixel(9, 1)));
    }

    // Nine-slice drawing, checked in pixels against the strip (caption empty).
    void nineSlice_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("n");
        for (int n = 0; n < 5; ++n) {
            QTest::newRow(qPrintable(QStringLiteral("18x21 cell %1").arg(n))) << QSize(18, 21) << n;
            QTest::newRow(qPrintable(QStringLiteral("150x30 cell %1").arg(n)))
                << QSize(150, 30) << n;
            QTest::newRow(qPrintable(QStringLiteral("5x5 cell %1").arg(n))) << QSize(5, 5) << n;
        }
    }
    void nineSlice()
    {
        QFETCH(QSize, size);
        QFETCH(int, n);
        Rig r(size);
        r.cmd->put_Caption(QString());
        r.showLook(n);
        QCOMPARE(int(r.cmd->shownCell()), n);
        const QImage shot = r.shot();
        const QImage c = cell(n);
        QCOMPARE(shot.size(), size);
        const int w = size.width(), h = size.height();
        auto expectAt = [&](int x, int y, int sx, int sy) {
            if (shot.pixel(x, y) != c.pixel(sx, sy))
                QFAIL(qPrintable(QStringLiteral("(%1, %2) is %3, cell (%4, %5) is %6")
                                     .arg(x)
                                     .arg(y)
                                     .arg(rgb(shot.pixel(x, y)))
                                     .arg(sx)
                                     .arg(sy)
                                     .arg(rgb(c.pixel(sx, sy)))));
        };
        if (size == QSize(18, 21)) { // identical to the cell
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    expectAt(x, y, x, y);
            return;
        }
        if (w < 6 || h < 6) { // what fits: the corners, the last drawn on top
            expectAt(0, 0, 0, 0);
            expectAt(w - 1, 0, 17, 0);
            expectAt(w - 1, h - 1, 17, 20);
            expectAt(0, h - 1, 0, 20);
            return;
        }
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x) { // corners 1:1
                expectAt(x, y, x, y);
                expectAt(w - 3 + x, y, 15 + x, y);
                expectAt(x, h - 3 + y, x, 18 + y);
                expectAt(w - 3 + x, h - 3 + y, 15 + x, 18 + y);
            }
        // Edges stretched along their length: 144 / 12 is a whole 12, so every pixel maps.
        for (int x = 3; x < w - 3; ++x)
            for (int y = 0; y < 3; ++y) {
                const int sx = 3 + (x - 3) * 12 / (w - 6);
                expectAt(x, y, sx, y);
                expectAt(x, h - 3 + y, sx, 18 + y);
            }
        // Down the sides 24 pixels come from 15 rows: each is one of the two nearest rows.
        for (int y = 3; y < h - 3; ++y) {
            const double sy = 3 + (y - 3 + 0.5) * 15.0 / (h - 6) - 0.5;
            for (int x = 0; x < 3; ++x) {
                const QRgb got = shot.pixel(x, y);
                QVERIFY(got == c.pixel(x, int(sy)) || got == c.pixel(x, std::min(17, int(sy) + 1)));
            }
        }
    }

    // The five looks side by side, for a person to compare with the look table.
    void writeLooks()
    {
        const QStringList captions{"&Normal", "&Pressionado", "&Desabilitado", "&Hover", "Pa&drão"};
        QImage out(5 * 110 + 10, 48, QImage::Format_RGB32);
        out.fill(QColor(236, 233, 216));
        QPainter p(&out);
        for (int n = 0; n < 5; ++n) {
            Rig r(QSize(100, 28));
            r.cmd->put_Caption(captions[n]);
            r.showLook(n);
            QCOMPARE(int(r.cmd->shownCell()), n);
            p.drawImage(10 + n * 110, 10, r.shot());
        }
        p.end();
        const QString path =
            QDir::current().absoluteFilePath(QStringLiteral("xpcmdbutton-looks.png"));
        QVERIFY(out.save(path));
        qInfo("five looks written to %s", qPrintable(path));
    }
};

QTEST_MAIN(tst_xpcmdbutton)
#include "tst_xpcmdbutton.moc"
