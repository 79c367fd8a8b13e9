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
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <functional>
#include <limits>

using namespace host;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

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

// Applies "Name=Arial;Size=12;Bold=1"-style property changes in order.
void apply(StdFont& f, const QString& ops)
{
    for (const QString& op : ops.split(QLatin1Char(';'))) {
        const QString key = op.section(QLatin1Char('='), 0, 0), v = op.section(QLatin1Char('='), 1);
        const bool on = v == QLatin1String("1");
        if (key == u"Name") f.put_Name(v);
        if (key == u"Size") f.put_Size(v.toDouble());
        if (key == u"Weight") f.put_Weight(short(v.toInt()));
        if (key == u"Bold") f.put_Bold(on);
        if (key == u"Italic") f.put_Italic(on);
        if (key == u"Underline") f.put_Underline(on);
        if (key == u"Strikethrough") f.put_Strikethrough(on);
        if (key == u"Charset") f.put_Charset(short(v.toInt()));
    }
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

QByteArray saved(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray littleEndian(quint32 v, int size)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes += char((v >> (8 * i)) & 0xFF);
    return bytes;
}

// A two-colour GIF (red 0, blue 1) of the given pixels. Qt writes no GIF, so it is made here;
// each pixel follows a clear code, which keeps every LZW code 3 bits wide.
QByteArray gifOf(quint16 width, quint16 height, const QList<int>& pixels)
{
    QByteArray gif("GIF89a");
    gif += littleEndian(width, 2) + littleEndian(height, 2);
    gif += QByteArray("\x80\x00\x00\xFF\x00\x00\x00\x00\xFF", 9); // 2-entry colour table
    gif += char(0x2C) + littleEndian(0, 4) + littleEndian(width, 2) + littleEndian(height, 2);
    gif += char(0);
    gif += char(2); // LZW minimum code size: clear 4, end 5
    QList<int> codes;
    for (int p : pixels)
        codes << 4 << p;
    codes << 5;
    QByteArray data;
    quint32 acc = 0;
    int bits = 0;
    for (int c : codes) {
        acc |= quint32(c) << bits;
        for (bits += 3; bits >= 8; bits -= 8, acc >>= 8)
            data += char(acc & 0xFF);
    }
    if (bits > 0) data += char(acc & 0xFF);
    gif += char(data.size()) + data + char(0) + char(0x3B);
    return gif;
}

// A 24-bit BMP header claiming width x height, followed by a few bytes of pixels.
QByteArray bmpClaiming(qint32 width, qint32 height)
{
    QByteArray bmp("BM");
    bmp += littleEndian(54 + 16, 4) + littleEndian(0, 4) + littleEndian(54, 4);
    bmp += littleEndian(40, 4) + littleEndian(quint32(width), 4) + littleEndian(quint32(height), 4);
    bmp += littleEndian(1, 2) + littleEndian(24, 2) + littleEndian(0, 4) + littleEndian(0, 4);
    bmp += littleEndian(2835, 4) + littleEndian(2835, 4) + littleEndian(0, 4) + littleEndian(0, 4);
    return bmp + QByteArray(16, '\x40');
}

} // namespace

class tst_Value : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runtimeError_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::newRow("6") << 6 << "Overflow";
        QTest::newRow("400") << 400 << "Form already displayed; can't show modally";
        QTest::newRow("unknown") << 1234 << "Application-defined or object-defined error";
        QTest::newRow("zero") << 0 << "Application-defined or object-defined error";
    }

    void runtimeError()
    {
        QFETCH(int, number);
        QFETCH(QString, description);
        try {
            raiseError(number);
            QFAIL("raiseError returned");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.number(), number);
            QCOMPARE(e.description(), description);
            QVERIFY(e.source().isEmpty());
        }
        const RuntimeError e(number, QStringLiteral("Valor inválido"), QStringLiteral("Barra"));
        QCOMPARE(e.description() + e.source(), QStringLiteral("Valor inválidoBarra"));
        const QString what = QString::fromUtf8(e.what());
        QVERIFY2(what.contains(QString::number(number)) && what.contains(e.description()),
                 e.what());
    }

    void integerConversions_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("isLong");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<int>("error");

        auto row = [](const char* name, double v, bool isLong, qint64 expected, int error = 0) {
            QTest::newRow(name) << v << isLong << expected << error;
        };
        row("12.5", 12.5, false, 12);
        row("45.5", 45.5, false, 46);
        row("-2.5", -2.5, false, -2);
        row("just below a half", 0.49999999999999994, false, 0);
        row("just above a half", 2.5000000000000004, false, 3);
        row("32767.49", 32767.49, false, 32767);
        row("32767.5", 32767.5, false, 0, 6);
        row("-32768.5", -32768.5, false, -32768);
        row("-32768.51", -32768.51, false, 0, 6);
        row("NaN", NaN, false, 0, 6);
        row("long 4.5", 4.5, true, 4);
        row("long 2147483646.5", 2147483646.5, true, 2147483646);
        row("long 2147483647.5", 2147483647.5, true, 0, 6);
        row("long -2147483648.5", -2147483648.5, true, -2147483648LL);
        row("long -2147483649.5", -2147483649.5, true, 0, 6);
        row("long NaN", NaN, true, 0, 6);
    }

    void integerConversions()
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

    void dates_data()
    {
        QTest::addColumn<double>("serial");
        QTest::addColumn<QDateTime>("expected"); // invalid: out of range
        QTest::addColumn<bool>("roundTrips");    // fromQDateTime(expected) gives the serial back

        auto row = [](const char* name, double serial, QDate d, QTime t, bool roundTrips) {
            QTest::newRow(name) << serial << QDateTime(d, t, Qt::UTC) << roundTrips;
        };
        row("epoch", 0, {1899, 12, 30}, {0, 0}, true);
        row("1/3/1900", 61, {1900, 3, 1}, {0, 0}, true);
        row("-1.25", -1.25, {1899, 12, 29}, {6, 0}, true);
        row("0.5", 0.5, {1899, 12, 30}, {12, 0}, true);
        row("-0.5 is the same moment", -0.5, {1899, 12, 30}, {12, 0}, false);
        row("15/03/2026 14:30", 46096.0 + 14.5 / 24, {2026, 3, 15}, {14, 30}, true);
        row("first day", -657434, {100, 1, 1}, {0, 0}, true);
        row("last second", 2958465.99999, {9999, 12, 31}, {23, 59, 59}, false);
        row("rounds to next midnight", 1.9999999, {1900, 1, 1}, {0, 0}, false);
        row("negative rounds forward", -1.9999999, {1899, 12, 30}, {0, 0}, false);
        row("rounds down", 2.0 + 10.4 / 86400, {1900, 1, 1}, {0, 0, 10}, false);
        for (double bad : {-657435.0, 2958466.0, 2958465.999999, 1e300, NaN})
            QTest::addRow("invalid %g", bad) << bad << QDateTime() << false;
    }

    void dates()
    {
        QFETCH(double, serial);
        QFETCH(QDateTime, expected);
        QFETCH(bool, roundTrips);
        const Date date(serial);
        QCOMPARE(date.isValid(), expected.isValid());
        QCOMPARE(date.toQDateTime(), expected);
        QCOMPARE(date.toQDate(), expected.date());
        if (!expected.isValid()) return;
        QCOMPARE(date.time(), expected.time());
        QCOMPARE(date.hasTime(), expected.time() != QTime(0, 0));
        const double back = Date::fromQDateTime(expected).serial();
        if (roundTrips)
            QVERIFY2(std::fabs(back - serial) < 1e-9, qPrintable(QString::number(back, 'g', 17)));
        // Whatever the representation, the value read back is the same moment.
        QCOMPARE(Date(back).toQDateTime(), expected);
    }

    void dateSurvivesMidnightClockChange()
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

    void systemColors_data()
    {
        QTest::addColumn<quint32>("color");
        QTest::addColumn<QColor>("expected"); // invalid: error 380

        QTest::newRow("5 window") << SystemColor::WindowBackground << QColor(255, 255, 255);
        QTest::newRow("30 form, the last") << systemColor(30) << QColor(236, 233, 216);
        QTest::newRow("0 scroll bar") << systemColor(0) << QColor(212, 208, 200);
        QTest::newRow("plain red") << 0x000000FFu << QColor(255, 0, 0);
        QTest::newRow("plain blue") << 0x00FF0000u << QColor(0, 0, 255);
        QTest::newRow("index 31") << systemColor(31) << QColor();
        QTest::newRow("stray bits with flag") << 0x80010005u << QColor();
    }

    void systemColors()
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

    void colorFromQColor()
    {
        QCOMPARE(fromQColor(QColor(1, 2, 3)), 0x00030201u);
        QCOMPARE(fromQColor(QColor(10, 20, 30, 0)), RGB(10, 20, 30)); // alpha ignored
        QCOMPARE(fromQColor(QColor::fromHsv(0, 255, 255)), RGB(255, 0, 0));
        QCOMPARE(toQColor(fromQColor(QColor(200, 100, 50))), QColor(200, 100, 50));
    }

    void fontChanges_data()
    {
        QTest::addColumn<QString>("ops");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("emits");
        QTest::addColumn<QString>("after"); // name|size|weight|italic underline strike|charset
        const QString start = QStringLiteral("MS Sans Serif|8.25|400|000|0");
        auto row = [](const char* ops, int error, int emits, const QString& after) {
            QTest::newRow(ops) << QString::fromLatin1(ops) << error << emits << after;
        };
        row("Name=ms sans serif", 0, 1, "ms sans serif|8.25|400|000|0");
        row("Size=8.25", 0, 0, start);
        row("Size=2160", 0, 1, "MS Sans Serif|2160|400|000|0");
        row("Size=0", 380, 0, start);
        row("Size=2160.5", 380, 0, start);
        row("Size=nan", 380, 0, start);
        row("Bold=1;Bold=1", 0, 1, "MS Sans Serif|8.25|700|000|0");
        row("Weight=700;Bold=1", 0, 1, "MS Sans Serif|8.25|700|000|0");
        row("Bold=1;Bold=0", 0, 2, start);
        row("Weight=0", 0, 1, "MS Sans Serif|8.25|0|000|0");
        row("Weight=1000", 0, 1, "MS Sans Serif|8.25|1000|000|0");
        row("Weight=1001", 380, 0, start);
        row("Italic=1;Underline=1;Strikethrough=1", 0, 3, "MS Sans Serif|8.25|400|111|0");
        row("Charset=2", 0, 1, "MS Sans Serif|8.25|400|000|2");
        // Only what a form file holds, so that a form is saved whatever font it was given.
        row("Name=", 380, 0, start);
        row("Name=  ", 380, 0, start);
        QTest::newRow("long name")
            << QStringLiteral("Name=") + QString(256, u'x') << 380 << 0 << start;
        row("Charset=255", 0, 1, "MS Sans Serif|8.25|400|000|255");
        row("Charset=256", 380, 0, start);
        row("Charset=-1", 380, 0, start);
    }

    void fontChanges()
    {
        QFETCH(QString, ops);
        QFETCH(int, error);
        QFETCH(int, emits);
        QFETCH(QString, after);
        const FontRef font = StdFont::create();
        QSignalSpy spy(font.get(), &StdFont::changed);
        QCOMPARE(errorOf([&] { apply(*font, ops); }), error);
        QCOMPARE(spy.count(), emits);
        QCOMPARE(describe(*font), after);
        QCOMPARE(font->get_Bold(), font->get_Weight() >= 550);
    }

    void fontSharedAndCloned()
    {
        // Every holder of a FontRef sees a change; a clone does not.
        const FontRef first = StdFont::create(QStringLiteral("Times New Roman"), 9, true);
        const FontRef second = first;
        const FontRef copy = first->clone();
        QVERIFY(copy != first && copy->sameAs(*first));
        QSignalSpy spy(first.get(), &StdFont::changed);
        QSignalSpy copySpy(copy.get(), &StdFont::changed);
        apply(*second, QStringLiteral("Underline=1;Size=14"));
        QCOMPARE(describe(*first), QStringLiteral("Times New Roman|14|700|010|0"));
        QCOMPARE(spy.count(), 2);
        QCOMPARE(first->toQFont().pointSizeF(), 14.0);
        QCOMPARE(describe(*copy), QStringLiteral("Times New Roman|9|700|000|0"));
        QCOMPARE(copySpy.count(), 0);
        QVERIFY(!copy->sameAs(*first));
    }

    void fontSameAs()
    {
        const FontRef base = StdFont::create(QStringLiteral("MS Sans Serif"), 8.25);
        QVERIFY(base->sameAs(*StdFont::create(QStringLiteral("ms SANS serif"), 8.25)));
        for (const char* ops : {"Name=Arial", "Size=8.5", "Weight=401", "Italic=1", "Underline=1",
                                "Strikethrough=1", "Charset=1"}) {
            const FontRef other = base->clone();
            apply(*other, QString::fromLatin1(ops));
            QVERIFY2(!base->sameAs(*other) && !other->sameAs(*base), ops);
        }
        QCOMPARE(errorOf([] { StdFont(QStringLiteral("Arial"), 0); }), 380);
    }

    void fontFamilies_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("family");
        const QString sans = QStringLiteral("Liberation Sans");
        QTest::newRow("MS Sans Serif") << "MS Sans Serif" << sans;
        QTest::newRow("lower case") << "ms sans serif" << sans;
        QTest::newRow("Arial Black") << "Arial Black" << sans;
        QTest::newRow("Times New Roman") << "Times New Roman"
                                         << "Liberation Serif";
        QTest::newRow("Courier New") << "Courier New"
                                     << "Liberation Mono";
        QTest::newRow("installed face kept") << "DejaVu Serif"
                                             << "DejaVu Serif";
    }

    void fontFamilies()
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

    void startUpRegistered()
    {
        // Registered by the host when the application object was created, with no call from here.
        QVERIFY(QFont::substitutes(QStringLiteral("MS Sans Serif"))
                    .contains(QStringLiteral("Liberation Sans"), Qt::CaseInsensitive));
        registerFontSubstitutions(); // again: harmless
        QCOMPARE(QFont::substitutes(QStringLiteral("Arial Black")).size(), 1);
        for (const char* type : {"host::Variant", "host::FontRef", "host::PictureRef"})
            QVERIFY2(QMetaType::fromName(type).isValid(), type);
        // The weight 0 of the runtime ("don't care") is drawn at normal weight.
        QCOMPARE(qtFontFor(QStringLiteral("Arial"), 10, 0).weight(), QFont::Normal);
    }

    void pictureHimetric_data()
    {
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("1x13") << QSize(1, 13) << 26 << 344;
        QTest::newRow("18x21") << QSize(18, 21) << 476 << 556;
    }

    void pictureHimetric()
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

    void picturePngRoundTrip_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::newRow("ARGB32") << patternImage(QImage::Format_ARGB32);
        QTest::newRow("RGB32") << patternImage(QImage::Format_RGB32);
        QTest::newRow("indexed") << patternImage(QImage::Format_Indexed8);
        QTest::newRow("one pixel") << patternImage(QImage::Format_ARGB32, 1, 1);
    }

    void picturePngRoundTrip()
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

    void pictureRefusesBadBytes_data()
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
        QTest::newRow("truncated header") << good.left(20);
        QTest::newRow("truncated body") << good.left(good.size() / 2);
        QTest::newRow("garbled body") << garbled;
        QTest::newRow("not PNG") << bmp;
        QTest::newRow("claims 16385 x 1") << pngClaiming(16385, 1);
        QTest::newRow("claims 16384 x 16384") << pngClaiming(16384, 16384);
        QTest::newRow("claims 2^31 x 1") << pngClaiming(0x80000000u, 1);
    }

    void pictureRefusesBadBytes()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!StdPicture::fromPng(bytes));
    }

    void loadPicture_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");   // invalid: refused with 481
        QTest::addColumn<QRgb>("pixel10"); // at x 1, y 0
        const QImage pattern = patternImage(QImage::Format_RGB32);
        const QRgb first = pattern.pixel(1, 0);
        const QByteArray png = saved(pattern, "PNG");
        const QByteArray bmp = saved(pattern, "BMP");
        const QByteArray gif = gifOf(2, 2, {0, 1, 1, 0});
        QImage tooWide(StdPicture::MaxSide + 1, 1, QImage::Format_RGB32);
        tooWide.fill(Qt::red);

        QTest::newRow("png") << png << QSize(7, 5) << first;
        QTest::newRow("bmp") << bmp << QSize(7, 5) << first;
        QTest::newRow("gif") << gif << QSize(2, 2) << qRgb(0, 0, 255);
        QTest::newRow("empty") << QByteArray() << QSize() << QRgb();
        QTest::newRow("garbage") << QByteArray(200, '\x5A') << QSize() << QRgb();
        QTest::newRow("truncated png") << png.left(png.size() / 2) << QSize() << QRgb();
        QTest::newRow("truncated bmp") << bmp.left(bmp.size() / 2) << QSize() << QRgb();
        QTest::newRow("truncated gif") << gif.left(gif.size() - 6) << QSize() << QRgb();
        QTest::newRow("ppm, not a picture format")
            << QByteArray("P3\n1 1\n255\n0 0 0\n") << QSize() << QRgb();
        QTest::newRow("png claims 20000 x 20000") << pngClaiming(20000, 20000) << QSize() << QRgb();
        QTest::newRow("bmp claims 100000 x 100000")
            << bmpClaiming(100000, 100000) << QSize() << QRgb();
        QTest::newRow("gif claims 65535 x 65535")
            << gifOf(65535, 65535, {0, 1}) << QSize() << QRgb();
        QTest::newRow("bmp over MaxSide, decodable") << saved(tooWide, "BMP") << QSize() << QRgb();
    }

    void loadPicture()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QFETCH(QRgb, pixel10);
        PictureRef picture;
        const int error = errorOf([&] { picture = LoadPicture(bytes); });
        if (!size.isValid()) {
            QCOMPARE(error, Err::InvalidPicture);
            QVERIFY(!StdPicture::fromBytes(bytes));
            return;
        }
        QCOMPARE(error, 0);
        QVERIFY(picture);
        QCOMPARE(picture->image().size(), size);
        QCOMPARE(picture->image().pixel(1, 0) & 0xFFFFFF, pixel10 & 0xFFFFFF);
    }

    // A file "name@2x.png" beside "name.png", twice its size, is the picture's high-density
    // version; the picture measures the file's own size either way.
    void loadPictureFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("besideSize"); // of "art@2x.png"; invalid: none
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("dense");
        QTest::newRow("twice the size beside it") << "art.png" << QSize(14, 10) << 0 << true;
        QTest::newRow("none beside it") << "art.png" << QSize() << 0 << false;
        QTest::newRow("another size beside it") << "art.png" << QSize(14, 11) << 0 << false;
        QTest::newRow("three times the size") << "art.png" << QSize(21, 15) << 0 << false;
        QTest::newRow("no such file")
            << "none.png" << QSize(14, 10) << int(Err::FileNotFound) << false;
    }
    void loadPictureFile()
    {
        QFETCH(QString, file);
        QFETCH(QSize, besideSize);
        QFETCH(int, error);
        QFETCH(bool, dense);
        QTemporaryDir dir;
        const QImage pattern = patternImage(QImage::Format_RGB32);
        QVERIFY(pattern.save(dir.filePath(QStringLiteral("art.png"))));
        QImage beside(besideSize, QImage::Format_RGB32);
        beside.fill(Qt::red);
        if (besideSize.isValid()) QVERIFY(beside.save(dir.filePath(QStringLiteral("art@2x.png"))));
        PictureRef picture;
        QCOMPARE(errorOf([&] { picture = LoadPicture(dir.filePath(file)); }), error);
        if (error) return;
        QCOMPARE(picture->image().convertToFormat(QImage::Format_RGB32), pattern);
        QCOMPARE(&picture->imageFor(1), &picture->image());
        const QImage& shown = picture->imageFor(2);
        QCOMPARE(shown.deviceIndependentSize(), QSizeF(pattern.size()));
        QCOMPARE(shown.pixel(0, 0) == qRgb(255, 0, 0), dense);
    }

    void pictureSideLimit()
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
        QVERIFY(
            !StdPicture::fromPng(StdPicture(tooWide.transformed(QTransform().rotate(90))).toPng()));
        QVERIFY(StdPicture(QImage()).toPng().isEmpty());
    }

    void variantType_data()
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
        row("double", Variant(1.5), VarType::Double, "Double", true);
        row("bool", Variant(true), VarType::Boolean, "Boolean", true);
        row("C text", Variant("abc"), VarType::String, "String", false);
        row("date", Variant(Date(46096)), VarType::Date, "Date", false);
        row("font", Variant(StdFont::create()), VarType::Object, "StdFont", false);
        row("picture", Variant(StdPicture::create(QImage(2, 2, QImage::Format_RGB32))),
            VarType::Object, "StdPicture", false);
        row("no font", Variant(FontRef()), VarType::Object, "Nothing", false);
    }

    void variantType()
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

    void variantEquality_data()
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
        row("Single and Double", 0.5f, 0.5, true);
        row("Single 0.1 and Double 0.1", 0.1f, 0.1, false);
        row("True and -1", true, short(-1), true);
        row("True and 1", true, short(1), false);
        row("colour bits", 0x8000000Fu, qint32(0x8000000F), true);
        row("NaN", NaN, NaN, false);
        row("Empty and Empty", Variant(), Variant(), true);
        row("Empty and 0", Variant(), 0, false);
        row("Null and Empty", Variant::null(), Variant(), false);
        row("texts differ in case", "abc", "ABC", false);
        row("text and number", "1", short(1), false);
        row("date and its serial", Date(5), 5.0, false);
        row("fonts alike", font, sameFont, true);
        row("fonts differ", font, otherFont, false);
        row("pictures alike", picture, samePixels, true);
        row("pictures differ", picture, otherPicture, false);
        row("font and picture", font, picture, false);
        row("Nothing and Nothing", FontRef(), PictureRef(), true);
    }

    void variantEquality()
    {
        QFETCH(Variant, a);
        QFETCH(Variant, b);
        QFETCH(bool, equal);
        QCOMPARE(a == b, equal);
        QCOMPARE(b == a, equal);
    }

    void variantObjects_data()
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
        QTest::newRow("Nothing as font") << Variant(PictureRef()) << true << 0 << true;
        QTest::newRow("picture as font") << Variant(picture) << true << 13 << true;
        QTest::newRow("font as picture") << Variant(font) << false << 13 << true;
        QTest::newRow("number as font") << Variant(short(0)) << true << 13 << true;
    }

    void variantObjects()
    {
        QFETCH(Variant, value);
        QFETCH(bool, wantFont);
        QFETCH(int, error);
        QFETCH(bool, nothing);
        bool isNull = true;
        QCOMPARE(errorOf([&] { isNull = wantFont ? !value.toFont() : !value.toPicture(); }), error);
        QCOMPARE(isNull, nothing);
        if (!nothing && wantFont) QCOMPARE(value.toFont(), std::get<FontRef>(value.storage()));
        if (!nothing && !wantFont)
            QCOMPARE(value.toPicture(), std::get<PictureRef>(value.storage()));
    }
};

QTEST_MAIN(tst_Value)
#include "tst_value.moc"
