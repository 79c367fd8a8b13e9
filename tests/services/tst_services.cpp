// The process-wide services: replacing and restoring them, MsgBox's title, the runtime's error
// box, and the real message box built from the style bits.

#include "host/services/Guard.h"
#include "host/services/Services.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace host;

Q_DECLARE_METATYPE(QMessageBox::Icon)
Q_DECLARE_METATYPE(QMessageBox::StandardButton)

namespace {

struct ShownBox {
    QString prompt;
    int style = -1;
    QString title;
};

// Replaces msgBox for the scope's life with one that records what it was asked to show.
struct RecordedBoxes {
    ServicesScope scope;
    QList<ShownBox> shown;
    RecordedBoxes()
    {
        services().msgBox = [this](const QString& prompt, int style, const QString& title) {
            shown.append({prompt, style, title});
            return 1;
        };
    }
};

QList<QMessageBox::StandardButton> buttonsOf(QMessageBox* box)
{
    QList<QMessageBox::StandardButton> list;
    for (QAbstractButton* b : box->buttons())
        list << box->standardButton(b);
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace

class tst_Services : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("Cadastro")); }
    void scopeRestores();
    void msgBoxTitle_data();
    void msgBoxTitle();
    void reportErrorShowsTheRuntimeBox_data();
    void reportErrorShowsTheRuntimeBox();
    void escapedErrorIsReportedAndTheProgramGoesOn();
    void realMessageBox_data();
    void realMessageBox();
    void clearedMsgBoxFallsBackToTheRealOne();
};

void tst_Services::scopeRestores()
{
    const QDate outerDay(2001, 1, 1);
    ServicesScope outer;
    services().today = [=] { return outerDay; };
    services().cursorPos = [] { return QPoint(1, 2); };
    {
        ServicesScope inner;
        services().today = [] { return QDate(2026, 3, 15); };
        services().cursorPos = [] { return QPoint(30, 40); };
        services().msgBox = [](const QString&, int, const QString&) { return 7; };
        services().reportError = nullptr;
        QCOMPARE(services().today(), QDate(2026, 3, 15));
        QCOMPARE(MsgBox(QStringLiteral("x")), 7);
    }
    QCOMPARE(services().today(), outerDay);
    QCOMPARE(services().cursorPos(), QPoint(1, 2));
    QVERIFY(services().msgBox);
    QVERIFY(services().reportError);
    {
        RecordedBoxes boxes;
        QCOMPARE(MsgBox(QStringLiteral("y"), 4), 1);
        QCOMPARE(boxes.shown.size(), 1);
    }
}

void tst_Services::msgBoxTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty: the application's name") << QString() << QStringLiteral("Cadastro");
    QTest::newRow("given") << QStringLiteral("Atenção !") << QStringLiteral("Atenção !");
    QTest::newRow("blank is a title") << QStringLiteral(" ") << QStringLiteral(" ");
}

void tst_Services::msgBoxTitle()
{
    QFETCH(QString, title);
    QFETCH(QString, shown);
    RecordedBoxes boxes;
    MsgBox(QStringLiteral("Campo é Requirido"), 48, title);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].title, shown);
    QCOMPARE(boxes.shown[0].prompt, QStringLiteral("Campo é Requirido"));
    QCOMPARE(boxes.shown[0].style, 48);
}

void tst_Services::reportErrorShowsTheRuntimeBox_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("prompt");
    QTest::newRow("given description")
        << 1001 << QStringLiteral("Data inválida %1")
        << QStringLiteral("Run-time error '1001':\n\nData inválida %1");
    QTest::newRow("standard description")
        << 6 << QString() << QStringLiteral("Run-time error '6':\n\nOverflow");
}

void tst_Services::reportErrorShowsTheRuntimeBox()
{
    QFETCH(int, number);
    QFETCH(QString, description);
    QFETCH(QString, prompt);
    RecordedBoxes boxes;
    services().reportError(RuntimeError(number, description));
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].prompt, prompt);
    QCOMPARE(boxes.shown[0].style, 16);
    QCOMPARE(boxes.shown[0].title, QStringLiteral("Cadastro"));
}

void tst_Services::escapedErrorIsReportedAndTheProgramGoesOn()
{
    RecordedBoxes boxes;
    bool after = false;
    QVERIFY(!guard([] { raiseError(Err::InvalidPropertyValue); }));
    after = true;
    QVERIFY(after);
    QCOMPARE(boxes.shown.size(), 1);
    QVERIFY(boxes.shown[0].prompt.startsWith(QStringLiteral("Run-time error '380':\n\n")));
}

void tst_Services::realMessageBox_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QList<QMessageBox::StandardButton>>("buttons");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QMessageBox::StandardButton>("defaultButton");
    QTest::addColumn<int>("press"); // a StandardButton, or 0 for the Escape key
    QTest::addColumn<int>("result");

    using B = QMessageBox;
    QTest::newRow("OK") << 0 << QList{B::Ok} << B::NoIcon << B::Ok << int(B::Ok) << 1;
    QTest::newRow("OK, Escape") << 0 << QList{B::Ok} << B::NoIcon << B::Ok << 0 << 1;
    QTest::newRow("OK/Cancel critical")
        << 1 + 16 << QList{B::Ok, B::Cancel} << B::Critical << B::Ok << int(B::Cancel) << 2;
    QTest::newRow("OK/Cancel, Escape")
        << 1 << QList{B::Ok, B::Cancel} << B::NoIcon << B::Ok << 0 << 2;
    QTest::newRow("Abort/Retry/Ignore exclamation, second default")
        << 2 + 48 + 256 << QList{B::Abort, B::Retry, B::Ignore} << B::Warning << B::Retry
        << int(B::Ignore) << 5;
    QTest::newRow("Abort") << 2 << QList{B::Abort, B::Retry, B::Ignore} << B::NoIcon << B::Abort
                           << int(B::Abort) << 3;
    QTest::newRow("Yes/No/Cancel question, third default")
        << 3 + 32 + 512 << QList{B::Yes, B::No, B::Cancel} << B::Question << B::Cancel
        << int(B::Yes) << 6;
    QTest::newRow("Yes/No information, second default")
        << 4 + 64 + 256 << QList{B::Yes, B::No} << B::Information << B::No << int(B::No) << 7;
    QTest::newRow("Retry/Cancel") << 5 << QList{B::Retry, B::Cancel} << B::NoIcon << B::Retry
                                  << int(B::Retry) << 4;
    QTest::newRow("default beyond the buttons")
        << 4 + 768 << QList{B::Yes, B::No} << B::NoIcon << B::Yes << int(B::Yes) << 6;
}

void tst_Services::realMessageBox()
{
    QFETCH(int, style);
    QFETCH(QList<QMessageBox::StandardButton>, buttons);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QMessageBox::StandardButton, defaultButton);
    QFETCH(int, press);
    QFETCH(int, result);

    bool seen = false;
    QList<QMessageBox::StandardButton> shownButtons;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    QMessageBox::StandardButton shownDefault = QMessageBox::NoButton;
    QString shownTitle, shownText;
    Qt::TextFormat format = Qt::AutoText;

    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll.stop();
        seen = true;
        shownButtons = buttonsOf(box);
        shownIcon = box->icon();
        shownDefault = box->standardButton(box->defaultButton());
        shownTitle = box->windowTitle();
        shownText = box->text();
        format = box->textFormat();
        if (press == 0)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->button(QMessageBox::StandardButton(press))->click();
    });
    poll.start();
    // Closes whatever is open should the box never be found, so the test fails rather than hangs.
    QTimer::singleShot(5000, this, [] {
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });

    const int code = MsgBox(QStringLiteral("<b>Confirma?</b>"), style, QString());
    QVERIFY(seen);
    std::sort(buttons.begin(), buttons.end());
    QCOMPARE(shownButtons, buttons);
    QCOMPARE(shownIcon, icon);
    QCOMPARE(shownDefault, defaultButton);
    QCOMPARE(shownTitle, QStringLiteral("Cadastro"));
    QCOMPARE(shownText, QStringLiteral("<b>Confirma?</b>"));
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(code, result);
}

void tst_Services::clearedMsgBoxFallsBackToTheRealOne()
{
    ServicesScope scope;
    services().msgBox = nullptr;
    bool seen = false;
    QTimer::singleShot(10, this, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen = true;
            box->button(QMessageBox::No)->click();
        }
    });
    const int code = MsgBox(QStringLiteral("Sair?"), 4);
    QVERIFY(seen);
    QCOMPARE(code, 7);
}

QTEST_MAIN(tst_Services)
#include "tst_services.moc"
