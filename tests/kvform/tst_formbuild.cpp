// Form::build and Form::describe in process: intrinsic widgets made by class name with their
// properties, controls made by ProgID through a registry of the test's own, and the failures
// that name the control. And kvform's Ctrl+S when a step of the save fails.

#include "apps/kvform/FormSave.h"
#include "host/automation/Registry.h"
#include "host/forms/Form.h"
#include "host/persist/FormFile.h"
#include "host/services/SaveFile.h"
#include "host/services/Services.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/IntrinsicFactory.h"
#include "host/widgets/Label.h"
#include "host/widgets/TextBox.h"
#include "host/widgets/Timer.h"
#include "library/module/EntryPoints.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>

Q_DECLARE_METATYPE(host::ControlRecord)

using namespace host;

namespace {

ControlRecord record(const QString& cls, const QString& name, float left, float top, float width,
                     float height, QList<PropertyBag::Item> properties = {}, int index = -1)
{
    ControlRecord r;
    r.className = cls;
    r.name = name;
    r.index = index;
    r.left = left;
    r.top = top;
    r.width = width;
    r.height = height;
    for (const auto& [key, value] : properties)
        r.properties.WriteProperty(key, value);
    return r;
}

FormDescription sample()
{
    FormDescription d;
    d.name = QStringLiteral("frmTeste");
    d.caption = QStringLiteral("Teste");
    d.width = 4800;
    d.height = 3000;
    d.font = StdFont::create(QStringLiteral("MS Sans Serif"), 8.25);
    return d;
}

} // namespace

class TestFormBuild : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        Registry::setPath(m_dir.filePath(QStringLiteral("registry.json")));
        QCOMPARE(DllRegisterServer(), S_OK);
    }
    void cleanupTestCase() { Registry::setPath({}); }

    void intrinsicsRoundTrip_data()
    {
        QTest::addColumn<ControlRecord>("control");
        QTest::newRow("label") << record("VB.Label", "lblA", 120, 60, 1200, 255,
                                         {{"Caption", "Código"}, {"Alignment", short(1)}});
        QTest::newRow("text box") << record("VB.TextBox", "txtA", 0, 0, 1500, 315,
                                            {{"Text", "abc"}, {"MaxLength", 10}});
        QTest::newRow("button") << record("VB.CommandButton", "cmdOk", 30, 45, 900, 375,
                                          {{"Caption", "&OK"}, {"Default", true}});
        QTest::newRow("array element")
            << record("VB.Label", "lblDia", 15, 15, 300, 300, {{"Caption", "12"}}, 12);
        QTest::newRow("shape") << record("VB.Shape", "shpA", 0, 0, 600, 600, {{"Shape", short(3)}});
        QTest::newRow("frame") << record("VB.Frame", "fraTipo", 120, 60, 2400, 1200,
                                         {{"Caption", "&Tipo"}, {"BorderStyle", short(0)}});
        QTest::newRow("timer") << record("VB.Timer", "tmrA", 0, 0, 0, 0,
                                         {{"Interval", 250}, {"Enabled", false}});
        QTest::newRow("auto-sized label given a height") << record(
            "VB.Label", "lblC", 840, 900, 450, 25208, {{"AutoSize", true}, {"Caption", "Nome"}});
        QTest::newRow("own font") << record(
            "VB.Label", "lblB", 0, 0, 900, 255,
            {{"Caption", "x"}, {"Font", StdFont::create(QStringLiteral("Arial"), 12)}});
    }
    void intrinsicsRoundTrip()
    {
        QFETCH(ControlRecord, control);
        FormDescription d = sample();
        control.tabIndex = 0;
        if (control.className == QLatin1String("VB.Timer")) control.tabIndex = -1;
        d.controls = {control};
        Form form;
        form.build(d);
        QVERIFY(form.isLoaded());
        const FormDescription back = form.describe();
        QCOMPARE(back.controls.size(), 1);
        const ControlRecord& got = back.controls.first();
        QCOMPARE(got.className, control.className);
        QCOMPARE(got.name, control.name);
        QCOMPARE(got.index, control.index);
        QCOMPARE(got.left, control.left);
        QCOMPARE(got.top, control.top);
        QCOMPARE(got.width, control.width);
        QCOMPARE(got.height, control.height);
        QCOMPARE(got.properties.count(), control.properties.count());
        for (const auto& [key, value] : control.properties.items())
            QVERIFY2(got.properties.ReadProperty(key) == value, qPrintable(key));
        // And the file made from it reads back as the same description.
        const QByteArray bytes = FormFile::serialize(back, QStringLiteral("t"));
        QCOMPARE(
            FormFile::serialize(FormFile::parse(bytes, QStringLiteral("t")), QStringLiteral("t")),
            bytes);
    }

    void propertiesReachTheWidgets()
    {
        FormDescription d = sample();
        d.controls = {record("VB.Label", "lblA", 150, 300, 1200, 255, {{"Caption", "Nome"}}),
                      record("VB.TextBox", "txtA", 1500, 300, 1500, 315, {{"Text", "ana"}})};
        Form form;
        form.build(d);
        auto* label = form.widget()->findChild<Label*>(QStringLiteral("lblA"));
        auto* box = form.widget()->findChild<TextBox*>(QStringLiteral("txtA"));
        QVERIFY(label && box);
        QCOMPARE(label->get_Caption(), QStringLiteral("Nome"));
        QCOMPARE(label->geometry(), QRect(10, 20, 80, 17));
        QCOMPARE(box->get_Text(), QStringLiteral("ana"));
        QCOMPARE(form.get_Caption(), QStringLiteral("Teste"));
        QCOMPARE(form.widget()->width(), 4800 / 15);
    }

    void fieldByProgId()
    {
        FormDescription d = sample();
        d.controls = {
            record("Kv_CTRL.txtCampo", "txtNome", 1200, 360, 3000, 315,
                   {{"TypeInput", short(1)}, {"Required", true}, {"RequiredCaption", "Nome"}})};
        Form form;
        form.build(d);
        QWidget* field = form.widget()->findChild<QWidget*>(QStringLiteral("txtNome"));
        QVERIFY(field);
        QCOMPARE(CallByNameGet(field, QStringLiteral("RequiredCaption")).toString(),
                 QStringLiteral("Nome"));
        const FormDescription back = form.describe();
        QCOMPARE(back.controls.first().className, QStringLiteral("Kv_CTRL.txtCampo"));
        QCOMPARE(back.controls.first().width, 3000.f);
        QCOMPARE(back.controls.first()
                     .properties.ReadProperty(QStringLiteral("RequiredCaption"))
                     .toString(),
                 QStringLiteral("Nome"));
    }

    void tabOrderFollowsTheFile()
    {
        FormDescription d = sample();
        // The frame comes after what it holds, as in a form saved in tab order.
        d.controls = {record("VB.TextBox", "txtA", 0, 0, 900, 315),
                      record("VB.TextBox", "txtB", 0, 400, 900, 315),
                      record("VB.TextBox", "txtC", 0, 800, 900, 315),
                      record("VB.Frame", "fraX", 0, 1200, 1800, 900)};
        d.controls[0].tabIndex = 2;
        d.controls[1].tabIndex = 0;
        d.controls[2].tabIndex = 1;
        d.controls[2].container = QStringLiteral("fraX");
        d.controls[3].tabIndex = 3;
        Form form;
        form.build(d);
        QStringList order;
        for (const ControlRecord& c : form.describe().controls)
            order << c.name + ':' + c.container;
        QCOMPARE(order, QStringList({"txtB:", "txtC:fraX", "txtA:", "fraX:"}));
    }

    void failuresNameTheControl_data()
    {
        QTest::addColumn<ControlRecord>("bad");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("unknown ProgID")
            << record("Kv_CTRL.Nada", "txtX", 0, 0, 900, 315) << 429
            << "control \"txtX\" (#2): ActiveX component can't create object";
        QTest::newRow("unknown property")
            << record("VB.Label", "lblX", 0, 0, 900, 255, {{"Cor", 1}}) << 438
            << "control \"lblX\" (#2):";
        QTest::newRow("value of the wrong type")
            << record("VB.Label", "lblX", 0, 0, 900, 255, {{"Alignment", "esquerda"}}) << 13
            << "control \"lblX\" (#2):";
        QTest::newRow("name taken")
            << record("VB.Label", "lblA", 0, 0, 900, 255) << 727 << "control \"lblA\" (#2):";
    }
    void failuresNameTheControl()
    {
        QFETCH(ControlRecord, bad);
        QFETCH(int, number);
        QFETCH(QString, text);
        FormDescription d = sample();
        d.controls = {record("VB.Label", "lblA", 0, 0, 900, 255, {{"Caption", "A"}}), bad};
        Form form;
        try {
            form.build(d);
            QFAIL("build accepted the form");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.number(), number);
            QVERIFY2(e.description().startsWith(text), qPrintable(e.description()));
        }
        QVERIFY(!form.isLoaded()); // nothing half-built stays
    }

    // A save that fails at any step leaves the file as it was and nothing beside it, says which
    // file and why, and leaves the form open with the user's changes to be saved again.
    void failedCtrlSKeepsFileAndForm_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("error");
        QTest::newRow("read-only folder") << "open" << EACCES;
        QTest::newRow("disk full while writing") << "write" << ENOSPC;
        QTest::newRow("disk full at flush") << "flush" << ENOSPC;
        QTest::newRow("rename refused") << "rename" << EPERM;
    }
    void failedCtrlSKeepsFileAndForm()
    {
        QFETCH(QString, step);
        QFETCH(int, error);
        const QString reason = qt_error_string(error);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cadastro.kvform"));
        FormDescription d = sample();
        d.controls = {record("VB.TextBox", "txtNome", 0, 0, 1500, 315, {{"Text", "ana"}})};
        FormFile::write(d, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();

        Form form;
        form.build(d);
        QStringList out, boxes;
        kvform::installSaveShortcut(form, path, [&](const QString& line) { out << line; });
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(form.widget()));
        auto* box = form.widget()->findChild<TextBox*>(QStringLiteral("txtNome"));
        box->put_Text(QStringLiteral("jose"));

        ServicesScope scope;
        services().msgBox = [&](const QString& prompt, int, const QString&) {
            boxes << prompt;
            return 1;
        };
        SaveSteps& steps = services().saveSteps;
        const auto fail = [reason] { return reason; };
        if (step == "open") steps.open = [fail](QFile&) { return fail(); };
        // A full disk takes part of the bytes before it refuses the rest.
        if (step == "write")
            steps.write = [fail](QFile& f, const QByteArray& bytes) {
                f.write(bytes.left(bytes.size() / 2));
                f.flush();
                return fail();
            };
        if (step == "flush") steps.flush = [fail](QFile&) { return fail(); };
        if (step == "rename")
            steps.rename = [fail](const QString&, const QString&) { return fail(); };

        QTest::keyClick(form.widget(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes.first().contains(path + QStringLiteral(": cannot be written: ") + reason),
                 qPrintable(boxes.first()));
        QVERIFY(out.isEmpty());
        file.seek(0);
        QCOMPARE(file.readAll(), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{QStringLiteral("cadastro.kvform")});
        QVERIFY(form.isLoaded());
        QCOMPARE(box->get_Text(), QStringLiteral("jose"));

        steps = systemSaveSteps();
        QTest::keyClick(form.widget(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(out, QStringList{QStringLiteral("saved ") + path});
        QCOMPARE(boxes.size(), 1);
        const FormDescription saved = FormFile::read(path);
        QCOMPARE(saved.controls.first().properties.ReadProperty(QStringLiteral("Text")).toString(),
                 QStringLiteral("jose"));
    }

    // Whatever placement it is given, the form can be saved: a place beyond what a form file
    // holds is taken as the farthest it holds.
    void placementsAFileHolds_data()
    {
        QTest::addColumn<QString>("control"); // empty: the form itself
        QTest::addColumn<QString>("property");
        QTest::addColumn<float>("value");
        QTest::addColumn<float>("kept");
        QTest::newRow("control at the far edge") << "txtNome"
                                                 << "Left" << 1e7f << 1e7f;
        QTest::newRow("control beyond it") << "txtNome"
                                           << "Left" << -510417152.f << -1e7f;
        QTest::newRow("control too wide") << "txtNome"
                                          << "Width" << 2e7f << 1e7f;
        QTest::newRow("label beyond") << "lblA"
                                      << "Top" << 3e7f << 1e7f;
        QTest::newRow("label at the largest width") << "lblA"
                                                    << "Width" << 1e7f << 1e7f;
        QTest::newRow("form too wide") << ""
                                       << "Width" << 1.5e7f << 1e7f;
    }
    void placementsAFileHolds()
    {
        QFETCH(QString, control);
        QFETCH(QString, property);
        QFETCH(float, value);
        QFETCH(float, kept);
        FormDescription d = sample();
        d.controls = {record("Kv_CTRL.txtCampo", "txtNome", 1200, 360, 3000, 315),
                      record("VB.Label", "lblA", 0, 0, 900, 255, {{"Caption", "A"}})};
        Form form;
        form.build(d);
        QWidget* target = form.widget()->findChild<QWidget*>(control);
        if (control.isEmpty())
            form.put_Width(value);
        else
            CallByNameLet(target, property, value);
        QCOMPARE(control.isEmpty() ? form.get_Width() : CallByNameGet(target, property).toSingle(),
                 kept);
        const FormDescription saved = form.describe();
        QVERIFY(FormFile::parse(FormFile::serialize(saved, QStringLiteral("t")),
                                QStringLiteral("t")) == saved);
    }

    // A number that names no member of its enumeration is the control's to keep: a form saved
    // with one loads again.
    void oddEnumerationValuesLoad_data()
    {
        QTest::addColumn<ControlRecord>("control");
        QTest::newRow("check box Value")
            << record("Kv_CTRL.xpcheckbox", "chk", 0, 0, 1575, 255, {{"Value", 7}});
        QTest::newRow("button State")
            << record("Kv_CTRL.xpcmdbutton", "cmd", 0, 0, 1215, 375, {{"State", -9}});
        QTest::newRow("field TypeInput")
            << record("Kv_CTRL.txtCampo", "txt", 0, 0, 1680, 315, {{"TypeInput", short(7)}});
        QTest::newRow("strip zDirecao")
            << record("Kv_CTRL.VericalText", "vt", 0, 0, 690, 3960, {{"zDirecao", short(300)}});
    }
    void oddEnumerationValuesLoad()
    {
        QFETCH(ControlRecord, control);
        FormDescription d = sample();
        d.controls = {control};
        Form form;
        form.build(d);
        const FormDescription saved = form.describe();
        QVERIFY(saved.controls.first().properties.ReadProperty(
                    control.properties.items().first().first) ==
                control.properties.items().first().second);
        Form again;
        again.build(
            FormFile::parse(FormFile::serialize(saved, QStringLiteral("t")), QStringLiteral("t")));
        QVERIFY(again.describe() == saved);
    }

    // A control whose tab stop comes before its container's is saved before it, and loads.
    void tabStopBeforeItsContainer_data()
    {
        QTest::addColumn<bool>("listedFirst"); // else moved first by its TabIndex
        QTest::newRow("listed before the frame") << true;
        QTest::newRow("tab index set below the frame's") << false;
    }
    void tabStopBeforeItsContainer()
    {
        QFETCH(bool, listedFirst);
        ControlRecord frame =
            record("VB.Frame", "fraTipo", 120, 60, 2400, 1200, {{"Caption", "T"}});
        ControlRecord option =
            record("Kv_CTRL.xpoptionbutton", "optA", 60, 240, 1500, 255, {{"Caption", "A"}});
        option.container = QStringLiteral("fraTipo");
        FormDescription d = sample();
        d.controls =
            listedFirst ? QList<ControlRecord>{option, frame} : QList<ControlRecord>{frame, option};
        d.controls[0].tabIndex = 0;
        d.controls[1].tabIndex = 1;
        Form form;
        form.build(d);
        if (!listedFirst)
            CallByNameLet(form.widget()->findChild<QWidget*>(QStringLiteral("optA")),
                          QStringLiteral("TabIndex"), short(0));
        const FormDescription saved = form.describe();
        QCOMPARE(saved.controls.first().name, QStringLiteral("optA"));
        Form again;
        again.build(
            FormFile::parse(FormFile::serialize(saved, QStringLiteral("t")), QStringLiteral("t")));
        QVERIFY(again.describe() == saved);
        QCOMPARE(again.widget()
                     ->findChild<QWidget*>(QStringLiteral("optA"))
                     ->parentWidget()
                     ->objectName(),
                 QStringLiteral("fraTipo"));
    }

    void classNamesAreKnown()
    {
        for (const QString& name : intrinsicClassNames())
            QVERIFY(isIntrinsicClass(name));
        QVERIFY(isIntrinsicClass(QStringLiteral("vb.label")));
        QVERIFY(!isIntrinsicClass(QStringLiteral("Kv_CTRL.txtCampo")));
        QCOMPARE(createIntrinsic(QStringLiteral("VB.Nada"), nullptr, QStringLiteral("x")), nullptr);
    }
};

QTEST_MAIN(TestFormBuild)
#include "tst_formbuild.moc"
