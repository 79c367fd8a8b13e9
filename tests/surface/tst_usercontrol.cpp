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

void note(const QString& entry)
{
    if (g_log) g_log->append(entry);
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
    void UserControl_Initialize() override { note(QStringLiteral("Initialize")); }
    void UserControl_InitProperties() override
    {
        note(QStringLiteral("InitProperties"));
        m_caption = Ambient().get_DisplayName();
    }
    void UserControl_ReadProperties(PropertyBag& bag) override
    {
        note(QStringLiteral("ReadProperties"));
        m_caption = bag.ReadProperty(QStringLiteral("Caption"), QString()).toString();
    }
    void UserControl_WriteProperties(PropertyBag& bag) override
    {
        bag.WriteProperty(QStringLiteral("Caption"), m_caption, QString());
    }
    void UserControl_Resize() override { note(QStringLiteral("Resize")); }
    void UserControl_Show() override { note(QStringLiteral("Show")); }
    void UserControl_Hide() override { note(QStringLiteral("Hide")); }
    void UserControl_Terminate() override { note(QStringLiteral("Terminate")); }
    void UserControl_Click() override
    {
        note(QStringLiteral("Click"));
        if (throwOnClick) raiseError(Err::InvalidProcedureCall, QStringLiteral("boom"));
    }
    void UserControl_DblClick() override { note(QStringLiteral("DblClick")); }
    void UserControl_MouseDown(short& b, short& s, float& x, float& y) override
    {
        mouse(QStringLiteral("MouseDown"), b, s, x, y);
    }
    void UserControl_MouseUp(short& b, short& s, float& x, float& y) override
    {
        mouse(QStringLiteral("MouseUp"), b, s, x, y);
    }
    void UserControl_MouseMove(short& b, short& s, float& x, float& y) override
    {
        lastMouse = QStringLiteral("MouseMove %1 %2 %3 %4").arg(b).arg(s).arg(x).arg(y);
    }
    void UserControl_KeyDown(short& code, short& shift) override
    {
        note(QStringLiteral("KeyDown %1 %2").arg(code).arg(shift));
        if (zeroKeyCode) code = 0;
    }
    void UserControl_KeyPress(short& ascii) override
    {
        note(QStringLiteral("KeyPress %1").arg(ascii));
    }
    void UserControl_KeyUp(short& code, short& shift) override
    {
        note(QStringLiteral("KeyUp %1 %2").arg(code).arg(shift));
    }
    void UserControl_AccessKeyPress(short& ascii) override
    {
        note(QStringLiteral("AccessKeyPress %1").arg(ascii));
    }

private:
    void mouse(const QString& what, short b, short s, float x, float y)
    {
        lastMouse = QStringLiteral("%1 %2 %3 %4 %5").arg(what).arg(b).arg(s).arg(x).arg(y);
        note(what);
    }
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

    void lifeCycle_data();
    void lifeCycle();
    void terminateWhenContainerDies();
    void sameSizeRaisesNoResize_data();
    void sameSizeRaisesNoResize();
    void showOnEachHiddenToShown();
    void saveToWritesProperties();
    void propertyChangedSignal();
    void ambient();
    void extenderGeometryInTwips();
    void extenderLateBinding();
    void extenderLateBindingErrors_data();
    void extenderLateBindingErrors();
    void containerControlsAndTypeTests();
    void doubleClickOrder();
    void mouseCoordinatesInScale_data();
    void mouseCoordinatesInScale();
    void mouseCapturedWhileHeld();
    void keys();
    void keyCodeZeroKeepsKeyPress();
    void tabRaisesKeyDown();
    void accessKey();
    void handlerErrorIsReported();

private:
    QStringList m_log;
};

void TestUserControl::lifeCycle_data()
{
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("new") << false << QStringList{"Initialize", "InitProperties", "Resize", "Show"};
    QTest::newRow("saved") << true << QStringList{"Initialize", "ReadProperties", "Resize", "Show"};
}

void TestUserControl::lifeCycle()
{
    QFETCH(bool, saved);
    QFETCH(QStringList, expected);
    QWidget window;
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Gravado"));
    Recorder* r =
        UserControl::create<Recorder>(&window, QStringLiteral("ctl1"), saved ? &bag : nullptr);
    QCOMPARE(r->objectName(), QStringLiteral("ctl1"));
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

void TestUserControl::terminateWhenContainerDies()
{
    auto* window = new QWidget;
    auto* outer = UserControl::create<Recorder>(window, QStringLiteral("outer"));
    UserControl::create<Recorder>(outer, QStringLiteral("inner"));
    m_log.clear();
    delete window;
    QCOMPARE(m_log, (QStringList{"Terminate", "Terminate"}));
}

void TestUserControl::sameSizeRaisesNoResize_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<int>("resizes");
    QTest::addColumn<float>("readBack");
    QTest::newRow("same twips") << 1680.0f << 0 << 1680.0f;
    QTest::newRow("new size") << 1310.0f << 1 << 1310.0f;
    QTest::newRow("same pixels") << 1685.0f << 0 << 1685.0f;
}

void TestUserControl::sameSizeRaisesNoResize()
{
    QFETCH(float, width);
    QFETCH(int, resizes);
    QFETCH(float, readBack);
    QWidget window;
    Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
    m_log.clear();
    r->put_Width(width);
    QCOMPARE(m_log.count(QStringLiteral("Resize")), resizes);
    QCOMPARE(r->get_Width(), readBack);
    QCOMPARE(r->Extender().get_Width(), readBack);
    // Showing afterwards brings Qt's pending resize, which is no new size.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(m_log.count(QStringLiteral("Resize")), resizes);
}

void TestUserControl::showOnEachHiddenToShown()
{
    QWidget window;
    Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    r->Extender().put_Visible(false);
    r->Extender().put_Visible(true);
    window.hide();
    window.show();
    QCOMPARE(m_log.count(QStringLiteral("Show")), 3);
    QCOMPARE(m_log.count(QStringLiteral("Hide")), 2);
    QVERIFY(r->Extender().get_Visible());
}

void TestUserControl::saveToWritesProperties()
{
    QWidget window;
    Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
    r->put_Caption(QStringLiteral("Salvar"));
    PropertyBag bag;
    r->saveTo(bag);
    QCOMPARE(bag.ReadProperty(QStringLiteral("Caption")).toString(), QStringLiteral("Salvar"));
    Recorder* again = UserControl::create<Recorder>(&window, QStringLiteral("d"), &bag);
    QCOMPARE(again->get_Caption(), QStringLiteral("Salvar"));
}

void TestUserControl::propertyChangedSignal()
{
    QWidget window;
    Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
    QSignalSpy spy(r, &UserControl::propertyChanged);
    r->put_Caption(QStringLiteral("x"));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Caption"));
}

void TestUserControl::ambient()
{
    QWidget window;
    Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("txtNome"));
    QVERIFY(r->Ambient().get_UserMode());
    QCOMPARE(r->Ambient().get_DisplayName(), QStringLiteral("txtNome"));
    const FontRef a = r->Ambient().get_Font(), b = r->Ambient().get_Font();
    QVERIFY(a && b && a != b); // a copy each time: changing one leaves the container's alone
    a->put_Bold(true);
    QVERIFY(!b->get_Bold());
}

void TestUserControl::extenderGeometryInTwips()
{
    QWidget window;
    Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
    QCOMPARE(r->Extender().get_Width(), 1680.0f);
    QCOMPARE(r->Extender().get_Height(), 315.0f);
    QCOMPARE(r->size(), QSize(112, 21));
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

void TestUserControl::extenderLateBinding()
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
    QCOMPARE(r->Extender().getProperty(QStringLiteral("Name")).toString(), QStringLiteral("optA"));
    r->Extender().setProperty(QStringLiteral("ToolTipText"), QStringLiteral("Dica"));
    QCOMPARE(r->Extender().get_ToolTipText(), QStringLiteral("Dica"));
    r->Extender().setProperty(QStringLiteral("Enabled"), false);
    QVERIFY(!r->Extender().get_Enabled());
}

void TestUserControl::extenderLateBindingErrors_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Variant>("value");
    QTest::addColumn<int>("error");
    QTest::newRow("unknown") << "Texto" << Variant(1) << 438;
    QTest::newRow("Qt's own property is not the control's") << "objectName" << Variant("x") << 438;
    QTest::newRow("read-only") << "Kind" << Variant(short(1)) << 383;
    QTest::newRow("name is read-only") << "Name" << Variant("y") << 383;
    QTest::newRow("no conversion") << "Value" << Variant("talvez") << 13;
}

void TestUserControl::extenderLateBindingErrors()
{
    QFETCH(QString, name);
    QFETCH(Variant, value);
    QFETCH(int, error);
    QWidget window;
    Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
    try {
        r->Extender().setProperty(name, value);
        QFAIL("no error");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), error);
    }
    QVERIFY(!r->get_Value());
    QCOMPARE(r->objectName(), QStringLiteral("c"));
}

void TestUserControl::containerControlsAndTypeTests()
{
    QWidget window;
    Recorder* a = UserControl::create<Recorder>(&window, QStringLiteral("a"));
    auto* label = new QLabel(&window);
    label->setObjectName(QStringLiteral("lblTitulo"));
    new QWidget(&window); // unnamed: no control
    auto* inner = new QWidget(a);
    inner->setObjectName(QStringLiteral("child")); // a constituent of a, not a sibling
    Recorder* b = UserControl::create<Recorder>(&window, QStringLiteral("b"));
    const QList<QWidget*> siblings = a->Extender().ContainerControls();
    QCOMPARE(siblings, (QList<QWidget*>{a, label, b}));
    QCOMPARE(a->Extender().get_Container(), &window);
    QCOMPARE(TypeName(b), QStringLiteral("Recorder"));
    QVERIFY(TypeOf(b, QStringLiteral("recorder")));
    QVERIFY(TypeOf(b, QStringLiteral("UserControl")));
    QVERIFY(!TypeOf(label, QStringLiteral("Recorder")));
    QVERIFY(TypeOf<Recorder>(b));
    QVERIFY(!TypeOf<Recorder>(label));
    QVERIFY(a->Extender().TypeOf(QStringLiteral("Recorder")));
    // Clearing the siblings the way an option button does.
    b->put_Value(true);
    for (QWidget* w : siblings)
        if (w != a && TypeOf(w, QStringLiteral("Recorder")))
            CallByNameLet(w, QStringLiteral("Value"), false);
    QVERIFY(!b->get_Value());
}

void TestUserControl::doubleClickOrder()
{
    QWidget window;
    Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    m_log.clear();
    const QPoint p(10, 10);
    QTest::mousePress(r, Qt::LeftButton, {}, p);
    QTest::mouseRelease(r, Qt::LeftButton, {}, p);
    QTest::mouseDClick(r, Qt::LeftButton, {}, p);
    QTest::mouseRelease(r, Qt::LeftButton, {}, p);
    QCOMPARE(m_log, (QStringList{"MouseDown", "MouseUp", "Click", "DblClick", "MouseUp"}));
}

void TestUserControl::mouseCoordinatesInScale_data()
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

void TestUserControl::mouseCoordinatesInScale()
{
    QFETCH(short, mode);
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, expected);
    QWidget window;
    Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    r->put_ScaleMode(mode);
    QTest::mousePress(r, button, modifiers, QPoint(10, 5));
    QCOMPARE(r->lastMouse, expected);
    QTest::mouseRelease(r, button, modifiers, QPoint(10, 5));
    // A right click is no Click.
    QCOMPARE(m_log.contains(QStringLiteral("Click")), button == Qt::LeftButton);
}

void TestUserControl::mouseCapturedWhileHeld()
{
    QWidget window;
    window.resize(400, 200);
    Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    r->put_ScaleMode(vbPixels);
    QTest::mousePress(r, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(r, QPoint(150, 30)); // beyond the control's 112 x 21 pixels
    QCOMPARE(r->lastMouse, QStringLiteral("MouseMove 1 0 150 30"));
    QTest::mouseRelease(r, Qt::LeftButton, {}, QPoint(150, 30));
    QCOMPARE(r->lastMouse, QStringLiteral("MouseUp 1 0 150 30"));
    QVERIFY(!m_log.contains(QStringLiteral("Click"))); // released outside
}

void TestUserControl::keys()
{
    QWidget window;
    Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    r->setFocus();
    m_log.clear();
    QTest::keyClick(r, Qt::Key_A);
    QTest::keyClick(r, Qt::Key_5, Qt::ShiftModifier);
    // The Shift key itself comes down and up around the digit, as on the runtime.
    QCOMPARE(m_log, (QStringList{"KeyDown 65 0", "KeyPress 97", "KeyUp 65 0", "KeyDown 16 1",
                                 "KeyDown 53 1", "KeyPress 53", "KeyUp 53 1", "KeyUp 16 0"}));
}

void TestUserControl::keyCodeZeroKeepsKeyPress()
{
    QWidget window;
    Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    r->setFocus();
    r->zeroKeyCode = true;
    m_log.clear();
    QTest::keyPress(r, Qt::Key_B);
    // The key's own action stops; the character it types still goes through KeyPress.
    QCOMPARE(m_log, (QStringList{"KeyDown 66 0", "KeyPress 98"}));
}

void TestUserControl::tabRaisesKeyDown()
{
    QWidget window;
    Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("a"));
    Recorder* other = UserControl::create<Recorder>(&window, QStringLiteral("b"));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    r->setFocus();
    r->zeroKeyCode = true;
    m_log.clear();
    QTest::keyClick(r, Qt::Key_Tab);
    QCOMPARE(m_log.value(0), QStringLiteral("KeyDown 9 0"));
    QVERIFY(r->hasFocus()); // KeyCode 0 kept the focus
    r->zeroKeyCode = false;
    QTest::keyClick(r, Qt::Key_Tab);
    QVERIFY(other->hasFocus());
}

void TestUserControl::accessKey()
{
    QWidget window;
    Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("a"));
    Recorder* other = UserControl::create<Recorder>(&window, QStringLiteral("b"));
    r->put_AccessKeys(QStringLiteral("f"));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    m_log.clear();
    QTest::keyClick(other, Qt::Key_F, Qt::AltModifier);
    QVERIFY2(m_log.contains(QStringLiteral("AccessKeyPress 70")), qPrintable(m_log.join(',')));
    m_log.clear();
    r->put_AccessKeys(QString());
    QTest::keyClick(other, Qt::Key_F, Qt::AltModifier);
    QVERIFY(!m_log.contains(QStringLiteral("AccessKeyPress 70")));
}

void TestUserControl::handlerErrorIsReported()
{
    ServicesScope scope;
    QList<int> reported;
    services().reportError = [&](const RuntimeError& e) { reported.append(e.number()); };
    QWidget window;
    Recorder* r = UserControl::create<Recorder>(&window, QStringLiteral("c"));
    r->throwOnClick = true;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(reported, QList<int>{5});
    QVERIFY(m_log.contains(QStringLiteral("Click")));
}

QTEST_MAIN(TestUserControl)
#include "tst_usercontrol.moc"
