// Form files: reading the documented shape, refusing damaged or hostile files with one clear
// message, and saving atomically.

#include "host/persist/FormFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <limits>

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

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class tst_FormFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsTheDocumentedShape();
    void numbersAndBooleans_data();
    void numbersAndBooleans();
    void refusesMalformedFiles_data();
    void refusesMalformedFiles();
    void messageNamesFileControlAndKey();
    void refusesTooManyControlsAndProperties();
    void refusesOversizedInput();
    void describesRoundTrip();
    void writeIsAtomic();
    void failedWriteLeavesTheOldFile_data();
    void failedWriteLeavesTheOldFile();
    void readErrorsNameThePath();
};

void tst_FormFile::readsTheDocumentedShape()
{
    const FormDescription form = FormFile::parse(Example, QStringLiteral("frmCliente.kvform"));
    QCOMPARE(form.name, QStringLiteral("frmCliente"));
    QCOMPARE(form.caption, QStringLiteral("Cadastro de Cliente"));
    QCOMPARE(form.width, 7200.0f);
    QCOMPARE(form.height, 4200.0f);
    QVERIFY(form.font);
    QCOMPARE(form.font->get_Name(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(form.font->get_Size(), 8.25);
    QVERIFY(!form.font->get_Bold());
    QVERIFY(!form.keyPreview);
    QCOMPARE(form.controls.size(), 1);

    const ControlRecord& c = form.controls.first();
    QCOMPARE(c.className, QStringLiteral("Kv_CTRL.txtCampo"));
    QCOMPARE(c.name, QStringLiteral("txtNome"));
    QCOMPARE(c.index, -1);
    QCOMPARE(c.left, 1200.0f);
    QCOMPARE(c.top, 360.0f);
    QCOMPARE(c.width, 3000.0f);
    QCOMPARE(c.height, 315.0f);
    QCOMPARE(c.tabIndex, 0);
    QVERIFY(c.container.isEmpty());
    QCOMPARE(c.properties.count(), 4);
    QCOMPARE(c.properties.items()[1].first, QStringLiteral("Required"));
    QCOMPARE(c.properties.ReadProperty(QStringLiteral("Required"), {}).type(), VarType::Integer);
    QCOMPARE(c.properties.ReadProperty(QStringLiteral("Required"), {}).toInteger(), short(-1));
    QCOMPARE(c.properties.ReadProperty(QStringLiteral("RequiredCaption"), {}).toString(),
             QStringLiteral("Nome"));
    const FontRef font = c.properties.ReadProperty(QStringLiteral("Font"), {}).toFont();
    QVERIFY(font && font->get_Bold());

    const QByteArray withMark = "\xEF\xBB\xBF" + Example;
    QVERIFY(FormFile::parse(withMark, QStringLiteral("bom")) == form);
}

void tst_FormFile::numbersAndBooleans_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("value");

    QTest::newRow("16-bit top") << QByteArray("32767") << int(VarType::Integer) << 32767.0;
    QTest::newRow("16-bit bottom") << QByteArray("-32768") << int(VarType::Integer) << -32768.0;
    QTest::newRow("past 16 bits") << QByteArray("32768") << int(VarType::Long) << 32768.0;
    QTest::newRow("below 16 bits") << QByteArray("-32769") << int(VarType::Long) << -32769.0;
    QTest::newRow("32-bit top") << QByteArray("2147483647") << int(VarType::Long) << 2147483647.0;
    QTest::newRow("past 32 bits") << QByteArray("2147483648") << int(VarType::Double)
                                  << 2147483648.0;
    QTest::newRow("whole with exponent") << QByteArray("1e3") << int(VarType::Integer) << 1000.0;
    QTest::newRow("written with a point") << QByteArray("12.0") << int(VarType::Integer) << 12.0;
    QTest::newRow("fraction") << QByteArray("-0.5") << int(VarType::Double) << -0.5;
    QTest::newRow("true") << QByteArray("true") << int(VarType::Integer) << -1.0;
    QTest::newRow("false") << QByteArray("false") << int(VarType::Integer) << 0.0;
}

void tst_FormFile::numbersAndBooleans()
{
    QFETCH(QByteArray, json);
    QFETCH(int, type);
    QFETCH(double, value);
    const FormDescription form =
        FormFile::parse(withControls(control("lbl", {}, json)), QStringLiteral("n"));
    const Variant read = form.controls.first().properties.ReadProperty(QStringLiteral("Valor"), {});
    QCOMPARE(int(read.type()), type);
    QCOMPARE(read.toDouble(), value);
}

void tst_FormFile::refusesMalformedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected"); // what the message must say, after the file's name

    const auto row = [](const char* tag, const QByteArray& bytes, const char* expected) {
        QTest::newRow(tag) << bytes << QString::fromUtf8(expected);
    };
    row("not JSON", "Cadastro de Cliente", "not valid JSON (line 1, column ");
    row("empty file", "", "not valid JSON");
    row("truncated", Example.left(Example.size() / 2), "not valid JSON");
    row("a line further down", "{\n\"format\": \"kvform 1\",\n\"form\": }", "line 3, column");
    row("array at the top", "[]", "expected a JSON object at the top");
    row("no format", R"({"form": {}})", R"(key "format": missing)");
    row("unknown format", R"({"format": "kvform 2", "form": {}})",
        R"(key "format": unknown format "kvform 2")");
    row("format a number", R"({"format": 1})", R"(key "format": expected a string)");
    row("no form", R"({"format": "kvform 1"})", R"(key "form": missing)");
    row("unknown top key", R"({"format": "kvform 1", "form": {}, "extra": 1})",
        R"(key "extra": unknown key)");
    row("form name not an identifier",
        R"({"format": "kvform 1", "form": {"name": "frm X", "width": 1, "height": 1}})",
        R"(form: key "name": "frm X" is not a name)");
    row("form width a string",
        R"({"format": "kvform 1", "form": {"name": "f", "width": "7200", "height": 1}})",
        R"(form: key "width": expected a number, not a string)");
    row("form font not a font",
        R"({"format": "kvform 1", "form": {"name": "f", "width": 1, "height": 1, "font": 3}})",
        R"(form: key "font": expected {"$font": {...}} or null)");
    row("controls an object", R"({"format": "kvform 1", "form": {"name": "f", "width": 1,
        "height": 1}, "controls": {}})",
        R"(key "controls": expected an array, not an object)");
    row("control a string", withControls(R"("txtNome")"), "control #1: expected an object");
    row("no class", withControls(R"({"name": "txtNome", "left": 0})"),
        R"(control "txtNome" (#1): key "class": missing)");
    row("class not a ProgID", withControls(control("lbl").replace("VB.Label", "Label")),
        R"(control "lbl" (#1): key "class": "Label" is not a class name)");
    row("no name", withControls(control("a") + R"(, {"class": "VB.Label"})"),
        R"(control #2: key "name": missing)");
    row("name with a space", withControls(control("txt Nome")),
        R"(control #1: key "name": "txt Nome" is not a name)");
    row("name with an accent", withControls(control("txtNão")), R"(key "name": "txtNão" is not)");
    row("name starting with a digit", withControls(control("1txt")), R"(key "name")");
    row("name a number", withControls(R"({"class": "VB.Label", "name": 5})"),
        R"(control #1: key "name": expected a string, not a number)");
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
    row("negative width", withControls(control("a").replace(R"("width": 100)", R"("width": -1)")),
        R"(control "a" (#1): key "width": a negative size)");
    row("left beyond range",
        withControls(control("a").replace(R"("left": 0)", R"("left": -10000001)")),
        R"(control "a" (#1): key "left": beyond 10000000 twips)");
    row("number overflowing a double",
        withControls(control("a").replace(R"("top": 0)", R"("top": 1e999)")),
        "not valid JSON (line 2, column 87: illegal number)");
    row("no height", withControls(control("a").replace(R"(, "height": 100)", "")),
        R"(control "a" (#1): key "height": missing)");
    row("misspelt key", withControls(control("a", R"("widht": 3)")),
        R"(control "a" (#1): key "widht": unknown key)");
    row("container unknown", withControls(control("a", R"("container": "fraX")")),
        R"(control "a" (#1): key "container": no control named "fraX")");
    row("container loop",
        withControls(control("a", R"("container": "b")") + "," +
                     control("b", R"("container": "a")")),
        R"(key "container": containers form a loop)");
    row("container itself", withControls(control("a", R"("container": "A")")),
        R"(containers form a loop)");
    row("properties an object", withControls(control("a", R"("properties": {"x": 1})")),
        R"(key "properties": expected an array of [name, value] pairs)");
    row("pair of three", withControls(control("a", R"("properties": [["x", 1, 2]])")),
        R"(key "properties": item 1 is not a [name, value] pair)");
    row("pair name a number", withControls(control("a", R"("properties": [[1, 1]])")),
        "item 1 is not a [name, value] pair");
    row("empty property name", withControls(control("a", R"("properties": [["", 1]])")),
        "item 1: a property name");
    row("value an array", withControls(control("a", {}, "[1, 2]")),
        R"(control "a" (#1): property "Valor": an array is not a property value)");
    row("untagged object", withControls(control("a", {}, R"({"x": 1})")),
        R"(property "Valor": key "x": unknown key)");
    row("two tags", withControls(control("a", {}, R"({"$date": "2026-01-01", "$x": 1})")),
        R"(property "Valor": expected an object with one of the keys)");
    row("date not a date", withControls(control("a", {}, R"({"$date": "2026-02-30"})")),
        R"(property "Valor": key "$date": "2026-02-30" is not a date)");
    row("date in local style", withControls(control("a", {}, R"({"$date": "15/03/2026"})")),
        R"(key "$date": "15/03/2026" is not a date)");
    row("date with a bad time",
        withControls(control("a", {}, R"({"$date": "2026-03-15T25:00:00"})")), "is not a date");
    row("date before year 100", withControls(control("a", {}, R"({"$date": "0099-12-31"})")),
        "is not a date");
    row("font size a string",
        withControls(control("a", {}, R"({"$font": {"name": "Arial", "size": "8"}})")),
        R"(control "a" (#1): property "Valor": key "size": expected a number, not a string)");
    row("font size zero",
        withControls(control("a", {}, R"({"$font": {"name": "Arial", "size": 0}})")),
        R"(key "size": not a size)");
    row("font without name", withControls(control("a", {}, R"({"$font": {"size": 8}})")),
        R"(key "name": missing)");
    row("font weight too big",
        withControls(control("a", {}, R"({"$font": {"name": "A", "size": 8, "weight": 1001}})")),
        R"(key "weight": expected a whole number from 0 to 1000)");
    row("font unknown attribute",
        withControls(control("a", {}, R"({"$font": {"name": "A", "size": 8, "colour": 1}})")),
        R"(key "colour": unknown key)");
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
    row("huge caption",
        R"({"format": "kvform 1", "form": {"name": "f", "width": 1, "height": 1, "caption": )" +
            hugeText + "}}",
        R"(form: key "caption": a text longer than)");
    row("too many values", "[" + repeated("0", 4000001) + "]", "line 1: more than 4000000 values");
}

void tst_FormFile::refusesMalformedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const QString message = messageOf(bytes);
    QVERIFY2(message.startsWith(QStringLiteral("form.kvform: ")), qPrintable(message));
    QVERIFY2(message.contains(expected), qPrintable(message));
    QVERIFY2(message.size() < 400, qPrintable(message.left(400)));
}

void tst_FormFile::messageNamesFileControlAndKey()
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

void tst_FormFile::refusesTooManyControlsAndProperties()
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

void tst_FormFile::refusesOversizedInput()
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

void tst_FormFile::describesRoundTrip()
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

void tst_FormFile::writeIsAtomic()
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
}

void tst_FormFile::failedWriteLeavesTheOldFile_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("expected");
    QTest::newRow("NaN property") << 0 << QStringLiteral("property \"Valor\": not a finite number");
    QTest::newRow("infinite Single") << 1 << QStringLiteral("property \"Valor\": not a finite");
    QTest::newRow("infinite width") << 2 << QStringLiteral("key \"width\": not a finite number");
    QTest::newRow("bad name") << 3 << QStringLiteral("key \"name\": \"txt Nome\" is not a name");
    QTest::newRow("duplicate") << 4 << QStringLiteral("a second control of this name");
    QTest::newRow("date out of range") << 5 << QStringLiteral("a date outside the years");
    QTest::newRow("negative height") << 6 << QStringLiteral("key \"height\": a negative size");
}

void tst_FormFile::failedWriteLeavesTheOldFile()
{
    QFETCH(int, fault);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("form.kvform"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(Example);
    }

    FormDescription form = sampleForm();
    ControlRecord& c = form.controls.first();
    switch (fault) {
    case 0:
        c.properties.WriteProperty(QStringLiteral("Valor"), std::nan(""));
        break;
    case 1:
        c.properties.WriteProperty(QStringLiteral("Valor"), std::numeric_limits<float>::infinity());
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
    case 6:
        c.height = -1;
        break;
    }
    try {
        FormFile::write(form, path);
        QFAIL("written");
    } catch (const FormFileError& error) {
        QVERIFY2(error.message().startsWith(path + QStringLiteral(": ")),
                 qPrintable(error.message()));
        QVERIFY2(error.message().contains(expected), qPrintable(error.message()));
    }
    QCOMPARE(contents(path), Example);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{QStringLiteral("form.kvform")});
}

void tst_FormFile::readErrorsNameThePath()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("ausente.kvform"));
    try {
        FormFile::read(missing);
        QFAIL("read");
    } catch (const FormFileError& error) {
        QVERIFY2(error.message().startsWith(missing + QStringLiteral(": cannot be opened")),
                 qPrintable(error.message()));
    }
}

QTEST_GUILESS_MAIN(tst_FormFile)
#include "tst_formfile.moc"
