// The control surface as a control sees it: life-cycle order, Resize and Show rules, mouse and
// key events, access keys, Ambient, Extender and late binding, error reporting.

#include "host/persist/PropertyBag.h"
#include "host/services/Services.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/Lifetime.h"
#include "host/widgets/UserControl.h"

#include <QLabel>
#include <QPointer>
#include <QtTest>

using namespace host;

namespace {

QStringList* g_log = nullptr;

// "what a b ...": an event and its arguments as the log and the tests write them.
template <class... Args>
QString entry(const char* what, Args... args)
{
    QString text = QString::fromLatin1(what);
    ((text += QLatin1Char(' ') + QString::number(args)), ...);
    return text;
}

template <class... Args>
void note(const char* what, Args... args)
{
    if (g_log) g_log->append(entry(what, args...));
}

} // namespace

class Recorder : public UserControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ get_Caption WRITE put_Caption)
    Q_PROPERTY(bool Value READ get_Value WRITE put_Value)
    Q_PROPERTY(short Kind READ get_Kind)
public:
    explicit Recorder(QWidget* parent = nullptr) : UserControl(parent) { setDesignSize(1680, 315); }
    QString get_Caption() const { return m_caption; }
    void put_Caption(const QString& c)
    {
        m_caption = c;
        PropertyChanged(QStringLiteral("Caption"));
    }
    bool get_Value() const { return m_value; }
    void put_Value(bool v) { m_value = v; }
    short get_Kind() const { return 3; }

    bool zeroKeyCode = false;
    bool throwOnClick = false;
    QString lastMouse;

protected:
    void UserControl_Initialize() override { note("Initialize"); }
    void UserControl_InitProperties() override
    {
        note("InitProperties");
        m_caption = Ambient().get_DisplayName();
    }
    void UserControl_ReadProperties(PropertyBag& bag) override
    {
        note("ReadProperties");
        m_caption = bag.ReadProperty(QStringLiteral("Caption"), QString()).toString();
    }
    void UserControl_WriteProperties(PropertyBag& bag) override
    {
        bag.WriteProperty(QStringLiteral("Caption"), m_caption, QString());
    }
    void UserControl_Resize() override { note("Resize"); }
    void UserControl_Show() override { note("Show"); }
    void UserControl_Hide() override { note("Hide"); }
    void UserControl_Terminate() override { note("Terminate"); }
    void UserControl_Click() override
    {
        note("Click");
        if (throwOnClick) raiseError(Err::InvalidProcedureCall, QStringLiteral("boom"));
    }
    void UserControl_DblClick() override { note("DblClick"); }
    void UserControl_MouseDown(short& b, short& s, float& x, float& y) override
    {
        note("MouseDown");
        lastMouse = entry("MouseDown", b, s, x, y);
    }
    void UserControl_MouseUp(short& b, short& s, float& x, float& y) override
    {
        note("MouseUp");
        lastMouse = entry("MouseUp", b, s, x, y);
    }
    void UserControl_MouseMove(short& b, short& s, float& x, float& y) override
    {
        lastMouse = entry("MouseMove", b, s, x, y);
    }
    void UserControl_KeyDown(short& code, short& shift) override
    {
        note("KeyDown", code, shift);
        if (zeroKeyCode) code = 0;
    }
    void UserControl_KeyPress(short& ascii) override { note("KeyPress", ascii); }
    void UserControl_KeyUp(short& code, short& shift) override { note("KeyUp", code, shift); }
    void UserControl_AccessKeyPress(short& ascii) override { note("AccessKeyPress", ascii); }

private:
    QString m_caption;
    bool m_value = false;
};

class TestUserControl : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_log.clear();
        g_log = &m_log;
    }
    void cleanup() { g_log = nullptr; }

    void lifeCycle_data()
    {
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("new") << false
                             << QStringList{"Initialize", "InitProperties", "Resize", "Show"};
        QTest::newRow("saved") << true
                               << QStringList{"Initialize", "ReadProperties", "Resize", "Show"};
    }

    void lifeCycle()
    {
        QFETCH(bool, saved);
        QFETCH(QStringList, expected);
        QWidget window;
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Gravado"));
        Recorder* r =
            UserControl::create<Recorder>(&window, QStringLiteral("ctl1"), saved ? &bag : nullptr);
        QCOMPARE(r->get_Caption(), saved ? QStringLiteral("Gravado") : QStringLiteral("ctl1"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(m_log, expected);

        QPointer<Recorder> alive(r);
        dispose(r);
        QCOMPARE(m_log.last(), QStringLiteral("Hide"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);
        QCOMPARE(m_log.last(), QStringLiteral("Terminate"));
        QCOMPARE(m_log.count(QStringLiteral("Terminate")), 1);
    }

    void terminateWhenContainerDies()
    {
        auto* window = new QWidget;
        auto* outer = UserControl::create<Recorder>(window, QStringLiteral("outer"));
        UserControl::create<Recorder>(outer, QStringLiteral("inner"));
        m_log.clear();
        delete window;
        QCOMPARE(m_log, (QStringList{"Terminate", "Terminate"}));
    }

    void sameSizeRaisesNoResize_data()
    {
        QTest::addColumn<float>("width");
        QTest::addColumn<int>("resizes");
        QTest::newRow("same twips") << 1680.0f << 0;
        QTest::newRow("new size") << 1310.0f << 1;
        QTest::newRow("same pixels") << 1685.0f << 0;
    }

    void sameSizeRaisesNoResize()
    {
        QFETCH(float, width);
        QFETCH(int, resizes);
        QWidget window;
        Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
        m_log.clear();
        r->put_Width(width);
        QCOMPARE(m_log.count(QStringLiteral("Resize")), resizes);
        QCOMPARE(r->Extender().get_Width(), width);
        // Showing afterwards brings Qt's pending resize, which is no new size.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(m_log.count(QStringLiteral("Resize")), resizes);
    }

    void showOnEachHiddenToShown()
    {
        QWidget window;
        Recorder* r = shown(window);
        r->Extender().put_Visible(false);
        r->Extender().put_Visible(true);
        window.hide();
        window.show();
        QCOMPARE(m_log, (QStringList{"Hide", "Show", "Hide", "Show"}));
    }

    void savedPropertiesAndChangeSignal()
    {
        QWidget window;
        Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
        QSignalSpy spy(r, &UserControl::propertyChanged);
        r->put_Caption(QStringLiteral("Salvar"));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Caption"));
        PropertyBag bag;
        r->saveTo(bag);
        Recorder* again = UserControl::create<Recorder>(&window, QStringLiteral("d"), &bag);
        QCOMPARE(again->get_Caption(), QStringLiteral("Salvar"));
    }

    void ambient()
    {
        QWidget window;
        Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("txtNome"));
        QVERIFY(r->Ambient().get_UserMode());
        const FontRef a = r->Ambient().get_Font(), b = r->Ambient().get_Font();
        QVERIFY(a && b && a != b); // a copy each time: changing one leaves the container's alone
        a->put_Bold(true);
        QVERIFY(!b->get_Bold());
    }

    void extenderGeometryInTwips()
    {
        QWidget window;
        Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
        QCOMPARE(r->size(), QSize(112, 21)); // 1680 x 315 twips
        r->Extender().put_Left(1200);
        r->Extender().put_Top(365);
        QCOMPARE(r->Extender().get_Top(), 365.0f);
        QCOMPARE(r->pos(), QPoint(80, 24));
        m_log.clear();
        r->Extender().Move(0, 0, 3000, 600);
        QCOMPARE(r->geometry(), QRect(0, 0, 200, 40));
        QCOMPARE(m_log, QStringList{"Resize"});
        QCOMPARE(r->get_ScaleWidth(), 3000.0f);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, r->Extender().put_Width(-1));
        QCOMPARE(r->Extender().get_Width(), 3000.0f);
    }

    void extenderLateBinding()
    {
        QWidget window;
        Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("optA"));
        r->Extender().setProperty(QStringLiteral("caption"), QStringLiteral("Sim"));
        QCOMPARE(r->get_Caption(), QStringLiteral("Sim"));
        r->Extender().setProperty(QStringLiteral("Value"), Variant(short(-1)));
        QVERIFY(r->get_Value());
        QCOMPARE(r->Extender().getProperty(QStringLiteral("VALUE")).toBoolean(), true);
        QCOMPARE(r->Extender().getProperty(QStringLiteral("Kind")).toInteger(), short(3));
        // The extender's own properties by name, in twips.
        r->Extender().setProperty(QStringLiteral("Left"), Variant(300));
        QCOMPARE(r->Extender().get_Left(), 300.0f);
        QCOMPARE(r->Extender().getProperty(QStringLiteral("Width")).toSingle(), 1680.0f);
        QCOMPARE(r->Extender().getProperty(QStringLiteral("Name")).toString(),
                 QStringLiteral("optA"));
    }

    void extenderLateBindingErrors_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Variant>("value");
        QTest::addColumn<int>("error");
        QTest::newRow("unknown") << "Texto" << Variant(1) << 438;
        QTest::newRow("Qt's own property is not the control's")
            << "objectName" << Variant("x") << 438;
        QTest::newRow("read-only") << "Kind" << Variant(short(1)) << 383;
        QTest::newRow("name is read-only") << "Name" << Variant("y") << 383;
        QTest::newRow("no conversion") << "Value" << Variant("talvez") << 13;
    }

    void extenderLateBindingErrors()
    {
        QFETCH(QString, name);
        QFETCH(Variant, value);
        QFETCH(int, error);
        QWidget window;
        Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
        int raised = 0;
        try {
            r->Extender().setProperty(name, value);
        } catch (const RuntimeError& e) {
            raised = e.number();
        }
        QCOMPARE(raised, error);
        QVERIFY(!r->get_Value());
        QCOMPARE(r->objectName(), QStringLiteral("c"));
    }

    void containerControlsAndTypeTests()
    {
        QWidget window;
        Recorder* a = UserControl::create<Recorder>(&window, QStringLiteral("a"));
        auto* label = new QLabel(&window);
        label->setObjectName(QStringLiteral("lblTitulo"));
        new QWidget(&window);                                     // unnamed: no control
        (new QWidget(a))->setObjectName(QStringLiteral("child")); // a constituent, not a sibling
        Recorder* b = UserControl::create<Recorder>(&window, QStringLiteral("b"));
        const QList<QWidget*> siblings = a->Extender().ContainerControls();
        QCOMPARE(siblings, (QList<QWidget*>{a, label, b}));
        QCOMPARE(a->Extender().get_Container(), &window);
        QCOMPARE(TypeName(b), QStringLiteral("Recorder"));
        QVERIFY(TypeOf(b, QStringLiteral("recorder")) && TypeOf(b, QStringLiteral("UserControl")));
        QVERIFY(!TypeOf(label, QStringLiteral("Recorder")));
        QVERIFY(TypeOf<Recorder>(b) && !TypeOf<Recorder>(label));
        // Clearing the siblings the way an option button does.
        b->put_Value(true);
        for (QWidget* w : siblings)
            if (w != a && TypeOf(w, QStringLiteral("Recorder")))
                CallByNameLet(w, QStringLiteral("Value"), false);
        QVERIFY(!b->get_Value());
    }

    void doubleClickOrder()
    {
        QWidget window;
        Recorder* r = shown(window);
        const QPoint p(10, 10);
        QTest::mousePress(r, Qt::LeftButton, {}, p);
        QTest::mouseRelease(r, Qt::LeftButton, {}, p);
        QTest::mouseDClick(r, Qt::LeftButton, {}, p);
        QTest::mouseRelease(r, Qt::LeftButton, {}, p);
        QCOMPARE(m_log, (QStringList{"MouseDown", "MouseUp", "Click", "DblClick", "MouseUp"}));
    }

    void mouseCoordinatesInScale_data()
    {
        QTest::addColumn<short>("mode");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("expected");
        QTest::newRow("twips") << short(vbTwips) << Qt::LeftButton << Qt::KeyboardModifiers()
                               << "MouseDown 1 0 150 75";
        QTest::newRow("pixels, right, shift")
            << short(vbPixels) << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier)
            << "MouseDown 2 1 10 5";
    }

    void mouseCoordinatesInScale()
    {
        QFETCH(short, mode);
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, expected);
        QWidget window;
        Recorder* r = shown(window);
        r->put_ScaleMode(mode);
        QTest::mousePress(r, button, modifiers, QPoint(10, 5));
        QCOMPARE(r->lastMouse, expected);
        QTest::mouseRelease(r, button, modifiers, QPoint(10, 5));
        QCOMPARE(m_log.contains(QStringLiteral("Click")), button == Qt::LeftButton);
    }

    void mouseCapturedWhileHeld()
    {
        QWidget window;
        window.resize(400, 200);
        Recorder* r = shown(window);
        r->put_ScaleMode(vbPixels);
        QTest::mousePress(r, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(r, QPoint(150, 30)); // beyond the control's 112 x 21 pixels
        QCOMPARE(r->lastMouse, QStringLiteral("MouseMove 1 0 150 30"));
        QTest::mouseRelease(r, Qt::LeftButton, {}, QPoint(150, 30));
        QCOMPARE(r->lastMouse, QStringLiteral("MouseUp 1 0 150 30"));
        QVERIFY(!m_log.contains(QStringLiteral("Click"))); // released outside
    }

    void keys()
    {
        QWidget window;
        Recorder* r = shown(window);
        QTest::keyClick(r, Qt::Key_A);
        QTest::keyClick(r, Qt::Key_5, Qt::ShiftModifier);
        // The Shift key itself comes down and up around the digit, as on the runtime.
        QCOMPARE(m_log, (QStringList{"KeyDown 65 0", "KeyPress 97", "KeyUp 65 0", "KeyDown 16 1",
                                     "KeyDown 53 1", "KeyPress 53", "KeyUp 53 1", "KeyUp 16 0"}));
        // KeyCode 0 stops the key's own action; the character still goes through KeyPress.
        r->zeroKeyCode = true;
        m_log.clear();
        QTest::keyPress(r, Qt::Key_B);
        QCOMPARE(m_log, (QStringList{"KeyDown 66 0", "KeyPress 98"}));
    }

    void tabRaisesKeyDown()
    {
        QWidget window;
        Recorder* other = UserControl::create<Recorder>(&window, QStringLiteral("b"));
        Recorder* r = shown(window, "a");
        r->zeroKeyCode = true;
        QTest::keyClick(r, Qt::Key_Tab);
        QCOMPARE(m_log.value(0), QStringLiteral("KeyDown 9 0"));
        QVERIFY(r->hasFocus()); // KeyCode 0 kept the focus
        r->zeroKeyCode = false;
        QTest::keyClick(r, Qt::Key_Tab);
        QVERIFY(other->hasFocus());
    }

    void accessKey()
    {
        QWidget window;
        Recorder* other = UserControl::create<Recorder>(&window, QStringLiteral("b"));
        Recorder* r = shown(window, "a");
        r->put_AccessKeys(QStringLiteral("f"));
        other->setFocus();
        QTest::keyClick(other, Qt::Key_F, Qt::AltModifier);
        QVERIFY2(m_log.contains(QStringLiteral("AccessKeyPress 70")), qPrintable(m_log.join(',')));
        m_log.clear();
        r->put_AccessKeys(QString());
        QTest::keyClick(other, Qt::Key_F, Qt::AltModifier);
        QVERIFY(!m_log.contains(QStringLiteral("AccessKeyPress 70")));
    }

    void handlerErrorIsReported()
    {
        ServicesScope scope;
        QList<int> reported;
        services().reportError = [&](const RuntimeError& e) { reported.append(e.number()); };
        QWidget window;
        Recorder* r = shown(window);
        r->throwOnClick = true;
        QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(reported, QList<int>{5});
        QVERIFY(m_log.contains(QStringLiteral("Click")));
    }

private:
    // A recorder in `window`, shown, active and focused, with the log cleared.
    Recorder* shown(QWidget& window, const char* name = "c")
    {
        Recorder* r = UserControl::create<Recorder>(&window, QString::fromLatin1(name));
        window.show();
        if (!QTest::qWaitForWindowActive(&window)) qWarning("the window did not become active");
        r->setFocus();
        m_log.clear();
        return r;
    }

    QStringList m_log;
};

QTEST_MAIN(TestUserControl)
#include "tst_usercontrol.moc"
