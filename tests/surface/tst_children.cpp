// Child widgets on a control surface, as the controls use them: each child's mouse event is its
// own, children speak the surface's current scale, flags are each widget's own, and a surface
// whose children are no tab stops takes the keys itself.

#include "host/services/Guard.h"
#include "host/services/Services.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/CommandButton.h"
#include "host/widgets/Image.h"
#include "host/widgets/Label.h"
#include "host/widgets/LateBinding.h"
#include "host/widgets/PictureBox.h"
#include "host/widgets/TextBox.h"
#include "host/widgets/UserControl.h"

#include <QtTest>

using namespace host;

namespace {

QString args(const char* what, short b, short s, float x, float y)
{
    return QStringLiteral("%1 %2 %3 %4 %5").arg(QLatin1String(what)).arg(b).arg(s).arg(x).arg(y);
}

int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

// A surface holding one of each windowless-looking child, logging surface and child events.
class Holder : public UserControl {
    Q_OBJECT
public:
    explicit Holder(QWidget* parent = nullptr, bool pictureTabStop = true) : UserControl(parent)
    {
        setDesignSize(3000, 1500);
        lbl = new Label(this, QStringLiteral("lbl"));
        lbl->put_Caption(QStringLiteral("MMMM"));
        p = new PictureBox(this, QStringLiteral("p"));
        p->put_TabStop(pictureTabStop);
        img = new Image(this, QStringLiteral("img"));
        watch(lbl, "lbl");
        watch(p, "p");
        watch(img, "img");
    }

    QStringList log;
    Label* lbl;
    PictureBox* p;
    Image* img;

protected:
    void UserControl_MouseDown(short& b, short& s, float& x, float& y) override
    {
        log << args("surface.down", b, s, x, y);
    }
    void UserControl_MouseUp(short& b, short& s, float& x, float& y) override
    {
        log << args("surface.up", b, s, x, y);
    }
    void UserControl_Click() override { log << QStringLiteral("surface.click"); }
    void UserControl_AccessKeyPress(short& key) override
    {
        log << QStringLiteral("%1.access %2").arg(objectName()).arg(key);
    }
    void UserControl_KeyDown(short& code, short&) override
    {
        log << QStringLiteral("surface.key %1").arg(code);
    }

private:
    template <class W>
    void watch(W* w, const char* name)
    {
        const QString n = QString::fromLatin1(name);
        connect(w, &W::MouseDown, this, [this, n](short& b, short& s, float& x, float& y) {
            log << args(qPrintable(n + QStringLiteral(".down")), b, s, x, y);
        });
        connect(w, &W::MouseUp, this, [this, n](short& b, short& s, float& x, float& y) {
            log << args(qPrintable(n + QStringLiteral(".up")), b, s, x, y);
        });
        connect(w, &W::Click, this, [this, n] { log << n + QStringLiteral(".click"); });
    }
};

// A control of another project, whose hooks raise errors with and without a source.
class Sourced : public UserControl {
    Q_OBJECT
    Q_CLASSINFO("Project", "KvTests")
public:
    explicit Sourced(QWidget* parent = nullptr) : UserControl(parent)
    {
        setDesignSize(1500, 300);
        lbl = new Label(this, QStringLiteral("lbl"));
        lbl->setGeometry(0, 0, 20, 10);
        connectGuarded(lbl, &Label::Click, this, &Sourced::lbl_Click);
    }
    QString source;
    Label* lbl;

protected:
    void UserControl_Click() override { raiseError(Err::InvalidProcedureCall, {}, source); }

private:
    void lbl_Click() { raiseError(Err::InvalidProcedureCall, {}, source); }
};

class TestChildren : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void childMouseEventsAreTheChildsOnly_data()
    {
        QTest::addColumn<QString>("child");
        QTest::addColumn<short>("scaleMode");
        QTest::addColumn<QString>("down");
        // The child sits at (30, 10) pixels; the click lands 5 pixels into it.
        QTest::newRow("label, twips") << "lbl" << short(vbTwips) << "lbl.down 1 0 75 75";
        QTest::newRow("label, pixels") << "lbl" << short(vbPixels) << "lbl.down 1 0 5 5";
        QTest::newRow("image, pixels") << "img" << short(vbPixels) << "img.down 1 0 5 5";
        // A picture box reports in its own scale (twips by default), inside its 2-pixel border.
        QTest::newRow("picture box") << "p" << short(vbPixels) << "p.down 1 0 45 45";
    }
    void childMouseEventsAreTheChildsOnly()
    {
        QFETCH(QString, child);
        QFETCH(short, scaleMode);
        QFETCH(QString, down);
        Holder* h = UserControl::create<Holder>(nullptr, QStringLiteral("h"));
        std::unique_ptr<Holder> owner(h);
        h->put_ScaleMode(scaleMode);
        auto* w = h->findChild<QWidget*>(child);
        CallByNameLet(w, QStringLiteral("Left"), scaleMode == vbPixels ? 30 : 450);
        CallByNameLet(w, QStringLiteral("Top"), scaleMode == vbPixels ? 10 : 150);
        CallByNameLet(w, QStringLiteral("Width"), scaleMode == vbPixels ? 60 : 900);
        CallByNameLet(w, QStringLiteral("Height"), scaleMode == vbPixels ? 20 : 300);
        h->show();
        QCOMPARE(w->geometry(), QRect(30, 10, 60, 20));
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(
            h->log,
            QStringList({down, QString(down).replace(QLatin1String(".down"), QLatin1String(".up")),
                         child + QStringLiteral(".click")}));
        // The surface's own events are in its scale: the same spot, measured from the surface.
        h->log.clear();
        QTest::mouseClick(h, Qt::LeftButton, {}, QPoint(35, 15));
        QCOMPARE(h->log.first(), scaleMode == vbPixels
                                     ? QStringLiteral("surface.down 1 0 35 15")
                                     : QStringLiteral("surface.down 1 0 525 225"));
    }

    void placementInTheContainersScale()
    {
        Holder* h = UserControl::create<Holder>(nullptr, QStringLiteral("h"));
        std::unique_ptr<Holder> owner(h);
        h->put_ScaleMode(vbPixels);
        // The centring a control does: (ScaleWidth - lbl.Width) / 2 lands in pixels.
        h->lbl->put_AutoSize(true);
        const float left = (h->get_ScaleWidth() - h->lbl->get_Width()) / 2;
        h->lbl->put_Left(left);
        QCOMPARE(h->lbl->x(), qRound(left));
        QCOMPARE(h->lbl->get_Width(), float(h->lbl->width()));
        h->lbl->Move(10, 4, 50, 16);
        QCOMPARE(h->lbl->geometry(), QRect(10, 4, 50, 16));
        // Back in twips the stored value reads back exactly.
        h->put_ScaleMode(vbTwips);
        h->lbl->put_Left(1310);
        QCOMPARE(h->lbl->get_Left(), 1310.f);
        // Huge values are taken as the farthest place a form file holds, not overflowed;
        // non-finite ones refused.
        h->lbl->put_Left(1e12f);
        QCOMPARE(h->lbl->get_Left(), float(MaxTwips));
        QCOMPARE(h->lbl->x(), qRound(MaxTwips / 15));
        QCOMPARE(errorOf([&] { h->lbl->put_Top(std::numeric_limits<float>::quiet_NaN()); }), 380);
        QCOMPARE(errorOf([&] { h->PSet(std::numeric_limits<float>::infinity(), 0); }), 380);
    }

    void enabledIsEachWidgetsOwnFlag()
    {
        QWidget frame;
        Holder* h = UserControl::create<Holder>(&frame, QStringLiteral("h"));
        const QRgb grey161 = qRgb(161, 161, 146);
        h->lbl->put_ForeColor(0x92A1A1); // RGB(161, 161, 146) as an OLE_COLOR
        auto bold = StdFont::create();
        bold->put_Size(14);
        bold->put_Bold(true);
        h->lbl->putref_Font(bold);
        h->lbl->put_AutoSize(true);
        frame.setEnabled(false);
        QVERIFY(h->get_Enabled());
        QVERIFY(h->Extender().get_Enabled());
        QCOMPARE(CallByNameGet(h, QStringLiteral("Enabled")).toBoolean(), true);
        QCOMPARE(CallByNameGet(h->lbl, QStringLiteral("Enabled")).toBoolean(), true);
        auto countForeColour = [&] {
            const QImage shot = h->lbl->grab().toImage();
            int n = 0;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    n += shot.pixel(x, y) == grey161 ? 1 : 0;
            return n;
        };
        QVERIFY(countForeColour() > 0); // only the container is disabled: the label's colour
        h->lbl->put_Enabled(false);
        QCOMPARE(countForeColour(), 0); // its own flag: the disabled look
        QCOMPARE(CallByNameGet(h->lbl, QStringLiteral("Enabled")).toBoolean(), false);
    }

    void surfaceTakesTheKeysWhenChildrenAreNoTabStops_data()
    {
        QTest::addColumn<bool>("pictureTabStop");
        QTest::addColumn<bool>("surfaceTakesFocus");
        QTest::newRow("picture box is a tab stop") << true << false;
        QTest::newRow("picture box is no tab stop") << false << true;
    }
    void surfaceTakesTheKeysWhenChildrenAreNoTabStops()
    {
        QFETCH(bool, pictureTabStop);
        QFETCH(bool, surfaceTakesFocus);
        QWidget window;
        auto* h = new Holder(nullptr, pictureTabStop);
        h->setParent(&window);
        h->startLife(QStringLiteral("h"), nullptr);
        QCOMPARE(h->p->get_TabStop(), pictureTabStop);
        QCOMPARE(bool(h->focusPolicy() & Qt::TabFocus), surfaceTakesFocus);
        if (!surfaceTakesFocus) return;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        h->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
        QCOMPARE(h->log, QStringList{QStringLiteral("surface.key 65")});
    }

    void buttonKeyStoppedInKeyDownDoesNotClick_data()
    {
        QTest::addColumn<bool>("stop");
        QTest::addColumn<int>("clicks");
        QTest::newRow("Enter goes on") << false << 1;
        QTest::newRow("KeyCode set to 0") << true << 0;
    }
    void buttonKeyStoppedInKeyDownDoesNotClick()
    {
        QFETCH(bool, stop);
        QFETCH(int, clicks);
        QWidget window;
        auto* h = UserControl::create<Holder>(&window, QStringLiteral("h"));
        auto* button = new CommandButton(h, QStringLiteral("cmd"));
        int clicked = 0;
        connect(button, &CommandButton::KeyDown, h, [&](short& code, short&) {
            if (stop) code = 0;
        });
        connect(button, &CommandButton::Click, h, [&] { ++clicked; });
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        QCOMPARE(clicked, clicks);
    }

    void errorsNameTheProjectOfTheCodeThatRaisedThem_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<bool>("onLabel"); // the label's handler, else the surface's hook
        QTest::addColumn<QString>("reported");
        QTest::newRow("hook, no source") << QString() << false << "KvTests";
        QTest::newRow("hook, a source given") << "Outro" << false << "Outro";
        QTest::newRow("child handler, no source") << QString() << true << "KvTests";
    }
    void errorsNameTheProjectOfTheCodeThatRaisedThem()
    {
        QFETCH(QString, given);
        QFETCH(bool, onLabel);
        QFETCH(QString, reported);
        ServicesScope scope;
        QStringList sources;
        services().reportError = [&](const RuntimeError& e) { sources << e.source(); };
        std::unique_ptr<Sourced> c(UserControl::create<Sourced>(nullptr, QStringLiteral("s")));
        c->source = given;
        c->show();
        if (onLabel)
            QTest::mouseClick(c->lbl, Qt::LeftButton, {}, QPoint(5, 5));
        else
            QTest::mouseClick(c.get(), Qt::LeftButton, {}, QPoint(50, 5));
        QCOMPARE(sources, QStringList{reported});
        // Outside the control's code nothing names it.
        QCOMPARE(RuntimeError(5).source(), QString());
    }

    void tabKeysRaiseKeyDownOnce_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Tab") << int(Qt::NoModifier);
        QTest::newRow("Shift+Tab") << int(Qt::ShiftModifier);
        QTest::newRow("Ctrl+Tab") << int(Qt::ControlModifier);
    }
    void tabKeysRaiseKeyDownOnce()
    {
        QFETCH(int, modifiers);
        QWidget window;
        auto* h = UserControl::create<Holder>(&window, QStringLiteral("h"));
        auto* box = new TextBox(h, QStringLiteral("txt"));
        int downs = 0;
        connect(box, &TextBox::KeyDown, h, [&](short& code, short&) { downs += code == 9; });
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Tab, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(downs, 1);
    }

    void sharedAccessKeyGoesToTheNextHolder_data()
    {
        QTest::addColumn<QString>("focused");
        QTest::addColumn<QString>("raised");
        QTest::newRow("between the two") << "b"
                                         << "c.access 70";
        QTest::newRow("on the last: wraps") << "c"
                                            << "a.access 70";
        QTest::newRow("on the first") << "a"
                                      << "c.access 70";
    }
    void sharedAccessKeyGoesToTheNextHolder()
    {
        QFETCH(QString, focused);
        QFETCH(QString, raised);
        QWidget window;
        QStringList log;
        QList<Holder*> all;
        for (const char* name : {"a", "b", "c"}) {
            auto* h = new Holder(nullptr, false);
            h->setParent(&window);
            h->startLife(QString::fromLatin1(name), nullptr);
            h->move(0, 40 * int(all.size()));
            if (h->objectName() != QLatin1String("b")) h->put_AccessKeys(QStringLiteral("f"));
            all << h;
        }
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        Holder* target = window.findChild<Holder*>(focused);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_F, Qt::AltModifier);
        QStringList got;
        for (Holder* h : all)
            got += h->log.filter(QStringLiteral(".access"));
        QCOMPARE(got, QStringList{raised});
    }
};

QTEST_MAIN(TestChildren)
#include "tst_children.moc"
