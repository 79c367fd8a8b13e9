// The default services in a process without widgets (a command-line tool, the fuzzer): message
// boxes go to stderr and answer with their default button instead of crashing.

#include "host/services/Services.h"

#include <QCoreApplication>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>
#include <unistd.h>

using namespace host;

namespace {

// Runs `body` with stderr sent to a temporary file; returns what it wrote.
template <class F>
QByteArray capturingStderr(F&& body)
{
    QTemporaryFile file;
    if (!file.open()) return "<no temporary file>";
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(file.handle(), STDERR_FILENO);
    body();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    file.seek(0);
    return file.readAll();
}

} // namespace

class tst_ServicesHeadless : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void msgBoxAnswersTheDefaultButton_data();
    void msgBoxAnswersTheDefaultButton();
    void clockAndPointer();
};

void tst_ServicesHeadless::msgBoxAnswersTheDefaultButton_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("result");
    QTest::newRow("OK") << 0 << 1;
    QTest::newRow("OK/Cancel, critical") << 1 + 16 << 1;
    QTest::newRow("OK/Cancel, second default") << 1 + 256 << 2;
    QTest::newRow("Abort/Retry/Ignore, third default") << 2 + 512 << 5;
    QTest::newRow("Yes/No/Cancel, third default") << 3 + 32 + 512 << 2;
    QTest::newRow("Yes/No, second default") << 4 + 256 << 7;
    QTest::newRow("Yes/No, default beyond the buttons") << 4 + 768 << 6;
    QTest::newRow("Retry/Cancel, second default") << 5 + 256 << 2;
}

void tst_ServicesHeadless::msgBoxAnswersTheDefaultButton()
{
    QFETCH(int, style);
    QFETCH(int, result);
    int code = -1;
    const QByteArray written =
        capturingStderr([&] { code = MsgBox(QStringLiteral("Sem janela"), style); });
    QCOMPARE(code, result);
    QVERIFY2(written.contains("Sem janela"), written.constData());
    QVERIFY2(written.contains(QCoreApplication::applicationName().toLocal8Bit()),
             written.constData());
}

void tst_ServicesHeadless::clockAndPointer()
{
    const QDate before = QDate::currentDate();
    const QDate today = services().today();
    QVERIFY(today == before || today == QDate::currentDate());
    QCOMPARE(services().cursorPos(), QPoint()); // no screen to ask
    const QByteArray written = capturingStderr([] { services().reportError(RuntimeError(13)); });
    QVERIFY2(written.contains("Run-time error '13':"), written.constData());
}

QTEST_GUILESS_MAIN(tst_ServicesHeadless)
#include "tst_services_headless.moc"
