// xpcheckbox as a form uses it: the click, press, move and tick rows with their events in order
// (each event logs the value and the cell shown when it was raised), the edges in both scales,
// one MouseOut after creation, the caption's colours, what is saved and reported, the layout's
// halvings, the twelve looks in pixels, what accessibility tools read, and a picture of the
// twelve looks written for a person to check.

#include "apps/kvart/XpArt.h"
#include "controls/xp/xpcheckbox.h"
#include "host/persist/PropertyBag.h"
#include "host/services/Services.h"
#include "host/value/OleColor.h"
#include "host/value/StdFont.h"
#include "host/widgets/HoverTimer.h"
#include "host/widgets/Label.h"
#include "host/widgets/PictureBox.h"

#include <QAccessible>
#include <QPainter>
#include <QtTest>

using Kv_CTRL::State;
using Kv_CTRL::xpcheckbox;
namespace art = kvart::xpcheckbox;

namespace {

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
    return held;
}

} // namespace

// A check box on a window, the pointer injected, every event logged with the value and the cell.
struct Rig {
    QWidget window;
    xpcheckbox* chk = nullptr;
    host::Label* lbl = nullptr;
    host::PictureBox* p = nullptr;
    host::HoverTimer* timer = nullptr;
    QStringList log, changed;
    QPoint pointer{-100, -100}; // screen pixels

    explicit Rig(const host::PropertyBag* bag = nullptr)
    {
        host::services().cursorPos = [this] { return pointer; };
        window.resize(320, 80);
        chk = host::UserControl::create<xpcheckbox>(&window, QStringLiteral("chkAtivo"), bag);
        chk->move(20, 20);
        lbl = chk->findChild<host::Label*>(QStringLiteral("lbl"));
        p = chk->findChild<host::PictureBox*>(QStringLiteral("p"));
        timer = chk->findChild<host::HoverTimer*>(QStringLiteral("Timer1"));
        auto at = [this] {
            return QStringLiteral(" v=%1 @%2").arg(int(chk->get_Value())).arg(chk->shownCell());
        };
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
        QObject::connect(chk, &xpcheckbox::MouseDown, chk, mouseLog("MouseDown"));
        QObject::connect(chk, &xpcheckbox::MouseMove, chk, mouseLog("MouseMove"));
        QObject::connect(chk, &xpcheckbox::MouseUp, chk, mouseLog("MouseUp"));
        QObject::connect(chk, &xpcheckbox::Click, chk, [this, at] { log << "Click" + at(); });
        QObject::connect(chk, &xpcheckbox::MouseOut, chk, [this, at] { log << "MouseOut" + at(); });
        QObject::connect(chk, &host::UserControl::propertyChanged, chk,
                         [this, at](const QString& n) {
                             changed << n;
                             log << "Changed " + n + at();
                         });
        window.show();
    }

    QImage box() // the box as the user sees it
    {
        return chk->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(p->geometry());
    }

    void step(const QString& line)
    {
        const QStringList w = line.split(QLatin1Char(' '));
        auto n = [&](int i) { return w.value(i).toInt(); };
        QString op = w[0];
        QWidget* target = chk;
        if (op.startsWith(QLatin1Char('l')))
            target = lbl, op = op.mid(1);
        else if (op.startsWith(QLatin1Char('p')))
            target = p, op = op.mid(1);
        if (op == QLatin1String("move"))
            mouse(target, QEvent::MouseMove, {n(1), n(2)}, Qt::NoButton, heldOf(n(3)));
        else if (op == QLatin1String("down"))
            mouse(target, QEvent::MouseButtonPress, {n(1), n(2)},
                  n(3) == 2 ? Qt::RightButton : Qt::LeftButton, heldOf(n(3)));
        else if (op == QLatin1String("click")) {
            mouse(target, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::LeftButton);
            mouse(target, QEvent::MouseButtonRelease, {2, 2}, Qt::LeftButton, {});
        } else if (op == QLatin1String("tick")) {
            pointer = chk->mapToGlobal(QPoint(n(1), n(2)));
            host::HoverTimer::tickAll();
        } else if (op == QLatin1String("value"))
            chk->put_Value(State(n(1)));
        else if (op == QLatin1String("enabled"))
            chk->put_Enabled(n(1) != 0);
        else
            QFAIL(qPrintable(QStringLiteral("bad step ") + line));
    }
};

class tst_xpcheckbox : public QObject {
    Q_OBJECT
    std::unique_ptr<host::ServicesScope> m_services;

private Q_SLOTS:
    void init() { m_services = std::make_unique<host::ServicesScope>(); }
    void cleanup() { m_services.reset(); }

    // One row per situation: the steps, the events (PropertyChanged among them) with the value
    // and cell when raised, then the value, the cell shown and whether the hover timer runs. The
    // control is 105 x 17 pixels, in twips after its layout until a tick leaves it in pixels.
    void rows_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("cell");
        QTest::addColumn<bool>("timer");
        using L = QStringList;
        const QString down = QStringLiteral("MouseDown 1 0 30 30 v=%1 @%2");
        const QString up = QStringLiteral("MouseUp 1 0 30 30 v=%1 @%2");
        QTest::newRow("click: Click sees the old value")
            << L{"click"}
            << L{down.arg(0).arg(2), up.arg(0).arg(2), "Click v=0 @2", "Changed Value v=1 @4"} << 1
            << 4 << true;
        QTest::newRow("click checked")
            << L{"value 1", "click"}
            << L{"Changed Value v=1 @4", down.arg(1).arg(6), up.arg(1).arg(6), "Click v=1 @6",
                 "Changed Value v=0 @0"}
            << 0 << 0 << true;
        QTest::newRow("Mixed clicked on the caption goes Unchecked")
            << L{"value 2", "lclick"}
            << L{"Changed Value v=2 @8", down.arg(2).arg(10), up.arg(2).arg(10), "Click v=2 @10",
                 "Changed Value v=0 @0"}
            << 0 << 0 << true;
        QTest::newRow("click on p toggles once")
            << L{"pclick"}
            << L{"MouseDown 1 0 2 2 v=0 @2", "MouseUp 1 0 2 2 v=0 @2", "Click v=0 @2",
                 "Changed Value v=1 @4"}
            << 1 << 4 << true;
        QTest::newRow("odd value: kept, never drawn, not toggled")
            << L{"value 1", "value 7", "click", "pmove 3 3 0"}
            << L{"Changed Value v=1 @4", "Changed Value v=7 @4", down.arg(7).arg(4),
                 up.arg(7).arg(4),       "Click v=7 @4",         "MouseMove 0 0 3 3 v=7 @4"}
            << 7 << 4 << true;
        QTest::newRow("value by code: no Click")
            << L{"value 2"} << L{"Changed Value v=2 @8"} << 2 << 8 << true;
        QTest::newRow("right press: pressed cell")
            << L{"down 5 5 2"} << L{"MouseDown 2 0 75 75 v=0 @2"} << 0 << 2 << true;
        QTest::newRow("right held moving: hovered")
            << L{"value 1", "move 5 5 2"} << L{"Changed Value v=1 @4", "MouseMove 2 0 75 75 v=1 @4"}
            << 1 << 5 << true;
        QTest::newRow("left held moving: pressed")
            << L{"value 2", "lmove 1 1 1"}
            << L{"Changed Value v=2 @8", "MouseMove 1 0 15 15 v=2 @8"} << 2 << 10 << true;
        QTest::newRow("twips: at ScaleWidth, ScaleHeight inside")
            << L{"move 105 17 0"} << L{"MouseMove 0 0 1575 255 v=0 @0"} << 0 << 1 << true;
        QTest::newRow("pixels after a tick: at the edge inside")
            << L{"tick 5 5", "move 105 17 0"} << L{"MouseMove 0 0 105 17 v=0 @0"} << 0 << 1 << true;
        QTest::newRow("pixels after a tick: one beyond")
            << L{"tick 5 5", "move 106 17 0"} << L{} << 0 << 0 << true;
        QTest::newRow("negative: nothing but the timer")
            << L{"tick 200 5", "move -1 5 0"} << L{"MouseOut v=0 @0"} << 0 << 0 << true;
        QTest::newRow("p hovered after a tick")
            << L{"tick 5 5", "pmove 8 8 0"} << L{"MouseMove 0 0 8 8 v=0 @0"} << 0 << 1 << true;
        QTest::newRow("tick on the edges: inside")
            << L{"move 5 5 0", "tick 105 17"} << L{"MouseMove 0 0 75 75 v=0 @0"} << 0 << 1 << true;
        QTest::newRow("tick one pixel out: rest, timer off, MouseOut")
            << L{"move 5 5 0", "tick 106 17"} << L{"MouseMove 0 0 75 75 v=0 @0", "MouseOut v=0 @0"}
            << 0 << 0 << false;
        QTest::newRow("disabled: no input, disabled look")
            << L{"value 1", "enabled 0", "move 5 5 1", "down 5 5 1"} << L{"Changed Value v=1 @4"}
            << 1 << 7 << true;
    }
    void rows()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, events);
        QFETCH(int, value);
        QFETCH(int, cell);
        QFETCH(bool, timer);
        Rig r;
        for (const QString& s : steps)
            r.step(s);
        QCOMPARE(r.log, events);
        QCOMPARE(int(r.chk->get_Value()), value);
        QCOMPARE(int(r.chk->shownCell()), cell);
        QCOMPARE(r.timer->get_Enabled(), timer);
        QCOMPARE(r.box(), art::strip().copy(0, cell * 16, 16, 16)); // what the user sees
    }

    void oneMouseOutAfterCreation()
    {
        Rig r;
        QTRY_COMPARE_WITH_TIMEOUT(r.log.filter("MouseOut"), QStringList{"MouseOut v=0 @0"}, 1000);
        QTest::qWait(50);
        QCOMPARE(r.log.filter("MouseOut").size(), 1);
        QVERIFY(!r.timer->get_Enabled());
    }

    void captionColours()
    {
        Rig r;
        const host::OleColor blue = host::RGB(0, 0, 200);
        r.chk->put_Enabled(false);
        r.chk->put_ForeColor(blue);
        QCOMPARE(r.lbl->get_ForeColor(), host::RGB(161, 161, 146));
        QCOMPARE(r.chk->get_ForeColor(), blue);
        r.chk->put_Enabled(true);
        QCOMPARE(r.lbl->get_ForeColor(), blue);
        // A bad colour changes nothing and is not reported.
        r.changed.clear();
        QVERIFY_THROWS_EXCEPTION(host::RuntimeError, r.chk->put_ForeColor(0x80000FFF));
        QVERIFY_THROWS_EXCEPTION(host::RuntimeError, r.chk->put_BackColor(0x80000FFF));
        QCOMPARE(r.chk->get_ForeColor(), blue);
        QCOMPARE(r.chk->get_BackColor(), 0x8000000Fu);
        QVERIFY(r.changed.isEmpty());
    }

    // Enabled is saved though never reported; an odd Value is saved and read back as it was.
    void saved()
    {
        host::PropertyBag bag;
        {
            Rig r;
            r.changed.clear();
            r.chk->put_Enabled(false);
            QVERIFY(r.changed.isEmpty());
            r.chk->put_Value(State(7));
            r.chk->put_Caption(QStringLiteral("Cliente &ativo"));
            r.chk->saveTo(bag);
        }
        QCOMPARE(bag.ReadProperty(QStringLiteral("Enabled"), true).toLong(), 0);
        QCOMPARE(bag.ReadProperty(QStringLiteral("Value"), 0).toLong(), 7);
        Rig loaded(&bag);
        QCOMPARE(int(loaded.chk->get_Value()), 7);
        QVERIFY(!loaded.chk->get_Enabled());
        QCOMPARE(loaded.chk->get_Caption(), QStringLiteral("Cliente &ativo"));
        QCOMPARE(loaded.lbl->get_ForeColor(), host::RGB(161, 161, 146));
    }

    // p and lbl centred on the control's height: the difference rounded half to even, then
    // halved towards zero; the control keeps its size whatever the caption or font.
    void layout_data()
    {
        QTest::addColumn<float>("height");
        QTest::addColumn<float>("boxTop");
        QTest::newRow("255") << 255.f << 7.f;
        QTest::newRow("375") << 375.f << 67.f;
        QTest::newRow("241.5: 2 halved") << 241.5f << 1.f;
        QTest::newRow("242.5: 2 halved") << 242.5f << 1.f;
        QTest::newRow("200: -40 halved") << 200.f << -20.f;
    }
    void layout()
    {
        QFETCH(float, height);
        QFETCH(float, boxTop);
        Rig r;
        r.chk->Extender().put_Height(height);
        const float width = r.chk->get_Width();
        QCOMPARE(r.p->get_Top(), boxTop);
        QCOMPARE(r.p->get_Width(), 240.f);
        QCOMPARE(r.lbl->get_Left(), 280.f);
        r.chk->putref_Font(host::StdFont::create(QStringLiteral("Arial"), 14, true));
        r.chk->put_Caption(QStringLiteral("Uma legenda bem mais longa que o controle"));
        QCOMPARE(r.p->get_Top(), boxTop);
        const float lh = r.lbl->get_Height();
        QVERIFY(lh > 300);
        QCOMPARE(r.lbl->get_Top(), float(qint32(std::nearbyint(height - lh)) / 2));
        QCOMPARE(r.chk->get_Width(), width);
        QCOMPARE(r.chk->get_Height(), height);
    }

    // Each (value, condition) reached as a user does, checked in pixels against the look table.
    void looks_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("condition");
        for (int v = 0; v < 3; ++v)
            for (int c = 0; c < 4; ++c)
                QTest::newRow(qPrintable(QStringLiteral("value %1 condition %2").arg(v).arg(c)))
                    << v << c;
    }
    void looks()
    {
        QFETCH(int, value);
        QFETCH(int, condition);
        Rig r;
        r.chk->put_Value(State(value));
        if (condition == 1) r.step(QStringLiteral("pmove 4 4 0"));
        if (condition == 2) r.step(QStringLiteral("down 4 4 1"));
        if (condition == 3) r.chk->put_Enabled(false);
        const QImage b = r.box();
        QCOMPARE(b.size(), QSize(16, 16));
        const QRgb white = 0xFFFFFFFF;
        const QRgb outline[] = {art::Outline, art::Outline, art::Outline, art::DisabledMark};
        for (const QPoint& at : {QPoint(0, 0), QPoint(8, 0), QPoint(15, 9), QPoint(15, 15)})
            QCOMPARE(rgb(b.pixel(at)), rgb(outline[condition]));
        // The interior's top-left and bottom-right ends (ring, gradients, plain white).
        const QRgb first[] = {art::RestTop, art::RingTop, art::PressedTop, white};
        const QRgb last[] = {art::RestBottom, art::RingBottom, art::PressedBottom, white};
        QCOMPARE(rgb(b.pixel(1, 1)), rgb(first[condition]));
        QCOMPARE(rgb(b.pixel(14, 14)), rgb(last[condition]));
        if (condition == 1 && value < 2)
            QCOMPARE(rgb(b.pixel(4, 12)), rgb(value == 0 ? art::HoverInside : art::HoverInsideOn));
        // (7, 10) is on the tick's bend and inside the mixed square.
        const QRgb mark = b.pixel(7, 10);
        const QRgb ticks[] = {art::Tick, art::Tick, 0, art::DisabledMark};
        const QRgb squares[] = {art::MixedRest, art::MixedHover, 0, art::DisabledMark};
        if (value == 0) QVERIFY(qGreen(mark) - qRed(mark) < 20); // no green
        if (value > 0 && condition == 2)
            QVERIFY(qRed(mark) == 31 && qGreen(mark) >= 128 && qGreen(mark) <= 143);
        else if (value > 0)
            QCOMPARE(rgb(mark), rgb(value == 1 ? ticks[condition] : squares[condition]));
        if (value == 2) { // the square fills 3..12, three pixels inside the outline
            auto green = [&](QPoint at) {
                const QRgb c = b.pixel(at);
                return condition == 3 ? c == art::DisabledMark : qGreen(c) > qRed(c) + 40;
            };
            for (const QPoint& at : {QPoint(3, 3), QPoint(12, 3), QPoint(3, 12), QPoint(12, 12)})
                QVERIFY(green(at));
            for (const QPoint& at : {QPoint(2, 7), QPoint(13, 7), QPoint(7, 2), QPoint(7, 13)})
                QVERIFY(!green(at));
        }
    }

    void accessible_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("mixed");
        QTest::newRow("unchecked") << "Cliente &ativo" << 0 << "Cliente ativo" << false << false;
        QTest::newRow("checked") << "A && B" << 1 << "A & B" << true << false;
        QTest::newRow("mixed") << "&Mixed" << 2 << "Mixed" << true << true;
    }
    void accessible()
    {
        QFETCH(QString, caption);
        QFETCH(int, value);
        QFETCH(QString, name);
        QFETCH(bool, checked);
        QFETCH(bool, mixed);
        Rig r;
        r.chk->put_Caption(caption);
        r.chk->put_Value(State(value));
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(r.chk);
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::CheckBox);
        QCOMPARE(a->text(QAccessible::Name), name);
        QCOMPARE(bool(a->state().checkable), true);
        QCOMPARE(bool(a->state().checked), checked);
        QCOMPARE(bool(a->state().checkStateMixed), mixed);
    }

    // The twelve looks side by side, for a person to compare with the look table.
    void writeLooks()
    {
        QImage out(12 * 40 + 8, 40, QImage::Format_RGB32);
        out.fill(QColor(236, 233, 216));
        QPainter painter(&out);
        for (int n = 0; n < 12; ++n) {
            Rig r;
            r.chk->put_Value(State(n / 4));
            if (n % 4 == 1) r.step(QStringLiteral("pmove 4 4 0"));
            if (n % 4 == 2) r.step(QStringLiteral("down 4 4 1"));
            if (n % 4 == 3) r.chk->put_Enabled(false);
            QCOMPARE(int(r.chk->shownCell()), n);
            painter.drawImage(QRect(8 + n * 40, 4, 32, 32), r.box());
        }
        painter.end();
        const QString path =
            QDir::current().absoluteFilePath(QStringLiteral("xpcheckbox-looks.png"));
        QVERIFY(out.save(path));
        qInfo("twelve looks written to %s", qPrintable(path));
    }
};

QTEST_MAIN(tst_xpcheckbox)
#include "tst_xpcheckbox.moc"
