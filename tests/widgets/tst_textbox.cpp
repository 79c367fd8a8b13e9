// The host's text box as a user and a host see it: the key pipeline with by-reference arguments,
// MaxLength, Change, focus events, input-method commits and the clipboard keys.

#include "host/services/Services.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/TextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QtTest>

using host::TextBox;

namespace {
template <class F>
int errorOf(F&& f)
{
    try {
        f();
    } catch (const host::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

// Types text as a keyboard does, also characters QTest cannot name (ç on an ABNT2 keyboard).
void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(w, char(c.unicode()));
            continue;
        }
        const int key = int(c.toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

struct Window {
    QWidget top;
    TextBox* a;
    TextBox* b;
    Window()
    {
        top.resize(300, 100);
        a = new TextBox(&top, QStringLiteral("txtA"));
        b = new TextBox(&top, QStringLiteral("txtB"));
        a->setGeometry(10, 10, 120, 22);
        b->setGeometry(10, 40, 120, 22);
    }
    bool showActive()
    {
        top.show();
        QApplication::setActiveWindow(&top);
        return QTest::qWaitForWindowActive(&top);
    }
};
} // namespace

class TstTextBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QApplication::clipboard()->clear(); }

    void keyPressHandler_data()
    {
        // The handler upper-cases what it gets when `upper`, and turns 'x' into `xTo` (-1: not).
        QTest::addColumn<bool>("upper");
        QTest::addColumn<int>("xTo");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QList<int>>("seen");
        QTest::newRow("unchanged") << false << -1 << "ab"
                                   << "ab" << QList<int>{97, 98};
        QTest::newRow("a becomes A") << true << -1 << "ab"
                                     << "AB" << QList<int>{97, 98};
        QTest::newRow("0 swallows") << false << 0 << "axb"
                                    << "ab" << QList<int>{97, 120, 98};
        QTest::newRow("8 erases") << false << 8 << "abx"
                                  << "a" << QList<int>{97, 98, 120};
        QTest::newRow("13 inserts nothing") << false << 13 << "axb"
                                            << "ab" << QList<int>{97, 120, 98};
        QTest::newRow("accented letter") << true << -1 << QString::fromUtf8("çã")
                                         << QString::fromUtf8("ÇÃ") << QList<int>{231, 227};
    }
    void keyPressHandler()
    {
        QFETCH(bool, upper);
        QFETCH(int, xTo);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QFETCH(QList<int>, seen);
        Window w;
        QList<int> got;
        connect(w.a, &TextBox::KeyPress, w.a, [&](short& ascii) {
            got << ascii;
            if (upper) ascii = short(QChar(ushort(ascii)).toUpper().unicode());
            if (ascii == 'x' && xTo >= 0) ascii = short(xTo);
        });
        typeText(w.a, typed);
        QCOMPARE(w.a->get_Text(), expected);
        QCOMPARE(got, seen);
    }

    void keyEventOrder()
    {
        Window w;
        QStringList log;
        connect(w.a, &TextBox::KeyDown, w.a,
                [&](short& c, short& s) { log << QStringLiteral("down %1 %2").arg(c).arg(s); });
        connect(w.a, &TextBox::KeyPress, w.a,
                [&](short& a) { log << QStringLiteral("press %1").arg(a); });
        connect(w.a, &TextBox::KeyUp, w.a,
                [&](short& c, short& s) { log << QStringLiteral("up %1 %2").arg(c).arg(s); });
        QTest::keyClick(w.a, Qt::Key_F, Qt::ShiftModifier); // QTest presses Shift first, types "f"
        QTest::keyClick(w.a, Qt::Key_Left);
        // An auto-repeat release raises no KeyUp.
        QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(w.a, &repeat);
        QCOMPARE(log, (QStringList{"down 16 1", "down 70 1", "press 102", "up 70 1", "up 16 0",
                                   "down 37 0", "up 37 0"}));
    }

    void keyCodeZeroStopsTheKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("stop");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("text");
        QTest::newRow("left stopped") << int(Qt::Key_Left) << true << 2 << "abc";
        QTest::newRow("home moves") << int(Qt::Key_Home) << false << 0 << "abc";
        QTest::newRow("home stopped") << int(Qt::Key_Home) << true << 2 << "abc";
        QTest::newRow("delete deletes") << int(Qt::Key_Delete) << false << 2 << "ab";
        QTest::newRow("delete stopped") << int(Qt::Key_Delete) << true << 2 << "abc";
        QTest::newRow("a digit is still typed") << int(Qt::Key_1) << true << 3 << "ab1c";
    }
    void keyCodeZeroStopsTheKey()
    {
        QFETCH(int, key);
        QFETCH(bool, stop);
        QFETCH(int, cursor);
        QFETCH(QString, text);
        Window w;
        w.a->put_Text(QStringLiteral("abc"));
        w.a->put_SelStart(2);
        connect(w.a, &TextBox::KeyDown, w.a, [&](short& code, short&) {
            if (stop) code = 0;
        });
        QTest::keyClick(w.a, Qt::Key(key));
        QCOMPARE(w.a->get_SelStart(), cursor);
        QCOMPARE(w.a->get_Text(), text);
    }

    void maxLength_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<QString>("how"); // typed, pasted or committed by an input method
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("typing stops") << 3 << ""
                                      << "type"
                                      << "abcde"
                                      << "abc";
        QTest::newRow("no limit") << 0 << ""
                                  << "type"
                                  << "abcde"
                                  << "abcde";
        QTest::newRow("paste is cut") << 4 << "ab"
                                      << "paste"
                                      << "xyz"
                                      << "abxy";
        QTest::newRow("paste when full") << 2 << "ab"
                                         << "paste"
                                         << "xyz"
                                         << "ab";
        QTest::newRow("longer text keeps, no growth") << 2 << "abcd"
                                                      << "type"
                                                      << "e"
                                                      << "abcd";
        // Never half of a character beyond the Basic Multilingual Plane.
        QTest::newRow("paste stops before half a character") << 3 << "ab"
                                                             << "paste"
                                                             << "\U0001F600x"
                                                             << "ab";
        QTest::newRow("commit stops before half a character") << 3 << "ab"
                                                              << "commit"
                                                              << "\U0001F600x"
                                                              << "ab";
        QTest::newRow("whole character fits") << 4 << "ab"
                                              << "commit"
                                              << "\U0001F600x"
                                              << "ab\U0001F600";
    }
    void maxLength()
    {
        QFETCH(int, limit);
        QFETCH(QString, initial);
        QFETCH(QString, how);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        Window w;
        w.a->put_Text(initial);
        w.a->put_MaxLength(limit);
        w.a->put_SelStart(qint32(initial.size()));
        if (how == QLatin1String("paste")) {
            QApplication::clipboard()->setText(input);
            QTest::keyClick(w.a, Qt::Key_V, Qt::ControlModifier);
        } else if (how == QLatin1String("commit")) {
            QInputMethodEvent commit;
            commit.setCommitString(input);
            QApplication::sendEvent(w.a, &commit);
        } else {
            QTest::keyClicks(w.a, input);
        }
        QCOMPARE(w.a->get_Text(), expected);
    }

    void maxLengthNeverCutsCode()
    {
        Window w;
        w.a->put_MaxLength(3);
        w.a->put_Text(QStringLiteral("abcdef"));
        w.a->put_MaxLength(2); // neither the assignment nor lowering the limit cuts
        QCOMPARE(w.a->get_Text(), QStringLiteral("abcdef"));
        // The context menu's paste goes through Qt's own path: the limit holds there too.
        w.a->put_Text(QStringLiteral("a"));
        w.a->put_SelStart(1);
        QApplication::clipboard()->setText(QStringLiteral("xyz"));
        w.a->paste();
        QCOMPARE(w.a->get_Text(), QStringLiteral("ax"));
        QCOMPARE(errorOf([&] { w.a->put_MaxLength(-1); }), 380);
        QCOMPARE(w.a->get_MaxLength(), 2);
    }

    void changeOncePerRealChange()
    {
        Window w;
        int changes = 0;
        connect(w.a, &TextBox::Change, w.a, [&] { ++changes; });
        w.a->put_Text(QStringLiteral("abc"));
        w.a->put_Text(QStringLiteral("abc"));
        QCOMPARE(changes, 1);
        QTest::keyClick(w.a, Qt::Key_End);
        QTest::keyClick(w.a, Qt::Key_D);
        QCOMPARE(changes, 2);
        connect(w.a, &TextBox::KeyPress, w.a, [](short& a) { a = 0; });
        QTest::keyClick(w.a, Qt::Key_E); // swallowed: no change
        QCOMPARE(changes, 2);
        w.a->put_Text(QString());
        QCOMPARE(changes, 3);
    }

    void focusEventsBetweenTwoBoxes()
    {
        Window w;
        QStringList log;
        for (TextBox* box : {w.a, w.b}) {
            connect(box, &TextBox::GotFocus, box, [&log, box] { log << box->get_Name() + ".Got"; });
            connect(box, &TextBox::LostFocus, box,
                    [&log, box] { log << box->get_Name() + ".Lost"; });
        }
        QCOMPARE(errorOf([&] { w.a->SetFocus(); }), 5); // the window was never shown
        QVERIFY(w.showActive());
        w.a->SetFocus();
        QTRY_COMPARE(log, QStringList{"txtA.Got"});
        QTest::keyClick(w.a, Qt::Key_Tab);
        QTRY_COMPARE(log, (QStringList{"txtA.Got", "txtA.Lost", "txtB.Got"}));

        // Another window taking the activation (a message box) raises neither event.
        QWidget box;
        box.resize(50, 50);
        box.show();
        QApplication::setActiveWindow(&box);
        QVERIFY(QTest::qWaitForWindowActive(&box));
        box.close();
        QApplication::setActiveWindow(&w.top);
        QVERIFY(QTest::qWaitForWindowActive(&w.top));
        QTRY_VERIFY(w.b->hasFocus());
        QCOMPARE(log, (QStringList{"txtA.Got", "txtA.Lost", "txtB.Got"}));
    }

    void tabKeyDownCanKeepTheFocus()
    {
        Window w;
        QVERIFY(w.showActive());
        w.a->SetFocus();
        QList<int> codes;
        connect(w.a, &TextBox::KeyDown, w.a, [&](short& c, short&) {
            codes << c;
            c = 0;
        });
        QTest::keyClick(w.a, Qt::Key_Tab);
        QCOMPARE(codes, QList<int>{9});
        QVERIFY(w.a->hasFocus());
    }

    void inputMethodCommitGoesThroughKeyPress()
    {
        Window w;
        QList<int> seen;
        connect(w.a, &TextBox::KeyPress, w.a, [&](short& ascii) {
            seen << ascii;
            ascii = ascii == 0xE7 ? 0 : short(QChar(ushort(ascii)).toUpper().unicode()); // no ç
        });
        for (const char* text : {"ã", "açb"}) {
            QInputMethodEvent commit;
            commit.setCommitString(QString::fromUtf8(text));
            QApplication::sendEvent(w.a, &commit);
        }
        QCOMPARE(seen, (QList<int>{0xE3, 'a', 0xE7, 'b'}));
        QCOMPARE(w.a->get_Text(), QString::fromUtf8("ÃAB"));
    }

    void clipboardKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("ascii");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("paste") << int(Qt::Key_V) << 22 << false << "abXY"
                               << "XY";
        QTest::newRow("paste cancelled") << int(Qt::Key_V) << 22 << true << "ab"
                                         << "XY";
        QTest::newRow("copy") << int(Qt::Key_C) << 3 << false << "ab"
                              << "ab";
        QTest::newRow("copy cancelled") << int(Qt::Key_C) << 3 << true << "ab"
                                        << "XY";
        QTest::newRow("cut") << int(Qt::Key_X) << 24 << false << ""
                             << "ab";
        QTest::newRow("cut cancelled") << int(Qt::Key_X) << 24 << true << "ab"
                                       << "XY";
    }
    void clipboardKeys()
    {
        QFETCH(int, key);
        QFETCH(int, ascii);
        QFETCH(bool, cancel);
        QFETCH(QString, text);
        QFETCH(QString, clipboard);
        Window w;
        w.a->put_Text(QStringLiteral("ab"));
        if (key == Qt::Key_V)
            w.a->put_SelStart(2);
        else
            w.a->selectAll();
        QApplication::clipboard()->setText(QStringLiteral("XY"));
        QList<int> seen;
        connect(w.a, &TextBox::KeyPress, w.a, [&](short& a) {
            seen << a;
            if (cancel) a = 0;
        });
        QTest::keyClick(w.a, Qt::Key(key), Qt::ControlModifier);
        // A paste types its characters after the key's own control character.
        QList<int> expected{ascii};
        if (key == Qt::Key_V && !cancel) expected << 'X' << 'Y';
        QCOMPARE(seen, expected);
        QCOMPARE(w.a->get_Text(), text);
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
    }

    void selectionProperties()
    {
        Window w;
        w.a->put_Text(QStringLiteral("abcdef"));
        w.a->put_SelStart(2);
        w.a->put_SelLength(3);
        QCOMPARE(w.a->get_SelText(), QStringLiteral("cde"));
        w.a->put_SelText(QStringLiteral("XY"));
        QCOMPARE(w.a->get_Text(), QStringLiteral("abXYf"));
        w.a->put_SelStart(0);
        w.a->put_SelLength(200); // cut at the end of the text
        QCOMPARE(w.a->get_SelLength(), 5);
        w.a->put_SelStart(99);
        QCOMPARE(w.a->get_SelStart(), 5);
        QCOMPARE(w.a->get_SelLength(), 0);
        QCOMPARE(errorOf([&] { w.a->put_SelStart(-1); }), 380);
        QCOMPARE(errorOf([&] { w.a->put_SelLength(-1); }), 380);
        QCOMPARE(errorOf([&] { w.a->put_Alignment(3); }), 380);
        QCOMPARE(errorOf([&] { w.a->put_BackColor(0x01000000u); }), 380);
        QCOMPARE(w.a->get_BackColor(), host::SystemColor::WindowBackground);
    }

    void lockedRefusesTyping()
    {
        Window w;
        w.a->put_Text(QStringLiteral("ab"));
        w.a->put_Locked(true);
        int presses = 0;
        connect(w.a, &TextBox::KeyPress, w.a, [&](short&) { ++presses; });
        QTest::keyClicks(w.a, QStringLiteral("cd"));
        QTest::keyClick(w.a, Qt::Key_Backspace);
        QCOMPARE(w.a->get_Text(), QStringLiteral("ab"));
        QCOMPARE(presses, 3); // the events are still raised
    }

    void handlerDisposingTheBoxIsSafe()
    {
        Window w;
        connect(w.a, &TextBox::KeyDown, w.a, [&](short&, short&) { host::dispose(w.a); });
        int presses = 0;
        connect(w.a, &TextBox::KeyPress, w.a, [&](short&) { ++presses; });
        QPointer<TextBox> box(w.a);
        QTest::keyClick(w.a, Qt::Key_A);
        QCOMPARE(presses, 0);
        QTRY_VERIFY(box.isNull());
    }

    void geometryInTwips()
    {
        Window w;
        w.a->put_Width(1310);
        w.a->put_Left(45);
        QCOMPARE(w.a->width(), 87);
        QCOMPARE(w.a->x(), 3);
        QCOMPARE(w.a->get_Width(), 1310.f); // not rounded to whole pixels
    }
};

QTEST_MAIN(TstTextBox)
#include "tst_textbox.moc"
