// Reading text as numbers and dates (IsNumeric, CDbl, IsDate, CDate), the conversions of
// Variants, date parts and text functions.

#include "RegionalTestUtil.h"

#include "host/regional/Regional.h"
#include "host/services/Services.h"

#include <QTest>
#include <cmath>

using namespace host;
using namespace regionaltest;

namespace {
constexpr int NotANumber = -1; // expected-value marker in the number rows
}

class tst_parse : public QObject {
    Q_OBJECT

private:
    ServicesScope m_services;

private Q_SLOTS:
    void initTestCase()
    {
        services().today = [] { return QDate(2026, 3, 15); };
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("error"); // what CDbl raises

        auto row = [](const char* loc, const char* text, double value) {
            QTest::addRow("%s \"%s\"", loc, text)
                << QString::fromLatin1(loc) << QString::fromUtf8(text) << true << value << 0;
        };
        auto no = [](const char* loc, const char* text, int error = Err::TypeMismatch) {
            QTest::addRow("%s \"%s\" not", loc, text)
                << QString::fromLatin1(loc) << QString::fromUtf8(text) << false << 0.0 << error;
        };
        // The documented table.
        row("pt-BR", "12.50", 12.5);
        row("en-US", "12.50", 12.5);
        row("pt-BR", "12,50", 12.5);
        row("en-US", "12,50", 1250);
        row("pt-BR", "1.234,50", 1234.5);
        no("en-US", "1.234,50");
        for (const char* loc : {"pt-BR", "en-US"}) {
            row(loc, "-5", -5);
            row(loc, " 7 ", 7);
            row(loc, "+3", 3);
            row(loc, "5-", -5);
            row(loc, "(5)", -5);
            row(loc, "1e3", 1000);
            row(loc, "&H1F", 31);
            no(loc, "12*3");
            no(loc, "");
            no(loc, "   ");
            no(loc, "45 Help");
        }
        row("pt-BR", "R$ 10", 10);
        no("pt-BR", "$10");
        no("en-US", "R$ 10");
        row("en-US", "$10", 10);
        // The '.' the field types is the decimal point unless the text says otherwise.
        row("pt-BR", "1.234", 1.234);
        row("pt-BR", "1.234.567", 1234567);
        row("pt-BR", "1.234.567,89", 1234567.89);
        no("pt-BR", "1,234,567");
        row("en-US", "1,234,567", 1234567);
        row("pt-BR", "12.345.678", 12345678);
        // Several dots read as grouping only where they group by thousands.
        for (const char* misplaced : {"12.345.6", "1234.50.00", "1.23.456", "1.234.56", "1..234"})
            no("pt-BR", misplaced);
        row("pt-BR", ".5", 0.5);
        row("pt-BR", ",5", 0.5);
        row("en-US", ".5", 0.5);
        row("pt-BR", "5.", 5);
        // Signs, currency, exponents and radixes in their other spellings.
        row("pt-BR", "-R$ 10,5", -10.5);
        row("pt-BR", "R$ -10,5", -10.5);
        row("pt-BR", "(R$ 3)", -3);
        row("pt-BR", "\t2\t", 2);
        row("pt-BR", "1,5E+2", 150);
        row("en-US", "2.5e-1", 0.25);
        row("pt-BR", "&hff", 255);
        row("pt-BR", "&O17", 15);
        row("pt-BR", "&HFFFFFFFF", -1);
        row("pt-BR", "1e-400", 0);
        row("pt-BR", "00000000000000000000000000000000000001", 1);
        no("pt-BR", "1e400", Err::Overflow);
        no("pt-BR", "&H100000000", Err::Overflow);
        no("pt-BR", "(-5)");
        no("pt-BR", "--5");
        no("pt-BR", "-5-");
        no("pt-BR", "(5");
        no("pt-BR", "1e");
        no("pt-BR", "e3");
        no("pt-BR", "&H");
        no("pt-BR", "&HG");
        no("pt-BR", "&O8");
        no("pt-BR", "1,2,3");
        no("pt-BR", ".");
        no("pt-BR", "R$");
        no("pt-BR", "5 5");
        no("pt-BR", "15/03/2026");
        no("pt-BR", "١٢"); // Arabic-Indic digits are not the runtime's digits
    }
    void numbers()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QFETCH(double, value);
        QFETCH(int, error);
        RegionalScope scope(settingsNamed(locale));
        QCOMPARE(IsNumeric(text), numeric);
        double got = NotANumber;
        QCOMPARE(errorOf([&] { got = CDbl(text); }), error);
        if (numeric)
            QCOMPARE(got, value);
        else
            QCOMPARE(got, double(NotANumber)); // untouched by the failed conversion
    }

    void isNumericOfOtherTypes()
    {
        QVERIFY(IsNumeric(Variant()));
        QVERIFY(IsNumeric(5));
        QVERIFY(IsNumeric(2.5));
        QVERIFY(IsNumeric(true));
        QVERIFY(!IsNumeric(Variant::null()));
        QVERIFY(!IsNumeric(dateAt(QDate(2026, 3, 15))));
        QVERIFY(!IsNumeric(StdFont::create()));
    }

    void dates_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date"); // invalid: not a date
        QTest::addColumn<QTime>("time");

        auto row = [](const char* loc, const char* text, QDate date, QTime time = QTime(0, 0)) {
            QTest::addRow("%s \"%s\"", loc, text)
                << QString::fromLatin1(loc) << QString::fromUtf8(text) << date << time;
        };
        auto no = [](const char* loc, const char* text) {
            QTest::addRow("%s \"%s\" not", loc, text)
                << QString::fromLatin1(loc) << QString::fromUtf8(text) << QDate() << QTime();
        };
        // The documented table.
        row("pt-BR", "15/03/2026", QDate(2026, 3, 15));
        row("pt-BR", "05/3/2026", QDate(2026, 3, 5));
        no("pt-BR", "31/02/2026");
        no("pt-BR", "00/01/0153");
        no("pt-BR", "12/25/2026");
        row("pt-BR", "01/01/0153", QDate(153, 1, 1));
        row("pt-BR", "05/03/29", QDate(2029, 3, 5));
        row("pt-BR", "05/03/30", QDate(1930, 3, 5));
        // Separators, ISO, names, short forms.
        row("pt-BR", "15-03-2026", QDate(2026, 3, 15));
        row("pt-BR", "15.03.2026", QDate(2026, 3, 15));
        row("pt-BR", " 15 / 03 / 2026 ", QDate(2026, 3, 15));
        row("pt-BR", "2026-03-15", QDate(2026, 3, 15));
        row("pt-BR", "2026/3/5", QDate(2026, 3, 5));
        row("pt-BR", "15 mar 2026", QDate(2026, 3, 15));
        row("pt-BR", "15/MARÇO/2026", QDate(2026, 3, 15));
        row("pt-BR", "15-fev-26", QDate(2026, 2, 15));
        row("pt-BR", "15 March 2026", QDate(2026, 3, 15));
        row("pt-BR", "March 15, 2026", QDate(2026, 3, 15));
        row("pt-BR", "dez 2026", QDate(2026, 12, 1));
        row("pt-BR", "15/03", QDate(2026, 3, 15));
        row("pt-BR", "1/5", QDate(2026, 5, 1));
        row("pt-BR", "29/02/2024", QDate(2024, 2, 29));
        row("pt-BR", "31/12/9999", QDate(9999, 12, 31));
        row("pt-BR", "1/1/100", QDate(100, 1, 1));
        no("pt-BR", "29/02/2025");
        no("pt-BR", "15/13/2026");
        no("pt-BR", "32/01/2026");
        no("pt-BR", "01/01/10000");
        no("pt-BR", "01/01/0099");
        no("pt-BR", "15//03/2026");
        no("pt-BR", "15/03/2026/");
        no("pt-BR", "/15/03/2026");
        no("pt-BR", "15/03/2026/1");
        no("pt-BR", "015/03/2026");
        no("pt-BR", "1.5");
        no("pt-BR", "1,5");
        no("pt-BR", "15 03");
        no("pt-BR", "15032026");
        no("pt-BR", "46096");
        no("pt-BR", "abc");
        no("pt-BR", "");
        no("pt-BR", "  ");
        no("pt-BR", "15 xyz 2026");
        no("pt-BR", "15 mar abr");
        no("pt-BR", "15/03/2026x");
        // Times, alone or after a date.
        row("pt-BR", "15/03/2026 14:05", QDate(2026, 3, 15), QTime(14, 5));
        row("pt-BR", "15/03/2026 14:05:09", QDate(2026, 3, 15), QTime(14, 5, 9));
        row("pt-BR", "15/03/2026 2:05 PM", QDate(2026, 3, 15), QTime(14, 5));
        row("pt-BR", "15/03/2026 12:30 am", QDate(2026, 3, 15), QTime(0, 30));
        row("pt-BR", "14:05:09", QDate(1899, 12, 30), QTime(14, 5, 9));
        row("pt-BR", "01/01/1800 06:00", QDate(1800, 1, 1), QTime(6, 0));
        no("pt-BR", "25:00");
        no("pt-BR", "15/03/2026 14:60");
        no("pt-BR", "15/03/2026 13:00 PM");
        no("pt-BR", "15/03/2026 14:05 XM");
        no("pt-BR", "15/03/2026 14");
        no("pt-BR", "15/03/2026 :05");
        no("pt-BR", "15/03/202614:05");
        no("pt-BR", "14:05:09:01");
        // The regional order decides; en-US reads month first.
        row("en-US", "12/25/2026", QDate(2026, 12, 25));
        row("en-US", "3/15/2026 2:05:09 PM", QDate(2026, 3, 15), QTime(14, 5, 9));
        row("en-US", "2026-03-15", QDate(2026, 3, 15));
        row("en-US", "March 15, 2026", QDate(2026, 3, 15));
        no("en-US", "15 de março de 2026"); // words between the fields are not read
        no("en-US", "15/03/2026");
    }
    void dates()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        RegionalScope scope(settingsNamed(locale));
        QCOMPARE(IsDate(text), date.isValid());
        Date got(-1.0);
        const int error = errorOf([&] { got = CDate(text); });
        if (!date.isValid()) {
            QCOMPARE(error, int(Err::TypeMismatch));
            QCOMPARE(got, Date(-1.0));
            return;
        }
        QCOMPARE(error, 0);
        QCOMPARE(got, dateAt(date, time));
        QCOMPARE(got.toQDate(), date);
        QCOMPARE(got.time(), time);
    }

    void dateOrderArgument()
    {
        {
            RegionalScope scope(Regional::enUS());
            QVERIFY(!IsDate(QStringLiteral("15/03/2026")));
            QVERIFY(IsDate(QStringLiteral("15/03/2026"), DateOrder::DMY));
            QCOMPARE(CDate(QStringLiteral("15/03/2026"), DateOrder::DMY).toQDate(),
                     QDate(2026, 3, 15));
        }
        RegionalScope scope(Regional::ptBR());
        QCOMPARE(CDate(QStringLiteral("03/15/2026"), DateOrder::MDY).toQDate(), QDate(2026, 3, 15));
        QCOMPARE(CDate(QStringLiteral("26/03/15"), DateOrder::YMD).toQDate(), QDate(2026, 3, 15));
        QVERIFY(!IsDate(QStringLiteral("15/03/2026"), DateOrder::YMD));
    }

    // Written back with the field's pattern, a date typed with a one-digit month gets two.
    void dateRoundTrip()
    {
        RegionalScope scope(Regional::ptBR());
        QCOMPARE(Format(CDate(QStringLiteral("05/3/2026")), QStringLiteral("dd/mm/yyyy")),
                 QStringLiteral("05/03/2026"));
        QCOMPARE(CStr(CDate(QStringLiteral("5/3/26"))), QStringLiteral("05/03/2026"));
        const Date withTime = CDate(QStringLiteral("15/03/2026 14:05:09"));
        QCOMPARE(CDate(CStr(withTime)), withTime);
    }

    void cdateOfOtherTypes()
    {
        QCOMPARE(CDate(46096.5), dateAt(QDate(2026, 3, 15), QTime(12, 0)));
        QCOMPARE(CDate(46096), dateAt(QDate(2026, 3, 15)));
        QCOMPARE(CDate(Variant()), Date());
        QCOMPARE(CDate(true), Date(-1.0));
        const Date d = dateAt(QDate(2026, 3, 15));
        QCOMPARE(CDate(d), d);
        QCOMPARE(Variant(d).toDate(), d);
        QCOMPARE(errorOf([] { CDate(1e10); }), int(Err::Overflow));
        QCOMPARE(errorOf([] { CDate(-657435.0); }), int(Err::Overflow));
        QCOMPARE(errorOf([] { CDate(-657434.0); }), 0);
        QCOMPARE(errorOf([] { CDate(Variant::null()); }), int(Err::InvalidUseOfNull));
        QCOMPARE(errorOf([] { CDate(QStringLiteral("abc")); }), int(Err::TypeMismatch));
        QCOMPARE(errorOf([] { CDate(StdFont::create()); }), int(Err::TypeMismatch));
        QVERIFY(IsDate(d));
        QVERIFY(!IsDate(46096));
        QVERIFY(!IsDate(Variant()));
        QVERIFY(!IsDate(Variant::null()));
    }

    void integerConversions_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<int>("integer"); // CInt; -99999 marks an error
        QTest::addColumn<int>("integerError");
        QTest::addColumn<qint64>("longValue");
        QTest::addColumn<int>("longError");

        auto row = [](const char* name, const Variant& v, int i, int ie, qint64 l, int le) {
            QTest::newRow(name) << v << i << ie << l << le;
        };
        row("12.5", 12.5, 12, 0, 12, 0);
        row("45.5", 45.5, 46, 0, 46, 0);
        row("0.5", 0.5, 0, 0, 0, 0);
        row("1.5", 1.5, 2, 0, 2, 0);
        row("-2.5", -2.5, -2, 0, -2, 0);
        row("text 12.5", "12.5", 12, 0, 12, 0);
        row("text 45,5", "45,5", 46, 0, 46, 0);
        row("text (3)", "(3)", -3, 0, -3, 0);
        row("32767.5", 32767.5, 0, Err::Overflow, 32768, 0);
        row("-32768.5", -32768.5, -32768, 0, -32768, 0);
        row("-32769", -32769, 0, Err::Overflow, -32769, 0);
        row("2147483647.5", 2147483647.5, 0, Err::Overflow, 0, Err::Overflow);
        row("text 1e400", "1e400", 0, Err::Overflow, 0, Err::Overflow);
        row("abc", "abc", 0, Err::TypeMismatch, 0, Err::TypeMismatch);
        row("empty text", "", 0, Err::TypeMismatch, 0, Err::TypeMismatch);
        row("True", true, -1, 0, -1, 0);
        row("False", false, 0, 0, 0, 0);
        row("Empty", Variant(), 0, 0, 0, 0);
        row("Null", Variant::null(), 0, Err::InvalidUseOfNull, 0, Err::InvalidUseOfNull);
        row("Single 2.5", 2.5f, 2, 0, 2, 0);
        row("Date", dateAt(QDate(2026, 3, 15), QTime(18, 0)), 0, Err::Overflow, 46097, 0);
        row("Font", StdFont::create(), 0, Err::TypeMismatch, 0, Err::TypeMismatch);
    }
    void integerConversions()
    {
        QFETCH(Variant, value);
        QFETCH(int, integer);
        QFETCH(int, integerError);
        QFETCH(qint64, longValue);
        QFETCH(int, longError);
        RegionalScope scope(Regional::ptBR());
        // On error the target keeps its value: the throw comes before the assignment.
        short target = 7;
        QCOMPARE(errorOf([&] { target = CInt(value); }), integerError);
        QCOMPARE(target, short(integerError ? 7 : integer));
        short member = 7;
        QCOMPARE(errorOf([&] { member = value.toInteger(); }), integerError);
        QCOMPARE(member, target);
        qint32 wide = 7;
        QCOMPARE(errorOf([&] { wide = CLng(value); }), longError);
        QCOMPARE(qint64(wide), longError ? 7 : longValue);
        qint32 wideMember = 7;
        QCOMPARE(errorOf([&] { wideMember = value.toLong(); }), longError);
        QCOMPARE(wideMember, wide);
    }

    void otherConversions()
    {
        RegionalScope scope(Regional::ptBR());
        QCOMPARE(CSng(QStringLiteral("1,5")), 1.5f);
        QCOMPARE(Variant(0.1).toSingle(), 0.1f);
        QCOMPARE(errorOf([] { CSng(1e39); }), int(Err::Overflow));
        QCOMPARE(CSng(-3.4e38), -3.4e38f);
        QCOMPARE(CDbl(0.1f), double(0.1f));
        QCOMPARE(CDbl(true), -1.0);
        QCOMPARE(CDbl(dateAt(QDate(2026, 3, 15), QTime(12, 0))), 46096.5);
        QCOMPARE(Variant(QStringLiteral("2,5")).toDouble(), 2.5);
        QCOMPARE(errorOf([] { CDbl(Variant::null()); }), int(Err::InvalidUseOfNull));
        QCOMPARE(errorOf([] { CDbl(PictureRef()); }), int(Err::TypeMismatch));
    }

    void booleans_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<Variant>("value");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<int>("error");
        QTest::newRow("0") << "pt-BR" << Variant(0) << false << 0;
        QTest::newRow("5") << "pt-BR" << Variant(5) << true << 0;
        QTest::newRow("-0.4") << "pt-BR" << Variant(-0.4) << true << 0;
        QTest::newRow("True text") << "pt-BR" << Variant("True") << true << 0;
        QTest::newRow("false text") << "pt-BR" << Variant("false") << false << 0;
        QTest::newRow("Verdadeiro") << "pt-BR" << Variant("Verdadeiro") << true << 0;
        QTest::newRow(" Falso ") << "pt-BR" << Variant(" Falso ") << false << 0;
        QTest::newRow("Verdadeiro en") << "en-US" << Variant("Verdadeiro") << false << 13;
        QTest::newRow("text 0") << "pt-BR" << Variant("0") << false << 0;
        QTest::newRow("text 0,1") << "pt-BR" << Variant("0,1") << true << 0;
        QTest::newRow("abc") << "pt-BR" << Variant("abc") << false << 13;
        QTest::newRow("Empty") << "pt-BR" << Variant() << false << 0;
        QTest::newRow("Null") << "pt-BR" << Variant::null() << false << 94;
        QTest::newRow("Boolean") << "pt-BR" << Variant(true) << true << 0;
    }
    void booleans()
    {
        QFETCH(QString, locale);
        QFETCH(Variant, value);
        QFETCH(bool, expected);
        QFETCH(int, error);
        RegionalScope scope(settingsNamed(locale));
        bool got = false;
        QCOMPARE(errorOf([&] { got = CBool(value); }), error);
        QCOMPARE(got, expected);
        QCOMPARE(errorOf([&] { got = value.toBoolean(); }), error);
        QCOMPARE(got, expected);
    }

    void dateParts()
    {
        RegionalScope scope(Regional::ptBR());
        const Date sunday = dateAt(QDate(2026, 3, 15), QTime(14, 5, 9));
        QCOMPARE(Year(sunday), short(2026));
        QCOMPARE(Month(sunday), short(3));
        QCOMPARE(Day(sunday), short(15));
        QCOMPARE(Weekday(sunday), short(1));
        QCOMPARE(Weekday(sunday, 2), short(7)); // weeks from Monday
        QCOMPARE(Weekday(sunday, 7), short(2)); // weeks from Saturday
        QCOMPARE(Weekday(dateAt(QDate(2026, 3, 21))), short(7));
        QCOMPARE(Day(dateAt(QDate(1899, 12, 29), QTime(23, 0))), short(29));
        QCOMPARE(errorOf([&] { Weekday(sunday, 8); }), int(Err::InvalidProcedureCall));
        QCOMPARE(errorOf([] { Year(Date(1e9)); }), int(Err::Overflow));

        QCOMPARE(DateSerial(2026, 3, 15), dateAt(QDate(2026, 3, 15)));
        QCOMPARE(DateSerial(2026, 13, 1), dateAt(QDate(2027, 1, 1)));
        QCOMPARE(DateSerial(2026, 3, 0), dateAt(QDate(2026, 2, 28)));
        QCOMPARE(DateSerial(2026, 0, 1), dateAt(QDate(2025, 12, 1)));
        QCOMPARE(DateSerial(2026, -13, 1), dateAt(QDate(2024, 11, 1)));
        QCOMPARE(DateSerial(2026, 2, 30), dateAt(QDate(2026, 3, 2)));
        QCOMPARE(DateSerial(26, 3, 15), dateAt(QDate(2026, 3, 15)));
        QCOMPARE(DateSerial(99, 1, 1), dateAt(QDate(1999, 1, 1)));
        QCOMPARE(DateSerial(1800, 1, 1), dateAt(QDate(1800, 1, 1)));
        QCOMPARE(errorOf([] { DateSerial(10000, 1, 1); }), int(Err::Overflow));
        QCOMPARE(errorOf([] { DateSerial(9999, 12, 32); }), int(Err::Overflow));
        QCOMPARE(errorOf([] { DateSerial(2026, 1, 2147483647); }), int(Err::Overflow));
        QCOMPARE(errorOf([] { DateSerial(2147483647, 2147483647, 1); }), int(Err::Overflow));

        QCOMPARE(Today(), dateAt(QDate(2026, 3, 15)));
        services().today = [] { return QDate(2030, 1, 2); };
        QCOMPARE(Today(), dateAt(QDate(2030, 1, 2)));
        QCOMPARE(CDate(QStringLiteral("15/03")).toQDate(), QDate(2030, 3, 15));
        services().today = [] { return QDate(2026, 3, 15); };

        QCOMPARE(MonthName(3), QString::fromUtf8("março"));
        QCOMPARE(MonthName(3, true), QStringLiteral("mar"));
        QCOMPARE(WeekdayName(1), QStringLiteral("domingo"));
        QCOMPARE(WeekdayName(7, true), QString::fromUtf8("sáb"));
        QCOMPARE(errorOf([] { MonthName(13); }), int(Err::InvalidProcedureCall));
        QCOMPARE(errorOf([] { WeekdayName(0); }), int(Err::InvalidProcedureCall));
        RegionalScope english(Regional::enUS());
        QCOMPARE(MonthName(12), QStringLiteral("December"));
        QCOMPARE(WeekdayName(2, true), QStringLiteral("Mon"));
    }

    void textFunctions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QString>("lower");
        QTest::newRow("ação") << QString::fromUtf8("ação") << QString::fromUtf8("AÇÃO")
                              << QString::fromUtf8("ação");
        QTest::newRow("straße") << QString::fromUtf8("straße") << QString::fromUtf8("STRAßE")
                                << QString::fromUtf8("straße");
        QTest::newRow("mixed") << QStringLiteral("Rua 25 de Março")
                               << QString::fromUtf8("RUA 25 DE MARÇO")
                               << QString::fromUtf8("rua 25 de março");
        // A letter outside the basic plane, written as a surrogate pair (Deseret).
        QTest::newRow("surrogates")
            << QString::fromUtf8("\xF0\x90\x90\xA8x") << QString::fromUtf8("\xF0\x90\x90\x80X")
            << QString::fromUtf8("\xF0\x90\x90\xA8x");
        const QString lone = QString(QChar(0xD801));
        QTest::newRow("lone surrogate") << QString(lone).append(u'a') << QString(lone).append(u'A')
                                        << QString(lone).append(u'a');
        QTest::newRow("empty") << QString() << QString() << QString();
    }
    void textFunctions()
    {
        QFETCH(QString, text);
        QFETCH(QString, upper);
        QFETCH(QString, lower);
        QCOMPARE(UCase(text), upper);
        QCOMPARE(LCase(upper), lower);
    }

    void trimming()
    {
        QCOMPARE(Trim(QStringLiteral("  a b  ")), QStringLiteral("a b"));
        QCOMPARE(LTrim(QStringLiteral("  a ")), QStringLiteral("a "));
        QCOMPARE(RTrim(QStringLiteral("  a ")), QStringLiteral("  a"));
        // Only spaces are trimmed, as the runtime does.
        QCOMPARE(Trim(QStringLiteral("\ta\t")), QStringLiteral("\ta\t"));
        QCOMPARE(Trim(QStringLiteral("   ")), QString());
    }
};

QTEST_GUILESS_MAIN(tst_parse)
#include "tst_parse.moc"
