// txtCampo as a user types into it: the key filter of each type, upper-casing, Enter (required
// check, date completion and check, amounts, masks), focus colours and the host's key events.

#include "FieldTestUtil.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

using namespace fieldtest;
using Kv_CTRL::CharType;
using Kv_CTRL::txtCampo;

namespace {

const QString DateMessage = QStringLiteral("Formato de Data Invalido !\r\n\r\nEx: DD/MM/YYYY ");

// Counts the key presses that get past the text box to its parent (the field's surface).
class KeyLeakCounter : public QObject {
public:
    int leaked = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) ++leaked;
        return false;
    }
};

} // namespace

class FieldInputTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QApplication::clipboard()->clear(); }

    void keyFilter_data();
    void keyFilter();
    void clipboardKeysByType_data();
    void clipboardKeysByType();
    void dateCompletion_data();
    void dateCompletion();
    void invalidDateSelectsText();
    void invalidDateSelectedWhenFocusComesBack();
    void dateFieldIgnoresRegionalOrder();
    void dateMaskUnderMonthFirstRegion();
    void moneyJustSwitched();
    void amounts_data();
    void amounts();
    void requiredMessages_data();
    void requiredMessages();
    void upperCaseAndHostKeyPress_data();
    void upperCaseAndHostKeyPress();
    void inputMethodCommitIsFiltered();
    void textFromEveryRoadIsFiltered_data();
    void textFromEveryRoadIsFiltered();
    void ctrlASelectsAllInEveryType_data();
    void ctrlASelectsAllInEveryType();
    void hostTurnsKeyIntoEnter();
    void hostSwallowsKey();
    void upDownReachHostOnly();
    void focusColours_data();
    void focusColours();
    void focusSelectsUpTo200();
    void typeInputWithDateButton();
    void changeForEachTextStep_data();
    void changeForEachTextStep();
    void findButtonRaisesEvent();
};

void FieldInputTest::keyFilter_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("upper");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::newRow("Character") << 0 << true << "ab,1/.-x"
                               << "AB,1/.-X";
    QTest::newRow("Character lower") << 0 << false << "ab,1"
                                     << "ab,1";
    QTest::newRow("Money") << 1 << true << "12,5.a+-*/="
                           << "125.+-*/";
    QTest::newRow("Date") << 2 << true << "12/3.a-,x"
                          << "12/3.";
    QTest::newRow("Numeric") << 3 << true << "9 8,7.(6)"
                             << "987.6";
    // Lower-case q..z are refused like any letter (a design choice of the field).
    QTest::newRow("Date q-z") << 2 << false << "q1z2w"
                              << "12";
    QTest::newRow("Money q-z") << 1 << false << "r5y"
                               << "5";
    // A value outside the enumeration types as Numeric.
    QTest::newRow("type 9") << 9 << true << "1a+b"
                            << "1+";
}

void FieldInputTest::keyFilter()
{
    QFETCH(int, type);
    QFETCH(bool, upper);
    QFETCH(QString, typed);
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtCampo1"));
    field->put_TypeInput(CharType(type));
    field->put_UpperCase(upper);
    field->put_Text(QString());
    QVERIFY(f.show());
    typeText(box(field), typed);
    QTEST(field->get_Text(), "text");
}

void FieldInputTest::clipboardKeysByType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::newRow("Character pastes") << 0 << "99";
    QTest::newRow("Date refuses") << 2 << "";
    QTest::newRow("Money refuses") << 1 << "";
    QTest::newRow("Numeric refuses") << 3 << "";
}

void FieldInputTest::clipboardKeysByType()
{
    QFETCH(int, type);
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtCampo1"));
    field->put_TypeInput(CharType(type));
    field->put_Text(QString());
    QVERIFY(f.show());
    QApplication::clipboard()->setText(QStringLiteral("99"));
    QTest::keyClick(box(field), Qt::Key_V, Qt::ControlModifier);
    QTEST(field->get_Text(), "text");
}

void FieldInputTest::dateCompletion_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint32>("maxLength");
    QTest::addColumn<QString>("text");
    QTest::newRow("1503") << "1503" << 0 << "15/03/2026";
    QTest::newRow("15/03/26") << "15/03/26" << 0 << "15/03/2026";
    QTest::newRow("15032026") << "15032026" << 0 << "15/03/2026";
    QTest::newRow("15/03/2026") << "15/03/2026" << 0 << "15/03/2026";
    QTest::newRow("15031") << "15031" << 0 << "15/03/2026";
    QTest::newRow("1503202") << "1503202" << 0 << "15/03/2002";
    QTest::newRow("1032026") << "1032026" << 0 << "10/32/2026"; // 7 digits: 1032 20 26
    QTest::newRow("0103") << "0103" << 0 << "01/03/2026";
    QTest::newRow("MaxLength 8") << "15032026" << 8 << "15/03/2026";
    QTest::newRow("MaxLength 4") << "150326" << 4 << "15/03/2026"; // typing cut to 1503
}

void FieldInputTest::dateCompletion()
{
    QFETCH(QString, typed);
    QFETCH(qint32, maxLength);
    QFETCH(QString, text);
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtData"));
    field->put_TypeInput(CharType::Date);
    field->put_MaxLength(maxLength);
    QVERIFY(f.show());
    typeText(box(field), typed);
    pressEnter(box(field));
    QCOMPARE(field->get_Text(), text);
    const bool valid = text != QLatin1String("10/32/2026");
    QCOMPARE(env.messages.empty(), valid);
}

void FieldInputTest::invalidDateSelectsText()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtData"));
    txtCampo* other = f.add(QStringLiteral("txtOutro"));
    other->Extender().put_Top(600);
    field->put_TypeInput(CharType::Date);
    field->put_TypeInputMask(QStringLiteral("dd/mm/yyyy"));
    QVERIFY(f.show());
    box(field)->setFocus();
    QTRY_VERIFY(box(field)->hasFocus());
    typeText(box(field), QStringLiteral("153"));
    pressEnter(box(field));
    QCOMPARE(env.messages.size(), size_t(1));
    QCOMPARE(env.messages[0].prompt, DateMessage);
    QCOMPARE(env.messages[0].title, QStringLiteral("Atenção !"));
    QCOMPARE(env.messages[0].style, 64);
    // The completed and laid-out text stays, unmasked.
    QCOMPARE(field->get_Text(), QStringLiteral("00/00/0153"));
    QTRY_COMPARE(box(field)->get_SelLength(), 10);
    QCOMPARE(box(field)->get_SelStart(), 0);
    QVERIFY(box(field)->hasFocus());

    // Typing over the selection replaces the whole text.
    typeText(box(field), QStringLiteral("1503"));
    pressEnter(box(field));
    QCOMPARE(field->get_Text(), QStringLiteral("15/03/2026"));
    QCOMPARE(env.messages.size(), size_t(1));
}

void FieldInputTest::invalidDateSelectedWhenFocusComesBack()
{
    // The message box's window still holds the focus when the call returns, as under a window
    // manager that hands it back late: nothing may land there, and the field is selected once
    // its window is active again.
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtData"));
    field->put_TypeInput(CharType::Date);
    QVERIFY(f.show());
    QLineEdit elsewhere;
    host::services().msgBox = [&](const QString&, int, const QString&) {
        elsewhere.show();
        elsewhere.activateWindow();
        return QTest::qWaitForWindowActive(&elsewhere) ? 1 : 0;
    };
    typeText(box(field), QStringLiteral("153"));
    pressEnter(box(field));
    QCOMPARE(field->get_Text(), QStringLiteral("00/00/0153"));
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    elsewhere.close();
    f.form.widget()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.form.widget()));
    QTRY_VERIFY(box(field)->hasFocus());
    QCOMPARE(elsewhere.text(), QString());
    QCOMPARE(box(field)->get_SelLength(), 10);
    typeText(box(field), QStringLiteral("1503"));
    pressEnter(box(field));
    QCOMPARE(field->get_Text(), QStringLiteral("15/03/2026"));
}

void FieldInputTest::dateFieldIgnoresRegionalOrder()
{
    Environment env;
    host::RegionalScope us(host::Regional::enUS());
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtData"));
    field->put_TypeInput(CharType::Date);
    QVERIFY(f.show());
    typeText(box(field), QStringLiteral("25122026"));
    pressEnter(box(field));
    QCOMPARE(field->get_Text(), QStringLiteral("25/12/2026"));
    QVERIFY(env.messages.empty());
    // Month first is no date here.
    field->put_Text(QString());
    typeText(box(field), QStringLiteral("12252026"));
    pressEnter(box(field));
    QCOMPARE(env.messages.size(), size_t(1));
    QCOMPARE(env.messages[0].prompt, DateMessage);
}

void FieldInputTest::dateMaskUnderMonthFirstRegion()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtData"));
    field->put_TypeInput(CharType::Date);
    field->put_TypeInputMask(QStringLiteral("dd-mm-yyyy"));
    QVERIFY(f.show());
    typeText(box(field), QStringLiteral("05032026"));
    pressEnter(box(field));
    QCOMPARE(field->get_Text(), QStringLiteral("05-03-2026"));

    host::RegionalScope us(host::Regional::enUS());
    field->put_Text(QString());
    typeText(box(field), QStringLiteral("05032026"));
    pressEnter(box(field));
    QCOMPARE(field->get_Text(), QStringLiteral("05-03-2026"));
    QVERIFY(env.messages.empty());
}

void FieldInputTest::moneyJustSwitched()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtValor"));
    field->put_Text(QStringLiteral("abc"));
    field->put_TypeInput(CharType::Money);
    QCOMPARE(field->get_Text(), QStringLiteral("0.00"));
    QCOMPARE(field->get_Alignment(), host::AlignmentConstants::vbRightJustify);
    QCOMPARE(field->get_TypeInputMask(), QStringLiteral("#####,##0.00"));
    QVERIFY(f.show());
    pressEnter(box(field));
    QCOMPARE(field->get_Text(), QStringLiteral("0,00"));
    QVERIFY(env.messages.empty());
}

void FieldInputTest::amounts_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("start"); // set through Text
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("first");  // after one Enter
    QTest::addColumn<QString>("second"); // after another
    const QString money = QStringLiteral("#####,##0.00");
    QTest::newRow("1234.5") << 1 << money << ""
                            << "1234.5"
                            << "1.234,50"
                            << "1.234,50";
    QTest::newRow("12.50") << 1 << money << ""
                           << "12.50"
                           << "12,50"
                           << "12,50";
    QTest::newRow("spaces") << 1 << money << "   "
                            << ""
                            << "0,00"
                            << "0,00";
    QTest::newRow("empty") << 1 << money << ""
                           << ""
                           << ""
                           << "";
    QTest::newRow("formatted") << 1 << money << "1.234,50"
                               << ""
                               << "1.234,50"
                               << "1.234,50";
    // Typed before a "0.00" the caret sat in front of: no amount, so it stays as it is.
    QTest::newRow("misplaced dots") << 1 << money << "1234.50.00"
                                    << ""
                                    << "1234.50.00"
                                    << "1234.50.00";
    QTest::newRow("negative") << 1 << money << ""
                              << "-5"
                              << "-5,00"
                              << "-5,00";
    QTest::newRow("grouping only") << 3 << "#,##0"
                                   << ""
                                   << "1234"
                                   << "1.234"
                                   << "1.234";
    QTest::newRow("12*3") << 3 << "#,##0"
                          << ""
                          << "12*3"
                          << "12*3"
                          << "12*3";
    QTest::newRow("no mask") << 3 << ""
                             << ""
                             << "12.5"
                             << "12.5"
                             << "12.5";
    QTest::newRow("numeric spaces") << 3 << ""
                                    << "  "
                                    << ""
                                    << "0"
                                    << "0";
}

void FieldInputTest::amounts()
{
    QFETCH(int, type);
    QFETCH(QString, mask);
    QFETCH(QString, start);
    QFETCH(QString, typed);
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtValor"));
    field->put_TypeInput(CharType(type));
    field->put_TypeInputMask(mask);
    field->put_Text(start);
    QVERIFY(f.show());
    typeText(box(field), typed);
    pressEnter(box(field));
    QTEST(field->get_Text(), "first");
    int changes = 0;
    connect(field, &txtCampo::Change, this, [&] { ++changes; });
    pressEnter(box(field));
    QTEST(field->get_Text(), "second");
    QFETCH(QString, first);
    QFETCH(QString, second);
    if (first == second) QCOMPARE(changes, 0);
    QVERIFY(env.messages.empty());
}

void FieldInputTest::requiredMessages_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("message"); // empty: none
    QTest::addColumn<QString>("text");
    QTest::newRow("named") << "Nome"
                           << ""
                           << ""
                           << "Campo Nome é Requirido"
                           << "";
    QTest::newRow("unnamed") << ""
                             << ""
                             << ""
                             << "Campo é Requirido"
                             << "";
    QTest::newRow("spaces then mask") << ""
                                      << "   "
                                      << "(@@@)"
                                      << "Campo é Requirido"
                                      << "(   )";
    QTest::newRow("filled") << "Nome"
                            << "ana"
                            << ""
                            << ""
                            << "ana";
}

void FieldInputTest::requiredMessages()
{
    QFETCH(QString, caption);
    QFETCH(QString, start);
    QFETCH(QString, mask);
    QFETCH(QString, message);
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    field->put_Required(true);
    field->put_RequiredCaption(caption);
    field->put_TypeInputMask(mask);
    field->put_Text(start);
    QVERIFY(f.show());
    pressEnter(box(field));
    if (message.isEmpty()) {
        QVERIFY(env.messages.empty());
    } else {
        QCOMPARE(env.messages.size(), size_t(1));
        QCOMPARE(env.messages[0].prompt, message);
        QCOMPARE(env.messages[0].title, QStringLiteral("Atenção !"));
        QCOMPARE(env.messages[0].style, 64);
    }
    QTEST(field->get_Text(), "text");
}

void FieldInputTest::upperCaseAndHostKeyPress_data()
{
    QTest::addColumn<bool>("upper");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("seen");
    QTest::addColumn<QString>("text");
    QTest::newRow("a") << true << "a" << 65 << "A";
    QTest::newRow("a kept") << false << "a" << 97 << "a";
    QTest::newRow("ç") << true << QStringLiteral("ç") << 199 << QStringLiteral("Ç");
    QTest::newRow("ã") << true << QStringLiteral("ã") << 195 << QStringLiteral("Ã");
    QTest::newRow("ç kept") << false << QStringLiteral("ç") << 231 << QStringLiteral("ç");
    QTest::newRow("ß stays") << true << QStringLiteral("ß") << 223 << QStringLiteral("ß");
    QTest::newRow("digit") << true << "7" << 55 << "7";
}

void FieldInputTest::upperCaseAndHostKeyPress()
{
    QFETCH(bool, upper);
    QFETCH(QString, typed);
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    field->put_UpperCase(upper);
    QList<int> keys;
    connect(field, &txtCampo::KeyPress, this, [&](short& KeyAscii) { keys << KeyAscii; });
    QVERIFY(f.show());
    typeText(box(field), typed);
    QFETCH(int, seen);
    QCOMPARE(keys, QList<int>{seen});
    QTEST(field->get_Text(), "text");
}

void FieldInputTest::textFromEveryRoadIsFiltered_data()
{
    QTest::addColumn<QString>("road");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("seen"); // the characters KeyPress raised, as the host saw them
    QTest::addColumn<QString>("text");
    const QString smile = QStringLiteral("\U0001F600"), one = QStringLiteral("\U0001D7D9");
    QTest::newRow("Ctrl+V upper-cased") << "ctrl+v" << 0 << "ab1"
                                        << "AB1"
                                        << "AB1";
    QTest::newRow("Ctrl+V first line") << "ctrl+v" << 0 << "ab\ncd"
                                       << "AB"
                                       << "AB";
    QTest::newRow("Shift+Insert Money") << "shift+insert" << 1 << "xyz9!"
                                        << "XYZ9!"
                                        << "9";
    QTest::newRow("drop Date") << "drop" << 2 << "xyz9!/"
                               << "XYZ9!/"
                               << "9/";
    QTest::newRow("menu Numeric") << "menu" << 3 << "1a2"
                                  << "1A2"
                                  << "12";
    QTest::newRow("input method") << "ime" << 0 << QStringLiteral("ção") << QStringLiteral("ÇÃO")
                                  << QStringLiteral("ÇÃO");
    QTest::newRow("key beyond BMP Numeric") << "key" << 3 << smile << smile << "";
    QTest::newRow("key beyond BMP Character") << "key" << 0 << smile << smile << smile;
    QTest::newRow("paste beyond BMP Numeric") << "shift+insert" << 3 << one + "1" << one + "1"
                                              << "1";
}

void FieldInputTest::textFromEveryRoadIsFiltered()
{
    QFETCH(QString, road);
    QFETCH(int, type);
    QFETCH(QString, source);
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtCampo1"));
    field->put_TypeInput(CharType(type));
    field->put_Text(QString());
    QString seen;
    connect(field, &txtCampo::KeyPress, this, [&](short& KeyAscii) {
        if (ushort(KeyAscii) >= 32) seen += QChar(ushort(KeyAscii));
    });
    QVERIFY(f.show());
    host::TextBox* b = box(field);
    QApplication::clipboard()->setText(source);
    if (road == QLatin1String("ctrl+v")) {
        QTest::keyClick(b, Qt::Key_V, Qt::ControlModifier);
    } else if (road == QLatin1String("shift+insert")) {
        QTest::keyClick(b, Qt::Key_Insert, Qt::ShiftModifier);
    } else if (road == QLatin1String("drop")) {
        QMimeData data;
        data.setText(source);
        // Qt delivers a drop only to the widget the drag entered.
        QDragEnterEvent enter(b->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(b, &enter);
        QDropEvent drop(QPointF(b->rect().center()), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(b, &drop);
    } else if (road == QLatin1String("menu")) {
        QContextMenuEvent menu(QContextMenuEvent::Mouse, b->rect().center(),
                               b->mapToGlobal(b->rect().center()));
        QApplication::sendEvent(b, &menu);
        auto* popup = b->findChild<QMenu*>();
        QVERIFY(popup);
        auto* paste = popup->findChild<QAction*>(QStringLiteral("edit-paste"));
        QVERIFY(paste);
        paste->trigger();
        popup->close();
    } else if (road == QLatin1String("ime")) {
        QInputMethodEvent commit;
        commit.setCommitString(source);
        QApplication::sendEvent(b, &commit);
    } else {
        QKeyEvent press(QEvent::KeyPress, int(source.toUcs4().first()), Qt::NoModifier, source);
        QApplication::sendEvent(b, &press);
    }
    QTEST(seen, "seen");
    QTEST(field->get_Text(), "text");
}

void FieldInputTest::ctrlASelectsAllInEveryType_data()
{
    QTest::addColumn<int>("type");
    for (int type = 0; type <= 3; ++type)
        QTest::addRow("type %d", type) << type;
}

void FieldInputTest::ctrlASelectsAllInEveryType()
{
    QFETCH(int, type);
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtCampo1"));
    field->put_TypeInput(CharType(type));
    field->put_Text(QStringLiteral("12/34"));
    QVERIFY(f.show());
    box(field)->put_SelStart(2);
    QTest::keyClick(box(field), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(box(field)->get_SelLength(), 5);
    QCOMPARE(field->get_Text(), QStringLiteral("12/34"));
}

void FieldInputTest::inputMethodCommitIsFiltered()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    txtCampo* date = f.add(QStringLiteral("txtData"));
    date->put_TypeInput(CharType::Date);
    QList<int> seen;
    connect(field, &txtCampo::KeyPress, this, [&](short& KeyAscii) { seen << KeyAscii; });
    QVERIFY(f.show());
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("ãç"));
    QApplication::sendEvent(box(field), &commit);
    QCOMPARE(field->get_Text(), QStringLiteral("ÃÇ"));
    QCOMPARE(seen, (QList<int>{195, 199}));
    // A date field refuses committed letters as typed ones, and keeps committed digits.
    QInputMethodEvent mixed;
    mixed.setCommitString(QStringLiteral("1é2"));
    QApplication::sendEvent(box(date), &mixed);
    QCOMPARE(date->get_Text(), QStringLiteral("12"));
}

void FieldInputTest::hostTurnsKeyIntoEnter()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtData"));
    field->put_TypeInput(CharType::Date);
    connect(field, &txtCampo::KeyPress, this, [](short& KeyAscii) {
        if (KeyAscii == 'X') KeyAscii = 13;
    });
    QVERIFY(f.show());
    typeText(box(field), QStringLiteral("1503x"));
    QCOMPARE(field->get_Text(), QStringLiteral("15/03/2026"));
}

void FieldInputTest::hostSwallowsKey()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    connect(field, &txtCampo::KeyPress, this, [](short& KeyAscii) {
        if (KeyAscii == 'B' || KeyAscii == 13) KeyAscii = 0;
    });
    field->put_TypeInput(CharType::Date);
    QVERIFY(f.show());
    typeText(box(field), QStringLiteral("1b5"));
    QCOMPARE(field->get_Text(), QStringLiteral("15"));
    // A swallowed Enter validates nothing.
    pressEnter(box(field));
    QCOMPARE(field->get_Text(), QStringLiteral("15"));
    QVERIFY(env.messages.empty());
}

void FieldInputTest::upDownReachHostOnly()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    QList<int> downs, ups;
    connect(field, &txtCampo::KeyDown, this, [&](short& KeyCode, short&) { downs << KeyCode; });
    connect(field, &txtCampo::KeyUp, this, [&](short& KeyCode, short&) { ups << KeyCode; });
    KeyLeakCounter leaks;
    field->installEventFilter(&leaks);
    field->put_Text(QStringLiteral("ABC"));
    QVERIFY(f.show());
    box(field)->setCursorPosition(1);
    QTest::keyClick(box(field), Qt::Key_Up);
    QTest::keyClick(box(field), Qt::Key_Down);
    QCOMPARE(downs, (QList<int>{38, 40}));
    QCOMPARE(ups, (QList<int>{38, 40}));
    QCOMPARE(leaks.leaked, 0);
    QCOMPARE(box(field)->cursorPosition(), 1);
    // Other keys keep their meaning.
    QTest::keyClick(box(field), Qt::Key_Right);
    QCOMPARE(box(field)->cursorPosition(), 2);
    QCOMPARE(downs.last(), 39);
}

void FieldInputTest::focusColours_data()
{
    QTest::addColumn<bool>("fromBag");
    QTest::newRow("setters") << false;
    QTest::newRow("bag") << true;
}

void FieldInputTest::focusColours()
{
    QFETCH(bool, fromBag);
    Environment env;
    ShownForm f;
    const host::OleColor back = 0x00E0E0FF, fore = 0x00800000;
    txtCampo* field = nullptr;
    if (fromBag) {
        host::PropertyBag bag;
        bag.WriteProperty(QStringLiteral("BackColor"), back);
        bag.WriteProperty(QStringLiteral("ForeColor"), fore);
        field = f.add(QStringLiteral("txtNome"), bag);
    } else {
        field = f.add(QStringLiteral("txtNome"));
        field->put_BackColor(back);
        field->put_ForeColor(fore);
    }
    txtCampo* other = f.add(QStringLiteral("txtOutro"));
    other->Extender().put_Top(600);
    QVERIFY(f.show());
    for (int round = 0; round < 2; ++round) {
        box(field)->setFocus();
        QTRY_VERIFY(box(field)->hasFocus());
        QCOMPARE(box(field)->get_BackColor(), 0x80000018u);
        QCOMPARE(box(field)->palette().color(QPalette::Base), QColor(255, 255, 225));
        QCOMPARE(field->get_BackColor(), back);
        box(other)->setFocus();
        QTRY_VERIFY(box(other)->hasFocus());
        QCOMPARE(box(field)->get_BackColor(), back);
        QCOMPARE(box(field)->get_ForeColor(), fore);
        QCOMPARE(box(other)->get_BackColor(), 0x80000018u);
    }
}

void FieldInputTest::focusSelectsUpTo200()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    txtCampo* other = f.add(QStringLiteral("txtOutro"));
    other->Extender().put_Top(600);
    field->put_Text(QString(250, QLatin1Char('x')));
    other->put_Text(QStringLiteral("curto"));
    QVERIFY(f.show());
    box(field)->setFocus();
    QTRY_VERIFY(box(field)->hasFocus());
    QCOMPARE(box(field)->get_SelStart(), 0);
    QCOMPARE(box(field)->get_SelLength(), 200);
    box(other)->setFocus();
    QTRY_VERIFY(box(other)->hasFocus());
    QCOMPARE(box(other)->get_SelLength(), 5);
}

void FieldInputTest::typeInputWithDateButton()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtData"));
    field->put_ButtonDate(true);
    field->put_Text(QStringLiteral("15/03/2026"));
    field->put_TypeInputMask(QStringLiteral("dd/mm/yyyy"));
    field->put_Alignment(host::AlignmentConstants::vbLeftJustify);
    field->put_TypeInput(CharType::Money);
    QCOMPARE(field->get_TypeInput(), CharType::Date);
    QCOMPARE(field->get_Text(), QString());
    QCOMPARE(field->get_TypeInputMask(), QString());
    QCOMPARE(field->get_Alignment(), host::AlignmentConstants::vbCenter);
}

void FieldInputTest::changeForEachTextStep_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("changes");
    QTest::newRow("date 1503") << 2 << "1503" << 2;           // +year, pattern
    QTest::newRow("date 15/03/26") << 2 << "15/03/26" << 3;   // slashes, century, pattern
    QTest::newRow("date as typed") << 2 << "15/03/2026" << 2; // slashes, pattern
    QTest::newRow("money 0.00") << 1 << "0.00" << 1;
    QTest::newRow("money spaces") << 1 << "  " << 2; // "0", then the mask
    QTest::newRow("money 12*3") << 1 << "12*3" << 0;
}

void FieldInputTest::changeForEachTextStep()
{
    QFETCH(int, type);
    QFETCH(QString, start);
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtCampo1"));
    field->put_TypeInput(CharType(type));
    field->put_Text(start);
    QVERIFY(f.show());
    QStringList seen;
    connect(field, &txtCampo::Change, this, [&] { seen << field->get_Text(); });
    pressEnter(box(field));
    QTEST(int(seen.size()), "changes");
    if (!seen.isEmpty()) QCOMPARE(seen.last(), field->get_Text());
}

void FieldInputTest::findButtonRaisesEvent()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtCodigo"));
    field->put_Text(QStringLiteral("12"));
    field->put_ButtonFind(true);
    int finds = 0, changes = 0;
    connect(field, &txtCampo::cmdLocalizar, this, [&] { ++finds; });
    connect(field, &txtCampo::Change, this, [&] { ++changes; });
    QVERIFY(f.show());
    QTest::mouseClick(findButton(field), Qt::LeftButton);
    QTest::mouseClick(findButton(field), Qt::LeftButton);
    QCOMPARE(finds, 2);
    QCOMPARE(changes, 0);
    QCOMPARE(field->get_Text(), QStringLiteral("12"));
}

QTEST_MAIN(FieldInputTest)
#include "tst_field_input.moc"
