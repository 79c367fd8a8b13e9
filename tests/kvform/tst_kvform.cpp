// End-to-end runs of the kvform binary: scripts against the demo form, the events it prints,
// saving and reloading, and the failures it must report without writing anything.
//
// The binary is found relative to this test's own: build/tests/tst_kvform runs
// build/apps/kvform/kvform (apps/kvform/CMakeLists.txt builds it along with this test).

#include "host/persist/FormFile.h"
#include "host/value/StdFont.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QStringList out; // stdout lines
    QString err;
};

QString kvformPath()
{
    return QDir(QCoreApplication::applicationDirPath())
        .absoluteFilePath(QStringLiteral("../apps/kvform/kvform"));
}

QString thisYear()
{
    return QString::number(QDate::currentDate().year());
}

} // namespace

// The height of the demo form's menu bar with the pinned fonts, in pixels.
constexpr int MenuBar = 18;

class TestKvform : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString file(const QString& name) const { return m_dir.filePath(name); }

    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    Run run(QStringList args, const QByteArray& script = {})
    {
        Run r;
        if (!script.isNull()) {
            write(QStringLiteral("script.kvs"), script);
            args << QStringLiteral("--script") << QStringLiteral("script.kvs");
        }
        QProcess p;
        p.setWorkingDirectory(m_dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_FONT_DPI"), QStringLiteral("96"));
        p.setProcessEnvironment(env);
        p.start(kvformPath(), args);
        if (!p.waitForFinished(150000)) {
            p.kill();
            p.waitForFinished();
            qWarning("kvform did not finish");
            return r;
        }
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.out = QString::fromUtf8(p.readAllStandardOutput())
                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        // Qt's own start-up notes are not kvform's messages.
        QStringList err;
        for (const QString& line :
             QString::fromUtf8(p.readAllStandardError()).split(QLatin1Char('\n')))
            if (!line.startsWith(QLatin1String("QStandardPaths:")) && !line.isEmpty()) err << line;
        r.err = err.join(QLatin1Char('\n'));
        return r;
    }

    // The lines of one control's events, in order.
    static QStringList eventsOf(const Run& r, const QString& control)
    {
        QStringList lines;
        for (const QString& l : r.out)
            if (l.startsWith(control + QLatin1Char('.')) && !l.contains(QLatin1String(" = ")))
                lines << l;
        return lines;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(QFileInfo(kvformPath()).isExecutable(), qPrintable(kvformPath()));
    }

    void dateRoad_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("day and month get this year") << "1503"
                                                     << "15/03/" + thisYear() << QString();
        QTest::newRow("slashes typed") << "15/03/2024"
                                       << "15/03/2024" << QString();
        QTest::newRow("two-digit year") << "150324"
                                        << "15/03/" + thisYear().left(2) + "24" << QString();
        QTest::newRow("not a date")
            << "3199" << QString()
            << "msgbox: Atenção !: Formato de Data Invalido !\\n\\nEx: DD/MM/YYYY ";
    }
    void dateRoad()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(QString, message);
        const Run r =
            run({QStringLiteral("--events")}, "focus txtNascimento\ntype \"" + typed.toUtf8() +
                                                  "\"\nkeys {ENTER}\nprint txtNascimento.Text\n");
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        if (!text.isEmpty())
            QVERIFY2(r.out.contains("txtNascimento.Text = \"" + text + '"'),
                     qPrintable(r.out.join('\n')));
        if (message.isEmpty()) {
            QVERIFY(!r.out.join('\n').contains(QLatin1String("msgbox:")));
        } else {
            QVERIFY2(r.out.contains(message), qPrintable(r.out.join('\n')));
        }

        // Enter: KeyDown, KeyPress as the host saw it, the field's own text changes, KeyUp.
        const QStringList events = eventsOf(r, QStringLiteral("txtNascimento"));
        const qsizetype enter =
            events.indexOf(QStringLiteral("txtNascimento.KeyPress KeyAscii=13"));
        QVERIFY2(enter > 0, qPrintable(events.join('\n')));
        QCOMPARE(events[enter - 1], QStringLiteral("txtNascimento.KeyDown KeyCode=13 Shift=0"));
        const qsizetype keyUp =
            events.indexOf(QStringLiteral("txtNascimento.KeyUp KeyCode=13 Shift=0"));
        QVERIFY(keyUp > enter);
        const QStringList between = events.mid(enter + 1, keyUp - enter - 1);
        QVERIFY(!between.isEmpty());
        for (const QString& e : between)
            QCOMPARE(e, QStringLiteral("txtNascimento.Change"));
        // A refused date is selected directly, by no keys that could land elsewhere.
        QCOMPARE(events.mid(keyUp + 1), QStringList());
        // Typing: every digit raised KeyDown, KeyPress with its code, Change, KeyUp.
        QCOMPARE(events.first(), QStringLiteral("txtNascimento.KeyDown KeyCode=%1 Shift=0")
                                     .arg(int(typed.at(0).unicode())));
        QCOMPARE(
            events[1],
            QStringLiteral("txtNascimento.KeyPress KeyAscii=%1").arg(int(typed.at(0).unicode())));
        QCOMPARE(events[2], QStringLiteral("txtNascimento.Change"));
    }

    void calendarRoad()
    {
        // The cell's caption is the day picked: cells 8..28 always lie in the month shown.
        const Run r = run({QStringLiteral("--events")}, "focus txtNascimento\n"
                                                        "click txtNascimento.cmdCalendario\n"
                                                        "wait-modal\n"
                                                        "print lblDia(17).Caption\n"
                                                        "dblclick lblDia(17)\n"
                                                        "print txtNascimento.Text\n");
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        QString day;
        for (const QString& l : r.out)
            if (l.startsWith(QLatin1String("lblDia(17).Caption = ")))
                day = l.section(QLatin1Char('"'), 1, 1);
        QVERIFY(!day.isEmpty());
        const QDate today = QDate::currentDate();
        const QString expected =
            QDate(today.year(), today.month(), day.toInt()).toString(QStringLiteral("dd/MM/yyyy"));
        QVERIFY2(r.out.contains("txtNascimento.Text = \"" + expected + '"'),
                 qPrintable(r.out.join('\n')));
        const QStringList events = eventsOf(r, QStringLiteral("txtNascimento"));
        QCOMPARE(events.mid(events.size() - 2),
                 QStringList({QStringLiteral("txtNascimento.Change"),
                              QStringLiteral("txtNascimento.cmdCalendario")}));
    }

    void requiredMessage_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("shown");
        QTest::newRow("left empty") << QByteArray("focus txtNome\nkeys {ENTER}\n") << true;
        QTest::newRow("only spaces")
            << QByteArray("focus txtNome\ntype \"   \"\nkeys {ENTER}\n") << true;
        QTest::newRow("filled") << QByteArray("focus txtNome\ntype \"ana\"\nkeys {ENTER}\n"
                                              "expect txtNome.Text \"ANA\"\n")
                                << false;
        QTest::newRow("not required") << QByteArray("focus txtCodigo\nkeys {ENTER}\n") << false;
    }
    void requiredMessage()
    {
        QFETCH(QByteArray, script);
        QFETCH(bool, shown);
        const Run r = run({}, script);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        const QStringList expected{QStringLiteral("msgbox: Atenção !: Campo Nome é Requirido")};
        QCOMPARE(r.out.filter(QStringLiteral("msgbox:")), shown ? expected : QStringList());
    }

    void moneyFormatting_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::newRow("pt-BR thousands") << "pt-BR"
                                         << "1234.5"
                                         << "1.234,50";
        QTest::newRow("pt-BR whole") << "pt-BR"
                                     << "12"
                                     << "12,00";
        QTest::newRow("pt-BR millions") << "pt-BR"
                                        << "1234567.891"
                                        << "1.234.567,89";
        QTest::newRow("en-US thousands") << "en-US"
                                         << "1234.5"
                                         << "1,234.50";
        QTest::newRow("not a number stays") << "pt-BR"
                                            << "12*3"
                                            << "12*3";
        QTest::newRow("letters refused") << "pt-BR"
                                         << "7a"
                                         << "7,00";
    }
    void moneyFormatting()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        const Run r = run({QStringLiteral("--locale"), locale},
                          "focus txtValor\ntype \"" + typed.toUtf8() +
                              "\"\nkeys {ENTER}\nexpect txtValor.Text \"" + text.toUtf8() + "\"\n");
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
    }

    // The demo's tour, as scripts/demo plays it, runs to its end: every expectation met and the
    // About dialog closed by its last keys.
    void theTourPlaysThrough()
    {
        QFile tour(QStringLiteral(KV_SOURCE_DIR "/apps/kvform/tour.kvs"));
        QVERIFY(tour.open(QIODevice::ReadOnly));
        const Run r = run({}, tour.readAll());
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
    }

    // The picture of the "Imprimir" button clicks it once.
    void pictureButtonClicksOnce()
    {
        const Run r = run({QStringLiteral("--events")}, "click cmdImprimir.Pic\n");
        QCOMPARE(r.err, QString());
        QCOMPARE(eventsOf(r, QStringLiteral("cmdImprimir")).filter(QStringLiteral(".Click")),
                 QStringList{QStringLiteral("cmdImprimir.Click")});
    }

    // The demo's gauge follows the record: the required name and every filled field count.
    void demoGaugeFollowsTheFields()
    {
        const Run r = run({}, "expect pbCadastro.Value \"50\"\n" // Nome empty, Valor 0.00
                              "focus txtCodigo\ntype \"7\"\n"
                              "expect pbCadastro.Value \"67\"\n"
                              "focus txtNome\ntype \"ana\"\n"
                              "expect pbCadastro.Value \"100\"\n");
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
    }

    void saveAndReload()
    {
        QFile::remove(file(QStringLiteral("first.kvform")));
        QFile::remove(file(QStringLiteral("second.kvform")));
        const Run first = run({QStringLiteral("--save"), QStringLiteral("first.kvform")},
                              "focus txtNome\ntype \"jose\"\nfocus txtValor\ntype \"99\"\n"
                              "keys {ENTER}\n");
        QCOMPARE(first.err, QString());
        QCOMPARE(first.exitCode, 0);
        const Run second = run({QStringLiteral("first.kvform"), QStringLiteral("--save"),
                                QStringLiteral("second.kvform")},
                               "expect txtNome.Text \"JOSE\"\nexpect txtValor.Text \"99,00\"\n");
        QCOMPARE(second.err, QString());
        QCOMPARE(second.exitCode, 0);

        QFile a(file(QStringLiteral("first.kvform"))), b(file(QStringLiteral("second.kvform")));
        QVERIFY(a.open(QIODevice::ReadOnly));
        QVERIFY(b.open(QIODevice::ReadOnly));
        const QByteArray bytes = a.readAll();
        QCOMPARE(b.readAll(), bytes);

        // What was saved is the demo form as the user left it.
        const host::FormDescription d = host::FormFile::parse(bytes, QStringLiteral("first"));
        QCOMPARE(d.caption, QStringLiteral("Cadastro de Cliente"));
        QStringList names;
        for (const host::ControlRecord& c : d.controls)
            names << c.className + ':' + c.name;
        QCOMPARE(names,
                 QStringList({"VB.Label:lblCodigo", "Kv_CTRL.txtCampo:txtCodigo",
                              "VB.Label:lblNome", "Kv_CTRL.txtCampo:txtNome",
                              "VB.Label:lblNascimento", "Kv_CTRL.txtCampo:txtNascimento",
                              "VB.Label:lblValor", "Kv_CTRL.txtCampo:txtValor",
                              "Kv_CTRL.ProgressBar:pbCadastro", "Kv_CTRL.cmdButton:cmdImprimir",
                              "Kv_CTRL.xpcmdbutton:cmdSalvar", "Kv_CTRL.xpcmdbutton:cmdCancelar",
                              "Kv_CTRL.VericalText:vtTitulo", "Kv_CTRL.xpcheckbox:chkAtivo",
                              "VB.Frame:fraTipo", "Kv_CTRL.xpoptionbutton:optFisica",
                              "Kv_CTRL.xpoptionbutton:optJuridica"})); // no inner parts
        QCOMPARE(d.controls[16].container, QStringLiteral("fraTipo"));
        QCOMPARE(d.controls[10].properties.ReadProperty(QStringLiteral("State")).toString(),
                 QStringLiteral("1"));
        QCOMPARE(d.controls[3].properties.ReadProperty(QStringLiteral("Text")).toString(),
                 QStringLiteral("JOSE"));
        QCOMPARE(d.controls[3].left, 2040.f);
        QCOMPARE(d.controls[2].properties.ReadProperty(QStringLiteral("Caption")).toString(),
                 QStringLiteral("Nome"));
    }

    // Ctrl+S that cannot save says why and leaves the form as the user left it; the save at the
    // end fails alike and the run ends with the save's exit code.
    void failedCtrlSKeepsTheForm()
    {
        write(QStringLiteral("blocker"), "a file where the folder should be");
        const Run r = run({QStringLiteral("--save"), QStringLiteral("blocker/out.kvform")},
                          "focus txtNome\ntype \"jose\"\nkeys ^s\nexpect txtNome.Text \"JOSE\"\n");
        const QString why =
            QStringLiteral("blocker/out.kvform: cannot be written: Not a directory");
        QVERIFY2(r.out.contains(
                     QStringLiteral("msgbox: kvform: O formulário não foi salvo.\\n\\n") + why),
                 qPrintable(r.out.join('\n')));
        QCOMPARE(r.err,
                 QStringLiteral("kvform: cannot save: %1\nkvform: cannot save: %1").arg(why));
        QCOMPARE(r.exitCode, 3);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("formFile");
        QTest::addColumn<QByteArray>("formBytes");
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");

        const QByteArray good = "{\"format\": \"kvform 1\",\n"
                                " \"form\": {\"name\": \"f\", \"caption\": \"F\", \"width\": 3000, "
                                "\"height\": 2000},\n"
                                " \"controls\": [\n"
                                "  {\"class\": \"VB.Label\", \"name\": \"lblA\", \"left\": 0, "
                                "\"top\": 0, \"width\": 900, \"height\": 255,\n"
                                "   \"properties\": [[\"Caption\", \"A\"]]},\n"
                                "  {\"class\": \"%CLASS%\", \"name\": \"txtA\", \"left\": 0, "
                                "\"top\": 300,\n"
                                "   \"width\": %WIDTH%, \"height\": 315, \"properties\": []}\n"
                                " ]}\n";
        auto form = [&](const char* cls, const char* width) {
            return QByteArray(good).replace("%CLASS%", cls).replace("%WIDTH%", width);
        };
        QTest::newRow("unknown ProgID")
            << "f.kvform" << form("Kv_CTRL.NaoExiste", "1500") << QByteArray() << 3
            << "kvform: f.kvform:6: control \"txtA\" (#2): ActiveX component can't create object: "
               "'Kv_CTRL.NaoExiste' is not registered";
        QTest::newRow("wrong value type")
            << "f.kvform" << form("Kv_CTRL.txtCampo", "\"wide\"") << QByteArray() << 3
            << "kvform: f.kvform:7: control \"txtA\" (#2): key \"width\": expected a number";
        // Every property value is checked against the control's type before anything shows.
        const auto property = [&](const char* pair) {
            const QByteArray properties = QByteArray("\"properties\": [") + pair + ']';
            return form("Kv_CTRL.txtCampo", "1500").replace("\"properties\": []", properties);
        };
        const QString txtA = "kvform: f.kvform:7: control \"txtA\" (#2): ";
        QTest::newRow("text for an enumeration")
            << "f.kvform" << property("[\"TypeInput\", \"abc\"]") << QByteArray() << 3
            << txtA + "key \"TypeInput\": expected one of the CharType values (0, 1, 2, 3), not "
                      "a string";
        QTest::newRow("text for a boolean")
            << "f.kvform" << property("[\"Required\", \"yes\"]") << QByteArray() << 3
            << txtA + "key \"Required\": expected a boolean (-1 or 0), not a string";
        QTest::newRow("text for a font")
            << "f.kvform" << property("[\"Font\", \"Arial\"]") << QByteArray() << 3
            << txtA + "key \"Font\": expected a font";
        QTest::newRow("not a whole number")
            << "f.kvform" << property("[\"Alignment\", 1.5]") << QByteArray() << 3
            << txtA + "key \"Alignment\": expected one of the AlignmentConstants values (0, 1, "
                      "2), not the number 1.5";
        QTest::newRow("refused while reading")
            << "f.kvform" << property("[\"BackColor\", 2415919104]") << QByteArray() << 3
            << "kvform: f.kvform:6: control \"txtA\" (#2): Invalid property value (error 380)";
        QTest::newRow("nested too deep")
            << "f.kvform" << QByteArray("[[[[[[[[[[]]]]]]]]]]") << QByteArray() << 3
            << "kvform: f.kvform:1: nested deeper than 8 levels";
        QTest::newRow("not JSON") << "f.kvform"
                                  << QByteArray("{\"format\": \"kvform 1\",\n  oops\n}")
                                  << QByteArray() << 3 << "kvform: f.kvform:2: not valid JSON";
        QTest::newRow("unknown intrinsic property")
            << "f.kvform"
            << QByteArray(good)
                   .replace("\"Caption\"", "\"Colour\"")
                   .replace("%CLASS%", "Kv_CTRL.txtCampo")
                   .replace("%WIDTH%", "1500")
            << QByteArray() << 3 << "kvform: f.kvform:4: control \"lblA\" (#1):";
        QTest::newRow("missing file")
            << "nothing.kvform" << QByteArray() << QByteArray() << 3 << "kvform: nothing.kvform:";
        QTest::newRow("unknown command")
            << QString() << QByteArray() << QByteArray("focus txtNome\n\nfrobnicate txtNome\n") << 1
            << "kvform: script.kvs:3: unknown command \"frobnicate\"";
        QTest::newRow("unquoted text")
            << QString() << QByteArray() << QByteArray("type abc\n") << 1
            << "kvform: script.kvs:1: expected the text to type in double quotes";
        QTest::newRow("bad keys") << QString() << QByteArray() << QByteArray("keys {NOKEY}\n") << 1
                                  << "kvform: script.kvs:1: \"{NOKEY}\" is not a valid key string";
        QTest::newRow("no such control")
            << QString() << QByteArray() << QByteArray("# a comment\nclick txtNada\n") << 1
            << "kvform: script.kvs:2: no control \"txtNada\" on the form";
        QTest::newRow("failed expectation")
            << QString() << QByteArray()
            << QByteArray("focus txtNome\ntype \"x\"\nexpect txtNome.Text \"Y\"\n") << 1
            << "kvform: script.kvs:3: expected txtNome.Text to be \"Y\", got \"X\"";
        QTest::newRow("set: no such property")
            << QString() << QByteArray() << QByteArray("set txtNome.Nada \"1\"\n") << 1
            << "kvform: script.kvs:1: run-time error 438";
        QTest::newRow("no modal form")
            << QString() << QByteArray() << QByteArray("wait-modal Nada\n") << 1
            << "kvform: script.kvs:1: no modal form \"Nada\" appeared within 5 s";
    }
    void failures()
    {
        QFETCH(QString, formFile);
        QFETCH(QByteArray, formBytes);
        QFETCH(QByteArray, script);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString saved = file(QStringLiteral("out.kvform"));
        const QString picture = file(QStringLiteral("out.png"));
        QFile::remove(saved);
        QFile::remove(picture);
        QStringList args{QStringLiteral("--save"), QStringLiteral("out.kvform"),
                         QStringLiteral("--screenshot"), QStringLiteral("out.png")};
        if (!formFile.isEmpty()) {
            if (!formBytes.isEmpty()) write(formFile, formBytes);
            args.prepend(formFile);
        }
        const Run r = run(args, script);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.startsWith(message), qPrintable(r.err));
        QVERIFY2(!r.err.contains(QLatin1Char('\n')), qPrintable(r.err)); // one message
        QVERIFY(!QFile::exists(saved));
        QVERIFY(!QFile::exists(picture));
    }

    // The demo's check box and option buttons under a script: clicks toggle and select, a
    // value set by the script clears nothing and is not a click.
    void checkBoxAndOptions()
    {
        const Run r = run({QStringLiteral("--events")},
                          "click chkAtivo\nexpect chkAtivo.Value \"1\"\n"
                          "set chkAtivo.Value \"2\"\nexpect chkAtivo.Value \"2\"\n"
                          "set optJuridica.Value \"-1\"\nexpect optFisica.Value \"True\"\n"
                          "click optJuridica\nexpect optFisica.Value \"False\"\n"
                          "expect optJuridica.Value \"True\"\n");
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(
            r.out.filter(QStringLiteral(".Click")),
            (QStringList{QStringLiteral("chkAtivo.Click"), QStringLiteral("optJuridica.Click")}));
    }

    void screenshotShowsTheForm()
    {
        QFile::remove(file(QStringLiteral("form.png")));
        const Run r = run({QStringLiteral("--screenshot"), QStringLiteral("form.png")});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        QImage image(file(QStringLiteral("form.png")));
        QVERIFY(!image.isNull());
        // The client area is the form's 6720 x 3120 twips at 15 twips a pixel, below the menu
        // bar ("Ajuda", 18 pixels with the pinned fonts), inside the frame.
        QCOMPARE(image.width(), 6720 / 15 + 6);
        QCOMPARE(image.height(), 3120 / 15 + MenuBar + 24 + 6);
        // The title strip along the client area's left edge, brightest blue at its top; then
        // the form's back colour (button face 236, 233, 216) between the strip and the labels.
        const int top = 3 + 24 + MenuBar;
        QVERIFY(image.pixelColor(3 + 5, top - 2) != QColor(0, 0, 240)); // the bar, not the strip
        QCOMPARE(image.pixelColor(3 + 5, top + 2), QColor(0, 0, 240));
        QCOMPARE(image.pixelColor(3 + 45, top + 5), QColor(236, 233, 216));
    }

    // The pointer moved over the flat button, pressed, and moved away: its events in order and
    // its looks on screen (the middle of its top ring row: hover, pressed, default).
    void buttonHoverRoad()
    {
        const Run r = run({QStringLiteral("--events")}, "move cmdSalvar\n"
                                                        "screenshot hover.png\n"
                                                        "press cmdSalvar\n"
                                                        "screenshot pressed.png\n"
                                                        "release cmdSalvar\n"
                                                        "move 0 0\n"
                                                        "wait 100\n"
                                                        "screenshot left.png\n");
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        QStringList events = eventsOf(r, QStringLiteral("cmdSalvar"));
        events.removeDuplicates(); // the platform may report the move more than once
        QCOMPARE(events.size(), 5);
        QVERIFY2(events[0].startsWith(QLatin1String("cmdSalvar.MouseMove Button=0")),
                 qPrintable(events.join('\n')));
        QVERIFY(events[1].startsWith(QLatin1String("cmdSalvar.MouseDown Button=1")));
        QVERIFY(events[2].startsWith(QLatin1String("cmdSalvar.MouseUp Button=1")));
        QCOMPARE(events.mid(3), QStringList({QStringLiteral("cmdSalvar.Click"),
                                             QStringLiteral("cmdSalvar.MouseOut")}));
        // The button lies at 3840, 2400 twips (256, 160 pixels), 80 pixels wide, in the frame.
        const QPoint ring(3 + 256 + 40, 3 + 24 + MenuBar + 160 + 1);
        const struct {
            const char* file;
            QColor colour;
        } looks[] = {{"hover.png", QColor(255, 240, 207)},
                     {"pressed.png", QColor(208, 203, 191)},
                     {"left.png", QColor(206, 231, 255)}};
        for (const auto& look : looks)
            QCOMPARE(QImage(file(QLatin1String(look.file))).pixelColor(ring), look.colour);
    }

    void typelibIsTheModules()
    {
        const Run r = run({QStringLiteral("--typelib")});
        QCOMPARE(r.exitCode, 0);
        const QString text = r.out.join('\n');
        QVERIFY(text.contains(QLatin1String("library Kv_CTRL")) ||
                text.contains(QLatin1String("Kv_CTRL")));
        QVERIFY(text.contains(QLatin1String("txtCampo")));
        QVERIFY(text.contains(QLatin1String("Calendario")));
    }

    // The Designer form with all seven controls, run as a form file: the designed properties
    // hold, the field works as on any form, events print, the screenshot has the designed size.
    void designerForm()
    {
        const QString ui = QStringLiteral(KV_SOURCE_DIR "/tests/designer/allcontrols.ui");
        QFile::remove(file(QStringLiteral("ui.png")));
        const Run r = run({ui, QStringLiteral("--events")}, "expect txtValor.Text \"0.00\"\n"
                                                            "expect txtValor.BackColor "
                                                            "\"-2147483633\"\n"
                                                            "expect pgbCadastro.ForeColor "
                                                            "\"32768\"\n"
                                                            "expect cmdSalvar.State \"1\"\n"
                                                            "expect chkAtivo.Value \"2\"\n"
                                                            "print optJuridica.Value\n"
                                                            "print pgbCadastro.Value\n"
                                                            "print vtTitulo.zDirecao\n"
                                                            "print cmdImprimir.Enabled\n"
                                                            "focus txtValor\n"
                                                            "type \"1234.5\"\n"
                                                            "keys {ENTER}\n"
                                                            "expect txtValor.Text \"1.234,50\"\n"
                                                            "click cmdImprimir\n"
                                                            "click chkAtivo\n"
                                                            "screenshot ui.png\n");
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        for (const char* line : {"optJuridica.Value = \"True\"", "pgbCadastro.Value = \"40\"",
                                 "vtTitulo.zDirecao = \"1\"", "cmdImprimir.Enabled = \"False\"",
                                 "txtValor.Change", "chkAtivo.Click"})
            QVERIFY2(r.out.contains(QLatin1String(line)), line);
        // The picture button is disabled: the click reaches nothing.
        QCOMPARE(eventsOf(r, QStringLiteral("cmdImprimir")).filter(QStringLiteral("Click")),
                 QStringList());
        const QImage image(file(QStringLiteral("ui.png")));
        QCOMPARE(image.size(), QSize(420 + 6, 260 + MenuBar + 24 + 6));
    }

    // --save keeps the designed values of a Designer form in a form file, at the designed
    // places.
    void designerFormSaved()
    {
        const Run r = run({QStringLiteral(KV_SOURCE_DIR "/tests/designer/allcontrols.ui"),
                           QStringLiteral("--save"), QStringLiteral("copy.kvform"),
                           QStringLiteral("--screenshot"), QStringLiteral("copy.png")});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        const host::FormDescription d = host::FormFile::read(file(QStringLiteral("copy.kvform")));
        QCOMPARE(d.name, QStringLiteral("frmDesenhado"));
        QCOMPARE(d.controls.size(), 7);
        QCOMPARE(d.controls[1].name, QStringLiteral("txtValor"));
        QCOMPARE(d.controls[1].left, 40.f * 15);
        QCOMPARE(d.controls[1].properties.ReadProperty(QStringLiteral("TypeInput")).toString(),
                 QStringLiteral("1"));
        QCOMPARE(d.controls[3].properties.ReadProperty(QStringLiteral("Value")).toString(),
                 QStringLiteral("2"));
        const host::FontRef font =
            d.controls[2].properties.ReadProperty(QStringLiteral("Font")).toFont();
        QVERIFY(font &&
                font->sameAs(*host::StdFont::create(QStringLiteral("Times New Roman"), 12, true)));
    }

    void designerFormRefused_data()
    {
        QTest::addColumn<QByteArray>("widget");
        QTest::addColumn<QString>("message");
        QTest::newRow("a Qt widget") << QByteArray("<widget class=\"QLabel\" name=\"lbl\"/>")
                                     << "bad.ui:4: widget \"lbl\": class QLabel is not a Kv_CTRL "
                                        "control";
        QTest::newRow("an unknown key")
            << QByteArray("<widget class=\"Kv_CTRL::txtCampo\" name=\"txtA\">\n"
                          "<property name=\"geometry\"><rect><x>0</x><y>0</y><width>90</width>"
                          "<height>20</height></rect></property>\n"
                          "<property name=\"TypeInput\"><enum>Kv_CTRL::Dinheiro</enum>"
                          "</property></widget>")
            << "bad.ui:6: control \"txtA\": property \"TypeInput\": \"Dinheiro\" is not one of "
               "its values";
        QTest::newRow("a layout") << QByteArray("<layout class=\"QVBoxLayout\" name=\"l\"/>")
                                  << "bad.ui:4: layouts are not supported: place the controls "
                                     "freely";
    }
    void designerFormRefused()
    {
        QFETCH(QByteArray, widget);
        QFETCH(QString, message);
        write(QStringLiteral("bad.ui"), "<?xml version=\"1.0\"?>\n<ui version=\"4.0\">\n"
                                        "<widget class=\"QWidget\" name=\"frm\">\n" +
                                            widget + "\n</widget>\n</ui>\n");
        QFile::remove(file(QStringLiteral("bad.png")));
        const Run r = run(
            {QStringLiteral("bad.ui"), QStringLiteral("--screenshot"), QStringLiteral("bad.png")});
        QCOMPARE(r.exitCode, 3);
        QCOMPARE(r.err, QStringLiteral("kvform: ") + message);
        QVERIFY(!QFile::exists(file(QStringLiteral("bad.png"))));
    }
};

QTEST_GUILESS_MAIN(TestKvform)
#include "tst_kvform.moc"
