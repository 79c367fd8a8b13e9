// xpoptionbutton as forms use it: a click selects it and clears the option buttons of its own
// container only (other controls untouched, disabled ones cleared too), values set by code clear
// nothing, p reports its own place in the surface's scale, MouseOut comes before the resting
// picture, the eight pictures in pixels, an odd saved value kept, what accessibility tools read,
// and a picture of the eight looks written for a person to check.

#include "apps/kvart/XpArt.h"
#include "controls/xp/xpcheckbox.h"
#include "controls/xp/xpoptionbutton.h"
#include "host/persist/PropertyBag.h"
#include "host/services/Services.h"
#include "host/widgets/Frame.h"
#include "host/widgets/HoverTimer.h"
#include "host/widgets/Image.h"
#include "host/widgets/Label.h"

#include <QAccessible>
#include <QPainter>
#include <QtTest>

using Kv_CTRL::xpoptionbutton;
namespace art = kvart::xpoptionbutton;

namespace {

QString rgb(QRgb c)
{
    return QStringLiteral("%1,%2,%3").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons held = Qt::NoButton)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void click(QWidget* w)
{
    mouse(w, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, {2, 2});
}

QWidget* child(QWidget* control, const char* name)
{
    return control->findChild<QWidget*>(QLatin1String(name));
}

} // namespace

// Option buttons on a window and on frames, each logging its events and notifications.
struct Rig {
    QWidget window;
    QStringList log;
    QPoint pointer{-100, -100};

    Rig()
    {
        host::services().cursorPos = [this] { return pointer; };
        window.resize(400, 300);
        window.show();
    }

    xpoptionbutton* add(QWidget* container, const QString& name, int top, bool value = false)
    {
        auto* b = host::UserControl::create<xpoptionbutton>(container, name);
        b->move(10, top);
        b->put_Value(value);
        QObject::connect(b, &xpoptionbutton::Click, b, [this, name] { log << name + " Click"; });
        QObject::connect(b, &host::UserControl::propertyChanged, b,
                         [this, name](const QString& p) { log << name + " " + p; });
        QObject::connect(b, &xpoptionbutton::MouseOut, b, [this, name, b] {
            log << QStringLiteral("%1 MouseOut @%2").arg(name).arg(b->shownPicture());
        });
        QObject::connect(
            b, &xpoptionbutton::MouseMove, b, [this, name](short& bt, short&, float& x, float& y) {
                log << QStringLiteral("%1 MouseMove %2 %3 %4").arg(name).arg(bt).arg(x).arg(y);
            });
        b->show();
        return b;
    }

    static QString values(const QList<xpoptionbutton*>& buttons)
    {
        QString s;
        for (const auto* b : buttons)
            s += b->get_Value() ? QLatin1Char('T') : QLatin1Char('F');
        return s;
    }
};

class tst_xpoptionbutton : public QObject {
    Q_OBJECT
    std::unique_ptr<host::ServicesScope> m_services;

private Q_SLOTS:
    void init() { m_services = std::make_unique<host::ServicesScope>(); }
    void cleanup() { m_services.reset(); }

    // Three buttons, the first selected, a check box and a label beside them; the second is
    // clicked on its surface, its caption or its picture.
    void clickSelects_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("surface") << QString();
        QTest::newRow("caption") << "lbl";
        QTest::newRow("picture") << "p";
    }
    void clickSelects()
    {
        QFETCH(QString, where);
        Rig r;
        auto* a = r.add(&r.window, "a", 10, true);
        auto* b = r.add(&r.window, "b", 40);
        auto* c = r.add(&r.window, "c", 70);
        auto* chk = host::UserControl::create<Kv_CTRL::xpcheckbox>(&r.window, "chk");
        chk->put_Value(Kv_CTRL::State::Checked);
        auto* label = new host::Label(&r.window, "lblValue");
        label->put_Caption("Value");
        r.log.clear();
        click(where.isEmpty() ? b : child(b, qPrintable(where)));
        QCOMPARE(r.log, (QStringList{"b Click", "a Value", "b Value", "c Value", "b Value"}));
        QCOMPARE(Rig::values({a, b, c}), QStringLiteral("FTF"));
        QCOMPARE(chk->get_Value(), Kv_CTRL::State::Checked);
        QCOMPARE(label->get_Caption(), QStringLiteral("Value"));
        QCOMPARE(b->shownPicture(), 4);
        QCOMPARE(a->shownPicture(), 0);
        // Clicking the selected one again: Click again, still selected.
        r.log.clear();
        click(b);
        QCOMPARE(r.log.first(), QStringLiteral("b Click"));
        QCOMPARE(Rig::values({a, b, c}), QStringLiteral("FTF"));
    }

    // Each frame is a group of its own; the form's own buttons are a third.
    void framesKeepTheirGroups()
    {
        Rig r;
        auto* f1 = new host::Frame(&r.window, "fraUm");
        auto* f2 = new host::Frame(&r.window, "fraDois");
        f1->setGeometry(0, 0, 180, 120);
        f2->setGeometry(200, 0, 180, 120);
        auto* a1 = r.add(f1, "a1", 20, true);
        auto* a2 = r.add(f1, "a2", 50);
        auto* b1 = r.add(f2, "b1", 20, true);
        auto* b2 = r.add(f2, "b2", 50);
        auto* form = r.add(&r.window, "form", 200, true);
        click(a2);
        QCOMPARE(Rig::values({a1, a2, b1, b2, form}), QStringLiteral("FTTFT"));
        click(b2);
        QCOMPARE(Rig::values({a1, a2, b1, b2, form}), QStringLiteral("FTFTT"));
    }

    // Set by code: nothing cleared, two selected until a click; a disabled one is cleared too.
    void byCodeAndDisabled()
    {
        Rig r;
        auto* a = r.add(&r.window, "a", 10, true);
        auto* b = r.add(&r.window, "b", 40, true);
        auto* c = r.add(&r.window, "c", 70);
        QCOMPARE(Rig::values({a, b, c}), QStringLiteral("TTF"));
        b->put_Enabled(false);
        QCOMPARE(b->shownPicture(), 7);
        const QImage shot = b->grab().toImage();
        QCOMPARE(rgb(shot.pixel(child(b, "p")->geometry().topLeft() + QPoint(6, 6))),
                 rgb(art::DisabledDot));
        click(c);
        QCOMPARE(Rig::values({a, b, c}), QStringLiteral("FFT"));
        QCOMPARE(b->shownPicture(), 3);
    }

    // p reports its own left and top in the surface's current scale: twips after a layout,
    // pixels after a tick (the control 375 twips high: p's top 67 twips, 4 pixels).
    void pReportsItsPlace_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("event");
        QTest::newRow("twips") << false << "b MouseMove 0 0 67";
        QTest::newRow("pixels") << true << "b MouseMove 0 0 4";
    }
    void pReportsItsPlace()
    {
        QFETCH(bool, ticked);
        QFETCH(QString, event);
        Rig r;
        auto* b = r.add(&r.window, "b", 10);
        b->Extender().put_Height(375);
        if (ticked) {
            r.pointer = b->mapToGlobal(QPoint(5, 5));
            host::HoverTimer::tickAll();
        }
        r.log.clear();
        mouse(child(b, "p"), QEvent::MouseMove, {9, 3});
        QCOMPARE(r.log, QStringList{event});
        QCOMPARE(b->shownPicture(), 1);
    }

    // A MouseOut handler still sees the hovered picture; the rest follows.
    void mouseOutBeforeRest()
    {
        Rig r;
        auto* b = r.add(&r.window, "b", 10, true);
        mouse(b, QEvent::MouseMove, {5, 5});
        r.log.clear();
        r.pointer = b->mapToGlobal(QPoint(200, 5));
        host::HoverTimer::tickAll();
        QCOMPARE(r.log, QStringList{"b MouseOut @5"});
        QCOMPARE(b->shownPicture(), 4);
    }

    // Every picture reached as a user does, checked in pixels; outside the circle the surface
    // shows through.
    void pictures_data()
    {
        QTest::addColumn<int>("n");
        for (int n = 0; n < 8; ++n)
            QTest::newRow(qPrintable(QString::number(n))) << n;
    }
    void pictures()
    {
        QFETCH(int, n);
        Rig r;
        auto* b = r.add(&r.window, "b", 10, n >= 4);
        const int condition = n % 4;
        if (condition == 1) mouse(b, QEvent::MouseMove, {5, 5});
        if (condition == 2) mouse(b, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
        if (condition == 3) b->put_Enabled(false);
        QCOMPARE(int(b->shownPicture()), n);
        const QImage shot = b->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage pic = shot.copy(QRect(child(b, "p")->geometry().topLeft(), QSize(13, 13)));
        const QRgb face = qRgb(236, 233, 216);
        for (const QPoint& corner : {QPoint(0, 0), QPoint(12, 0), QPoint(0, 12), QPoint(12, 12)})
            QCOMPARE(rgb(pic.pixel(corner)), rgb(face));
        const QRgb outline = condition == 3 ? art::DisabledOutline : art::Outline;
        for (const QPoint& edge : {QPoint(6, 0), QPoint(0, 6), QPoint(12, 6), QPoint(6, 12)})
            QCOMPARE(rgb(pic.pixel(edge)), rgb(outline));
        const QRgb centre = pic.pixel(6, 6);
        if (condition == 3)
            QCOMPARE(rgb(centre), rgb(n == 7 ? art::DisabledDot : 0xFFFFFFFF));
        else if (n >= 4) // the green dot, lit from the top left
            QVERIFY(qGreen(centre) > qRed(centre) + 60 &&
                    qGreen(pic.pixel(5, 5)) > qGreen(pic.pixel(8, 7)));
        else
            QVERIFY(qGreen(centre) - qRed(centre) < 20);
        if (condition == 1) {
            QCOMPARE(rgb(pic.pixel(6, 1)), rgb(art::RingTop));
            if (n == 1) QCOMPARE(rgb(centre), rgb(art::HoverCentre));
        }
        // The same pixels as the generator's picture over the surface's colour.
        QImage expected(13, 13, QImage::Format_RGB32);
        expected.fill(face);
        QPainter(&expected).drawImage(0, 0, art::picture(n));
        QCOMPARE(pic, expected);
    }

    // A saved value other than -1 or 0 reads True, has no picture and is saved again as it was.
    void oddSavedValue()
    {
        host::PropertyBag bag;
        bag.WriteProperty("Value", short(5), short(0));
        QWidget window;
        auto* b = host::UserControl::create<xpoptionbutton>(&window, "opt", &bag);
        QVERIFY(b->get_Value());
        QCOMPARE(b->shownPicture(), 0);
        host::PropertyBag saved;
        b->saveTo(saved);
        QCOMPARE(saved.ReadProperty("Value", 0).toLong(), 5);
        b->put_Value(true);
        b->saveTo(saved);
        QCOMPARE(saved.ReadProperty("Value", 0).toLong(), -1);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
        QCOMPARE(a->role(), QAccessible::RadioButton);
        QVERIFY(a->state().checked);
    }

    // The eight pictures side by side (twice their size), for a person to check.
    void writePictures()
    {
        QImage out(8 * 34 + 8, 34, QImage::Format_RGB32);
        out.fill(QColor(236, 233, 216));
        QPainter painter(&out);
        for (int n = 0; n < 8; ++n)
            painter.drawImage(QRect(8 + n * 34, 4, 26, 26), art::picture(n));
        painter.end();
        const QString path = QDir::current().absoluteFilePath("xpoptionbutton-looks.png");
        QVERIFY(out.save(path));
        qInfo("eight pictures written to %s", qPrintable(path));
    }
};

QTEST_MAIN(tst_xpoptionbutton)
#include "tst_xpoptionbutton.moc"
