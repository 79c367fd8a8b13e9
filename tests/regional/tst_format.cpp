// Format and the default texts of values (CStr) under the pt-BR and en-US settings.

#include "RegionalTestUtil.h"

#include "host/regional/Regional.h"
#include "host/services/Services.h"

#include <QTest>
#include <cmath>

using namespace host;
using namespace regionaltest;

namespace {

const Date Sunday = dateAt(QDate(2026, 3, 15), QTime(14, 5, 9));
const Date SundayMorning = dateAt(QDate(2026, 3, 15), QTime(9, 7, 3));
const Date SundayNoTime = dateAt(QDate(2026, 3, 15));

} // namespace

class tst_format : public QObject {
    Q_OBJECT

private:
    ServicesScope m_services;

    void addRow(const char* locale, const Variant& value, const QString& pattern,
                const QString& expected)
    {
        QTest::addRow("%s %s [%s]", locale, qPrintable(CStrOrType(value)), qPrintable(pattern))
            << QString::fromLatin1(locale) << value << pattern << expected;
    }
    static QString CStrOrType(const Variant& v)
    {
        if (v.isNull() || v.isEmpty()) return v.typeName();
        const QString text =
            v.type() == VarType::String ? QStringLiteral("\"%1\"").arg(CStr(v)) : CStr(v);
        return text.size() > 30 ? text.left(30) + QStringLiteral("...") : text;
    }
    static void columns()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<Variant>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
    }
    static void check()
    {
        QFETCH(QString, locale);
        QFETCH(Variant, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        RegionalScope scope(settingsNamed(locale));
        QCOMPARE(Format(value, pattern), expected);
    }

private Q_SLOTS:
    void initTestCase()
    {
        services().today = [] { return QDate(2026, 3, 15); };
    }

    void numericPatterns_data()
    {
        columns();
        // The documented table, both regions.
        for (const char* loc : {"pt-BR", "en-US"}) {
            addRow(loc, 15032026, QStringLiteral("00/00/0000"), QStringLiteral("15/03/2026"));
            addRow(loc, 100000000, QStringLiteral("##0,,"), QStringLiteral("100"));
        }
        addRow("pt-BR", 1032026, QStringLiteral("00/00/0000"), QStringLiteral("01/03/2026"));
        addRow("pt-BR", 123456789, QStringLiteral("00/00/0000"), QStringLiteral("123/45/6789"));
        addRow("pt-BR", 1234567.891, QStringLiteral("#####,##0.00"),
               QStringLiteral("1.234.567,89"));
        addRow("en-US", 1234567.891, QStringLiteral("#####,##0.00"),
               QStringLiteral("1,234,567.89"));
        addRow("pt-BR", 0.5, QStringLiteral("#####,##0.00"), QStringLiteral("0,50"));
        addRow("pt-BR", 0.0, QStringLiteral("#####,##0.00"), QStringLiteral("0,00"));
        addRow("pt-BR", -1234.5, QStringLiteral("#####,##0.00"), QStringLiteral("-1.234,50"));
        addRow("pt-BR", 2.5, QStringLiteral("0"), QStringLiteral("3"));
        addRow("pt-BR", -2.5, QStringLiteral("0"), QStringLiteral("-3"));
        addRow("en-US", -5, QStringLiteral("$#,##0;($#,##0)"), QStringLiteral("($5)"));
        addRow("en-US", 0, QStringLiteral("$#,##0;;\\Z\\e\\r\\o"), QStringLiteral("Zero"));
        addRow("pt-BR", 5, QStringLiteral("0.00%"), QStringLiteral("500,00%"));
        addRow("en-US", 5, QStringLiteral("0.00%"), QStringLiteral("500.00%"));

        // Placeholders and literals.
        addRow("pt-BR", 0.5, QStringLiteral("#.##"), QStringLiteral(",5"));
        addRow("pt-BR", 5, QStringLiteral("#.##"), QStringLiteral("5,"));
        addRow("pt-BR", 1.5, QStringLiteral("0.###"), QStringLiteral("1,5"));
        addRow("pt-BR", 0, QStringLiteral("#"), QString());
        addRow("pt-BR", 0, QStringLiteral("#,##0"), QStringLiteral("0"));
        addRow("pt-BR", 123456, QStringLiteral("00"), QStringLiteral("123456"));
        addRow("pt-BR", 7, QStringLiteral("000"), QStringLiteral("007"));
        addRow("pt-BR", 1234567, QStringLiteral("#,##0,"), QStringLiteral("1.235"));
        addRow("pt-BR", 12.5, QStringLiteral(".00"), QStringLiteral("12,50"));
        addRow("pt-BR", 5, QStringLiteral("\\R\\$ 0.00"), QStringLiteral("R$ 5,00"));
        addRow("pt-BR", 5, QStringLiteral("0 \"kg\""), QStringLiteral("5 kg"));
        addRow("pt-BR", 5, QStringLiteral("(0)"), QStringLiteral("(5)"));
        addRow("pt-BR", 1234, QStringLiteral("0:00"), QStringLiteral("12:34"));
        addRow("pt-BR", 0.125, QStringLiteral("0%"), QStringLiteral("13%"));
        addRow("pt-BR", -5, QStringLiteral("0.00"), QStringLiteral("-5,00"));
        addRow("pt-BR", 5, QStringLiteral(";(0)"), QStringLiteral("5"));
        // Sections without digit placeholders are text; the sign still marks a negative value.
        addRow("pt-BR", 5, QStringLiteral("\\Z"), QStringLiteral("Z"));
        addRow("pt-BR", -5, QStringLiteral("\\Z"), QStringLiteral("-Z"));
        addRow("pt-BR", -5, QStringLiteral("0;\\M\\e\\n\\o\\s"), QStringLiteral("Menos"));
        addRow("pt-BR", 0.5, QStringLiteral("%"), QStringLiteral("%"));
        addRow("pt-BR", -5, QStringLiteral("0;;\\Z"), QStringLiteral("-5"));
        addRow("pt-BR", 0, QStringLiteral("0;-0;"), QStringLiteral("0"));
        // Rounding half away from zero on the 15-digit value: 1.005 is 1.00499999999999989... in
        // binary but 1.00500000000000 to 15 digits.
        addRow("pt-BR", 1.005, QStringLiteral("0.00"), QStringLiteral("1,01"));
        addRow("pt-BR", -0.5, QStringLiteral("0"), QStringLiteral("-1"));
        addRow("pt-BR", 0.1 + 0.2, QStringLiteral("0.0000000000000000"),
               QStringLiteral("0,3000000000000000"));
        addRow("pt-BR", 9.995, QStringLiteral("0.00"), QStringLiteral("10,00"));
        addRow("pt-BR", 999999.999, QStringLiteral("#,##0.00"), QStringLiteral("1.000.000,00"));
        // A value that rounds to zero shows no minus sign with one section; a negative section is
        // still chosen by the value's sign.
        addRow("pt-BR", -0.001, QStringLiteral("0.00"), QStringLiteral("0,00"));
        addRow("pt-BR", -0.001, QStringLiteral("0.00;(0.00)"), QStringLiteral("(0,00)"));
        // Scientific.
        addRow("pt-BR", 1234.567, QStringLiteral("0.00E+00"), QStringLiteral("1,23E+03"));
        addRow("pt-BR", 0.000123, QStringLiteral("0.00E-00"), QStringLiteral("1,23E-04"));
        addRow("pt-BR", 1234.567, QStringLiteral("0.00E-00"), QStringLiteral("1,23E03"));
        addRow("en-US", 9.999, QStringLiteral("0.00e+0"), QStringLiteral("1.00e+1"));
        addRow("en-US", 0, QStringLiteral("0.00E+00"), QStringLiteral("0.00E+00"));
        addRow("en-US", 123456, QStringLiteral("00.0E+00"), QStringLiteral("12.3E+04"));
        // Single keeps its own seven digits.
        addRow("pt-BR", 0.1f, QStringLiteral("0.000000000"), QStringLiteral("0,100000000"));
        // Booleans and dates are numbers here.
        addRow("pt-BR", true, QStringLiteral("0"), QStringLiteral("-1"));
        addRow("pt-BR", SundayNoTime, QStringLiteral("0"), QStringLiteral("46096"));
        addRow("en-US", 1e20, QStringLiteral("#,##0"),
               QStringLiteral("100,000,000,000,000,000,000"));
    }
    void numericPatterns() { check(); }

    void namedFormats_data()
    {
        columns();
        addRow("pt-BR", 1234.567, QStringLiteral("General Number"), QStringLiteral("1234,567"));
        addRow("pt-BR", 1234.567, QStringLiteral("Currency"), QStringLiteral("R$ 1.234,57"));
        addRow("pt-BR", -1234.567, QStringLiteral("Currency"), QStringLiteral("-R$ 1.234,57"));
        addRow("en-US", 1234.567, QStringLiteral("Currency"), QStringLiteral("$1,234.57"));
        addRow("pt-BR", 1234.567, QStringLiteral("Fixed"), QStringLiteral("1234,57"));
        addRow("pt-BR", 1234.567, QStringLiteral("Standard"), QStringLiteral("1.234,57"));
        addRow("pt-BR", 0.1234, QStringLiteral("Percent"), QStringLiteral("12,34%"));
        addRow("pt-BR", 1234.567, QStringLiteral("Scientific"), QStringLiteral("1,23E+03"));
        addRow("pt-BR", 5, QStringLiteral("Yes/No"), QStringLiteral("Sim"));
        addRow("pt-BR", 0, QStringLiteral("Yes/No"), QString::fromUtf8("Não"));
        addRow("pt-BR", true, QStringLiteral("True/False"), QStringLiteral("Verdadeiro"));
        addRow("pt-BR", false, QStringLiteral("True/False"), QStringLiteral("Falso"));
        addRow("pt-BR", -1, QStringLiteral("On/Off"), QStringLiteral("Ativado"));
        addRow("pt-BR", 0, QStringLiteral("On/Off"), QStringLiteral("Desativado"));
        addRow("en-US", 1, QStringLiteral("Yes/No"), QStringLiteral("Yes"));
        addRow("en-US", 0, QStringLiteral("True/False"), QStringLiteral("False"));
        addRow("en-US", 2, QStringLiteral("On/Off"), QStringLiteral("On"));
        addRow("pt-BR", Sunday, QStringLiteral("General Date"),
               QStringLiteral("15/03/2026 14:05:09"));
        addRow("pt-BR", SundayNoTime, QStringLiteral("General Date"), QStringLiteral("15/03/2026"));
        addRow("pt-BR", Sunday, QStringLiteral("Long Date"),
               QString::fromUtf8("domingo, 15 de março de 2026"));
        addRow("pt-BR", Sunday, QStringLiteral("Medium Date"), QStringLiteral("15-mar-26"));
        addRow("pt-BR", Sunday, QStringLiteral("Short Date"), QStringLiteral("15/03/2026"));
        addRow("pt-BR", Sunday, QStringLiteral("Long Time"), QStringLiteral("14:05:09"));
        addRow("pt-BR", Sunday, QStringLiteral("Medium Time"), QStringLiteral("02:05 PM"));
        addRow("pt-BR", Sunday, QStringLiteral("Short Time"), QStringLiteral("14:05"));
        addRow("en-US", Sunday, QStringLiteral("General Date"),
               QStringLiteral("3/15/2026 2:05:09 PM"));
        addRow("en-US", Sunday, QStringLiteral("Long Date"),
               QStringLiteral("Sunday, March 15, 2026"));
        addRow("en-US", Sunday, QStringLiteral("Medium Date"), QStringLiteral("15-Mar-26"));
        addRow("en-US", Sunday, QStringLiteral("Short Date"), QStringLiteral("3/15/2026"));
        addRow("en-US", SundayMorning, QStringLiteral("Long Time"), QStringLiteral("9:07:03 AM"));
        addRow("en-US", Sunday, QStringLiteral("Short Time"), QStringLiteral("14:05"));
        // Names are case-insensitive.
        addRow("pt-BR", 1234.567, QStringLiteral("currency"), QStringLiteral("R$ 1.234,57"));
        addRow("pt-BR", Sunday, QStringLiteral("SHORT DATE"), QStringLiteral("15/03/2026"));
        addRow("pt-BR", 1234.567, QStringLiteral("FIXED"), QStringLiteral("1234,57"));
        // A name with other text around it is an ordinary pattern: here a date one (d).
        addRow("pt-BR", 46096, QStringLiteral("\\Fixed"), QStringLiteral("Fixe15"));
        // Numbers given as date serials, dates given as numbers.
        addRow("pt-BR", 46096.5, QStringLiteral("General Date"),
               QStringLiteral("15/03/2026 12:00:00"));
        addRow("pt-BR", Sunday, QStringLiteral("Fixed"), QStringLiteral("46096,59"));
    }
    void namedFormats() { check(); }

    void datePatterns_data()
    {
        columns();
        struct Row {
            const char* pattern;
            const char* ptBR;
            const char* enUS;
        };
        // Sunday 15/03/2026 14:05:09, day 74 of the year, week 12, first quarter.
        const Row rows[] = {
            {"d", "15", "15"},
            {"dd/mm/yyyy", "15/03/2026", "15/03/2026"},
            {"DD/MM/YYYY", "15/03/2026", "15/03/2026"},
            {"d/m/yy", "15/3/26", "15/3/26"},
            {"ddd", "dom", "Sun"},
            {"dddd", "domingo", "Sunday"},
            {"ddddd", "15/03/2026", "3/15/2026"},
            {"dddddd", "domingo, 15 de março de 2026", "Sunday, March 15, 2026"},
            {"w", "1", "1"},
            {"ww", "12", "12"},
            {"m", "3", "3"},
            {"mm", "03", "03"},
            {"mmm", "mar", "Mar"},
            {"mmmm", "março", "March"},
            {"q", "1", "1"},
            {"y", "74", "74"},
            {"yy", "26", "26"},
            {"yyyy", "2026", "2026"},
            {"h", "14", "14"},
            {"hh:nn:ss", "14:05:09", "14:05:09"},
            {"h:n:s", "14:5:9", "14:5:9"},
            {"hh:mm", "14:05", "14:05"},
            {"hh\\hmm", "14h05", "14h05"},
            {"ttttt", "14:05:09", "2:05:09 PM"},
            {"c", "15/03/2026 14:05:09", "3/15/2026 2:05:09 PM"},
            {"h AM/PM", "2 PM", "2 PM"},
            {"h am/pm", "2 pm", "2 pm"},
            {"hh A/P", "02 P", "02 P"},
            {"h a/p", "2 p", "2 p"},
            {"h AMPM", "2 PM", "2 PM"},
            {"yyyy-mm-dd\"T\"hh:nn", "2026-03-15T14:05", "2026-03-15T14:05"},
            {"dddddddd", "domingo, 15 de março de 202615", "Sunday, March 15, 202615"},
        };
        for (const Row& r : rows) {
            addRow("pt-BR", Sunday, QString::fromUtf8(r.pattern), QString::fromUtf8(r.ptBR));
            addRow("en-US", Sunday, QString::fromUtf8(r.pattern), QString::fromUtf8(r.enUS));
        }
        // Midnight and noon on the 12-hour clock; the week that holds 1 January is week 1.
        addRow("pt-BR", dateAt(QDate(2026, 1, 1)), QStringLiteral("hh:nn AM/PM ww w"),
               QStringLiteral("12:00 AM 1 5"));
        addRow("pt-BR", dateAt(QDate(2026, 1, 3), QTime(12, 0)), QStringLiteral("h AM/PM ww"),
               QStringLiteral("12 PM 1"));
        addRow("pt-BR", dateAt(QDate(2026, 1, 4)), QStringLiteral("ww q"), QStringLiteral("2 1"));
        addRow("pt-BR", dateAt(QDate(2026, 12, 31)), QStringLiteral("y q ww"),
               QStringLiteral("365 4 53"));
        // Early and late dates, and times that round to the next second or day.
        addRow("pt-BR", dateAt(QDate(100, 1, 1)), QStringLiteral("dd/mm/yyyy"),
               QStringLiteral("01/01/0100"));
        addRow("pt-BR", dateAt(QDate(1899, 12, 29), QTime(6, 0)),
               QStringLiteral("dd/mm/yyyy hh:nn"), QStringLiteral("29/12/1899 06:00"));
        addRow("pt-BR", Date(46096.0 + 86399.6 / 86400.0), QStringLiteral("dd hh:nn:ss"),
               QStringLiteral("16 00:00:00"));
        addRow("pt-BR", Date(0.0), QStringLiteral("General Date"), QStringLiteral("30/12/1899"));
        addRow("pt-BR", Date(0.5), QStringLiteral("c"), QStringLiteral("30/12/1899 12:00:00"));
        // A number is a serial for a date pattern.
        addRow("pt-BR", 46096, QStringLiteral("dd/mm/yyyy"), QStringLiteral("15/03/2026"));
        addRow("pt-BR", Variant(), QStringLiteral("dd/mm/yyyy"), QStringLiteral("30/12/1899"));
    }
    void datePatterns() { check(); }

    void stringPatterns_data()
    {
        columns();
        addRow("pt-BR", "ab", QStringLiteral("@@@"), QStringLiteral(" ab"));
        addRow("pt-BR", "ab", QStringLiteral("&&&"), QStringLiteral("ab"));
        addRow("pt-BR", "ab", QStringLiteral("!@@@"), QStringLiteral("ab "));
        addRow("pt-BR", "ab", QStringLiteral("!&&&"), QStringLiteral("ab"));
        addRow("pt-BR", "abcdef", QStringLiteral("@@@"), QStringLiteral("abcdef"));
        addRow("pt-BR", "abcdef", QStringLiteral("!@@-@"), QStringLiteral("ab-cdef"));
        addRow("pt-BR", "abcdef", QStringLiteral("@@-@"), QStringLiteral("abcde-f"));
        addRow("pt-BR", "1234567890", QStringLiteral("(@@) @@@@-@@@@"),
               QStringLiteral("(12) 3456-7890"));
        addRow("pt-BR", "34567890", QStringLiteral("(@@) @@@@-@@@@"),
               QStringLiteral("(  ) 3456-7890"));
        addRow("pt-BR", QString::fromUtf8("ação"), QStringLiteral(">"), QString::fromUtf8("AÇÃO"));
        addRow("pt-BR", QString::fromUtf8("AÇÃO"), QStringLiteral("<@@@@@"),
               QString::fromUtf8(" ação"));
        addRow("pt-BR", "x", QStringLiteral(">\"nome: \"@"), QStringLiteral("NOME: X"));
        addRow("pt-BR", "", QStringLiteral("@@;\\v\\a\\z\\i\\o"), QStringLiteral("vazio"));
        addRow("pt-BR", "", QStringLiteral("@@"), QString());
        addRow("pt-BR", Variant::null(), QStringLiteral("@;\\N\\u\\l\\o"), QStringLiteral("Nulo"));
        addRow("pt-BR", 12.5, QStringLiteral("@@@@@@"), QStringLiteral("  12,5"));
        addRow("pt-BR", true, QStringLiteral("@"), QStringLiteral("True"));
    }
    void stringPatterns() { check(); }

    void textValues_data()
    {
        columns();
        // A text that is a number is formatted as the number (with the '.' the field types).
        addRow("pt-BR", "12.50", QStringLiteral("#####,##0.00"), QStringLiteral("12,50"));
        addRow("pt-BR", "0.00", QStringLiteral("#####,##0.00"), QStringLiteral("0,00"));
        addRow("pt-BR", "1.234,5", QStringLiteral("#####,##0.00"), QStringLiteral("1.234,50"));
        addRow("pt-BR", "1234567", QStringLiteral("#####,##0.00"), QStringLiteral("1.234.567,00"));
        addRow("en-US", "12,50", QStringLiteral("#,##0.00"), QStringLiteral("1,250.00"));
        addRow("pt-BR", "15032026", QStringLiteral("00/00/0000"), QStringLiteral("15/03/2026"));
        addRow("pt-BR", "1032026", QStringLiteral("00/00/0000"), QStringLiteral("01/03/2026"));
        addRow("pt-BR", "153", QStringLiteral("00/00/0000"), QStringLiteral("00/00/0153"));
        addRow("pt-BR", "5", QStringLiteral("Currency"), QStringLiteral("R$ 5,00"));
        addRow("pt-BR", "1", QStringLiteral("Yes/No"), QStringLiteral("Sim"));
        // Not a number: a numeric pattern leaves it as it stands, dates included.
        addRow("pt-BR", "12*3", QStringLiteral("#####,##0.00"), QStringLiteral("12*3"));
        addRow("pt-BR", "abc", QStringLiteral("Fixed"), QStringLiteral("abc"));
        addRow("pt-BR", "15/03/2026", QStringLiteral("#,##0"), QStringLiteral("15/03/2026"));
        addRow("pt-BR", "abc", QStringLiteral("Yes/No"), QStringLiteral("abc"));
        // A date pattern formats a date text; anything else stays.
        addRow("pt-BR", "05/3/2026", QStringLiteral("dd/mm/yyyy"), QStringLiteral("05/03/2026"));
        addRow("pt-BR", "15.03.2026", QStringLiteral("dd/mm/yyyy"), QStringLiteral("15/03/2026"));
        addRow("pt-BR", "15/03/2026 14:05", QStringLiteral("Long Date"),
               QString::fromUtf8("domingo, 15 de março de 2026"));
        addRow("pt-BR", "12/25/2026", QStringLiteral("dd/mm/yyyy"), QStringLiteral("12/25/2026"));
        addRow("en-US", "12/25/2026", QStringLiteral("dd/mm/yyyy"), QStringLiteral("25/12/2026"));
        addRow("pt-BR", "abc", QStringLiteral("dd/mm/yyyy"), QStringLiteral("abc"));
        addRow("pt-BR", "46096", QStringLiteral("dd/mm/yyyy"), QStringLiteral("15/03/2026"));
        addRow("pt-BR", "99999999", QStringLiteral("dd/mm/yyyy"), QStringLiteral("99999999"));
        // No pattern: the text unchanged.
        addRow("pt-BR", "12.50", QString(), QStringLiteral("12.50"));
    }
    void textValues() { check(); }

    void nullAndEmpty_data()
    {
        columns();
        addRow("pt-BR", Variant(), QString(), QString());
        addRow("pt-BR", Variant(), QStringLiteral("0"), QStringLiteral("0"));
        addRow("pt-BR", Variant(), QStringLiteral("0.00"), QStringLiteral("0,00"));
        addRow("pt-BR", Variant(), QStringLiteral("0;;\\Z\\e\\r\\o"), QStringLiteral("Zero"));
        addRow("pt-BR", Variant(), QStringLiteral("@@"), QString());
        addRow("pt-BR", Variant::null(), QString(), QString());
        addRow("pt-BR", Variant::null(), QStringLiteral("0"), QString());
        addRow("pt-BR", Variant::null(), QStringLiteral("0;-0;0;\\N\\u\\l\\l"),
               QStringLiteral("Null"));
        addRow("pt-BR", Variant::null(), QStringLiteral("0;-0;0;"), QString());
        addRow("pt-BR", Variant::null(), QStringLiteral("dd/mm/yyyy"), QString());
        addRow("pt-BR", Variant::null(), QStringLiteral("Yes/No"), QString());
    }
    void nullAndEmpty() { check(); }

    // The plain text of each kind of value: what CStr and an empty pattern give.
    void defaultText_data()
    {
        columns();
        addRow("pt-BR", 1234.5, QString(), QStringLiteral("1234,5"));
        addRow("en-US", 1234.5, QString(), QStringLiteral("1234.5"));
        addRow("pt-BR", -0.5, QString(), QStringLiteral("-0,5"));
        addRow("pt-BR", 0.1 + 0.2, QString(), QStringLiteral("0,3"));
        addRow("pt-BR", 1e20, QString(), QStringLiteral("1E+20"));
        addRow("pt-BR", 1.5e-5, QString(), QStringLiteral("1,5E-05"));
        addRow("pt-BR", 0.0001, QString(), QStringLiteral("0,0001"));
        addRow("pt-BR", 123456789012345.0, QString(), QStringLiteral("123456789012345"));
        addRow("pt-BR", 1234567890123456.0, QString(), QStringLiteral("1,23456789012346E+15"));
        addRow("pt-BR", -1.5e300, QString(), QStringLiteral("-1,5E+300"));
        addRow("pt-BR", 0.1f, QString(), QStringLiteral("0,1"));
        addRow("pt-BR", 12345678.0f, QString(), QStringLiteral("1,234568E+07"));
        addRow("pt-BR", short(-7), QString(), QStringLiteral("-7"));
        addRow("pt-BR", 2147483647, QString(), QStringLiteral("2147483647"));
        addRow("pt-BR", true, QString(), QStringLiteral("True"));
        addRow("pt-BR", false, QString(), QStringLiteral("False"));
        addRow("pt-BR", SundayNoTime, QString(), QStringLiteral("15/03/2026"));
        addRow("pt-BR", Sunday, QString(), QStringLiteral("15/03/2026 14:05:09"));
        addRow("en-US", Sunday, QString(), QStringLiteral("3/15/2026 2:05:09 PM"));
        addRow("pt-BR", dateAt(QDate(2026, 1, 5)), QString(), QStringLiteral("05/01/2026"));
        addRow("pt-BR", "texto", QString(), QStringLiteral("texto"));
    }
    void defaultText()
    {
        check();
        QFETCH(QString, locale);
        QFETCH(Variant, value);
        QFETCH(QString, expected);
        RegionalScope scope(settingsNamed(locale));
        QCOMPARE(CStr(value), expected);
        QCOMPARE(value.toString(), expected);
    }

    void errors()
    {
        QCOMPARE(errorOf([] { CStr(Variant::null()); }), Err::InvalidUseOfNull);
        QCOMPARE(errorOf([] { Format(Variant(StdFont::create()), QStringLiteral("0")); }),
                 Err::TypeMismatch);
        // A serial outside the calendar cannot be shown as a date.
        QCOMPARE(errorOf([] { Format(1e10, QStringLiteral("dd/mm/yyyy")); }), Err::Overflow);
        QCOMPARE(errorOf([] { CStr(Date(-1e7)); }), Err::Overflow);
        QCOMPARE(errorOf([] { Format(std::nan(""), QStringLiteral("dd/mm/yyyy")); }),
                 Err::Overflow);
    }

    // Patterns and values far beyond any form's needs stay bounded and exact.
    void extremes()
    {
        const QString zeros(100000, u'0');
        const QString out = Format(5, zeros);
        QCOMPARE(out.size(), 100000);
        QVERIFY(out.endsWith(QStringLiteral("005")));

        const QString big = Format(1e308, QStringLiteral("0"));
        QCOMPARE(big.size(), 309);
        QVERIFY(big.startsWith(QStringLiteral("1000")));

        const QString tiny = Format(1e-300, QStringLiteral("0.00"));
        QCOMPARE(tiny, QStringLiteral("0,00"));

        const QString percents = Format(1, QString(20, u'%').prepend(u'0'));
        QCOMPARE(percents.size(), 41 + 20);
        QVERIFY(percents.startsWith(QStringLiteral("1000")));

        QCOMPARE(Format(123, QString(1000, u',').prepend(u'0')), QStringLiteral("0"));
        QCOMPARE(Format(1234.5, QStringLiteral("0.") + QString(400, u'#')),
                 QStringLiteral("1234,5"));
        QCOMPARE(Format(-1e308, QStringLiteral("0.00E+00")), QStringLiteral("-1,00E+308"));
        QCOMPARE(Format(1e-300, QStringLiteral("0.0E+000")), QStringLiteral("1,0E-300"));
        QCOMPARE(Format(Sunday, QString(20000, u'd')).size() > 0, true);
    }

    // Changing the settings changes what a cached pattern produces.
    void settingsChangeReachesCachedPatterns()
    {
        const QString pattern = QStringLiteral("Currency");
        {
            RegionalScope scope(Regional::ptBR());
            QCOMPARE(Format(1.5, pattern), QStringLiteral("R$ 1,50"));
        }
        {
            RegionalScope scope(Regional::enUS());
            QCOMPARE(Format(1.5, pattern), QStringLiteral("$1.50"));
        }
        RegionalSettings custom = Regional::ptBR();
        custom.shortDatePattern = QStringLiteral("yyyy.mm.dd");
        custom.currencySymbol = QStringLiteral("Kz");
        RegionalScope scope(custom);
        QCOMPARE(Format(SundayNoTime, QStringLiteral("Short Date")), QStringLiteral("2026.03.15"));
        QCOMPARE(CStr(SundayNoTime), QStringLiteral("2026.03.15"));
        QCOMPARE(Format(1.5, pattern), QStringLiteral("Kz 1,50"));
        // A short date pattern that names itself ends instead of recursing.
        custom.shortDatePattern = QStringLiteral("ddddd|c");
        RegionalScope looping(custom);
        QVERIFY(!Format(SundayNoTime, QStringLiteral("c")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_format)
#include "tst_format.moc"
