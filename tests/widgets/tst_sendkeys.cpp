// SendKeys: the key syntax, malformed strings, and keys typed into whatever has the focus through
// its key events.

#include "host/services/SendKeys.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/TextBox.h"

#include <QApplication>
#include <QtTest>

using namespace host;

Q_DECLARE_METATYPE(std::vector<host::SentKey>)

namespace {
SentKey key(int k, const QString& text = {}, Qt::KeyboardModifiers mods = {})
{
    return SentKey{k, mods, text};
}

struct Window {
    QWidget top;
    TextBox* a;
    TextBox* b;
    Window()
    {
        top.resize(200, 80);
        a = new TextBox(&top, QStringLiteral("txtA"));
        b = new TextBox(&top, QStringLiteral("txtB"));
        a->setGeometry(0, 0, 150, 22);
        b->setGeometry(0, 30, 150, 22);
    }
    bool showActive()
    {
        top.show();
        QApplication::setActiveWindow(&top);
        return QTest::qWaitForWindowActive(&top);
    }
};
} // namespace

class TstSendKeys : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        using V = std::vector<SentKey>;
        const auto shift = Qt::ShiftModifier;
        QTest::addColumn<QString>("keys");
        QTest::addColumn<V>("expected");
        QTest::newRow("plain") << "ab" << V{key('A', "a"), key('B', "b")};
        QTest::newRow("capital typed with shift") << "A" << V{key('A', "A", shift)};
        QTest::newRow("home, shift end")
            << "{HOME}+{END}" << V{key(Qt::Key_Home), key(Qt::Key_End, {}, shift)};
        QTest::newRow("tilde is enter") << "~" << V{key(Qt::Key_Return, "\r")};
        QTest::newRow("braced specials")
            << "{{}{}}{+}{~}" << V{key('{', "{"), key('}', "}"), key('+', "+"), key('~', "~")};
        QTest::newRow("group") << "+(ab)c"
                               << V{key('A', "a", shift), key('B', "b", shift), key('C', "c")};
        QTest::newRow("repeat") << "{LEFT 3}" << V(3, key(Qt::Key_Left));
        QTest::newRow("ctrl alt") << "^%c"
                                  << V{key('C', "c", Qt::ControlModifier | Qt::AltModifier)};
        QTest::newRow("names in any case") << "{bs}{Del}{F12}{ESC}"
                                           << V{key(Qt::Key_Backspace, "\b"), key(Qt::Key_Delete),
                                                key(Qt::Key_F12), key(Qt::Key_Escape, "\x1b")};
        QTest::newRow("accented") << QString::fromUtf8("ã") << V{key(0xC3, QString::fromUtf8("ã"))};
        QTest::newRow("empty") << "" << V{};
    }
    void parse()
    {
        QFETCH(QString, keys);
        QFETCH(std::vector<SentKey>, expected);
        QVERIFY(parseSendKeys(keys) == expected);
    }

    void malformed_data()
    {
        QTest::addColumn<QString>("keys");
        for (const char* bad :
             {"{", "{HOME", "{FOO}", "{}", "+", "a^", "(a)", "+(ab", ")", "}", "{LEFT x}", "{F0}",
              "{F17}", "+()", "{DOWN 1587615663}", "{LEFT 20000}{RIGHT 20000}"})
            QTest::newRow(bad) << QString::fromLatin1(bad);
    }
    void malformed()
    {
        QFETCH(QString, keys);
        Window w;
        w.a->put_Text(QStringLiteral("x"));
        try {
            SendKeys(keys, true);
            QFAIL("no error");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.number(), 5);
        }
        QCOMPARE(pendingSendKeys(), 0); // nothing queued
    }

    void homeShiftEndSelectsTheWholeText()
    {
        Window w;
        QVERIFY(w.showActive());
        w.a->put_Text(QStringLiteral("15/03/26"));
        w.a->SetFocus();
        w.a->put_SelStart(3);
        SendKeys(QStringLiteral("{HOME}+{END}"));
        QCOMPARE(w.a->get_SelLength(), 0); // queued: nothing typed yet
        QTRY_COMPARE(w.a->get_SelLength(), 8);
        QCOMPARE(w.a->get_SelStart(), 0);
    }

    void keysGoThroughKeyEventsOfTheFocus()
    {
        Window w;
        QVERIFY(w.showActive());
        w.a->SetFocus();
        QList<int> codes;
        connect(w.a, &TextBox::KeyDown, w.a, [&](short& c, short&) { codes << c; });
        connect(w.a, &TextBox::KeyPress, w.a, [](short& a) {
            if (a >= 'a' && a <= 'z') a = short(a - 32);
        });
        // The tab moves the focus: what follows goes to the next box.
        SendKeys(QStringLiteral("ab{TAB}cd"), true);
        QCOMPARE(w.a->get_Text(), QStringLiteral("AB"));
        QCOMPARE(w.b->get_Text(), QStringLiteral("cd"));
        QCOMPARE(codes, (QList<int>{65, 66, 9}));
        QCOMPARE(pendingSendKeys(), 0);
    }
};

QTEST_MAIN(TstSendKeys)
#include "tst_sendkeys.moc"
