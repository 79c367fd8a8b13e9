// Form files: reading the documented shape, refusing damaged or hostile files with one clear
// message, and saving atomically.

#include "host/persist/FormFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <limits>
#include <sched.h>
#include <sys/mount.h>

using namespace host;

namespace {

const QByteArray Example = R"({
  "format": "kvform 1",
  "form": { "name": "frmCliente", "caption": "Cadastro de Cliente", "width": 7200, "height": 4200,
            "font": { "$font": { "name": "MS Sans Serif", "size": 8.25, "bold": false } } },
  "controls": [
    { "class": "Kv_CTRL.txtCampo", "name": "txtNome", "left": 1200, "top": 360, "width": 3000, "height": 315,
      "tabIndex": 0,
      "properties": [ ["TypeInput", 0], ["Required", -1], ["RequiredCaption", "Nome"],
                      ["Font", { "$font": { "name": "MS Sans Serif", "size": 8.25, "bold": true } }] ] }
  ]
})";

// A file with `controls` as the controls array's inside.
QByteArray withControls(const QByteArray& controls)
{
    return R"({"format": "kvform 1", "form": {"name": "frmX", "width": 4800, "height": 3600},
               "controls": [)" +
           controls + "]}";
}

// One control of class VB.Label named `name` with `extra` keys and one property whose value is
// `value` (or none).
QByteArray control(const QByteArray& name, const QByteArray& extra = {},
                   const QByteArray& value = {})
{
    QByteArray c = R"({"class": "VB.Label", "name": ")" + name +
                   R"(", "left": 0, "top": 0, "width": 100, "height": 100)";
    if (!extra.isEmpty()) c += ", " + extra;
    if (!value.isEmpty()) c += R"(, "properties": [["Valor", )" + value + "]]";
    return c + "}";
}

QByteArray repeated(const QByteArray& item, int count)
{
    QByteArrayList items;
    for (int i = 0; i < count; ++i)
        items << item;
    return items.join(',');
}

QString messageOf(const QByteArray& bytes)
{
    try {
        FormFile::parse(bytes, QStringLiteral("form.kvform"));
    } catch (const FormFileError& error) {
        return error.message();
    }
    return QStringLiteral("<accepted>");
}

FormDescription sampleForm()
{
    FormDescription form = FormFile::parse(Example, QStringLiteral("example"));
    ControlRecord frame;
    frame.className = QStringLiteral("VB.Frame");
    frame.name = QStringLiteral("fraDados");
    frame.left = -15.5f;
    frame.top = 0;
    frame.width = 1310;
    frame.height = 977.25f;
    form.controls.append(frame);
    for (int i = 0; i < 2; ++i) {
        ControlRecord option;
        option.className = QStringLiteral("Kv_CTRL.xpoptionbutton");
        option.name = QStringLiteral("optTipo");
        option.index = i;
        option.container = QStringLiteral("fraDados");
        option.tabIndex = 3 + i;
        option.width = 900;
        option.height = 255;
        option.properties.WriteProperty(QStringLiteral("Caption"),
                                        i ? QStringLiteral("Jurídica") : QStringLiteral("Física"));
        form.controls.append(option);
    }
    form.keyPreview = true;
    return form;
}

QString writeError(const FormDescription& form, const QString& path)
{
    try {
        FormFile::write(form, path);
    } catch (const FormFileError& error) {
        return error.message();
    }
    return QStringLiteral("<written>");
}

// Mounts a 64 KiB memory disk on `folder`, in a mount namespace of this process's own so that
// nothing of it outlives the test; false where the system allows neither.
bool mountTinyDisk(const QString& folder)
{
    static const bool own = unshare(CLONE_NEWNS) == 0 &&
                            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return own &&
           mount("kvtest", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") == 0;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class tst_FormFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsTheDocumentedShape()
    {
        const FormDescription form = FormFile::parse(Example, QStringLiteral("frmCliente.kvform"));
        QCOMPARE(form.caption, QStringLiteral("Cadastro de Cliente"));
        QCOMPARE(form.height, 4200.0f);
        QVERIFY(form.font && form.font->get_Size() == 8.25 && !form.font->get_Bold());
        QVERIFY(!form.keyPreview);
        QCOMPARE(form.controls.size(), 1);

        const ControlRecord& c = form.controls.first();
        QCOMPARE(c.className, QStringLiteral("Kv_CTRL.txtCampo"));
        QCOMPARE(c.index, -1);
        QCOMPARE(QRectF(c.left, c.top, c.width, c.height), QRectF(1200, 360, 3000, 315));
        QCOMPARE(c.tabIndex, 0);
        QVERIFY(c.container.isEmpty());
        QCOMPARE(c.properties.count(), 4);
        QCOMPARE(c.properties.items()[1].first, QStringLiteral("Required"));
        QCOMPARE(c.properties.ReadProperty(QStringLiteral("Required"), {}).type(),
                 VarType::Integer);
        QCOMPARE(c.properties.ReadProperty(QStringLiteral("Required"), {}).toInteger(), short(-1));
        const FontRef font = c.properties.ReadProperty(QStringLiteral("Font"), {}).toFont();
        QVERIFY(font && font->get_Bold());

        const QByteArray withMark = "\xEF\xBB\xBF" + Example;
        QVERIFY(FormFile::parse(withMark, QStringLiteral("bom")) == form);
    }

    void numbersAndBooleans_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("type");
        QTest::addColumn<double>("value");

        const auto row = [](const char* json, VarType type, double value) {
            QTest::newRow(json) << QByteArray(json) << int(type) << value;
        };
        row("32767", VarType::Integer, 32767);
        row("-32768", VarType::Integer, -32768);
        row("32768", VarType::Long, 32768);
        row("-32769", VarType::Long, -32769);
        row("2147483647", VarType::Long, 2147483647.0);
        row("2147483648", VarType::Double, 2147483648.0);
        row("1e3", VarType::Integer, 1000);
        row("-0.5", VarType::Double, -0.5);
        row("true", VarType::Integer, -1);
    }

    void numbersAndBooleans()
    {
        QFETCH(QByteArray, json);
        QFETCH(int, type);
        QFETCH(double, value);
        const FormDescription form =
            FormFile::parse(withControls(control("lbl", {}, json)), QStringLiteral("n"));
        const Variant read =
            form.controls.first().properties.ReadProperty(QStringLiteral("Valor"), {});
        QCOMPARE(int(read.type()), type);
        QCOMPARE(read.toDouble(), value);
    }

    void refusesMalformedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected"); // what the message must say, after the file's name

        const auto row = [](const char* tag, const QByteArray& bytes, const char* expected) {
            QTest::newRow(tag) << bytes << QString::fromUtf8(expected);
        };
        row("not JSON", "Cadastro de Cliente", "not valid JSON (line 1, column ");
        row("a line further down", "{\n\"format\": \"kvform 1\",\n\"form\": }", "line 3, column");
        row("array at the top", "[]", "expected a JSON object at the top");
        row("no format", R"({"form": {}})", R"(key "format": missing)");
        row("unknown format", R"({"format": "kvform 2", "form": {}})",
            R"(key "format": unknown format "kvform 2")");
        row("form font not a font",
            R"({"format": "kvform 1", "form": {"name": "f", "width": 1, "height": 1, "font": 3}})",
            R"(form: key "font": expected {"$font": {...}} or null)");
        row("controls an object", R"({"format": "kvform 1", "form": {"name": "f", "width": 1,
            "height": 1}, "controls": {}})",
            R"(key "controls": expected an array, not an object)");
        row("control a string", withControls(R"("txtNome")"), "control #1: expected an object");
        row("class not a ProgID", withControls(control("lbl").replace("VB.Label", "Label")),
            R"(control "lbl" (#1): key "class": "Label" is not a class name)");
        row("no name", withControls(control("a") + R"(, {"class": "VB.Label"})"),
            R"(control #2: key "name": missing)");
        row("name with an accent", withControls(control("txtNão")),
            R"(key "name": "txtNão" is not)");
        row("name starting with a digit", withControls(control("1txt")), R"(key "name")");
        row("duplicate name", withControls(control("txtA") + "," + control("TXTA")),
            R"(control "TXTA" (#2): key "name": a second control of this name)");
        row("duplicate array element",
            withControls(control("opt", R"("index": 1)") + "," + control("opt", R"("index": 1)")),
            R"(control "opt" (#2): key "index": a second control of this name and index 1)");
        row("array and single control",
            withControls(control("opt", R"("index": 0)") + "," + control("opt")),
            R"(control "opt" (#2): key "index": the name is used both)");
        row("index negative", withControls(control("opt", R"("index": -1)")),
            R"(key "index": expected a whole number from 0 to 32767)");
        row("tabIndex a fraction", withControls(control("a", R"("tabIndex": 1.5)")),
            R"(control "a" (#1): key "tabIndex": expected a whole number)");
        row("negative width",
            withControls(control("a").replace(R"("width": 100)", R"("width": -1)")),
            R"(control "a" (#1): key "width": a negative size)");
        row("left beyond range",
            withControls(control("a").replace(R"("left": 0)", R"("left": -10000001)")),
            R"(control "a" (#1): key "left": beyond 10000000 twips)");
        row("number overflowing a double",
            withControls(control("a").replace(R"("top": 0)", R"("top": 1e999)")),
            "not valid JSON (line 2, column 87: illegal number)");
        row("misspelt key", withControls(control("a", R"("widht": 3)")),
            R"(control "a" (#1): key "widht": unknown key)");
        row("container unknown", withControls(control("a", R"("container": "fraX")")),
            R"(control "a" (#1): key "container": no control named "fraX")");
        row("container loop",
            withControls(control("a", R"("container": "b")") + "," +
                         control("b", R"("container": "a")")),
            R"(key "container": containers form a loop)");
        row("properties an object", withControls(control("a", R"("properties": {"x": 1})")),
            R"(key "properties": expected an array of [name, value] pairs)");
        row("value an array", withControls(control("a", {}, "[1, 2]")),
            R"(control "a" (#1): property "Valor": an array is not a property value)");
        row("untagged object", withControls(control("a", {}, R"({"x": 1})")),
            R"(property "Valor": key "x": unknown key)");
        row("two tags", withControls(control("a", {}, R"({"$date": "2026-01-01", "$x": 1})")),
            R"(property "Valor": expected an object with one of the keys)");
        row("date not a date", withControls(control("a", {}, R"({"$date": "2026-02-30"})")),
            R"(property "Valor": key "$date": "2026-02-30" is not a date)");
        row("date before year 100", withControls(control("a", {}, R"({"$date": "0099-12-31"})")),
            "is not a date");
        row("font size zero",
            withControls(control("a", {}, R"({"$font": {"name": "Arial", "size": 0}})")),
            R"(key "size": not a size)");
        row("picture not base64", withControls(control("a", {}, R"({"$picture": "***"})")),
            R"(property "Valor": key "$picture": not base64 data)");
        row("picture not a PNG", withControls(control("a", {}, R"({"$picture": "aGVsbG8="})")),
            R"(key "$picture": not a readable PNG picture)");
        row("property twice", withControls(control("a", R"("properties": [["X", 1], ["x", 2]])")),
            R"(control "a" (#1): property "x": written twice)");

        row("too deep", withControls(control("a", {}, "[[[[[[[[[1]]]]]]]]]")),
            "line 2: nested deeper than 8 levels");
        const QByteArray hugeText = '"' + QByteArray(FormFile::MaxStringChars + 1, 'x') + '"';
        row("huge string", withControls(control("a", {}, hugeText)),
            R"(control "a" (#1): property "Valor": a text longer than 1048576 characters)");
        row("too many values", "[" + repeated("0", 4000001) + "]",
            "line 1: more than 4000000 values");
    }

    void refusesMalformedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const QString message = messageOf(bytes);
        QVERIFY2(message.startsWith(QStringLiteral("form.kvform: ")), qPrintable(message));
        QVERIFY2(message.contains(expected), qPrintable(message));
        QVERIFY2(message.size() < 400, qPrintable(message.left(400)));
    }

    void messageNamesFileControlAndKey()
    {
        const QByteArray bytes =
            withControls(control("lblNome") + "," +
                         control("txtNome").replace(R"("width": 100)", R"("width": "3000")"));
        QCOMPARE(messageOf(bytes),
                 QStringLiteral("form.kvform: control \"txtNome\" (#2): key \"width\": expected a "
                                "number, not a string"));
        try {
            FormFile::parse(bytes, QStringLiteral("form.kvform"));
        } catch (const std::exception& error) {
            QCOMPARE(QString::fromUtf8(error.what()), messageOf(bytes));
        }
    }

    void refusesTooManyControlsAndProperties()
    {
        QByteArrayList controls;
        for (int i = 0; i <= FormFile::MaxControls; ++i)
            controls << control("a", "\"index\": " + QByteArray::number(i % 30000));
        QVERIFY(messageOf(withControls(controls.join(',')))
                    .contains(QStringLiteral("key \"controls\": more than 10000 controls")));
        controls.removeLast();
        controls.removeLast();
        QCOMPARE(
            FormFile::parse(withControls(controls.join(',')), QStringLiteral("ok")).controls.size(),
            FormFile::MaxControls - 1);

        QByteArrayList pairs;
        for (int i = 0; i <= FormFile::MaxProperties; ++i)
            pairs << "[\"P" + QByteArray::number(i) + "\", 1]";
        const QByteArray many = control("a", "\"properties\": [" + pairs.join(',') + "]");
        QVERIFY(messageOf(withControls(many))
                    .contains(QStringLiteral(
                        "control \"a\" (#1): key \"properties\": more than 10000 properties")));
    }

    void refusesOversizedInput()
    {
        // Well-formed JSON, so only the size check can refuse it.
        QByteArray big = withControls({});
        big.append(QByteArray(FormFile::MaxFileBytes + 1 - big.size(), ' '));
        QVERIFY(messageOf(big).contains(QStringLiteral("larger than 67108864 bytes")));

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("big.kvform"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(FormFile::MaxFileBytes + 1)); // sparse: nothing to read quickly
        file.close();
        QVERIFY_THROWS_EXCEPTION(FormFileError, FormFile::read(path));
    }

    void describesRoundTrip()
    {
        const FormDescription form = sampleForm();
        const FormDescription back =
            FormFile::parse(FormFile::serialize(form, QStringLiteral("s")), QStringLiteral("s"));
        QVERIFY(back == form);
        QCOMPARE(back.controls[1].left, -15.5f);
        QCOMPARE(back.controls[1].height, 977.25f);
        QCOMPARE(back.controls[3].index, 1);
        QCOMPARE(back.controls[3].container, QStringLiteral("fraDados"));
        QCOMPARE(back.controls[3].tabIndex, 4);
        QCOMPARE(back.controls[1].tabIndex, -1);
        QVERIFY(back.keyPreview);

        FormDescription changed = form;
        changed.controls[2].left += 1;
        QVERIFY(!(changed == form));
    }

    void writeIsAtomic()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("frmCliente.kvform"));
        FormFile::write(sampleForm(), path);
        QVERIFY(FormFile::read(path) == sampleForm());

        FormDescription second = sampleForm();
        second.caption = QStringLiteral("Outra Legenda");
        FormFile::write(second, path);
        QCOMPARE(FormFile::read(path).caption, QStringLiteral("Outra Legenda"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{QStringLiteral("frmCliente.kvform")});

        const QString nowhere = dir.filePath(QStringLiteral("no/such/folder/f.kvform"));
        QVERIFY_THROWS_EXCEPTION(FormFileError, FormFile::write(second, nowhere));

        // Saving through a link changes the file it points to and keeps the link.
        const QString link = dir.filePath(QStringLiteral("atalho.kvform"));
        QVERIFY(QFile::link(path, link));
        FormFile::write(sampleForm(), link);
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(FormFile::read(path) == sampleForm());
    }

    void failedWriteLeavesTheOldFile_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("expected");
        QTest::newRow("NaN property")
            << 0 << QStringLiteral("property \"Valor\": not a finite number");
        QTest::newRow("infinite width")
            << 2 << QStringLiteral("key \"width\": not a finite number");
        QTest::newRow("bad name") << 3
                                  << QStringLiteral("key \"name\": \"txt Nome\" is not a name");
        QTest::newRow("duplicate") << 4 << QStringLiteral("a second control of this name");
        QTest::newRow("date out of range") << 5 << QStringLiteral("a date outside the years");
        QTest::newRow("a file where its folder should be")
            << 6 << QStringLiteral("cannot be written: Not a directory");
        QTest::newRow("disk full") << 7 << QStringLiteral("cannot be written: No space left");
    }

    void failedWriteLeavesTheOldFile()
    {
        QFETCH(int, fault);
        QFETCH(QString, expected);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const auto unmount =
            qScopeGuard([&] { umount2(QFile::encodeName(dir.path()), MNT_DETACH); });
        if (fault == 7 && !mountTinyDisk(dir.path())) QSKIP("no memory disk can be mounted here");
        const QString path = dir.filePath(QStringLiteral("form.kvform"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(Example);
        }
        QString target = path;
        QFile filler(dir.filePath(QStringLiteral("filler")));
        if (fault == 6) target = path + QStringLiteral("/form.kvform");
        if (fault == 7) {
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size()) {
            }
        }

        FormDescription form = sampleForm();
        ControlRecord& c = form.controls.first();
        switch (fault) {
        case 0:
            c.properties.WriteProperty(QStringLiteral("Valor"), std::nan(""));
            break;
        case 2:
            c.width = std::numeric_limits<float>::infinity();
            break;
        case 3:
            c.name = QStringLiteral("txt Nome");
            break;
        case 4:
            form.controls[1].name = c.name;
            break;
        case 5:
            c.properties.WriteProperty(QStringLiteral("Valor"), Date(1e7));
            break;
        }
        const QString message = writeError(form, target);
        QVERIFY2(message.startsWith(target + QStringLiteral(": ")) && message.contains(expected),
                 qPrintable(message));
        filler.remove();
        QCOMPARE(contents(path), Example);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{QStringLiteral("form.kvform")});
    }

    void readErrorsNameThePath()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("ausente.kvform"));
        QString message;
        try {
            FormFile::read(missing);
        } catch (const FormFileError& error) {
            message = error.message();
        }
        QVERIFY2(message.startsWith(missing + QStringLiteral(": cannot be opened")),
                 qPrintable(message));
    }
};

QTEST_GUILESS_MAIN(tst_FormFile)
#include "tst_formfile.moc"
