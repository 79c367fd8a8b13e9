// Forms: load and unload, modeless and modal showing driven from the nested loop, closing,
// unloading from a handler, key preview ahead of the controls and of shortcuts, tab order.

#include "host/automation/Registry.h"
#include "host/forms/Form.h"
#include "host/persist/FormFile.h"
#include "host/persist/PropertyBag.h"
#include "host/services/Services.h"
#include "host/value/RuntimeError.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace host;

namespace {

QStringList* g_log = nullptr;

void note(const QString& entry)
{
    if (g_log) g_log->append(entry);
}

class Button : public UserControl {
public:
    explicit Button(QWidget* parent = nullptr) : UserControl(parent) { setDesignSize(1200, 375); }
    std::function<void()> onClick;
    QString readCaption;

protected:
    void UserControl_ReadProperties(PropertyBag& bag) override
    {
        readCaption = bag.ReadProperty(QStringLiteral("Caption"), QString()).toString();
    }
    void UserControl_Terminate() override { note(objectName() + QStringLiteral(" Terminate")); }
    void UserControl_Click() override
    {
        note(objectName() + QStringLiteral(" Click"));
        if (onClick) onClick();
    }
    void UserControl_KeyDown(short& code, short& shift) override
    {
        note(QStringLiteral("KeyDown %1 %2").arg(code).arg(shift));
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
};

class TestForm : public Form {
public:
    int loads = 0;
    bool cancelUnload = false;
    bool zeroKeyCode = false;
    bool changeKeyAscii = false;
    QPointer<Button> ok, cancel;

protected:
    void Form_Load() override
    {
        ++loads;
        note(QStringLiteral("Form_Load"));
        put_Caption(QStringLiteral("Cadastro de Cliente"));
        ok = add<Button>(QStringLiteral("cmdOk"));
        cancel = add<Button>(QStringLiteral("cmdCancel"));
        cancel->Extender().put_Left(1500);
    }
    void Form_Unload(short& Cancel) override
    {
        note(QStringLiteral("Form_Unload"));
        if (cancelUnload) Cancel = 1;
    }
    void Form_KeyDown(short& code, short& shift) override
    {
        note(QStringLiteral("Form_KeyDown %1 %2").arg(code).arg(shift));
        if (zeroKeyCode) code = 0;
    }
    void Form_KeyPress(short& ascii) override
    {
        note(QStringLiteral("Form_KeyPress %1").arg(ascii));
        if (changeKeyAscii && ascii == 'a') ascii = 'b';
    }
    void Form_KeyUp(short& code, short& shift) override
    {
        note(QStringLiteral("Form_KeyUp %1 %2").arg(code).arg(shift));
    }
};

// Runs `act` on the modal window once it is up (polling from inside the nested loop); a
// watchdog unloads the form instead if the window never comes, so the test fails, not hangs.
struct ModalDriver {
    Form& form;
    std::function<void(QWidget*)> act;
    bool acted = false;
    bool timedOut = false;

    void poll()
    {
        if (acted || timedOut) return;
        if (QWidget* modal = QApplication::activeModalWidget()) {
            acted = true;
            act(modal);
            return;
        }
        QTimer::singleShot(10, [this] { poll(); });
    }

    void start()
    {
        QTimer::singleShot(10, [this] { poll(); });
        QTimer::singleShot(5000, [this] {
            if (acted) return;
            timedOut = true;
            form.unload();
        });
    }
};

// The run-time error `call` raises, 0 when none.
int errorOf(const std::function<void()>& call, QString* description = nullptr)
{
    try {
        call();
    } catch (const RuntimeError& e) {
        if (description) *description = e.description();
        return e.number();
    }
    return 0;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestFormHost : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_log.clear();
        g_log = &m_log;
    }

    void cleanup()
    {
        g_log = nullptr;
        flushDeletes();
    }

    void loadUnloadAndMembersSurvive()
    {
        TestForm form;
        QVERIFY(!form.widget());
        QVERIFY(!form.isLoaded());
        form.load();
        QVERIFY(form.widget());
        QCOMPARE(form.widget()->windowTitle(), QStringLiteral("Cadastro de Cliente"));
        QCOMPARE(form.loads, 1);
        QPointer<QWidget> window = form.widget();
        form.unload();
        QVERIFY(!form.widget());
        QCOMPARE(m_log, (QStringList{"Form_Load", "Form_Unload", "cmdOk Terminate",
                                     "cmdCancel Terminate"}));
        flushDeletes();
        QVERIFY(!window);
        QVERIFY(!form.ok);
        form.unload(); // nothing more
        QCOMPARE(m_log.count(QStringLiteral("Form_Unload")), 1);
        form.load();
        QCOMPARE(form.loads, 2); // the object and its members lived on
    }

    void unloadCanBeCancelled()
    {
        TestForm form;
        form.cancelUnload = true;
        form.load();
        form.unload();
        QVERIFY(form.isLoaded());
        QVERIFY(!m_log.contains(QStringLiteral("cmdOk Terminate")));
        form.cancelUnload = false;
    }

    void destroyingALoadedFormSignalsNothing()
    {
        int unloads = 0;
        {
            TestForm form;
            connect(&form, &Form::unloaded, &form, [&] { ++unloads; });
            form.load();
            form.unload();
            QCOMPARE(unloads, 1);
            form.load();
        } // destroyed loaded: its receivers would find the derived form gone
        QCOMPARE(unloads, 1);
    }

    void closingTheWindowUnloads()
    {
        TestForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(form.widget()));
        form.widget()->close();
        QVERIFY(!form.isLoaded());
        QVERIFY(m_log.contains(QStringLiteral("cmdOk Terminate")));
    }

    void clientSizeInTwipsAndCentred()
    {
        TestForm form;
        form.put_Width(6000);
        form.put_Height(3010);
        form.show();
        QWidget* w = form.widget();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->size(), QSize(400, 201));
        QCOMPARE(form.get_Height(), 3010.0f);
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY((w->geometry().center() - centre).manhattanLength() <= 2);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, form.put_Width(-5));
    }

    // A menu bar sits above the client area: the window grows by the bar, the controls keep
    // their places in twips and on screen below it, and what is saved does not change.
    void menuBarAboveTheClientArea()
    {
        TestForm form;
        form.put_Width(6000);
        form.put_Height(3010);
        form.show();
        QWidget* w = form.widget();
        form.ok->Extender().put_Top(300);
        const FormDescription before = form.describe();
        const QPoint okOnScreen = form.ok->mapToGlobal(QPoint(0, 0));
        QMenuBar* bar = form.menuBar();
        bar->addMenu(QStringLiteral("Aj&uda"));
        QTRY_VERIFY(bar->height() > 0);
        QCOMPARE(w->size(), QSize(400, 201 + bar->height()));
        QCOMPARE(form.get_Height(), 3010.0f);
        QCOMPARE(form.ok->mapToGlobal(QPoint(0, 0)), okOnScreen + QPoint(0, bar->height()));
        QCOMPARE(form.ok->Extender().get_Top(), 300.0f);
        QCOMPARE(form.describe().controls.size(), before.controls.size());
        QCOMPARE(form.describe().controls[0].top, before.controls[0].top);
        auto* late = form.add<Button>(QStringLiteral("cmdLate"));
        QCOMPARE(late->parentWidget(), form.ok->parentWidget()); // placed below the bar too
        form.put_Height(1500);
        QCOMPARE(w->height(), 100 + bar->height());
    }

    void modalDrivenFromNestedLoop()
    {
        TestForm form;
        bool clickedInside = false;
        ModalDriver driver{form, [&](QWidget* modal) {
                               auto* ok = modal->findChild<Button*>(QStringLiteral("cmdOk"));
                               QVERIFY(ok);
                               ok->onClick = [&] {
                                   clickedInside = true;
                                   form.unload();
                               };
                               QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(5, 5));
                           }};
        driver.start();
        form.showModal();
        QVERIFY(!driver.timedOut && clickedInside);
        QVERIFY(!form.isLoaded()); // showModal returned after the unload
    }

    void showModalWhileShownRaises400_data()
    {
        QTest::addColumn<bool>("fromModal");
        QTest::newRow("shown modeless") << false;
        QTest::newRow("shown modally") << true;
    }

    void showModalWhileShownRaises400()
    {
        QFETCH(bool, fromModal);
        TestForm form;
        int error = 0;
        auto tryAgain = [&] { error = errorOf([&] { form.showModal(); }); };
        if (fromModal) {
            ModalDriver driver{form, [&](QWidget*) {
                                   tryAgain();
                                   form.unload();
                               }};
            driver.start();
            form.showModal();
            QVERIFY(!driver.timedOut);
        } else {
            form.show();
            tryAgain();
            QVERIFY(form.widget()->isVisible());
            form.unload();
        }
        QCOMPARE(error, 400);
    }

    void clickHandlerUnloadsItsOwnForm()
    {
        TestForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(form.widget()));
        QPointer<Button> ok = form.ok;
        ok->onClick = [&] { form.unload(); };
        QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!form.isLoaded());
        QCOMPARE(
            m_log.mid(m_log.indexOf(QStringLiteral("cmdOk Click"))),
            (QStringList{"cmdOk Click", "Form_Unload", "cmdOk Terminate", "cmdCancel Terminate"}));
        flushDeletes();
        QVERIFY(!ok);
    }

    void addWithBagAndNames()
    {
        TestForm form;
        form.load();
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Gravar"));
        Button* b = form.add<Button>(QStringLiteral("cmdGravar"), bag);
        QCOMPARE(b->readCaption, QStringLiteral("Gravar"));
        QCOMPARE(b->geometry(), QRect(0, 0, 80, 25)); // the designed 1200 x 375 twips
        QCOMPARE(errorOf([&] { form.add<Button>(QStringLiteral("CMDOK")); }), 727);
        // A class missing from the registry: 429 naming it, and no control left behind.
        QTemporaryDir dir;
        Registry::setPath(dir.filePath(QStringLiteral("registry.json")));
        const qsizetype before = form.controls().size();
        QString why;
        QCOMPARE(errorOf([&] { form.add(QStringLiteral("Kv_CTRL.txtCampo"), QStringLiteral("x")); },
                         &why),
                 429);
        Registry::setPath({});
        QVERIFY2(why.contains(QStringLiteral("Kv_CTRL.txtCampo")), qPrintable(why));
        QCOMPARE(form.controls().size(), before);
    }

    void controlsInTabOrder()
    {
        TestForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(form.widget()));
        Button* third = form.add<Button>(QStringLiteral("cmdThird"));
        QCOMPARE(form.controls(), (QList<QWidget*>{form.ok, form.cancel, third}));
        QCOMPARE(third->Extender().get_TabIndex(), short(2));
        QVERIFY(third->isVisible()); // added to a shown form
        third->Extender().put_TabIndex(0);
        QCOMPARE(form.controls(), (QList<QWidget*>{third, form.ok, form.cancel}));
        QCOMPARE(form.ok->Extender().get_TabIndex(), short(1));
        form.cancel->Extender().put_TabIndex(99); // past the end: last
        QCOMPARE(form.cancel->Extender().get_TabIndex(), short(2));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, third->Extender().put_TabIndex(-1));
        third->setFocus();
        QTest::keyClick(third, Qt::Key_Tab);
        QVERIFY(form.ok->hasFocus());
    }

    void formOfAndAmbientFont()
    {
        TestForm form;
        form.putref_Font(StdFont::create(QStringLiteral("Arial"), 12, true));
        form.load();
        QCOMPARE(Form::of(form.ok), &form);
        QCOMPARE(Form::of(form.widget()), &form);
        const FontRef ambient = form.ok->Ambient().get_Font();
        QVERIFY(ambient != form.get_Font());
        QVERIFY(ambient->sameAs(*form.get_Font()));
        form.put_BackColor(RGB(1, 2, 3));
        QCOMPARE(form.ok->Ambient().get_BackColor(), RGB(1, 2, 3));
    }

    void keyPreviewOrder_data()
    {
        QTest::addColumn<bool>("preview");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("preview on")
            << true << QStringList{"Form_KeyDown 65 0", "KeyDown 65 0",    "Form_KeyPress 97",
                                   "KeyPress 98",       "Form_KeyUp 65 0", "KeyUp 65 0"};
        QTest::newRow("preview off")
            << false << QStringList{"KeyDown 65 0", "KeyPress 97", "KeyUp 65 0"};
    }

    void keyPreviewOrder()
    {
        QFETCH(bool, preview);
        QFETCH(QStringList, expected);
        TestForm form;
        form.put_KeyPreview(preview);
        form.changeKeyAscii = true;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(form.widget()));
        form.ok->setFocus();
        m_log.clear();
        QTest::keyClick(form.ok, Qt::Key_A);
        QCOMPARE(m_log, expected);
    }

    void previewAheadOfAccessKeys()
    {
        TestForm form;
        form.put_KeyPreview(true);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(form.widget()));
        form.cancel->put_AccessKeys(QStringLiteral("F"));
        form.ok->setFocus();
        m_log.clear();
        QTest::keyClick(form.ok, Qt::Key_F, Qt::AltModifier);
        const qsizetype preview = m_log.indexOf(QStringLiteral("Form_KeyDown 70 4"));
        const qsizetype access = m_log.indexOf(QStringLiteral("AccessKeyPress 70"));
        QVERIFY2(preview >= 0 && access > preview, qPrintable(m_log.join(QLatin1String(", "))));
        QCOMPARE(m_log.count(QStringLiteral("Form_KeyDown 70 4")), 1);

        // A zeroed KeyCode stops the key's own action (here the access key) but the character
        // still reaches KeyPress, as a form reading digits in KeyPress relies on.
        form.zeroKeyCode = true;
        m_log.clear();
        QTest::keyPress(form.ok, Qt::Key_A);
        QTest::keyPress(form.ok, Qt::Key_F, Qt::AltModifier);
        QCOMPARE(m_log, (QStringList{"Form_KeyDown 65 0", "Form_KeyPress 97", "KeyPress 97",
                                     "Form_KeyDown 18 4", "Form_KeyDown 70 4"}));
    }

private:
    QStringList m_log;
};

QTEST_MAIN(TestFormHost)
#include "tst_form.moc"
