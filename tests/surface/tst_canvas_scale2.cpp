// Drawing on a screen of device pixel ratio 2: the self-drawn looks are drawn at the screen's
// resolution (not drawn at 1 and enlarged), points and pictures keep their places in the
// controls' own units; the pictures of the XP looks show their high-density versions.

#include "controls/progress/ProgressBar.h"
#include "controls/verticaltext/VericalText.h"
#include "controls/xp/xpcheckbox.h"
#include "controls/xp/xpcmdbutton.h"
#include "controls/xp/xpoptionbutton.h"
#include "host/forms/Form.h"
#include "host/widgets/Image.h"
#include "host/widgets/PictureBox.h"

#include <QApplication>
#include <QtTest>

using namespace Kv_CTRL;

namespace {

// How many 2 x 2 blocks of device pixels are not of one colour: none in a drawing made at
// ratio 1 and enlarged.
int blocksWithDetail(const QImage& image)
{
    int detailed = 0;
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb c = image.pixel(x, y);
            if (image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c ||
                image.pixel(x + 1, y + 1) != c)
                ++detailed;
        }
    return detailed;
}

} // namespace

class TestCanvasScale2 : public QObject {
    Q_OBJECT

    host::Form m_form;

private Q_SLOTS:
    void cleanup() { m_form.unload(); }

    void drawnAtDeviceResolution_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("rotated text over its gradient") << "VericalText";
        QTest::newRow("gauge with its inverted caption") << "ProgressBar";
    }
    void drawnAtDeviceResolution()
    {
        QFETCH(QString, kind);
        host::Canvas* canvas = nullptr;
        QWidget* owner = nullptr;
        if (kind == "VericalText") {
            auto* v = m_form.add<VericalText>(QStringLiteral("vt"));
            v->Extender().Move(0, 0, 450, 3000);
            v->put_zDegradee(true);
            v->put_zTexto(QStringLiteral("Cadastro de Cliente"));
            canvas = v;
            owner = v;
        } else {
            auto* bar = m_form.add<ProgressBar>(QStringLiteral("pb"));
            bar->Extender().Move(0, 0, 1500, 300);
            bar->put_Caption(QStringLiteral("Cadastro"));
            bar->put_ViewPercent(true);
            bar->put_Value(50);
            auto* gauge = bar->findChild<host::PictureBox*>(QStringLiteral("picGuage"));
            canvas = gauge;
            owner = gauge;
        }
        m_form.show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.widget()));
        QCOMPARE(owner->devicePixelRatio(), 2.);
        const QImage& image = canvas->image();
        QCOMPARE(image.devicePixelRatio(), 2.);
        QVERIFY(image.width() >= 2 * owner->contentsRect().width()); // it never shrinks
        QVERIFY(image.height() >= 2 * owner->contentsRect().height());
        QVERIFY2(blocksWithDetail(image) > 20, "the drawing is enlarged from ratio 1");
    }

    // A control's picture is drawn from the art made for ratio 2 (which is not the art of ratio 1
    // doubled), and the picture and the widget showing it keep their sizes of ratio 1.
    void pictureLooks_data()
    {
        QTest::addColumn<QString>("art"); // the control's file at ratio 1; its "@2x" twin beside it
        QTest::addColumn<QRect>("cell");  // the look shown, in pixels of ratio 1
        QTest::newRow("nine-slice button at its cell's size")
            << "xpcmdbutton" << QRect(0, 0, 18, 21);
        QTest::newRow("check box checked") << "xpcheckbox" << QRect(0, 64, 16, 16);
        QTest::newRow("option button selected") << "xpoptionbutton4" << QRect(0, 0, 13, 13);
    }
    void pictureLooks()
    {
        QFETCH(QString, art);
        QFETCH(QRect, cell);
        m_form.load();
        QWidget* shows = nullptr; // the widget the picture is drawn on
        if (art == "xpcmdbutton") {
            auto* cmd = m_form.add<xpcmdbutton>(QStringLiteral("cmd"));
            // 15 twips a pixel: the nine slices put the cell together without stretching it.
            cmd->Extender().Move(0, 0, cell.width() * 15, cell.height() * 15);
            shows = cmd;
        } else if (art == "xpcheckbox") {
            auto* chk = m_form.add<xpcheckbox>(QStringLiteral("chk"));
            chk->put_Value(State::Checked);
            shows = chk->findChild<host::PictureBox*>(QStringLiteral("p"));
        } else {
            auto* opt = m_form.add<xpoptionbutton>(QStringLiteral("opt"));
            opt->put_Value(true);
            shows = opt->findChild<host::Image*>(QStringLiteral("p"));
        }
        QVERIFY(shows);
        m_form.show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.widget()));
        QCOMPARE(shows->size(), cell.size());
        // The button's own drawing, without the caption its label lays over it.
        auto* canvas = dynamic_cast<host::Canvas*>(shows);
        const QImage shown = canvas ? canvas->image() : shows->grab().toImage();
        QCOMPARE(shown.devicePixelRatio(), 2.);
        const QString path = QStringLiteral(":/Kv_CTRL/xp/") + art;
        const QImage one = QImage(path + ".png").copy(cell).convertToFormat(QImage::Format_ARGB32);
        const QImage two = QImage(path + "@2x.png")
                               .copy(QRect(cell.topLeft() * 2, cell.size() * 2))
                               .convertToFormat(QImage::Format_ARGB32);
        QVERIFY(two != one.scaled(two.size())); // this test can tell them apart
        for (int y = 0; y < two.height(); ++y)
            for (int x = 0; x < two.width(); ++x)
                if (qAlpha(two.pixel(x, y)) == 255 && shown.pixel(x, y) != two.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("device pixel (%1, %2) is not the art's at "
                                                    "ratio 2")
                                         .arg(x)
                                         .arg(y)));
    }

    // Points read, pictures and lines land where the control's units say; a picture's
    // high-density version keeps its detail and the picture measures its own size.
    void unitsStay()
    {
        m_form.load();
        auto* box = new host::PictureBox(m_form.widget(), QStringLiteral("pic"));
        box->put_BorderStyle(0);
        box->resize(60, 60);
        box->put_ScaleMode(host::vbPixels);
        box->put_BackColor(host::RGB(0, 255, 0));
        box->Line(10, 10, 19, 19, host::RGB(255, 0, 0), host::LineShape::FilledBox);
        QCOMPARE(box->Point(15, 15), qint32(host::RGB(255, 0, 0)));
        QCOMPARE(box->Point(20, 20), qint32(host::RGB(0, 255, 0)));
        QImage art(4, 4, QImage::Format_RGB32);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                art.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        box->PaintPicture(host::StdPicture::create(art.scaled(2, 2), art), 30, 30);
        box->Line(40, 50, 50, 50, host::RGB(0, 0, 255)); // one pixel thick: two device pixels
        const QImage& image = box->image();
        QCOMPARE(image.pixel(90, 101), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(101, 100), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(90, 102), qRgb(0, 255, 0));
        QCOMPARE(image.pixel(102, 100), qRgb(0, 255, 0));
        QCOMPARE(image.pixel(60, 60), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(61, 60), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(63, 63), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(64, 61), qRgb(0, 255, 0)); // two units wide: beyond is untouched
        QCOMPARE(box->Point(31, 31), qint32(host::RGB(255, 255, 255)));
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestCanvasScale2 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_canvas_scale2.moc"
