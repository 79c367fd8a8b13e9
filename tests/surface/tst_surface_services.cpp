// The surface meeting the platform services: hover timers polling the pointer, and message boxes
// requested while a control paints.

#include "host/services/Services.h"
#include "host/widgets/HoverTimer.h"
#include "host/widgets/UserControl.h"

#include <QPointer>
#include <QSignalSpy>
#include <QtTest>
#include <functional>

using namespace host;

namespace {

// The pattern of the hover-tracking controls: a move enables Timer1, a tick that finds the
// pointer outside disables it and raises MouseOut.
class HoverProbe : public UserControl {
    Q_OBJECT
public:
    explicit HoverProbe(QWidget* parent) : UserControl(parent)
    {
        Timer1 = new HoverTimer(this, QStringLiteral("Timer1"));
        Timer1->put_Enabled(false);
        connect(Timer1, &Timer::Tick, this, &HoverProbe::Timer1_Timer);
    }
    void moveTo(float X, float Y)
    {
        short button = 0, shift = 0;
        UserControl_MouseMove(button, shift, X, Y);
    }

    HoverTimer* Timer1;
    int ticks = 0;
    std::function<void()> onTick;

Q_SIGNALS:
    void MouseOut();

protected:
    void UserControl_MouseMove(short&, short&, float&, float&) override
    {
        Timer1->put_Enabled(true);
    }

private:
    void Timer1_Timer()
    {
        ++ticks;
        if (onTick) onTick();
        if (Timer1->isPointerOutside()) {
            Timer1->put_Enabled(false);
            Q_EMIT MouseOut();
        }
    }
};

class TimerEventCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Timer) ++count;
        return false;
    }
};

// A control whose Paint handler asks for a message box.
class PaintingBox : public UserControl {
public:
    using UserControl::UserControl;
    bool inPaint = false;
    int paints = 0;
    int answer = 0;

protected:
    void UserControl_Paint() override
    {
        inPaint = true;
        ++paints;
        answer = MsgBox(QStringLiteral("Pintando"));
        inPaint = false;
    }
};

} // namespace

class TestSurfaceServices : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hoverLeavesOnce_data()
    {
        QTest::addColumn<short>("scaleMode");
        QTest::addColumn<QPoint>("out"); // client pixels of a 100 x 40 surface
        for (short mode : {short(vbTwips), short(vbPixels)}) {
            const char* m = mode == vbTwips ? "twips" : "pixels";
            QTest::addRow("%s right", m) << mode << QPoint(101, 20);
            QTest::addRow("%s bottom", m) << mode << QPoint(50, 41);
            QTest::addRow("%s left", m) << mode << QPoint(-1, 20);
            QTest::addRow("%s top", m) << mode << QPoint(50, -1);
        }
    }

    void hoverLeavesOnce()
    {
        QFETCH(short, scaleMode);
        QFETCH(QPoint, out);
        ServicesScope scope;
        QWidget form;
        form.resize(200, 100);
        auto* probe = UserControl::create<HoverProbe>(&form, QStringLiteral("probe"));
        probe->setGeometry(30, 20, 100, 40);
        probe->put_ScaleMode(scaleMode);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QPoint pointer = probe->mapToGlobal(QPoint(50, 20));
        services().cursorPos = [&] { return pointer; };
        QSignalSpy mouseOut(probe, &HoverProbe::MouseOut);
        probe->moveTo(probe->get_ScaleWidth() / 2, probe->get_ScaleHeight() / 2);
        QVERIFY(probe->Timer1->isTicking());
        // The right and bottom edges lie one pixel past the last pixel, and are still inside.
        for (QPoint inside :
             {QPoint(50, 20), QPoint(100, 20), QPoint(50, 40), QPoint(100, 40), QPoint(0, 0)}) {
            pointer = probe->mapToGlobal(inside);
            HoverTimer::tickAll();
            QVERIFY2(mouseOut.isEmpty(),
                     qPrintable(QStringLiteral("at %1,%2").arg(inside.x()).arg(inside.y())));
        }
        pointer = probe->mapToGlobal(out);
        HoverTimer::tickAll();
        HoverTimer::tickAll();
        QCOMPARE(mouseOut.size(), 1);
        QVERIFY(!probe->Timer1->isTicking());
        QVERIFY(!probe->Timer1->get_Enabled());

        TimerEventCounter counter;
        qApp->installEventFilter(&counter);
        QTest::qWait(500);
        qApp->removeEventFilter(&counter);
        QCOMPARE(counter.count, 0);
        QCOMPARE(mouseOut.size(), 1);
    }

    void moveInside_data()
    {
        QTest::addColumn<short>("scaleMode");
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<bool>("inside");
        // 100 x 40 pixels: 1500 x 600 twips.
        QTest::newRow("twips origin") << short(vbTwips) << 0.f << 0.f << true;
        QTest::newRow("twips far corner") << short(vbTwips) << 1500.f << 600.f << true;
        QTest::newRow("twips past right") << short(vbTwips) << 1500.5f << 0.f << false;
        QTest::newRow("twips past bottom") << short(vbTwips) << 0.f << 601.f << false;
        QTest::newRow("twips negative") << short(vbTwips) << -1.f << 10.f << false;
        QTest::newRow("pixels far corner") << short(vbPixels) << 100.f << 40.f << true;
        QTest::newRow("pixels past right") << short(vbPixels) << 101.f << 40.f << false;
        QTest::newRow("pixels negative y") << short(vbPixels) << 10.f << -0.5f << false;
    }

    void moveInside()
    {
        QFETCH(short, scaleMode);
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(bool, inside);
        QWidget form;
        auto* probe = UserControl::create<HoverProbe>(&form, QStringLiteral("probe"));
        probe->resize(100, 40);
        probe->put_ScaleMode(scaleMode);
        QCOMPARE(probe->Timer1->isMoveInside(x, y), inside);
    }

    void tickSurvivesHandlersChangingTimers()
    {
        ServicesScope scope;
        QWidget form;
        form.resize(300, 100);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        services().cursorPos = [&] { return form.mapToGlobal(QPoint(1, 1)); };
        QList<HoverProbe*> probes;
        for (int i = 0; i < 4; ++i) {
            probes << UserControl::create<HoverProbe>(&form, QStringLiteral("p%1").arg(i));
            probes[i]->setGeometry(0, 0, 50, 50); // all under the pointer
            probes[i]->moveTo(1, 1);
        }
        QPointer<HoverProbe> deleted = probes[2];
        probes[0]->onTick = [&] {
            probes[1]->Timer1->put_Enabled(false);
            delete probes[2];
            probes[0]->onTick = {};
        };
        HoverTimer::tickAll();
        QVERIFY(deleted.isNull());
        QCOMPARE(probes[0]->ticks, 1);
        QCOMPARE(probes[1]->ticks, 0);
        QCOMPARE(probes[3]->ticks, 1);
        QVERIFY(HoverTimer::isClockRunning());
        probes[0]->Timer1->put_Enabled(false);
        QVERIFY(HoverTimer::isClockRunning());
        probes[3]->Timer1->put_Interval(0);
        QVERIFY(!HoverTimer::isClockRunning());
    }

    void sharedClockTicks()
    {
        ServicesScope scope;
        QWidget form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* a = UserControl::create<HoverProbe>(&form, QStringLiteral("a"));
        auto* b = UserControl::create<HoverProbe>(&form, QStringLiteral("b"));
        a->resize(50, 50);
        b->resize(50, 50);
        services().cursorPos = [&] { return a->mapToGlobal(QPoint(5, 5)); };
        QVERIFY(!HoverTimer::isClockRunning());
        a->moveTo(5, 5);
        b->moveTo(5, 5);
        QTRY_VERIFY(a->ticks >= 3 && b->ticks >= 3);
        b->Timer1->put_Enabled(false);
        QVERIFY(HoverTimer::isClockRunning());
        delete a;
        QVERIFY(!HoverTimer::isClockRunning());
    }

    void msgBoxWhilePaintingComesAfterThePaint()
    {
        ServicesScope scope;
        PaintingBox control;
        control.startLife(QStringLiteral("box"), nullptr);
        control.resize(60, 30);
        QList<bool> calledInPaint;
        services().msgBox = [&](const QString&, int, const QString&) {
            calledInPaint << control.inPaint;
            return 7;
        };
        control.show();
        QVERIFY(QTest::qWaitForWindowExposed(&control));
        QTRY_COMPARE(calledInPaint.size(), control.paints);
        const int before = control.paints;

        control.repaint();
        QCOMPARE(control.paints, before + 1);
        QCOMPARE(control.answer, 1); // OK to the painting code, the box not yet shown
        QCOMPARE(calledInPaint.size(), before);
        QTRY_COMPARE(calledInPaint.size(), before + 1);
        QTest::qWait(50);
        QCOMPARE(calledInPaint.size(), control.paints);
        QVERIFY(!calledInPaint.contains(true));

        // Outside a paint the box is shown at once and answers itself.
        QCOMPARE(MsgBox(QStringLiteral("agora")), 7);
        QCOMPARE(calledInPaint.size(), control.paints + 1);
    }
};

QTEST_MAIN(TestSurfaceServices)
#include "tst_surface_services.moc"
