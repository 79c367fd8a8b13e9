// The property bag, and every kind of value through a bag and through a form file.

#include "host/persist/FormFile.h"
#include "host/persist/PropertyBag.h"
#include "host/value/RuntimeError.h"

#include <QColor>
#include <QImage>
#include <QTest>

using namespace host;

namespace {

FontRef richFont()
{
    FontRef font = StdFont::create(QStringLiteral("Times New Roman"), 10.5, true);
    font->put_Italic(true);
    font->put_Underline(true);
    font->put_Strikethrough(true);
    font->put_Weight(600);
    font->put_Charset(2);
    return font;
}

PictureRef smallPicture()
{
    QImage image(7, 5, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, QColor(x * 30, y * 50, 200, x == 3 ? 0 : 255));
    }
    return StdPicture::create(image);
}

Date dateTime(int y, int mo, int d, int h, int mi, int s)
{
    return Date::fromQDateTime(QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC));
}

// A form holding one control whose bag holds `bag`.
FormDescription formWith(const PropertyBag& bag)
{
    FormDescription form;
    form.name = QStringLiteral("frmTeste");
    form.width = 4800;
    form.height = 3600;
    ControlRecord record;
    record.className = QStringLiteral("Kv_CTRL.txtCampo");
    record.name = QStringLiteral("txtCampo1");
    record.width = 1200;
    record.height = 315;
    record.properties = bag;
    form.controls.append(record);
    return form;
}

PropertyBag throughFile(const PropertyBag& bag)
{
    const QByteArray bytes = FormFile::serialize(formWith(bag), QStringLiteral("mem.kvform"));
    const FormDescription read = FormFile::parse(bytes, QStringLiteral("mem.kvform"));
    return read.controls.value(0).properties;
}

QStringList namesOf(const PropertyBag& bag)
{
    QStringList names;
    for (const PropertyBag::Item& item : bag.items())
        names << item.first;
    return names;
}

} // namespace

class tst_PropertyBag : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<int>("fileType"); // VarType read back from a form file

        const auto row = [](const char* tag, const Variant& v, VarType fileType) {
            QTest::newRow(tag) << v << int(fileType);
        };
        row("Null", Variant::null(), VarType::Null);
        row("Integer", Variant(short(-1234)), VarType::Integer);
        row("Long", Variant(qint32(70000)), VarType::Long);
        row("Long min", Variant(qint32(-2147483647 - 1)), VarType::Long);
        row("Long holding a small number", Variant(qint32(5)), VarType::Integer);
        row("Single", Variant(8.25f), VarType::Double);
        row("Single inexact", Variant(0.1f), VarType::Double);
        row("Single whole", Variant(3.0f), VarType::Integer);
        row("Double", Variant(3.14159265358979), VarType::Double);
        row("Double whole beyond Long", Variant(1e10), VarType::Double);
        row("Double whole", Variant(-2.0), VarType::Integer);
        row("Boolean True", Variant(true), VarType::Integer);
        row("String with accents", Variant(QStringLiteral("Atenção ! Caledário: ç ã é Ç")),
            VarType::String);
        row("String empty", Variant(QString()), VarType::String);
        row("String with quotes and controls", Variant(QStringLiteral("a\"b\\c\nd\te\u0001")),
            VarType::String);
        row("String like a tag", Variant(QStringLiteral("{\"$date\": \"2026-03-15\"}")),
            VarType::String);
        row("Date", Variant(Date::fromQDate(QDate(2026, 3, 15))), VarType::Date);
        row("Date with time", Variant(dateTime(2026, 3, 15, 14, 5, 9)), VarType::Date);
        row("Date before 1900 with time", Variant(dateTime(1850, 1, 2, 6, 0, 0)), VarType::Date);
        row("Date first year", Variant(Date::fromQDate(QDate(100, 1, 1))), VarType::Date);
        row("Font", Variant(richFont()), VarType::Object);
        row("Picture", Variant(smallPicture()), VarType::Object);
        row("Nothing", Variant(FontRef()), VarType::Null);
    }

    void roundTrip()
    {
        QFETCH(Variant, value);
        QFETCH(int, fileType);

        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Valor"), value);
        const Variant fromBag =
            bag.ReadProperty(QStringLiteral("Valor"), QStringLiteral("ausente"));
        QCOMPARE(int(fromBag.type()), int(value.type()));
        QVERIFY(fromBag == value);

        const PropertyBag read = throughFile(bag);
        QVERIFY(read.contains(QStringLiteral("Valor")));
        const Variant fromFile =
            read.ReadProperty(QStringLiteral("Valor"), QStringLiteral("ausente"));
        QCOMPARE(int(fromFile.type()), fileType);
        const auto* font = std::get_if<FontRef>(&value.storage());
        if (font && !*font)
            QVERIFY(fromFile.isNull()); // Nothing is saved as null
        else
            QVERIFY2(fromFile == value, qPrintable(fromFile.typeName()));
        if (const auto* date = std::get_if<Date>(&value.storage()))
            QCOMPARE(std::get<Date>(fromFile.storage()).serial(), date->serial());
        if (font && *font) {
            const FontRef back = fromFile.toFont();
            QVERIFY(back && back != *font); // a new object, alike by the comparison above
        }
        if (const auto* picture = std::get_if<PictureRef>(&value.storage())) {
            QCOMPARE(fromFile.toPicture()->image().convertToFormat(QImage::Format_ARGB32),
                     (*picture)->image().convertToFormat(QImage::Format_ARGB32));
        }

        // What was read once is written the same way again.
        QCOMPARE(FormFile::serialize(formWith(read), QStringLiteral("a")),
                 FormFile::serialize(formWith(throughFile(read)), QStringLiteral("a")));
    }

    void emptyStaysInBagButNotInFile()
    {
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Tag"), Variant(), QStringLiteral(""));
        bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Nome"));
        QVERIFY(bag.contains(QStringLiteral("Tag")));
        QVERIFY(bag.ReadProperty(QStringLiteral("Tag"), 7).isEmpty());

        const PropertyBag read = throughFile(bag);
        QCOMPARE(namesOf(read), QStringList{QStringLiteral("Caption")});
        QCOMPARE(read.ReadProperty(QStringLiteral("Tag"), short(7)).toInteger(), short(7));
    }

    void defaultOmission_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<Variant>("def");
        QTest::addColumn<bool>("stored");

        QTest::newRow("Integer equal to default")
            << Variant(short(0)) << Variant(short(0)) << false;
        QTest::newRow("Long equal to Integer default") << Variant(0) << Variant(short(0)) << false;
        QTest::newRow("True equal to -1") << Variant(true) << Variant(short(-1)) << false;
        QTest::newRow("text differing in case") << Variant("nome") << Variant("Nome") << true;
        QTest::newRow("empty text, default Empty") << Variant("") << Variant() << true;
        QTest::newRow("Empty, default Empty") << Variant() << Variant() << false;
        QTest::newRow("Null, default Empty") << Variant::null() << Variant() << true;
        QTest::newRow("equal fonts") << Variant(richFont()) << Variant(richFont()) << false;
        QTest::newRow("differing fonts")
            << Variant(richFont()) << Variant(StdFont::create()) << true;
        QTest::newRow("number, default text") << Variant(short(0)) << Variant("0") << true;
    }

    void defaultOmission()
    {
        QFETCH(Variant, value);
        QFETCH(Variant, def);
        QFETCH(bool, stored);

        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Valor"), value, def);
        QCOMPARE(bag.contains(QStringLiteral("Valor")), stored);
        QCOMPARE(bag.count(), stored ? 1 : 0);
        QVERIFY(bag.ReadProperty(QStringLiteral("Valor"), def) == value);
    }

    void namesIgnoreCase()
    {
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("TypeInput"), short(3));
        QVERIFY(bag.contains(QStringLiteral("TYPEINPUT")));
        bag.WriteProperty(QStringLiteral("typeINPUT"), short(4));
        QCOMPARE(bag.count(), 1);
        QCOMPARE(bag.items().first().first, QStringLiteral("TypeInput"));
        QCOMPARE(bag.ReadProperty(QStringLiteral("TypeInput"), short(0)).toInteger(), short(4));
        QVERIFY(!bag.contains(QStringLiteral("Type")));
    }

    void orderIsTheFirstWrite()
    {
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Text"), QStringLiteral("a"));
        bag.WriteProperty(QStringLiteral("Alignment"), short(1));
        bag.WriteProperty(QStringLiteral("BackColor"), 0x80000005u);
        bag.WriteProperty(QStringLiteral("Text"), QStringLiteral("b"));
        const QStringList expected{QStringLiteral("Text"), QStringLiteral("Alignment"),
                                   QStringLiteral("BackColor")};
        QCOMPARE(namesOf(bag), expected);
        const PropertyBag read = throughFile(bag);
        QCOMPARE(namesOf(read), expected);
        QVERIFY(read == bag);
    }

    void removalKeepsLookupsRight()
    {
        PropertyBag bag;
        for (const char* name : {"A", "B", "C", "D"})
            bag.WriteProperty(QString::fromLatin1(name), QString::fromLatin1(name).toLower());
        bag.WriteProperty(QStringLiteral("b"), Variant(), Variant());
        bag.WriteProperty(QStringLiteral("E"), QStringLiteral("e"));
        QCOMPARE(namesOf(bag), (QStringList{"A", "C", "D", "E"}));
        for (const char* name : {"A", "C", "D", "E"}) {
            QCOMPARE(bag.ReadProperty(QString::fromLatin1(name), {}).toString(),
                     QString::fromLatin1(name).toLower());
        }
        bag.WriteProperty(QStringLiteral("C"), QStringLiteral("c2"));
        QCOMPARE(namesOf(bag), (QStringList{"A", "C", "D", "E"}));
        QCOMPARE(bag.ReadProperty(QStringLiteral("c"), {}).toString(), QStringLiteral("c2"));
    }

    // A colour typed by hand as its unsigned value reads as that colour, not as an overflow.
    void unsignedColourReadsAsColour()
    {
        const QByteArray file = R"({"format": "kvform 1", "form": {"name": "f", "width": 100,
            "height": 100}, "controls": [{"class": "VB.Label", "name": "lbl", "left": 0, "top": 0,
            "width": 10, "height": 10, "properties": [["BackColor", 2147483653],
            ["ForeColor", 255]]}]})";
        const FormDescription form = FormFile::parse(file, QStringLiteral("colours.kvform"));
        const PropertyBag& bag = form.controls.at(0).properties;
        QCOMPARE(bag.ReadProperty(QStringLiteral("BackColor"), {}).toOleColor(), 0x80000005u);
        QCOMPARE(bag.ReadProperty(QStringLiteral("ForeColor"), {}).toOleColor(), 255u);
        QVERIFY_THROWS_EXCEPTION(host::RuntimeError, Variant(4294967296.0).toOleColor());
    }

    void equality()
    {
        PropertyBag a, b, c;
        a.WriteProperty(QStringLiteral("X"), short(1));
        a.WriteProperty(QStringLiteral("Y"), QStringLiteral("y"));
        b.WriteProperty(QStringLiteral("x"), qint32(1));
        b.WriteProperty(QStringLiteral("y"), QStringLiteral("y"));
        c.WriteProperty(QStringLiteral("Y"), QStringLiteral("y"));
        c.WriteProperty(QStringLiteral("X"), short(1));
        QVERIFY(a == b);
        QVERIFY(!(a == c)); // order counts: it is the order the control wrote
        b.WriteProperty(QStringLiteral("Y"), QStringLiteral("Y"));
        QVERIFY(!(a == b));
    }
};

QTEST_GUILESS_MAIN(tst_PropertyBag)
#include "tst_propertybag.moc"
