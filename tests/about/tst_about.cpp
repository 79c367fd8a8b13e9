// The About dialog as a user meets it: opened modally by any control's ShowAbout, closed by its
// button or Alt+F and by nothing else, loaded fresh from its design each time, one at a time.

#include "controls/verticaltext/VericalText.h"
#include "controls/xp/xpcmdbutton.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/Label.h"
#include "library/about/About.h"
#include "library/module/TypeLibrary.h"

#include <QtTest>

using Kv_CTRL::About;

class TestAbout : public QObject {
    Q_OBJECT

    // Calls `open` (which shows the dialog modally) and runs `action` from inside the dialog's
    // loop once it is the active window; a dialog that never shows fails instead of hanging.
    // Returns whether the dialog was still open after the action (then it is closed here).
    bool whileOpen(const std::function<void()>& open, const std::function<void()>& action)
    {
        bool acted = false, leftOpen = false;
        QTimer poll, watchdog;
        poll.setSingleShot(true);
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal != About::instance().widget() ||
                QApplication::activeWindow() != modal) {
                poll.start();
                return;
            }
            acted = true;
            action();
            QCoreApplication::processEvents();
            leftOpen = About::instance().isLoaded();
            if (leftOpen) About::instance().unload();
        });
        watchdog.setSingleShot(true);
        watchdog.setInterval(10000);
        connect(&watchdog, &QTimer::timeout, this, [&] { About::instance().unload(); });
        poll.start();
        watchdog.start();
        open();
        poll.stop();
        watchdog.stop();
        [&] { QVERIFY2(acted, "the About dialog was not shown modally"); }();
        return leftOpen;
    }

    static QWidget* child(const char* name)
    {
        return About::instance().widget()->findChild<QWidget*>(QString::fromLatin1(name));
    }

private Q_SLOTS:
    void keysAtTheDialog_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Alt+F") << int(Qt::Key_F) << int(Qt::AltModifier) << true;
        QTest::newRow("F") << int(Qt::Key_F) << int(Qt::NoModifier) << false;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier) << false;
        QTest::newRow("Alt+Shift+F")
            << int(Qt::Key_F) << int(Qt::AltModifier | Qt::ShiftModifier) << false;
        QTest::newRow("Ctrl+Alt+F")
            << int(Qt::Key_F) << int(Qt::AltModifier | Qt::ControlModifier) << false;
    }
    void keysAtTheDialog()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, closes);
        const bool leftOpen = whileOpen(
            [] { Kv_CTRL::ShowAbout(); },
            [&] {
                QWidget* focus = QApplication::focusWidget();
                QCOMPARE(focus ? focus->objectName() : QString(), QStringLiteral("cmdFechar"));
                QTest::keyClick(focus, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            });
        QCOMPARE(leftOpen, !closes);
    }

    void closeButtonCloses()
    {
        const bool leftOpen =
            whileOpen([] { Kv_CTRL::ShowAbout(); },
                      [] {
                          QWidget* button = child("cmdFechar");
                          QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
                      });
        QVERIFY(!leftOpen);
    }

    void designedPlacesAndFreshEachTime()
    {
        whileOpen([] { Kv_CTRL::ShowAbout(); },
                  [] {
                      auto* label = qobject_cast<host::Label*>(child("Label1"));
                      QCOMPARE(label->get_Top(), 120.f);
                      label->put_Caption(QStringLiteral("mudado"));
                      auto* strip = qobject_cast<Kv_CTRL::VericalText*>(child("VericalText1"));
                      QCOMPARE(strip->Extender().get_Height(), 3960.f);
                      auto* close = qobject_cast<Kv_CTRL::xpcmdbutton*>(child("cmdFechar"));
                      QCOMPARE(close->Extender().get_Left(), 3975.f);
                      QCOMPARE(close->get_Caption(), QStringLiteral("&Fechar"));
                      QCOMPARE(About::instance().get_Width(), 6210.f);
                  });
        whileOpen([] { Kv_CTRL::ShowAbout(); },
                  [] {
                      QCOMPARE(qobject_cast<host::Label*>(child("Label1"))->get_Caption(),
                               QStringLiteral("Kv Sistemas"));
                  });
    }

    void showAboutWhileOpenRaises400()
    {
        int nested = 0;
        whileOpen([] { Kv_CTRL::ShowAbout(); },
                  [&] {
                      try {
                          Kv_CTRL::ShowAbout();
                      } catch (const host::RuntimeError& e) {
                          nested = e.number();
                      }
                      QVERIFY(About::instance().isLoaded());
                  });
        QCOMPARE(nested, 400);
    }

    void everyControlOpensTheSameDialog()
    {
        const About* first = &About::instance();
        int implemented = 0, opened = 0;
        for (const host::ClassDescription& cls : Kv_CTRL::typeLibrary().classes) {
            if (!cls.factory) continue; // a class not built yet
            ++implemented;
            std::unique_ptr<host::UserControl> control(cls.factory(nullptr));
            control->startLife(cls.name, nullptr);
            whileOpen([&] { QMetaObject::invokeMethod(control.get(), "ShowAbout"); },
                      [&] { opened += &About::instance() == first; });
        }
        QCOMPARE(opened, implemented);
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
