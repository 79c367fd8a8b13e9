// The host's value types: number conversions, dates, colours, fonts, pictures, Variants.

#include "host/value/Conversions.h"
#include "host/value/Date.h"
#include "host/value/Fonts.h"
#include "host/value/OleColor.h"
#include "host/value/RuntimeError.h"
#include "host/value/StdFont.h"
#include "host/value/StdPicture.h"
#include "host/value/Variant.h"

#include <QBuffer>
#include <QFontInfo>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <functional>
#include <limits>

using namespace host;

using FontAction = std::function<void(StdFont&)>;
Q_DECLARE_METATYPE(FontAction)

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// The error number a call raises, 0 when it raises none.
int errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

QString describe(const StdFont& f)
{
    return QStringLiteral("%1|%2|%3|%4%5%6|%7")
        .arg(f.get_Name())
        .arg(f.get_Size())
        .arg(f.get_Weight())
        .arg(int(f.get_Italic()))
        .arg(int(f.get_Underline()))
        .arg(int(f.get_Strikethrough()))
        .arg(f.get_Charset());
}

// A picture whose every pixel differs from its neighbours, with some translucency.
QImage patternImage(QImage::Format format, int width = 7, int height = 5)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x * 30, y * 50, (x + y) * 17, 255 - x * 20));
    if (format == QImage::Format_Indexed8) {
        image = image.convertToFormat(QImage::Format_RGB32);
        return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    }
    return image.convertToFormat(format);
}

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray bigEndian(quint32 v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (24 - 8 * i)) & 0xFF);
    return b;
}

QByteArray pngChunk(const char* type, const QByteArray& data)
{
    const QByteArray typed = QByteArray(type) + data;
    return bigEndian(quint32(data.size())) + typed + bigEndian(crc32(typed));
}

// A well-formed PNG header claiming the given size, followed by a tiny, meaningless image body.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray ihdr = bigEndian(width) + bigEndian(height);
    ihdr += QByteArray("\x08\x06\x00\x00\x00", 5); // 8-bit RGBA, no interlace
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", ihdr) +
           pngChunk("IDAT", QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8)) +
           pngChunk("IEND", {});
}

} // namespace

class tst_Value : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runtimeError_data();
    void runtimeError();
    void runtimeErrorCarriesItsText();

    void integerConversions_data();
    void integerConversions();

    void dateOfDay_data();
    void dateOfDay();
    void dateAndTime_data();
    void dateAndTime();
    void dateRange_data();
    void dateRange();
    void dateSurvivesMidnightClockChange();

    void systemColors_data();
    void systemColors();
    void colorFromQColor();

    void fontChanges_data();
    void fontChanges();
    void fontIsShared();
    void fontCloneIsIndependent();
    void fontSameAs();
    void fontFamilies_data();
    void fontFamilies();
    void startUpRegistered();

    void pictureHimetric_data();
    void pictureHimetric();
    void picturePngRoundTrip_data();
    void picturePngRoundTrip();
    void pictureRefusesBadBytes_data();
    void pictureRefusesBadBytes();
    void pictureSideLimit();

    void variantType_data();
    void variantType();
    void variantEquality_data();
    void variantEquality();
    void variantObjects_data();
    void variantObjects();
};

// ---- RuntimeError

void tst_Value::runtimeError_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::newRow("5") << 5 << "Invalid procedure call or argument";
    QTest::newRow("6") << 6 << "Overflow";
    QTest::newRow("7") << 7 << "Out of memory";
    QTest::newRow("9") << 9 << "Subscript out of range";
    QTest::newRow("11") << 11 << "Division by zero";
    QTest::newRow("13") << 13 << "Type mismatch";
    QTest::newRow("91") << 91 << "Object variable or With block variable not set";
    QTest::newRow("94") << 94 << "Invalid use of Null";
    QTest::newRow("380") << 380 << "Invalid property value";
    QTest::newRow("381") << 381 << "Invalid property array index";
    QTest::newRow("400") << 400 << "Form already displayed; can't show modally";
    QTest::newRow("424") << 424 << "Object required";
    QTest::newRow("438") << 438 << "Object doesn't support this property or method";
    QTest::newRow("481") << 481 << "Invalid picture";
    QTest::newRow("unknown") << 1234 << "Application-defined or object-defined error";
    QTest::newRow("zero") << 0 << "Application-defined or object-defined error";
}

void tst_Value::runtimeError()
{
    QFETCH(int, number);
    QFETCH(QString, description);
    QCOMPARE(RuntimeError::standardDescription(number), description);
    try {
        raiseError(number);
        QFAIL("raiseError returned");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), number);
        QCOMPARE(e.description(), description);
        QVERIFY(e.source().isEmpty());
    }
}

void tst_Value::runtimeErrorCarriesItsText()
{
    const RuntimeError e(380, QStringLiteral("Valor inválido"), QStringLiteral("ProgressBar"));
    QCOMPARE(e.description(), QStringLiteral("Valor inválido"));
    QCOMPARE(e.source(), QStringLiteral("ProgressBar"));
    const QString what = QString::fromUtf8(e.what());
    QVERIFY2(what.contains(QLatin1String("380")) && what.contains(QStringLiteral("Valor inválido")),
             e.what());
}

// ---- CInt, CLng

void tst_Value::integerConversions_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("isLong");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<int>("error");

    auto row = [](const char* name, double v, bool isLong, qint64 expected, int error = 0) {
        QTest::newRow(name) << v << isLong << expected << error;
    };
    row("0.5", 0.5, false, 0);
    row("1.5", 1.5, false, 2);
    row("2.5", 2.5, false, 2);
    row("12.5", 12.5, false, 12);
    row("45.5", 45.5, false, 46);
    row("-0.5", -0.5, false, 0);
    row("-1.5", -1.5, false, -2);
    row("-2.5", -2.5, false, -2);
    row("just below a half", 0.49999999999999994, false, 0);
    row("just above a half", 2.5000000000000004, false, 3);
    row("-2.4", -2.4, false, -2);
    row("-2.6", -2.6, false, -3);
    row("32767.49", 32767.49, false, 32767);
    row("32767.5", 32767.5, false, 0, 6);
    row("32768", 32768, false, 0, 6);
    row("-32768.5", -32768.5, false, -32768);
    row("-32768.51", -32768.51, false, 0, 6);
    row("1e300", 1e300, false, 0, 6);
    row("NaN", NaN, false, 0, 6);
    row("inf", Inf, false, 0, 6);
    row("-inf", -Inf, false, 0, 6);
    row("long 4.5", 4.5, true, 4);
    row("long 40000", 40000, true, 40000);
    row("long 2147483646.5", 2147483646.5, true, 2147483646);
    row("long 2147483647.5", 2147483647.5, true, 0, 6);
    row("long -2147483648.5", -2147483648.5, true, -2147483648LL);
    row("long -2147483649.5", -2147483649.5, true, 0, 6);
    row("long NaN", NaN, true, 0, 6);
    row("long -inf", -Inf, true, 0, 6);
}

void tst_Value::integerConversions()
{
    QFETCH(double, value);
    QFETCH(bool, isLong);
    QFETCH(qint64, expected);
    QFETCH(int, error);

    // The target is assigned only when the conversion succeeds.
    short integerTarget = 7;
    qint32 longTarget = 7;
    const int raised = errorOf([&] {
        if (isLong)
            longTarget = CLng(value);
        else
            integerTarget = CInt(value);
    });
    QCOMPARE(raised, error);
    if (error) {
        QCOMPARE(integerTarget, short(7));
        QCOMPARE(longTarget, 7);
    } else if (isLong) {
        QCOMPARE(qint64(longTarget), expected);
    } else {
        QCOMPARE(qint64(integerTarget), expected);
        QCOMPARE(roundHalfEven(value), double(expected));
    }
}

// ---- Date

void tst_Value::dateOfDay_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<double>("serial");
    QTest::newRow("epoch") << QDate(1899, 12, 30) << 0.0;
    QTest::newRow("31/12/1899") << QDate(1899, 12, 31) << 1.0;
    QTest::newRow("29/12/1899") << QDate(1899, 12, 29) << -1.0;
    QTest::newRow("1/3/1900") << QDate(1900, 3, 1) << 61.0;
    QTest::newRow("15/03/2026") << QDate(2026, 3, 15) << 46096.0;
    QTest::newRow("1/1/100") << QDate(100, 1, 1) << -657434.0;
    QTest::newRow("31/12/9999") << QDate(9999, 12, 31) << 2958465.0;
}

void tst_Value::dateOfDay()
{
    QFETCH(QDate, day);
    QFETCH(double, serial);
    QCOMPARE(Date::fromQDate(day).serial(), serial);
    const Date date(serial);
    QVERIFY(date.isValid());
    QCOMPARE(date.toQDate(), day);
    QVERIFY(!date.hasTime());
    QCOMPARE(date.time(), QTime(0, 0));
}

void tst_Value::dateAndTime_data()
{
    QTest::addColumn<double>("serial");
    QTest::addColumn<QDateTime>("expected");
    QTest::addColumn<bool>("roundTrips"); // fromQDateTime(expected) gives the serial back

    auto at = [](int y, int mo, int d, int h, int mi, int s = 0) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
    };
    QTest::newRow("-1.25") << -1.25 << at(1899, 12, 29, 6, 0) << true;
    QTest::newRow("-1.75") << -1.75 << at(1899, 12, 29, 18, 0) << true;
    QTest::newRow("0.5") << 0.5 << at(1899, 12, 30, 12, 0) << true;
    QTest::newRow("-0.5 is the same moment") << -0.5 << at(1899, 12, 30, 12, 0) << false;
    QTest::newRow("1.75") << 1.75 << at(1899, 12, 31, 18, 0) << true;
    QTest::newRow("15/03/2026 14:30") << 46096.0 + 14.5 / 24 << at(2026, 3, 15, 14, 30) << true;
    QTest::newRow("1/1/100 12:00") << -657434.5 << at(100, 1, 1, 12, 0) << true;
    QTest::newRow("last second") << 2958465.99999 << at(9999, 12, 31, 23, 59, 59) << false;
    QTest::newRow("rounds to next midnight")
        << 1.9999999 << at(1900, 1, 1, 0, 0) << false; // 23:59:59.99 counts as the next day
    QTest::newRow("negative rounds forward") << -1.9999999 << at(1899, 12, 30, 0, 0) << false;
    QTest::newRow("rounds down") << 2.0 + 10.4 / 86400 << at(1900, 1, 1, 0, 0, 10) << false;
}

void tst_Value::dateAndTime()
{
    QFETCH(double, serial);
    QFETCH(QDateTime, expected);
    QFETCH(bool, roundTrips);
    const Date date(serial);
    QVERIFY(date.isValid());
    QCOMPARE(date.toQDateTime(), expected);
    QCOMPARE(date.toQDate(), expected.date());
    QCOMPARE(date.time(), expected.time());
    QCOMPARE(date.hasTime(), expected.time() != QTime(0, 0));
    const double back = Date::fromQDateTime(expected).serial();
    if (roundTrips)
        QVERIFY2(std::fabs(back - serial) < 1e-9, qPrintable(QString::number(back, 'g', 17)));
    // Whatever the representation, the value read back is the same moment.
    QCOMPARE(Date(back).toQDateTime(), expected);
}

void tst_Value::dateRange_data()
{
    QTest::addColumn<double>("serial");
    QTest::addColumn<bool>("valid");
    QTest::newRow("zero") << 0.0 << true;
    QTest::newRow("first day") << -657434.0 << true;
    QTest::newRow("first day, last second") << -657434.99998 << true;
    QTest::newRow("day before the first") << -657435.0 << false;
    QTest::newRow("last second") << 2958465.99999 << true;
    QTest::newRow("day after the last") << 2958466.0 << false;
    QTest::newRow("rounds past the last day") << 2958465.999999 << false;
    QTest::newRow("huge") << 1e300 << false;
    QTest::newRow("huge negative") << -1e300 << false;
    QTest::newRow("NaN") << NaN << false;
    QTest::newRow("inf") << Inf << false;
}

void tst_Value::dateRange()
{
    QFETCH(double, serial);
    QFETCH(bool, valid);
    const Date date(serial);
    QCOMPARE(date.isValid(), valid);
    QCOMPARE(date.toQDate().isValid(), valid);
    QCOMPARE(date.toQDateTime().isValid(), valid);
}

void tst_Value::dateSurvivesMidnightClockChange()
{
    // On 4 Nov 2018 the clocks in São Paulo went from 00:00 straight to 01:00: a date value of
    // that day must still read as the day at 00:00, and come back to the same serial.
    const QByteArray savedTz = qgetenv("TZ");
    qputenv("TZ", "America/Sao_Paulo");
    const Date day(43408.0);
    const QDateTime dateTime = day.toQDateTime();
    const bool valid = dateTime.isValid();
    const QDateTime minuteLater = dateTime.addSecs(60);
    const double back = Date::fromQDateTime(dateTime).serial();
    if (savedTz.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", savedTz);
    QVERIFY(valid);
    QCOMPARE(dateTime.date(), QDate(2018, 11, 4));
    QCOMPARE(dateTime.time(), QTime(0, 0));
    QCOMPARE(minuteLater.time(), QTime(0, 1));
    QCOMPARE(back, 43408.0);
}

// ---- Colours

void tst_Value::systemColors_data()
{
    QTest::addColumn<quint32>("color");
    QTest::addColumn<QColor>("expected"); // invalid: error 380

    QTest::newRow("5 window") << SystemColor::WindowBackground << QColor(255, 255, 255);
    QTest::newRow("8 window text") << SystemColor::WindowText << QColor(0, 0, 0);
    QTest::newRow("9 caption text") << systemColor(9) << QColor(255, 255, 255);
    QTest::newRow("13 highlight") << systemColor(13) << QColor(49, 106, 197);
    QTest::newRow("14 highlight text") << 0x8000000Eu << QColor(255, 255, 255);
    QTest::newRow("15 button face") << 0x8000000Fu << QColor(236, 233, 216);
    QTest::newRow("18 button text") << systemColor(18) << QColor(0, 0, 0);
    QTest::newRow("24 tool-tip") << systemColor(24) << QColor(255, 255, 225);
    QTest::newRow("0 scroll bar") << systemColor(0) << QColor(212, 208, 200);
    QTest::newRow("21 dark shadow") << systemColor(21) << QColor(113, 111, 100);
    QTest::newRow("25 hot-light") << systemColor(25) << QColor(0, 0, 128);
    QTest::newRow("26 gradient") << systemColor(26) << QColor(61, 149, 255);
    QTest::newRow("30 form") << systemColor(30) << QColor(236, 233, 216);
    QTest::newRow("plain red") << 0x000000FFu << QColor(255, 0, 0);
    QTest::newRow("plain blue") << 0x00FF0000u << QColor(0, 0, 255);
    QTest::newRow("panel blue") << 0x00FFC0C0u << QColor(192, 192, 255);
    QTest::newRow("index 31") << systemColor(31) << QColor();
    QTest::newRow("index 255") << 0x800000FFu << QColor();
    QTest::newRow("stray bits with flag") << 0x80010005u << QColor();
    QTest::newRow("palette index") << 0x01000000u << QColor();
    QTest::newRow("palette rgb") << 0x02FFFFFFu << QColor();
    QTest::newRow("all ones") << 0xFFFFFFFFu << QColor();
}

void tst_Value::systemColors()
{
    QFETCH(quint32, color);
    QFETCH(QColor, expected);
    if (!expected.isValid()) {
        QCOMPARE(errorOf([&] { translateColor(color); }), 380);
        QCOMPARE(errorOf([&] { toQColor(color); }), 380);
        return;
    }
    QCOMPARE(toQColor(color), expected);
    QCOMPARE(translateColor(color), RGB(expected.red(), expected.green(), expected.blue()));
    QVERIFY(!isSystemColor(translateColor(color)));
}

void tst_Value::colorFromQColor()
{
    QCOMPARE(fromQColor(QColor(1, 2, 3)), 0x00030201u);
    QCOMPARE(fromQColor(QColor(10, 20, 30, 0)), RGB(10, 20, 30)); // alpha ignored
    QCOMPARE(fromQColor(QColor::fromHsv(0, 255, 255)), RGB(255, 0, 0));
    QCOMPARE(toQColor(fromQColor(QColor(200, 100, 50))), QColor(200, 100, 50));
}

// ---- StdFont

void tst_Value::fontChanges_data()
{
    QTest::addColumn<FontAction>("action");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("emits");
    QTest::addColumn<QString>("after"); // name|size|weight|italic underline strike|charset

    const QString start = QStringLiteral("MS Sans Serif|8.25|400|000|0");
    auto row = [](const char* name, FontAction a, int error, int emits, const QString& after) {
        QTest::newRow(name) << a << error << emits << after;
    };
    row(
        "same name", [](StdFont& f) { f.put_Name(QStringLiteral("MS Sans Serif")); }, 0, 0, start);
    row(
        "new name", [](StdFont& f) { f.put_Name(QStringLiteral("Arial")); }, 0, 1,
        "Arial|8.25|400|000|0");
    row(
        "name case", [](StdFont& f) { f.put_Name(QStringLiteral("ms sans serif")); }, 0, 1,
        "ms sans serif|8.25|400|000|0");
    row(
        "same size", [](StdFont& f) { f.put_Size(8.25); }, 0, 0, start);
    row(
        "new size", [](StdFont& f) { f.put_Size(12); }, 0, 1, "MS Sans Serif|12|400|000|0");
    row(
        "largest size", [](StdFont& f) { f.put_Size(2160); }, 0, 1, "MS Sans Serif|2160|400|000|0");
    row(
        "size 0", [](StdFont& f) { f.put_Size(0); }, 380, 0, start);
    row(
        "negative size", [](StdFont& f) { f.put_Size(-8); }, 380, 0, start);
    row(
        "size too big", [](StdFont& f) { f.put_Size(2160.5); }, 380, 0, start);
    row(
        "size NaN", [](StdFont& f) { f.put_Size(NaN); }, 380, 0, start);
    row(
        "bold", [](StdFont& f) { f.put_Bold(true); }, 0, 1, "MS Sans Serif|8.25|700|000|0");
    row(
        "not bold again", [](StdFont& f) { f.put_Bold(false); }, 0, 0, start);
    row(
        "bold twice",
        [](StdFont& f) {
            f.put_Bold(true);
            f.put_Bold(true);
        },
        0, 1, "MS Sans Serif|8.25|700|000|0");
    row(
        "weight 700 then bold",
        [](StdFont& f) {
            f.put_Weight(700);
            f.put_Bold(true);
        },
        0, 1, "MS Sans Serif|8.25|700|000|0");
    row(
        "bold back off",
        [](StdFont& f) {
            f.put_Bold(true);
            f.put_Bold(false);
        },
        0, 2, start);
    row(
        "weight 0", [](StdFont& f) { f.put_Weight(0); }, 0, 1, "MS Sans Serif|8.25|0|000|0");
    row(
        "weight 1000", [](StdFont& f) { f.put_Weight(1000); }, 0, 1,
        "MS Sans Serif|8.25|1000|000|0");
    row(
        "weight -1", [](StdFont& f) { f.put_Weight(-1); }, 380, 0, start);
    row(
        "weight 1001", [](StdFont& f) { f.put_Weight(1001); }, 380, 0, start);
    row(
        "italic", [](StdFont& f) { f.put_Italic(true); }, 0, 1, "MS Sans Serif|8.25|400|100|0");
    row(
        "underline", [](StdFont& f) { f.put_Underline(true); }, 0, 1,
        "MS Sans Serif|8.25|400|010|0");
    row(
        "strikethrough", [](StdFont& f) { f.put_Strikethrough(true); }, 0, 1,
        "MS Sans Serif|8.25|400|001|0");
    row(
        "no italic", [](StdFont& f) { f.put_Italic(false); }, 0, 0, start);
    row(
        "charset", [](StdFont& f) { f.put_Charset(2); }, 0, 1, "MS Sans Serif|8.25|400|000|2");
    row(
        "same charset", [](StdFont& f) { f.put_Charset(0); }, 0, 0, start);
}

void tst_Value::fontChanges()
{
    QFETCH(FontAction, action);
    QFETCH(int, error);
    QFETCH(int, emits);
    QFETCH(QString, after);

    const FontRef font = StdFont::create();
    QSignalSpy spy(font.get(), &StdFont::changed);
    QCOMPARE(errorOf([&] { action(*font); }), error);
    QCOMPARE(spy.count(), emits);
    QCOMPARE(describe(*font), after);
    QCOMPARE(font->get_Bold(), font->get_Weight() >= 550);
}

void tst_Value::fontIsShared()
{
    const FontRef first = StdFont::create(QStringLiteral("Arial"), 10);
    const FontRef second = first; // a second holder, as a control and its child label
    QSignalSpy spy(first.get(), &StdFont::changed);
    second->put_Bold(true);
    second->put_Size(14);
    QVERIFY(first->get_Bold());
    QCOMPARE(first->get_Size(), 14.0);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(first->toQFont().pointSizeF(), 14.0);
}

void tst_Value::fontCloneIsIndependent()
{
    const FontRef original = StdFont::create(QStringLiteral("Times New Roman"), 9, true);
    original->put_Underline(true);
    original->put_Charset(1);
    const FontRef copy = original->clone();
    QVERIFY(copy != original);
    QCOMPARE(describe(*copy), describe(*original));
    QVERIFY(copy->sameAs(*original));

    QSignalSpy originalSpy(original.get(), &StdFont::changed);
    QSignalSpy copySpy(copy.get(), &StdFont::changed);
    copy->put_Name(QStringLiteral("Arial"));
    copy->put_Size(20);
    QCOMPARE(original->get_Name(), QStringLiteral("Times New Roman"));
    QCOMPARE(original->get_Size(), 9.0);
    QCOMPARE(originalSpy.count(), 0);
    QCOMPARE(copySpy.count(), 2);
    QVERIFY(!copy->sameAs(*original));
}

void tst_Value::fontSameAs()
{
    const FontRef base = StdFont::create(QStringLiteral("MS Sans Serif"), 8.25);
    QVERIFY(base->sameAs(*StdFont::create(QStringLiteral("ms SANS serif"), 8.25)));
    const std::vector<FontAction> changes = {
        [](StdFont& f) { f.put_Name(QStringLiteral("Arial")); },
        [](StdFont& f) { f.put_Size(8.5); },
        [](StdFont& f) { f.put_Weight(401); },
        [](StdFont& f) { f.put_Italic(true); },
        [](StdFont& f) { f.put_Underline(true); },
        [](StdFont& f) { f.put_Strikethrough(true); },
        [](StdFont& f) { f.put_Charset(1); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const FontRef other = base->clone();
        changes[i](*other);
        QVERIFY2(!base->sameAs(*other), qPrintable(QString::number(i)));
        QVERIFY2(!other->sameAs(*base), qPrintable(QString::number(i)));
    }
    QCOMPARE(errorOf([] { StdFont(QStringLiteral("Arial"), 0); }), 380);
}

void tst_Value::fontFamilies_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("family");
    QTest::newRow("MS Sans Serif") << "MS Sans Serif"
                                   << "Liberation Sans";
    QTest::newRow("lower case") << "ms sans serif"
                                << "Liberation Sans";
    QTest::newRow("Arial") << "Arial"
                           << "Liberation Sans";
    QTest::newRow("Tahoma") << "Tahoma"
                            << "Liberation Sans";
    QTest::newRow("Verdana") << "Verdana"
                             << "Liberation Sans";
    QTest::newRow("Microsoft Sans Serif") << "Microsoft Sans Serif"
                                          << "Liberation Sans";
    QTest::newRow("Arial Black") << "Arial Black"
                                 << "Liberation Sans";
    QTest::newRow("Times New Roman") << "Times New Roman"
                                     << "Liberation Serif";
    QTest::newRow("Courier New") << "Courier New"
                                 << "Liberation Mono";
    QTest::newRow("installed face kept") << "DejaVu Serif"
                                         << "DejaVu Serif";
}

void tst_Value::fontFamilies()
{
    QFETCH(QString, face);
    QFETCH(QString, family);
    QCOMPARE(qtFamilyFor(face), family);

    // What is really drawn with, through the host's conversion and through a plain QFont.
    const QFont converted = StdFont(face, 8.25).toQFont();
    QCOMPARE(QFontInfo(converted).family(), family);
    QCOMPARE(QFontInfo(QFont(face, 8)).family(), family);
    QCOMPARE(converted.pointSizeF(), 8.25);
    const bool black = face == QLatin1String("Arial Black");
    QCOMPARE(converted.weight(), black ? QFont::Black : QFont::Normal);

    const QFont styled = qtFontFor(face, 12, 700, true, true, true);
    QCOMPARE(QFontInfo(styled).family(), family);
    QCOMPARE(styled.weight(), black ? QFont::Black : QFont::Bold);
    QVERIFY(styled.italic() && styled.underline() && styled.strikeOut());
    QVERIFY(QFontInfo(styled).bold());
}

void tst_Value::startUpRegistered()
{
    // Registered by the host when the application object was created, with no call from here.
    QVERIFY(QFont::substitutes(QStringLiteral("MS Sans Serif"))
                .contains(QStringLiteral("Liberation Sans"), Qt::CaseInsensitive));
    registerFontSubstitutions(); // again: harmless
    QCOMPARE(QFont::substitutes(QStringLiteral("Arial Black")).size(), 1);
    QVERIFY(QMetaType::fromName("host::Variant").isValid());
    QVERIFY(QMetaType::fromName("host::FontRef").isValid());
    QVERIFY(QMetaType::fromName("host::PictureRef").isValid());
    // The weight 0 of the runtime ("don't care") is drawn at normal weight.
    QCOMPARE(qtFontFor(QStringLiteral("Arial"), 10, 0).weight(), QFont::Normal);
}

// ---- StdPicture

void tst_Value::pictureHimetric_data()
{
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("1x13") << QSize(1, 13) << 26 << 344;
    QTest::newRow("16x16") << QSize(16, 16) << 423 << 423;
    QTest::newRow("18x21") << QSize(18, 21) << 476 << 556;
    QTest::newRow("96x240") << QSize(96, 240) << 2540 << 6350;
}

void tst_Value::pictureHimetric()
{
    QFETCH(QSize, pixels);
    QFETCH(int, width);
    QFETCH(int, height);
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    const PictureRef picture = StdPicture::create(image);
    QCOMPARE(picture->get_Width(), width);
    QCOMPARE(picture->get_Height(), height);
    QCOMPARE(picture->widthPixels(), pixels.width());
}

void tst_Value::picturePngRoundTrip_data()
{
    QTest::addColumn<QImage>("image");
    QTest::newRow("ARGB32") << patternImage(QImage::Format_ARGB32);
    QTest::newRow("RGB32") << patternImage(QImage::Format_RGB32);
    QTest::newRow("indexed") << patternImage(QImage::Format_Indexed8);
    QTest::newRow("one pixel") << patternImage(QImage::Format_ARGB32, 1, 1);
    QTest::newRow("strip 90x21") << patternImage(QImage::Format_RGB32, 90, 21);
}

void tst_Value::picturePngRoundTrip()
{
    QFETCH(QImage, image);
    const PictureRef picture = StdPicture::create(image);
    const QByteArray png = picture->toPng();
    QVERIFY(png.startsWith("\x89PNG"));
    const PictureRef back = StdPicture::fromPng(png);
    QVERIFY(back);
    QCOMPARE(back->image().size(), image.size());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            QCOMPARE(back->image().pixel(x, y), image.pixel(x, y));
    QVERIFY(back->samePixels(*picture));
    QVERIFY(Variant(back) == Variant(picture));
}

void tst_Value::pictureRefusesBadBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = StdPicture(patternImage(QImage::Format_ARGB32, 40, 30)).toPng();
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    patternImage(QImage::Format_RGB32).save(&buffer, "BMP");
    QByteArray garbled = good;
    for (qsizetype i = 60; i < garbled.size() - 12; ++i)
        garbled[i] = char(garbled[i] ^ 0x5A);

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("not a picture at all");
    QTest::newRow("signature only") << good.left(8);
    QTest::newRow("truncated header") << good.left(20);
    QTest::newRow("truncated body") << good.left(good.size() / 2);
    QTest::newRow("garbled body") << garbled;
    QTest::newRow("not PNG") << bmp;
    QTest::newRow("claims 100000 x 100000") << pngClaiming(100000, 100000);
    QTest::newRow("claims 16385 x 1") << pngClaiming(16385, 1);
    QTest::newRow("claims 16384 x 16384") << pngClaiming(16384, 16384);
    QTest::newRow("claims 0 x 5") << pngClaiming(0, 5);
    QTest::newRow("claims 2^31 x 1") << pngClaiming(0x80000000u, 1);
}

void tst_Value::pictureRefusesBadBytes()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!StdPicture::fromPng(bytes));
}

void tst_Value::pictureSideLimit()
{
    // Real, decodable images: the limit is on the size, not on a failure to decode.
    QImage widest(StdPicture::MaxSide, 1, QImage::Format_RGB32);
    widest.fill(Qt::red);
    QImage tooWide(StdPicture::MaxSide + 1, 1, QImage::Format_RGB32);
    tooWide.fill(Qt::red);
    const PictureRef accepted = StdPicture::fromPng(StdPicture(widest).toPng());
    QVERIFY(accepted);
    QCOMPARE(accepted->widthPixels(), StdPicture::MaxSide);
    QVERIFY(!StdPicture::fromPng(StdPicture(tooWide).toPng()));
    QVERIFY(!StdPicture::fromPng(StdPicture(tooWide.transformed(QTransform().rotate(90))).toPng()));
    QVERIFY(StdPicture(QImage()).toPng().isEmpty());
}

// ---- Variant

void tst_Value::variantType_data()
{
    QTest::addColumn<Variant>("value");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("numeric");

    auto row = [](const char* n, const Variant& v, VarType t, const char* name, bool numeric) {
        QTest::newRow(n) << v << int(t) << QString::fromLatin1(name) << numeric;
    };
    row("empty", Variant(), VarType::Empty, "Empty", false);
    row("null", Variant::null(), VarType::Null, "Null", false);
    row("short", Variant(short(5)), VarType::Integer, "Integer", true);
    row("int", Variant(5), VarType::Long, "Long", true);
    row("colour", Variant(0x8000000Fu), VarType::Long, "Long", true);
    row("float", Variant(1.5f), VarType::Single, "Single", true);
    row("double", Variant(1.5), VarType::Double, "Double", true);
    row("bool", Variant(true), VarType::Boolean, "Boolean", true);
    row("C text", Variant("abc"), VarType::String, "String", false);
    row("digits text", Variant(QStringLiteral("12")), VarType::String, "String", false);
    row("date", Variant(Date(46096)), VarType::Date, "Date", false);
    row("font", Variant(StdFont::create()), VarType::Object, "StdFont", false);
    row("picture", Variant(StdPicture::create(QImage(2, 2, QImage::Format_RGB32))), VarType::Object,
        "StdPicture", false);
    row("no font", Variant(FontRef()), VarType::Object, "Nothing", false);
}

void tst_Value::variantType()
{
    QFETCH(Variant, value);
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(bool, numeric);
    QCOMPARE(int(value.type()), type);
    QCOMPARE(value.typeName(), name);
    QCOMPARE(value.isNumeric(), numeric);
    QCOMPARE(value.isEmpty(), type == int(VarType::Empty));
    QCOMPARE(value.isNull(), type == int(VarType::Null));
    QCOMPARE(value.isObject(), type == int(VarType::Object));
    // A copy through QVariant (signals, item models) keeps the value.
    QVERIFY(QVariant::fromValue(value).value<Variant>() == value);
}

void tst_Value::variantEquality_data()
{
    QTest::addColumn<Variant>("a");
    QTest::addColumn<Variant>("b");
    QTest::addColumn<bool>("equal");

    const FontRef font = StdFont::create(QStringLiteral("Arial"), 10, true);
    const FontRef sameFont = StdFont::create(QStringLiteral("ARIAL"), 10, true);
    const FontRef otherFont = StdFont::create(QStringLiteral("Arial"), 11, true);
    const PictureRef picture = StdPicture::create(patternImage(QImage::Format_ARGB32));
    const PictureRef samePixels = StdPicture::create(patternImage(QImage::Format_ARGB32));
    QImage changed = patternImage(QImage::Format_ARGB32);
    changed.setPixel(3, 3, qRgba(1, 2, 3, 255));
    const PictureRef otherPicture = StdPicture::create(changed);

    auto row = [](const char* n, const Variant& a, const Variant& b, bool eq) {
        QTest::newRow(n) << a << b << eq;
    };
    row("Integer and Long", short(1), 1, true);
    row("Integer and Double", short(1), 1.0, true);
    row("Single and Double", 0.5f, 0.5, true);
    row("Single 0.1 and Double 0.1", 0.1f, 0.1, false);
    row("True and -1", true, short(-1), true);
    row("True and 1", true, short(1), false);
    row("False and Long 0", false, 0, true);
    row("colour bits", 0x8000000Fu, qint32(0x8000000F), true);
    row("different numbers", short(1), short(2), false);
    row("NaN", NaN, NaN, false);
    row("Empty and Empty", Variant(), Variant(), true);
    row("Empty and 0", Variant(), 0, false);
    row("Empty and empty text", Variant(), "", false);
    row("Null and Null", Variant::null(), Variant::null(), true);
    row("Null and Empty", Variant::null(), Variant(), false);
    row("texts", "Nome", QStringLiteral("Nome"), true);
    row("texts differ in case", "abc", "ABC", false);
    row("text and number", "1", short(1), false);
    row("dates", Date(46096.5), Date(46096.5), true);
    row("date and its serial", Date(5), 5.0, false);
    row("fonts alike", font, sameFont, true);
    row("same font", font, font, true);
    row("fonts differ", font, otherFont, false);
    row("pictures alike", picture, samePixels, true);
    row("pictures differ", picture, otherPicture, false);
    row("font and picture", font, picture, false);
    row("Nothing and Nothing", FontRef(), PictureRef(), true);
    row("Nothing and a font", FontRef(), font, false);
    row("Nothing and Empty", FontRef(), Variant(), false);
}

void tst_Value::variantEquality()
{
    QFETCH(Variant, a);
    QFETCH(Variant, b);
    QFETCH(bool, equal);
    QCOMPARE(a == b, equal);
    QCOMPARE(b == a, equal);
}

void tst_Value::variantObjects_data()
{
    QTest::addColumn<Variant>("value");
    QTest::addColumn<bool>("wantFont");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("nothing"); // the result is null

    const FontRef font = StdFont::create();
    const PictureRef picture = StdPicture::create(QImage(1, 1, QImage::Format_RGB32));
    QTest::newRow("font") << Variant(font) << true << 0 << false;
    QTest::newRow("picture") << Variant(picture) << false << 0 << false;
    QTest::newRow("empty as font") << Variant() << true << 0 << true;
    QTest::newRow("null as picture") << Variant::null() << false << 0 << true;
    QTest::newRow("Nothing as font") << Variant(PictureRef()) << true << 0 << true;
    QTest::newRow("picture as font") << Variant(picture) << true << 13 << true;
    QTest::newRow("font as picture") << Variant(font) << false << 13 << true;
    QTest::newRow("number as font") << Variant(short(0)) << true << 13 << true;
    QTest::newRow("text as picture") << Variant("x") << false << 13 << true;
}

void tst_Value::variantObjects()
{
    QFETCH(Variant, value);
    QFETCH(bool, wantFont);
    QFETCH(int, error);
    QFETCH(bool, nothing);
    bool isNull = true;
    QCOMPARE(errorOf([&] { isNull = wantFont ? !value.toFont() : !value.toPicture(); }), error);
    QCOMPARE(isNull, nothing);
    if (!nothing && wantFont) QCOMPARE(value.toFont(), std::get<FontRef>(value.storage()));
    if (!nothing && !wantFont) QCOMPARE(value.toPicture(), std::get<PictureRef>(value.storage()));
}

QTEST_MAIN(tst_Value)
#include "tst_value.moc"
