// The host's other intrinsic widgets, control arrays, the timer, the picture strip and the key
// translation, driven as a user and a host would.

#include "host/value/RuntimeError.h"
#include "host/value/StdFont.h"
#include "host/widgets/ComboBox.h"
#include "host/widgets/CommandButton.h"
#include "host/widgets/ControlArray.h"
#include "host/widgets/Image.h"
#include "host/widgets/Label.h"
#include "host/widgets/LineControl.h"
#include "host/widgets/PictureBox.h"
#include "host/widgets/PictureClip.h"
#include "host/widgets/Shape.h"
#include "host/widgets/TextBox.h"
#include "host/widgets/Timer.h"

#include <QApplication>
#include <QPainter>
#include <QtTest>
#include <functional>

using namespace host;

namespace {
template <class F>
int errorOf(F&& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

// A strip of `cols` x `rows` cells, each filled with its own colour (red = 10 * cell number).
QImage cellStrip(int cols, int rows, int cellW, int cellH)
{
    QImage img(cols * cellW, rows * cellH, QImage::Format_RGB32);
    QPainter p(&img);
    for (int n = 0; n < cols * rows; ++n)
        p.fillRect((n % cols) * cellW, (n / cols) * cellH, cellW, cellH, QColor(10 * n, 50, 200));
    return img;
}
} // namespace

class TstWidgets : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keyTranslation_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("keyAscii");
        QTest::addColumn<int>("shift");
        auto row = [](const char* name, int key, int mods, const QString& text, int code, int ascii,
                      int shift) {
            QTest::newRow(name) << key << mods << text << code << ascii << shift;
        };
        row("a", Qt::Key_A, 0, "a", 65, 97, 0);
        row("shift A", Qt::Key_A, Qt::ShiftModifier, "A", 65, 65, 1);
        row("keypad 5", Qt::Key_5, Qt::KeypadModifier, "5", 101, 53, 0);
        row("shift 1 is !", Qt::Key_Exclam, Qt::ShiftModifier, "!", 49, 33, 1);
        row("enter", Qt::Key_Return, 0, "\r", 13, 13, 0);
        row("delete types nothing", Qt::Key_Delete, 0, "\x7f", 46, 0, 0);
        row("ctrl V, no text", Qt::Key_V, Qt::ControlModifier, "", 86, 22, 2);
        row("alt F", Qt::Key_F, Qt::AltModifier, "f", 70, 0, 4);
        row("c cedilla", Qt::Key_Ccedilla, 0, QString::fromUtf8("ç"), 186, 231, 0);
    }
    void keyTranslation()
    {
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(QString, text);
        QFETCH(int, keyCode);
        QFETCH(int, keyAscii);
        QFETCH(int, shift);
        const QKeyEvent e(QEvent::KeyPress, key, Qt::KeyboardModifiers(mods), text);
        QCOMPARE(int(virtualKeyCode(&e)), keyCode);
        QCOMPARE(int(keyAsciiOf(&e)), keyAscii);
        QCOMPARE(int(shiftMask(e.modifiers())), shift);
    }

    void labelMouseEvents()
    {
        QWidget top;
        auto* label = new Label(&top, QStringLiteral("lbl"));
        label->setGeometry(0, 0, 60, 20);
        QStringList log;
        auto mouse = [&](const char* what) {
            return [&log, what](short& b, short& s, float& x, float& y) {
                log << QStringLiteral("%1 %2 %3 %4,%5")
                           .arg(QLatin1String(what))
                           .arg(b)
                           .arg(s)
                           .arg(x)
                           .arg(y);
            };
        };
        connect(label, &Label::MouseDown, label, mouse("down"));
        connect(label, &Label::MouseUp, label, mouse("up"));
        connect(label, &Label::Click, label, [&] { log << QStringLiteral("click"); });
        connect(label, &Label::DblClick, label, [&] { log << QStringLiteral("dbl"); });
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseDClick(label, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(log,
                 (QStringList{"down 1 0 75,75", "up 1 0 75,75", "click", "dbl", "up 1 0 75,75"}));
        // A right click raises the mouse events only; positions are in twips.
        log.clear();
        QTest::mouseClick(label, Qt::RightButton, Qt::ShiftModifier, QPoint(10, 4));
        QCOMPARE(log, (QStringList{"down 2 1 150,60", "up 2 1 150,60"}));
    }

    void labelCaptionAndAutoSize()
    {
        QWidget top;
        auto* label = new Label(&top, QStringLiteral("lbl"));
        int changes = 0;
        connect(label, &Label::Change, label, [&] { ++changes; });
        label->put_Caption(QStringLiteral("Mês"));
        label->put_Caption(QStringLiteral("Mês"));
        QCOMPARE(changes, 1);
        label->put_AutoSize(true);
        const int shortWidth = label->width();
        QVERIFY(shortWidth > 0);
        label->put_Caption(QStringLiteral("Mês de referência"));
        QVERIFY(label->width() > shortWidth);
        QCOMPARE(label->get_Width(), float(label->width() * 15));
        // The access-key marker takes no room: "&Ok" is as wide as "Ok".
        label->put_Caption(QStringLiteral("Ok"));
        const int plain = label->width();
        label->put_Caption(QStringLiteral("&Ok"));
        QCOMPARE(label->width(), plain);
        QCOMPARE(errorOf([&] { label->put_BackStyle(2); }), 380);
    }

    void labelBackStyleShowsOnPixels_data()
    {
        QTest::addColumn<short>("backStyle");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("opaque") << short(1) << QColor(0, 0, 255);
        QTest::newRow("transparent") << short(0) << QColor(0, 255, 0);
    }
    void labelBackStyleShowsOnPixels()
    {
        QFETCH(short, backStyle);
        QFETCH(QColor, expected);
        QWidget top;
        top.resize(100, 50);
        top.setAutoFillBackground(true);
        QPalette pal = top.palette();
        pal.setColor(QPalette::Window, QColor(0, 255, 0));
        top.setPalette(pal);
        auto* label = new Label(&top, QStringLiteral("lbl"));
        label->setGeometry(10, 10, 50, 20);
        label->put_BackColor(RGB(0, 0, 255));
        label->put_BackStyle(backStyle);
        const QImage img = top.grab().toImage();
        QCOMPARE(img.pixelColor(55, 25), expected);
    }

    // The classic looks: a flat box has a one-pixel black line, a 3D box the style's frame,
    // BorderStyle 0 none; a button shows the classic face, not the desktop style's.
    void textBoxFrameLooks_data()
    {
        QTest::addColumn<short>("appearance");
        QTest::addColumn<short>("borderStyle");
        QTest::addColumn<bool>("blackLine");
        QTest::addColumn<bool>("anyFrame");
        QTest::newRow("flat") << short(0) << short(1) << true << true;
        QTest::newRow("3D") << short(1) << short(1) << false << true;
        QTest::newRow("no border") << short(1) << short(0) << false << false;
    }
    void textBoxFrameLooks()
    {
        QFETCH(short, appearance);
        QFETCH(short, borderStyle);
        QFETCH(bool, blackLine);
        QFETCH(bool, anyFrame);
        QWidget top;
        top.resize(120, 40);
        auto* box = new TextBox(&top, QStringLiteral("txt"));
        box->setGeometry(10, 10, 100, 21);
        box->put_BackColor(RGB(255, 255, 255));
        box->put_Appearance(appearance);
        box->put_BorderStyle(borderStyle);
        const QImage img = box->grab().toImage();
        const QColor edge = img.pixelColor(0, 10);
        QCOMPARE(edge == QColor(0, 0, 0), blackLine);
        QCOMPARE(edge != QColor(255, 255, 255), anyFrame);
    }
    void buttonShowsTheClassicFace()
    {
        QWidget top;
        top.resize(120, 40);
        auto* button = new CommandButton(&top, QStringLiteral("cmd"));
        button->setGeometry(10, 10, 80, 24);
        const QColor face = button->grab().toImage().pixelColor(40, 12);
        const QColor want = toQColor(SystemColor::ButtonFace);
        QVERIFY2(qAbs(face.red() - want.red()) <= 12 && qAbs(face.green() - want.green()) <= 12 &&
                     qAbs(face.blue() - want.blue()) <= 12,
                 qPrintable(face.name()));
    }

    void comboFillingSelectsNothing()
    {
        QWidget top;
        auto* combo = new ComboBox(&top, QStringLiteral("cmbMes"));
        int clicks = 0;
        connect(combo, &ComboBox::Click, combo, [&] { ++clicks; });
        for (const char* m : {"Janeiro", "Fevereiro", "Março"})
            combo->AddItem(QString::fromUtf8(m));
        QCOMPARE(combo->get_ListIndex(), short(-1));
        QCOMPARE(clicks, 0);
        combo->put_ListIndex(1);
        QCOMPARE(clicks, 1);
        QCOMPARE(combo->get_Text(), QStringLiteral("Fevereiro"));
        combo->put_ListIndex(1); // no change, no Click
        QCOMPARE(clicks, 1);
        combo->AddItem(QStringLiteral("Zero"), short(0)); // the selection moves with its item
        QCOMPARE(combo->get_ListIndex(), short(2));
        QCOMPARE(combo->get_NewIndex(), short(0));
        combo->Clear();
        QCOMPARE(combo->get_ListIndex(), short(-1));
        QCOMPARE(clicks, 1);
        QCOMPARE(errorOf([&] { combo->put_ListIndex(0); }), 380);
        QCOMPARE(errorOf([&] { combo->RemoveItem(0); }), 5);
        QCOMPARE(errorOf([&] { combo->AddItem(QStringLiteral("x"), short(2)); }), 5);
    }

    void comboListStyle()
    {
        QWidget top;
        auto* combo = new ComboBox(&top, QStringLiteral("cmbAno"));
        combo->put_Style(2);
        int clicks = 0;
        connect(combo, &ComboBox::Click, combo, [&] { ++clicks; });
        combo->AddItem(QStringLiteral("1900"));
        combo->AddItem(QStringLiteral("1901"));
        QCOMPARE(combo->get_ListIndex(), short(-1));
        combo->put_Text(QStringLiteral("1901"));
        QCOMPARE(combo->get_ListIndex(), short(1));
        QCOMPARE(clicks, 1);
        QCOMPARE(errorOf([&] { combo->put_Text(QStringLiteral("2099")); }), 383);
        combo->RemoveItem(1); // the selected item: nothing is selected, no Click
        QCOMPARE(combo->get_ListIndex(), short(-1));
        QCOMPARE(clicks, 1);
    }

    void comboKeyCodeZeroStopsArrows_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("stop");
        QTest::addColumn<int>("index");
        QTest::newRow("down moves") << int(Qt::Key_Down) << false << 2;
        QTest::newRow("down stopped") << int(Qt::Key_Down) << true << 1;
        QTest::newRow("up stopped") << int(Qt::Key_Up) << true << 1;
    }
    void comboKeyCodeZeroStopsArrows()
    {
        QFETCH(int, key);
        QFETCH(bool, stop);
        QFETCH(int, index);
        QWidget top;
        auto* combo = new ComboBox(&top, QStringLiteral("cmb"));
        combo->put_Style(2);
        for (const char* item : {"a", "b", "c"})
            combo->AddItem(QString::fromLatin1(item));
        combo->put_ListIndex(1);
        QList<int> codes;
        connect(combo, &ComboBox::KeyDown, combo, [&](short& code, short&) {
            codes << code;
            if (stop) code = 0;
        });
        QTest::keyClick(combo, Qt::Key(key));
        QCOMPARE(combo->get_ListIndex(), short(index));
        QCOMPARE(codes, QList<int>{key == Qt::Key_Down ? 40 : 38});
    }

    void buttonClicks()
    {
        QWidget top;
        top.resize(200, 100);
        auto* box = new TextBox(&top, QStringLiteral("txt"));
        auto* ok = new CommandButton(&top, QStringLiteral("cmdOk"));
        auto* cancel = new CommandButton(&top, QStringLiteral("cmdCancel"));
        box->setGeometry(0, 0, 100, 20);
        ok->setGeometry(0, 30, 60, 20);
        cancel->setGeometry(70, 30, 60, 20);
        ok->put_Caption(QStringLiteral("&Ok"));
        ok->put_Default(true);
        cancel->put_Cancel(true);
        QStringList log;
        connect(ok, &CommandButton::Click, ok, [&] { log << QStringLiteral("ok"); });
        connect(cancel, &CommandButton::Click, cancel, [&] { log << QStringLiteral("cancel"); });
        connect(ok, &CommandButton::MouseUp, ok,
                [&](short&, short&, float&, float&) { log << QStringLiteral("ok up"); });
        top.show();
        QApplication::setActiveWindow(&top);
        QVERIFY(QTest::qWaitForWindowActive(&top));

        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(log, (QStringList{"ok up", "ok"}));
        log.clear();
        box->SetFocus();
        QTest::keyClick(box, Qt::Key_Return); // the window's default button
        QTest::keyClick(box, Qt::Key_Escape); // its cancel button
        QCOMPARE(log, (QStringList{"ok", "cancel"}));
        log.clear();
        cancel->SetFocus();
        QTest::keyClick(cancel, Qt::Key_Space);
        QTest::keyClick(cancel, Qt::Key_Return); // a focused button takes Enter itself
        QCOMPARE(log, (QStringList{"cancel", "cancel"}));
        log.clear();
        // KeyAscii 0 keeps Space from clicking.
        connect(cancel, &CommandButton::KeyPress, cancel, [](short& a) { a = 0; });
        QTest::keyClick(cancel, Qt::Key_Space);
        QCOMPARE(log, QStringList{});
        // Only one default button per window.
        cancel->put_Default(true);
        QVERIFY(!ok->get_Default());
    }

    void timerTicks()
    {
        QWidget top;
        auto* timer = new Timer(&top, QStringLiteral("Timer1"));
        int ticks = 0;
        connect(timer, &Timer::Tick, timer, [&] { ++ticks; });
        QVERIFY(timer->get_Enabled());
        QVERIFY(!timer->isTicking()); // Interval 0
        timer->put_Interval(10);
        QVERIFY(timer->isTicking());
        QTRY_VERIFY(ticks >= 3);
        timer->put_Enabled(false);
        QVERIFY(!timer->isTicking());
        const int stopped = ticks;
        QTest::qWait(40);
        QCOMPARE(ticks, stopped);
        timer->put_Enabled(true);
        QTRY_VERIFY(ticks > stopped);
        timer->put_Interval(0);
        QVERIFY(!timer->isTicking());
        QCOMPARE(errorOf([&] { timer->put_Interval(-1); }), 380);
    }

    void timerHandlerDisposingItsTimer()
    {
        QWidget top;
        auto* timer = new Timer(&top, QStringLiteral("Timer1"));
        QPointer<Timer> alive(timer);
        int ticks = 0;
        connect(timer, &Timer::Tick, timer, [&] {
            ++ticks;
            dispose(timer);
        });
        timer->put_Interval(10);
        QTRY_VERIFY(alive.isNull());
        QCOMPARE(ticks, 1);
    }

    void controlArray()
    {
        QWidget top;
        top.resize(300, 100);
        ControlArray<Label> lblDia(&top, QStringLiteral("lblDia"));
        QList<short> clicked;
        QList<short> downs;
        lblDia.onDblClick([&](short Index) { clicked << Index; });
        for (short i = 1; i <= 3; ++i)
            lblDia.Load(i)->setGeometry(20 * i, 0, 18, 18);
        lblDia.onMouseDown([&](short Index, short& Button, short&, float&, float&) {
            downs << Index;
            Button = 0; // a reference to the event's own argument
        });
        QCOMPARE(lblDia.item(2)->objectName(), QStringLiteral("lblDia(2)"));
        QCOMPARE(lblDia.item(2)->get_Index(), short(2));
        QCOMPARE(lblDia.UBound(), short(3));
        QTest::mouseDClick(lblDia(3), Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(lblDia(3), Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mousePress(lblDia(1), Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(lblDia(1), Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(clicked, QList<short>{3});
        QCOMPARE(downs, QList<short>{1});

        QCOMPARE(errorOf([&] { lblDia.item(7); }), 340);
        QCOMPARE(errorOf([&] { lblDia.item(-1); }), 9);
        QCOMPARE(errorOf([&] { lblDia.Load(2); }), 360);
        QPointer<Label> second(lblDia(2));
        lblDia.Unload(2);
        QCOMPARE(errorOf([&] { lblDia.item(2); }), 340);
        QCOMPARE(lblDia.Count(), short(2));
        QTRY_VERIFY(second.isNull());
    }

    void pictureClipCells_data()
    {
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cell");
        QTest::addColumn<int>("cellX"); // where the cell lies in the strip, in cells
        QTest::addColumn<int>("cellY");
        QTest::newRow("last of a row") << 5 << 1 << 4 << 4 << 0;
        QTest::newRow("column strip") << 1 << 12 << 7 << 0 << 7;
        QTest::newRow("grid, second row") << 3 << 2 << 4 << 1 << 1;
    }
    void pictureClipCells()
    {
        QFETCH(int, cols);
        QFETCH(int, rows);
        QFETCH(int, cell);
        QFETCH(int, cellX);
        QFETCH(int, cellY);
        PictureClip pc(nullptr, QStringLiteral("pc"));
        pc.put_Cols(short(cols));
        pc.put_Rows(short(rows));
        pc.put_Picture(StdPicture::create(cellStrip(cols, rows, 18, 21)));
        const PictureRef picture = pc.GraphicCell(short(cell));
        QVERIFY(picture);
        QCOMPARE(picture->widthPixels(), 18);
        QCOMPARE(picture->heightPixels(), 21);
        const QColor expected(10 * (cellY * cols + cellX), 50, 200);
        QCOMPARE(picture->image().pixelColor(0, 0), expected);
        QCOMPARE(picture->image().pixelColor(17, 20), expected);
        QCOMPARE(pc.GraphicCell(short(cell)), picture); // cut once
    }

    void pictureClipErrors()
    {
        PictureClip pc(nullptr, QStringLiteral("pc"));
        QCOMPARE(errorOf([&] { pc.GraphicCell(0); }), 481);
        pc.put_Cols(5);
        pc.put_Picture(StdPicture::create(cellStrip(5, 1, 18, 21)));
        QCOMPARE(errorOf([&] { pc.GraphicCell(5); }), 380);
        QCOMPARE(errorOf([&] { pc.GraphicCell(-1); }), 380);
        QCOMPARE(errorOf([&] { pc.put_Rows(0); }), 380);
        QCOMPARE(errorOf([&] { pc.put_Cols(-2); }), 380);
        QCOMPARE(pc.get_Cols(), short(5));
    }

    void sharedFontReachesEveryHolder()
    {
        QWidget top;
        auto* a = new Label(&top, QStringLiteral("a"));
        auto* b = new TextBox(&top, QStringLiteral("b"));
        const FontRef font = StdFont::create(QStringLiteral("MS Sans Serif"), 8.25);
        a->putref_Font(font);
        b->putref_Font(font);
        font->put_Bold(true);
        QVERIFY(a->font().bold() && b->font().bold());
        b->putref_Font(nullptr); // back to the inherited font
        font->put_Size(20);
        QVERIFY(!b->font().bold());
        QCOMPARE(a->font().pointSizeF(), 20.0);
    }

    void visibleAndEnabledAreTheWidgetsOwnFlags()
    {
        QWidget top; // never shown
        auto* label = new Label(&top, QStringLiteral("lbl"));
        label->put_Visible(false);
        QVERIFY(!label->get_Visible());
        top.setEnabled(false);
        QVERIFY(label->get_Enabled()); // disabled by its container, not by itself
        label->put_Enabled(false);
        QVERIFY(!label->get_Enabled());
    }

    void shapeAndLinePixels()
    {
        QWidget top;
        top.resize(100, 100);
        top.setAutoFillBackground(true);
        QPalette pal = top.palette();
        pal.setColor(QPalette::Window, Qt::white);
        top.setPalette(pal);
        auto* shape = new Shape(&top, QStringLiteral("shp"));
        shape->setGeometry(10, 10, 40, 30);
        shape->put_BorderColor(RGB(255, 0, 0));
        shape->put_FillStyle(0);
        shape->put_FillColor(RGB(0, 0, 255));
        auto* line = new LineControl(&top, QStringLiteral("lin"));
        line->put_BorderColor(RGB(0, 128, 0));
        line->put_X1(60 * 15);
        line->put_Y1(80 * 15);
        line->put_X2(90 * 15);
        line->put_Y2(80 * 15);
        const QImage img = top.grab().toImage();
        QCOMPARE(img.pixelColor(10, 20), QColor(255, 0, 0)); // border
        QCOMPARE(img.pixelColor(30, 25), QColor(0, 0, 255)); // fill
        QCOMPARE(img.pixelColor(5, 5), QColor(Qt::white));
        QCOMPARE(img.pixelColor(75, 80), QColor(0, 128, 0));
        QCOMPARE(img.pixelColor(75, 83), QColor(Qt::white));
    }

    void imageTakesThePictureSize()
    {
        QWidget top;
        auto* image = new Image(&top, QStringLiteral("img"));
        int clicks = 0;
        connect(image, &Image::Click, image, [&] { ++clicks; });
        image->put_Picture(StdPicture::create(cellStrip(1, 1, 18, 21)));
        QCOMPARE(image->size(), QSize(18, 21));
        image->put_Stretch(true);
        image->put_Width(600);
        QCOMPARE(image->width(), 40);
        QCOMPARE(image->grab().toImage().pixelColor(39, 20), QColor(0, 50, 200));
        QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(clicks, 1);
    }

    void pictureBoxDrawsAndReportsInItsScale()
    {
        QWidget top;
        top.resize(100, 100);
        auto* pic = new PictureBox(&top, QStringLiteral("p"));
        pic->put_BorderStyle(0);
        pic->setGeometry(0, 0, 40, 40);
        pic->put_AutoSize(true);
        pic->put_Picture(StdPicture::create(cellStrip(1, 1, 16, 16)));
        QCOMPARE(pic->size(), QSize(16, 16));
        QCOMPARE(pic->grab().toImage().pixelColor(8, 8), QColor(0, 50, 200));
        int paints = 0;
        connect(pic, &PictureBox::Paint, pic, [&] { ++paints; });
        pic->grab();
        QVERIFY(paints >= 1);
        float x = 0, y = 0;
        connect(pic, &PictureBox::MouseDown, pic, [&](short&, short&, float& X, float& Y) {
            x = X;
            y = Y;
        });
        QTest::mousePress(pic, Qt::LeftButton, {}, QPoint(4, 6));
        QCOMPARE(x, 60.f); // twips
        pic->put_ScaleMode(vbPixels);
        QTest::mousePress(pic, Qt::LeftButton, {}, QPoint(4, 6));
        QCOMPARE(x, 4.f);
        QCOMPARE(y, 6.f);
    }
};

QTEST_MAIN(TstWidgets)
#include "tst_widgets.moc"
