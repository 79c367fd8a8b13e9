// The drawing API: pixels of boxes, exclusive-or passes, stretched pictures, printed text, scale
// modes, the platform font calls, Screen and the pointer calls.

#include "host/services/Cursor.h"
#include "host/services/Screen.h"
#include "host/services/Services.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/Canvas.h"
#include "host/widgets/Gdi.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <QtTest>
#include <cstring>

using namespace host;

namespace {

class Surface : public QWidget, public Canvas {
public:
    explicit Surface(QSize size, OleColor back = SystemColor::ButtonFace, short mode = vbTwips)
        : Canvas(this)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(size);
        if (back != SystemColor::ButtonFace) put_BackColor(back);
        if (mode != vbTwips) put_ScaleMode(mode);
    }
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        paintOwner(event, [this] { ++paints; });
    }
};

QRgb rgbOf(OleColor c)
{
    return toQColor(c).rgb() & 0xFFFFFF;
}

QRgb at(const Canvas& c, int x, int y)
{
    return c.image().pixel(x, y) & 0xFFFFFF;
}

// The smallest rectangle holding every pixel that differs from `background`.
QRect inkRect(const QImage& image, QRgb background, const QRect& area)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF))
                ink = ink.united(QRect(x, y, 1, 1));
    return ink;
}

} // namespace

class TestCanvas : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        const QScreen* screen = QGuiApplication::primaryScreen();
        QCOMPARE(screen->logicalDotsPerInchX(), 96.0);
        QCOMPARE(Screen::get_Height(), float(screen->geometry().height() * 15));
    }

    void filledBoxIncludesBothCorners()
    {
        Surface s(QSize(20, 20), RGB(255, 255, 255), vbPixels);
        s.Line(2, 3, 7, 9, RGB(255, 0, 0), LineShape::FilledBox);
        QCOMPARE(inkRect(s.image(), qRgb(255, 255, 255), QRect(0, 0, 20, 20)),
                 QRect(QPoint(2, 3), QPoint(7, 9)));
        QCOMPARE(at(s, 7, 9), qRgb(255, 0, 0) & 0xFFFFFF);
        QCOMPARE(s.get_CurrentX(), 7.0f);
        QCOMPARE(s.get_CurrentY(), 9.0f);
        // Boxes reaching past the edges fill what is inside; one wholly outside only moves
        // CurrentX/CurrentY, in an exclusive-or pass too.
        s.Line(-2, 18, 5000, 30, RGB(0, 0, 255), LineShape::FilledBox);
        QCOMPARE(inkRect(s.image(), qRgb(255, 255, 255), QRect(0, 10, 20, 10)),
                 QRect(QPoint(0, 18), QPoint(19, 19)));
        const QImage before = s.image();
        s.put_DrawMode(vbXorPen);
        s.Line(-2, 20, 5000, 40, RGB(0, 0, 255), LineShape::FilledBox);
        QCOMPARE(s.image(), before);
        QCOMPARE(s.get_CurrentY(), 40.0f);
    }

    void xorBoxes_data()
    {
        QTest::addColumn<quint32>("fore");
        QTest::addColumn<quint32>("back");
        QTest::newRow("blue bar") << quint32(RGB(0, 0, 255)) << quint32(RGB(255, 255, 255));
        QTest::newRow("odd bits") << quint32(RGB(0xA5, 0x0F, 0xF0))
                                  << quint32(RGB(0x3C, 0xC3, 0x81));
        QTest::newRow("system colours")
            << quint32(SystemColor::Highlight) << quint32(SystemColor::WindowBackground);
    }

    void xorBoxes()
    {
        // Two exclusive-or boxes over printed text, as a gauge draws its bar: each pixel inside
        // becomes was ^ fore ^ back, each pixel outside stays as it was.
        QFETCH(quint32, fore);
        QFETCH(quint32, back);
        Surface s(QSize(120, 30), RGB(255, 255, 255));
        s.put_ForeColor(RGB(0, 0, 0));
        s.put_CurrentX(30);
        s.put_CurrentY(30);
        s.Print(QStringLiteral("45 %"));
        const QImage before = s.image().copy();
        QVERIFY(inkRect(before, qRgb(255, 255, 255), QRect(0, 0, 120, 30)).isValid());
        s.put_DrawMode(vbXorPen);
        s.Line(15, 15, 900, 420, fore, LineShape::FilledBox); // twips: pixels 1..60, 1..28
        s.Line(15, 15, 900, 420, back, LineShape::FilledBox);
        const QRgb mask = rgbOf(fore) ^ rgbOf(back);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 120; ++x) {
                const bool inside = x >= 1 && x <= 60 && y >= 1 && y <= 28;
                const QRgb want = (before.pixel(x, y) & 0xFFFFFF) ^ (inside ? mask : 0);
                if (at(s, x, y) != want)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        // What the owner shows is the same colour, opaque.
        s.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        const QRgb shown = s.grab().toImage().pixel(50, 25);
        QCOMPARE(shown & 0xFFFFFF, at(s, 50, 25));
        QCOMPARE(qAlpha(shown), 255);
    }

    void outlineBoxXorTouchesEachPixelOnce()
    {
        Surface s(QSize(20, 20), RGB(0, 0, 0), vbPixels);
        s.put_DrawMode(vbXorPen);
        s.Line(2, 2, 10, 8, RGB(255, 255, 255), LineShape::Box);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const bool edge = (x >= 2 && x <= 10 && (y == 2 || y == 8)) ||
                                  (y >= 2 && y <= 8 && (x == 2 || x == 10));
                QCOMPARE(at(s, x, y), edge ? 0xFFFFFFu : 0u);
            }
    }

    void paintPictureNineSlice()
    {
        // An 18 x 21 cell whose nine regions each have their own colour.
        QImage cell(18, 21, QImage::Format_RGB32);
        auto region = [](int x, int y) {
            const int col = x < 3 ? 0 : (x < 15 ? 1 : 2);
            const int row = y < 3 ? 0 : (y < 18 ? 1 : 2);
            return qRgb(20 + col * 80, 20 + row * 80, 200);
        };
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 18; ++x)
                cell.setPixel(x, y, region(x, y));
        const PictureRef picture = StdPicture::create(cell);

        Surface s(QSize(50, 30), SystemColor::ButtonFace, vbPixels);
        const float W = s.get_ScaleWidth(), H = s.get_ScaleHeight();
        QCOMPARE(W, 50.0f);
        const struct {
            float dx, dy, dw, dh, sx, sy, sw, sh;
        } slices[] = {
            {0, 0, 3, 3, 0, 0, 3, 3},           {W - 3, 0, 3, 3, 15, 0, 3, 3},
            {W - 3, H - 3, 3, 3, 15, 18, 3, 3}, {0, H - 3, 3, 3, 0, 18, 3, 3},
            {3, 0, W - 6, 3, 3, 0, 12, 3},      {W - 3, 3, 3, H - 6, 15, 3, 3, 15},
            {0, 3, 3, H - 6, 0, 3, 3, 15},      {3, H - 3, W - 6, 3, 3, 18, 12, 3},
            {3, 3, W - 6, H - 6, 3, 3, 12, 15},
        };
        for (const auto& sl : slices)
            s.PaintPicture(picture, sl.dx, sl.dy, sl.dw, sl.dh, sl.sx, sl.sy, sl.sw, sl.sh);

        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 50; ++x) {
                const int col = x < 3 ? 0 : (x < 47 ? 1 : 2);
                const int row = y < 3 ? 0 : (y < 27 ? 1 : 2);
                const QRgb want = qRgb(20 + col * 80, 20 + row * 80, 200) & 0xFFFFFF;
                if (at(s, x, y) != want)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
    }

    void paintPictureDefaultsAndDegenerateSizes()
    {
        QImage img(4, 2, QImage::Format_RGB32);
        img.fill(qRgb(9, 99, 199));
        const PictureRef picture = StdPicture::create(img);
        Surface s(QSize(20, 20), RGB(255, 255, 255), vbPixels);
        s.PaintPicture(picture, 5, 6);
        QCOMPARE(inkRect(s.image(), qRgb(255, 255, 255), QRect(0, 0, 20, 20)), QRect(5, 6, 4, 2));
        // A control smaller than its frame gives zero and negative slices: nothing is drawn.
        s.Cls();
        s.PaintPicture(picture, 3, 3, 0, 5);
        s.PaintPicture(picture, 3, 3, -2, 5);
        QVERIFY(!inkRect(s.image(), qRgb(255, 255, 255), QRect(0, 0, 20, 20)).isValid());
        QVERIFY_THROWS_EXCEPTION(RuntimeError, s.PaintPicture(nullptr, 0, 0));
    }

    void printAt_data()
    {
        QTest::addColumn<short>("mode");
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<QPoint>("pixel");
        QTest::newRow("twips") << short(vbTwips) << 150.0f << 300.0f << QPoint(10, 20);
        QTest::newRow("twips rounded") << short(vbTwips) << 157.0f << 292.0f << QPoint(10, 19);
        QTest::newRow("pixels") << short(vbPixels) << 7.0f << 4.0f << QPoint(7, 4);
    }

    void printAt()
    {
        QFETCH(short, mode);
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(QPoint, pixel);
        Surface s(QSize(160, 60), RGB(255, 255, 255));
        s.put_ForeColor(RGB(0, 0, 0));
        s.put_ScaleMode(mode);
        s.put_CurrentX(x);
        s.put_CurrentY(y);
        const QString text = QStringLiteral("Agosto 2026");
        const float height = s.TextHeight(text);
        s.Print(text);

        // The same text drawn by Qt with its top-left at the expected pixel.
        QImage reference(s.image().size(), QImage::Format_RGB32);
        reference.setDotsPerMeterX(s.image().dotsPerMeterX());
        reference.setDotsPerMeterY(s.image().dotsPerMeterY());
        reference.fill(Qt::white);
        {
            QPainter p(&reference);
            const QFont font = s.get_Font()->toQFont();
            p.setFont(font);
            p.setPen(Qt::black);
            p.drawText(QPointF(pixel.x(), pixel.y() + QFontMetrics(font, &reference).ascent()),
                       text);
        }
        QCOMPARE(s.image(), reference);
        QCOMPARE(s.get_CurrentX(), 0.0f);
        QCOMPARE(s.get_CurrentY(), y + height);
        QVERIFY(height > 0);
    }

    void printWithoutNewLineContinues()
    {
        Surface s(QSize(200, 40), SystemColor::ButtonFace, vbPixels);
        s.put_CurrentX(5);
        s.put_CurrentY(3);
        s.Print(QStringLiteral("abc"), false);
        QCOMPARE(s.get_CurrentX(), 5 + s.TextWidth(QStringLiteral("abc")));
        QCOMPARE(s.get_CurrentY(), 3.0f);
        s.Print(QStringLiteral("one\r\ntwo"));
        QCOMPARE(s.get_CurrentY(), 3 + 2 * s.TextHeight(QStringLiteral("x")));
        QCOMPARE(s.TextHeight(QStringLiteral("one\ntwo")), 2 * s.TextHeight(QStringLiteral("x")));
    }

    void opaqueText()
    {
        Surface s(QSize(100, 30), RGB(255, 255, 255), vbPixels);
        s.Line(0, 0, 99, 29, RGB(0, 255, 0), LineShape::FilledBox);
        s.put_FontTransparent(false);
        s.put_CurrentX(2);
        s.put_CurrentY(2);
        s.Print(QStringLiteral("i"));
        // The text's cell is painted in BackColor over the green.
        QCOMPARE(at(s, 2, 3), qRgb(255, 255, 255) & 0xFFFFFF);
        QCOMPARE(at(s, 50, 3), qRgb(0, 255, 0) & 0xFFFFFF);
    }

    void clsPointAndBackColor()
    {
        Surface s(QSize(30, 30), RGB(10, 20, 30), vbPixels);
        s.Line(0, 0, 29, 29, RGB(200, 0, 0), LineShape::FilledBox);
        s.put_CurrentX(12);
        s.put_CurrentY(13);
        s.Cls();
        QVERIFY(!inkRect(s.image(), qRgb(10, 20, 30), QRect(0, 0, 30, 30)).isValid());
        QCOMPARE(s.get_CurrentX() + s.get_CurrentY(), 0.0f);
        // Point reads the colour back, -1 outside; a new BackColor repaints.
        s.PSet(3, 3, RGB(1, 2, 3));
        QCOMPARE(s.Point(3, 3), qint32(RGB(1, 2, 3)));
        QCOMPARE(s.Point(-1, 0), -1);
        QCOMPARE(s.Point(30, 0), -1);
        s.put_BackColor(SystemColor::InfoBackground);
        QCOMPARE(s.Point(3, 3), qint32(RGB(255, 255, 225)));
    }

    void scaleModes_data()
    {
        QTest::addColumn<short>("mode");
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::newRow("twips") << short(vbTwips) << 1200.0f << 600.0f;
        QTest::newRow("pixels") << short(vbPixels) << 80.0f << 40.0f;
        QTest::newRow("centimetres")
            << short(vbCentimeters) << float(80 * 2.54 / 96) << float(40 * 2.54 / 96);
    }

    void scaleModes()
    {
        QFETCH(short, mode);
        QFETCH(float, width);
        QFETCH(float, height);
        Surface s(QSize(80, 40));
        s.put_ScaleMode(mode);
        QCOMPARE(s.get_ScaleWidth(), width);
        QCOMPARE(s.get_ScaleHeight(), height);
        // The far corner of the scale is the pixel just past the contents.
        QCOMPARE(s.pixelsXFromScale(width), 80);
        QCOMPARE(s.pixelsYFromScale(height), 40);
        QCOMPARE(s.scaleXFromPixels(80), width);
    }

    void userScale()
    {
        Surface s(QSize(200, 100), RGB(255, 255, 255));
        s.Scale(0, 0, 100, 10);
        QCOMPARE(s.get_ScaleMode(), short(vbUser));
        QCOMPARE(s.get_ScaleWidth(), 100.0f);
        s.Line(50, 5, 100, 10, RGB(0, 0, 0), LineShape::FilledBox);
        QCOMPARE(inkRect(s.image(), qRgb(255, 255, 255), QRect(0, 0, 200, 100)).topLeft(),
                 QPoint(100, 50));
        s.put_ScaleLeft(10);
        QCOMPARE(s.pixelsXFromScale(10), 0);
        s.put_ScaleMode(vbPixels);
        QCOMPARE(s.get_ScaleLeft(), 0.0f);
        QCOMPARE(s.get_ScaleWidth(), 200.0f);
    }

    void hiddenWidgetGrows()
    {
        Surface s(QSize(10, 10));
        QVERIFY(!s.isVisible());
        s.put_ScaleMode(vbPixels);
        s.image();        // the image exists at the first size
        s.resize(60, 50); // no resize event reaches a hidden widget
        s.PSet(55, 45, RGB(255, 0, 0));
        QVERIFY(s.image().width() >= 60 && s.image().height() >= 50);
        QCOMPARE(s.Point(55, 45), qint32(RGB(255, 0, 0)));
        QCOMPARE(s.get_ScaleWidth(), 60.0f);
    }

    // A surface larger than any screen keeps its drawing over an 8K screen's worth only: what is
    // drawn near its origin stays, and no more memory than that is asked for.
    void giantSurfaceKeepsABoundedDrawing_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("kept");
        QTest::newRow("square") << QSize(666667, 666667) << QSize(16384, 2048);
        QTest::newRow("wide") << QSize(16777215, 30) << QSize(16384, 30);
        QTest::newRow("tall") << QSize(30, 16777215) << QSize(30, 16384);
        QTest::newRow("8K screen") << QSize(7680, 4320) << QSize(7680, 4320);
    }
    void giantSurfaceKeepsABoundedDrawing()
    {
        QFETCH(QSize, size);
        QFETCH(QSize, kept);
        Surface s(size, RGB(255, 255, 255), vbPixels);
        s.Line(1, 1, 5, 5, RGB(255, 0, 0), LineShape::FilledBox);
        QCOMPARE(s.image().size(), kept);
        QCOMPARE(s.Point(3, 3), qint32(RGB(255, 0, 0)));
        QCOMPARE(s.Point(float(kept.width() - 1), float(kept.height() - 1)), 0xFFFFFF);
        if (size.width() > kept.width()) QCOMPARE(s.Point(float(kept.width()), 0), -1);
        if (size.height() > kept.height()) QCOMPARE(s.Point(0, float(kept.height())), -1);
    }

    void invalidValuesRaise380()
    {
        Surface s(QSize(10, 10));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, s.put_DrawMode(17));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, s.put_ScaleMode(8));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, s.put_ScaleWidth(0));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, s.put_DrawWidth(0));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, s.put_BackColor(0x80000040u));
        QCOMPARE(s.get_DrawMode(), short(vbCopyPen));
        QCOMPARE(s.get_ScaleMode(), short(vbTwips));
        QCOMPARE(s.get_BackColor(), SystemColor::ButtonFace);
    }

    void paintEventRaisesPaintUnlessAutoRedraw()
    {
        Surface s(QSize(30, 30));
        s.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        const int before = s.paints;
        s.Refresh();
        QVERIFY(s.paints > before);
        s.put_AutoRedraw(true);
        const int later = s.paints;
        s.Refresh();
        QCOMPARE(s.paints, later);
    }

    void rotatedFontSelectedRestoredDeleted()
    {
        QCOMPARE(gdiLiveObjectCount(), 0);
        Surface s(QSize(60, 120), RGB(255, 255, 255));
        s.put_ForeColor(RGB(0, 0, 0));
        LOGFONTA lf;
        lf.lfHeight = -16;
        lf.lfEscapement = 900;
        lf.lfItalic = 255;
        std::strcpy(lf.lfFaceName, "Arial");
        const qint32 font = CreateFontIndirectA(lf);
        QVERIFY(font != 0);
        QCOMPARE(gdiLiveObjectCount(), 1);
        const qint32 previous = SelectObject(s.get_hDC(), font);
        QCOMPARE(previous, s.ownFontHandle());
        QCOMPARE(DeleteObject(font), 0); // still selected: refused
        s.put_ScaleMode(vbPixels);
        s.put_CurrentX(10);
        s.put_CurrentY(100);
        s.Print(QStringLiteral("Kv"));
        QCOMPARE(SelectObject(s.get_hDC(), previous), font);
        QCOMPARE(DeleteObject(font), 1);
        QCOMPARE(gdiLiveObjectCount(), 0);
        QCOMPARE(DeleteObject(font), 0); // already gone
        QCOMPARE(SelectObject(s.get_hDC(), font), 0);
    }

    void rotatedTextDirection_data()
    {
        QTest::addColumn<int>("escapement");
        QTest::addColumn<QPoint>("origin");
        QTest::addColumn<QRect>("allowed"); // where the ink may be
        // Counter-clockwise: reads upwards from the origin, glyphs to its right.
        QTest::newRow("900") << 900 << QPoint(20, 110) << QRect(20, 0, 40, 111);
        // Clockwise: reads downwards, glyphs to the left.
        QTest::newRow("-900") << -900 << QPoint(40, 10) << QRect(0, 10, 41, 110);
        QTest::newRow("0") << 0 << QPoint(5, 5) << QRect(5, 5, 55, 30);
    }

    void rotatedTextDirection()
    {
        QFETCH(int, escapement);
        QFETCH(QPoint, origin);
        QFETCH(QRect, allowed);
        Surface s(QSize(60, 120), RGB(255, 255, 255), vbPixels);
        s.put_ForeColor(RGB(0, 0, 0));
        LOGFONTA lf;
        lf.lfHeight = -14;
        lf.lfEscapement = escapement;
        std::strcpy(lf.lfFaceName, "Arial");
        const qint32 font = CreateFontIndirectA(lf);
        const qint32 previous = SelectObject(s.get_hDC(), font);
        s.put_CurrentX(origin.x());
        s.put_CurrentY(origin.y());
        s.Print(QStringLiteral("ABCDE"));
        SelectObject(s.get_hDC(), previous);
        QCOMPARE(DeleteObject(font), 1);
        const QRect ink = inkRect(s.image(), qRgb(255, 255, 255), QRect(0, 0, 60, 120));
        QVERIFY(ink.isValid());
        QVERIFY2(allowed.contains(ink), qPrintable(QDebug::toString(ink)));
        // Text along the height is taller than wide, and the other way round unturned.
        QCOMPARE(ink.height() > ink.width(), escapement != 0);
    }

    void gdiRefusals()
    {
        LOGFONTA lf;
        lf.lfWeight = 2000;
        QCOMPARE(CreateFontIndirectA(lf), 0);
        lf.lfWeight = 0;
        // A face name using all 32 bytes without a NUL is read no further.
        std::memset(lf.lfFaceName, 'A', sizeof lf.lfFaceName);
        const qint32 font = CreateFontIndirectA(lf);
        QVERIFY(font != 0);
        QCOMPARE(SelectObject(123456, font), 0); // no such hDC
        Surface s(QSize(10, 10));
        QCOMPARE(SelectObject(s.get_hDC(), 424242), 0);
        QCOMPARE(DeleteObject(s.ownFontHandle()), 0); // stock
        QCOMPARE(DeleteObject(font), 1);
        // Assigning the canvas's own font deselects a platform font.
        const qint32 other = CreateFontIndirectA(LOGFONTA{});
        SelectObject(s.get_hDC(), other);
        s.putref_Font(StdFont::create(QStringLiteral("Arial"), 10));
        QCOMPARE(s.selectedFontHandle(), s.ownFontHandle());
        QCOMPARE(DeleteObject(other), 1);
    }

    void cursorCalls()
    {
        ServicesScope scope;
        services().cursorPos = [] { return QPoint(345, 210); };
        POINTAPI p;
        QVERIFY(GetCursorPos(p) != 0);
        QCOMPARE(p.x, 345);
        QCOMPARE(p.y, 210);

        Surface s(QSize(50, 50));
        s.move(300, 200);
        s.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        const qint32 hwnd = s.get_hWnd();
        QVERIFY(hwnd != 0);
        QCOMPARE(s.get_hWnd(), hwnd);
        QCOMPARE(widgetFromHwnd(hwnd), &s);
        QVERIFY(ScreenToClient(hwnd, p) != 0);
        const QPoint want = s.mapFromGlobal(QPoint(345, 210));
        QCOMPARE(QPoint(p.x, p.y), want);

        POINTAPI untouched{7, 8};
        QCOMPARE(ScreenToClient(hwnd + 1, untouched), 0);
        QCOMPARE(untouched.x, 7);
        qint32 dead;
        {
            QWidget gone;
            dead = hwndOf(&gone);
        }
        QCOMPARE(widgetFromHwnd(dead), nullptr);
        QCOMPARE(ScreenToClient(dead, untouched), 0);
    }
};

QTEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
