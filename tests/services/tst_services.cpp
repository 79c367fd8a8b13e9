// The process-wide services: replacing and restoring them, MsgBox's title, the runtime's error
// box, and the real message box built from the style bits.

#include "host/services/Guard.h"
#include "host/services/Screen.h"
#include "host/services/Services.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace host;

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

} // namespace

class tst_Services : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("Cadastro")); }
    void scopeRestores()
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
        QVERIFY(services().msgBox && services().reportError);
    }

    void screenFollowsTheService()
    {
        const float realHeight = Screen::get_Height();
        {
            ServicesScope scope;
            services().screenSize = [] { return QSize(1366, 768); };
            QCOMPARE(Screen::get_Width(), 1366 * Screen::get_TwipsPerPixelX());
            QCOMPARE(Screen::get_Height(), 768 * Screen::get_TwipsPerPixelY());
        }
        QCOMPARE(Screen::get_Height(), realHeight);
    }
    void msgBoxTitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty: the application's name") << QString() << QStringLiteral("Cadastro");
        QTest::newRow("given") << QStringLiteral("Atenção !") << QStringLiteral("Atenção !");
        QTest::newRow("blank is a title") << QStringLiteral(" ") << QStringLiteral(" ");
    }

    void msgBoxTitle()
    {
        QFETCH(QString, title);
        QFETCH(QString, shown);
        RecordedBoxes boxes;
        MsgBox(QStringLiteral("Campo é Requirido"), 48, title);
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].title, shown);
        QCOMPARE(boxes.shown[0].style, 48);
    }

    void reportErrorShowsTheRuntimeBox_data()
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

    void reportErrorShowsTheRuntimeBox()
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

    void escapedErrorIsReportedAndTheProgramGoesOn()
    {
        RecordedBoxes boxes;
        QVERIFY(!guard([] { raiseError(Err::InvalidPropertyValue); }));
        QCOMPARE(boxes.shown.size(), 1);
        QVERIFY(boxes.shown[0].prompt.startsWith(QStringLiteral("Run-time error '380':\n\n")));
    }

    void realMessageBox_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("expected"); // buttons, icon, default button
        QTest::addColumn<int>("press");        // a StandardButton, or 0 for the Escape key
        QTest::addColumn<int>("result");
        const auto row = [](const char* tag, int style, const char* expected, int press,
                            int result) {
            QTest::newRow(tag) << style << QString::fromLatin1(expected) << press << result;
        };
        using B = QMessageBox;
        row("OK", 0, "Ok NoIcon Ok", B::Ok, 1);
        row("OK, Escape", 0, "Ok NoIcon Ok", 0, 1);
        row("OK/Cancel critical", 1 + 16, "Ok,Cancel Critical Ok", B::Cancel, 2);
        row("OK/Cancel, Escape", 1, "Ok,Cancel NoIcon Ok", 0, 2);
        row("Abort/Retry/Ignore exclamation, second default", 2 + 48 + 256,
            "Abort,Retry,Ignore Warning Retry", B::Ignore, 5);
        row("Abort", 2, "Abort,Retry,Ignore NoIcon Abort", B::Abort, 3);
        row("Yes/No/Cancel question, third default", 3 + 32 + 512, "Yes,No,Cancel Question Cancel",
            B::Yes, 6);
        row("Yes/No information, second default", 4 + 64 + 256, "Yes,No Information No", B::No, 7);
        row("Retry/Cancel", 5, "Retry,Cancel NoIcon Retry", B::Retry, 4);
        row("default beyond the buttons", 4 + 768, "Yes,No NoIcon Yes", B::Yes, 6);
    }

    void realMessageBox()
    {
        QFETCH(int, style);
        QFETCH(QString, expected);
        QFETCH(int, press);
        QFETCH(int, result);
        QString seen;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            poll.stop();
            const QMetaEnum names = QMetaEnum::fromType<QMessageBox::StandardButtons>();
            QList<int> buttons;
            for (QAbstractButton* b : box->buttons())
                buttons << box->standardButton(b);
            std::sort(buttons.begin(), buttons.end());
            QStringList shown;
            for (int b : buttons)
                shown << QString::fromLatin1(names.valueToKey(b));
            seen = shown.join(',') + ' ' +
                   QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon()) + ' ' +
                   names.valueToKey(box->standardButton(box->defaultButton())) + '|' +
                   box->windowTitle() + '|' + box->text() + '|' +
                   (box->textFormat() == Qt::PlainText ? "plain" : "rich");
            if (press == 0)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(QMessageBox::StandardButton(press))->click();
        });
        poll.start();
        // Closes whatever is open should the box never be found, so the test fails, not hangs.
        QTimer::singleShot(5000, this, [] {
            if (QWidget* w = QApplication::activeModalWidget()) w->close();
        });
        const int code = MsgBox(QStringLiteral("<b>Confirma?</b>"), style, QString());
        QCOMPARE(seen, expected + QStringLiteral("|Cadastro|<b>Confirma?</b>|plain"));
        QCOMPARE(code, result);
    }

    void clearedMsgBoxFallsBackToTheRealOne()
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
};

QTEST_MAIN(tst_Services)
#include "tst_services.moc"
