// The XP-look controls' art: the pictures embedded in libKv_CTRL are exactly what the generator
// (apps/kvart) draws today, and they carry the look tables' colours where the tables put them.
// After changing the art's code: build/apps/kvart/kvart controls/xp/art

#include "apps/kvart/XpArt.h"
#include "controls/xp/xpcheckbox.h"
#include "controls/xp/xpcmdbutton.h"
#include "host/value/StdPicture.h"
#include "host/widgets/PictureClip.h"

#include <QFile>
#include <QtTest>

using namespace kvart;
namespace art = kvart::xpoptionbutton;

namespace {

QImage embedded(const QString& fileName)
{
    QImage image;
    image.load(QStringLiteral(":/Kv_CTRL/xp/") + fileName, "PNG");
    return image;
}

QString rgb(QRgb c)
{
    return QStringLiteral("RGB(%1, %2, %3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

} // namespace

class tst_xpart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void embeddedMatchesGenerator_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("scale");
        for (int scale : {1, 2})
            for (int i = 0; i < artworks().size(); ++i)
                QTest::newRow(qPrintable(fileNameAt(artworks()[i], scale))) << i << scale;
    }
    void embeddedMatchesGenerator()
    {
        QFETCH(int, index);
        QFETCH(int, scale);
        const Artwork& art = artworks()[index];
        const QImage file = embedded(fileNameAt(art, scale));
        QVERIFY2(!file.isNull(), "the picture is not embedded in libKv_CTRL");
        const QImage drawn = art.draw(scale);
        QCOMPARE(file.size(), drawn.size());
        const QImage a = file.convertToFormat(QImage::Format_ARGB32);
        const QImage b = drawn.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("%1 (%2, %3): file %4, generator %5; run kvart")
                                         .arg(fileNameAt(art, scale))
                                         .arg(x)
                                         .arg(y)
                                         .arg(rgb(a.pixel(x, y)), rgb(b.pixel(x, y)))));
    }

    // The button draws from that very picture, which carries the scale-2 strip as its
    // high-density version.
    void buttonUsesTheStrip()
    {
        QWidget window;
        auto* cmd = host::UserControl::create<Kv_CTRL::xpcmdbutton>(&window, QStringLiteral("c"));
        const auto* pc = cmd->findChild<host::PictureClip*>(QStringLiteral("pc"));
        QVERIFY(pc && pc->get_Picture());
        QCOMPARE(pc->get_Picture()->image().convertToFormat(QImage::Format_RGB32),
                 xpcmdbutton::strip(1));
        QImage two = xpcmdbutton::strip(2);
        two.setDevicePixelRatio(2);
        QCOMPARE(pc->get_Picture()->denseImage().convertToFormat(QImage::Format_RGB32), two);
        QCOMPARE(pc->cellWidthPixels(), 18);
        QCOMPARE(pc->cellHeightPixels(), 21);
    }

    // The check box cuts its twelve 16 x 16 cells from the embedded strip.
    void checkBoxUsesTheStrip()
    {
        QWidget window;
        auto* chk = host::UserControl::create<Kv_CTRL::xpcheckbox>(&window, QStringLiteral("c"));
        const auto* pc = chk->findChild<host::PictureClip*>(QStringLiteral("pc"));
        QVERIFY(pc && pc->get_Picture());
        QCOMPARE(pc->get_Picture()->image().convertToFormat(QImage::Format_RGB32),
                 xpcheckbox::strip(1));
        QCOMPARE(pc->cellWidthPixels(), 16);
        QCOMPARE(pc->cellHeightPixels(), 16);
    }

    // Every picture at scale 2 is twice the size, and the option buttons' outside stays white
    // and transparent at both scales.
    void scale2_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < artworks().size(); ++i)
            QTest::newRow(qPrintable(artworks()[i].fileName)) << i;
    }
    void scale2()
    {
        QFETCH(int, index);
        const Artwork& art = artworks()[index];
        const QImage one = art.draw(1), two = art.draw(2);
        QCOMPARE(two.size(), one.size() * 2);
        if (!art.fileName.startsWith(QLatin1String("xpoptionbutton"))) return;
        QCOMPARE(one.size(), QSize(13, 13));
        for (const QImage& image : {one, two})
            for (const QPoint& c : {QPoint(0, 0), QPoint(image.width() - 1, image.height() - 1)})
                QCOMPARE(image.pixel(c), art::Outside);
    }

    // The button's look table, pixel by pixel in the 18 x 21 cells (x, y within the cell).
    void buttonLooks_data()
    {
        QTest::addColumn<int>("cell");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRgb>("colour");
        using namespace xpcmdbutton;
        const QRgb white = 0xFFFFFFFF;
        const int enabled[] = {Normal, Pressed, Hover, Default};
        for (int cell : enabled) {
            const QByteArray c = QByteArray::number(cell);
            QTest::newRow(QByteArray(c + " outline top").constData())
                << cell << QPoint(9, 0) << Outline;
            QTest::newRow(QByteArray(c + " outline left").constData())
                << cell << QPoint(0, 10) << Outline;
            QTest::newRow(QByteArray(c + " outline right").constData())
                << cell << QPoint(17, 10) << Outline;
            QTest::newRow(QByteArray(c + " outline bottom").constData())
                << cell << QPoint(9, 20) << Outline;
        }
        QTest::newRow("normal top") << int(Normal) << QPoint(9, 1) << NormalTop;
        QTest::newRow("normal bottom") << int(Normal) << QPoint(9, 18) << NormalBottom;
        QTest::newRow("normal last row") << int(Normal) << QPoint(9, 19) << NormalLastRow;
        QTest::newRow("pressed top") << int(Pressed) << QPoint(9, 1) << PressedTop;
        QTest::newRow("pressed bottom") << int(Pressed) << QPoint(9, 19) << PressedBottom;
        QTest::newRow("disabled outline") << int(Disabled) << QPoint(9, 0) << DisabledOutline;
        QTest::newRow("disabled side") << int(Disabled) << QPoint(17, 10) << DisabledOutline;
        QTest::newRow("disabled face") << int(Disabled) << QPoint(9, 10) << DisabledFace;
        QTest::newRow("disabled face corner") << int(Disabled) << QPoint(1, 1) << DisabledFace;
        const QPoint corners[] = {{0, 0}, {17, 0}, {0, 20}, {17, 20}};
        for (const QPoint& p : corners)
            QTest::newRow(qPrintable(QStringLiteral("disabled corner %1,%2").arg(p.x()).arg(p.y())))
                << int(Disabled) << p << white;
        QTest::newRow("hover ring top") << int(Hover) << QPoint(9, 1) << HoverTop;
        QTest::newRow("hover ring second") << int(Hover) << QPoint(9, 2) << HoverTop2;
        QTest::newRow("hover ring bottom") << int(Hover) << QPoint(9, 19) << HoverBottom;
        QTest::newRow("hover ring side top") << int(Hover) << QPoint(1, 2) << HoverTop2;
        QTest::newRow("hover ring side bottom") << int(Hover) << QPoint(15, 19) << HoverBottom;
        QTest::newRow("default ring top") << int(Default) << QPoint(9, 1) << DefaultTop;
        QTest::newRow("default ring bottom") << int(Default) << QPoint(9, 19) << DefaultBottom;
        QTest::newRow("default ring side") << int(Default) << QPoint(2, 1) << DefaultTop;
    }
    void buttonLooks()
    {
        QFETCH(int, cell);
        QFETCH(QPoint, at);
        QFETCH(QRgb, colour);
        const QImage strip = embedded(QStringLiteral("xpcmdbutton.png"));
        QCOMPARE(strip.size(), QSize(90, 21));
        QCOMPARE(rgb(strip.pixel(cell * 18 + at.x(), at.y())), rgb(colour));
    }

    // The ringed looks are the normal cell inside their ring; the corners are softened (neither
    // outline nor face) on every enabled cell; the gradients run the table's way.
    void buttonShapes()
    {
        using namespace xpcmdbutton;
        const QImage s = embedded(QStringLiteral("xpcmdbutton.png"));
        auto px = [&](int cell, int x, int y) { return s.pixel(cell * 18 + x, y); };
        for (int y = 3; y <= 17; ++y)
            for (int x = 3; x <= 14; ++x) {
                QCOMPARE(rgb(px(Hover, x, y)), rgb(px(Normal, x, y)));
                QCOMPARE(rgb(px(Default, x, y)), rgb(px(Normal, x, y)));
            }
        for (int cell : {Normal, Pressed, Hover, Default})
            for (const QPoint& p : {QPoint(0, 0), QPoint(17, 0), QPoint(0, 20), QPoint(17, 20)}) {
                const QRgb c = px(cell, p.x(), p.y());
                QVERIFY(c != Outline && c != 0xFFFFFFFF);
                QVERIFY(qRed(c) > qRed(Outline)); // lighter than the outline: faded out
            }
        QVERIFY(qGray(px(Normal, 9, 3)) > qGray(px(Normal, 9, 15)));   // light to dark
        QVERIFY(qGray(px(Pressed, 9, 3)) < qGray(px(Pressed, 9, 15))); // dark to light
        QVERIFY(qGray(px(Pressed, 9, 10)) < qGray(px(Normal, 9, 10))); // darker interior
        // The rings' sides run from the top colour to the bottom colour.
        QVERIFY(qBlue(px(Hover, 1, 5)) > qBlue(px(Hover, 1, 15)));
        QVERIFY(qRed(px(Default, 1, 5)) > qRed(px(Default, 1, 15)));
    }

    // The same code draws the strip for high-density screens: twice the size, each pixel of
    // the structure (outline, ring, corners) as a 2 x 2 block.
    void buttonAtScale2()
    {
        const QImage one = xpcmdbutton::strip(1);
        const QImage two = xpcmdbutton::strip(2);
        QCOMPARE(two.size(), QSize(180, 42));
        // The frame (outline and corners) is flat colour: the same at both scales.
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 90; ++x) {
                const int cx = x % 18, cy = y % 21;
                if (cx != 0 && cx != 17 && cy != 0 && cy != 20) continue;
                QCOMPARE(rgb(two.pixel(2 * x, 2 * y)), rgb(one.pixel(x, y)));
                QCOMPARE(rgb(two.pixel(2 * x + 1, 2 * y + 1)), rgb(one.pixel(x, y)));
            }
    }
};

QTEST_MAIN(tst_xpart)
#include "tst_xpart.moc"
