// The gauge as a form shows it: the bar's extent in pixels, the caption inverted under it, the
// bounds that clamp, refused values, and gauges of any size.

#include "controls/progress/ProgressBar.h"
#include "host/forms/Form.h"
#include "host/persist/PropertyBag.h"
#include "host/services/Services.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/PictureBox.h"

#include <QtTest>
#include <cmath>

using Kv_CTRL::ProgressBar;

namespace {

const QRgb White = qRgb(255, 255, 255), Blue = qRgb(0, 0, 255), Black = qRgb(0, 0, 0),
           Yellow = qRgb(255, 255, 0);

host::PictureBox* gauge(ProgressBar* bar)
{
    return bar->findChild<host::PictureBox*>(QStringLiteral("picGuage"));
}

// The drawing of the gauge box, in pixels of its inside.
QImage drawing(ProgressBar* bar)
{
    return gauge(bar)->image().copy();
}

int count(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const host::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

class TestProgressBar : public QObject {
    Q_OBJECT

    host::Form m_form;
    ProgressBar* add(const QString& name = QStringLiteral("pb"))
    {
        ProgressBar* bar = m_form.add<ProgressBar>(name);
        m_form.show();
        return bar;
    }

private Q_SLOTS:
    void cleanup() { m_form.unload(); }

    void newGaugeShowsItsBackColourOnly()
    {
        ProgressBar* bar = add();
        const QImage image = drawing(bar);
        QCOMPARE(count(image, White), image.width() * image.height());
    }

    void barReachesItsShareOfTheInnerWidth_data()
    {
        QTest::addColumn<float>("minimum");
        QTest::addColumn<float>("maximum");
        QTest::addColumn<float>("value");
        QTest::addColumn<double>("percent"); // of the inner width; 0 = no bar
        QTest::newRow("half") << 0.f << 100.f << 50.f << 50.0;
        QTest::newRow("full") << 0.f << 100.f << 100.f << 100.0;
        QTest::newRow("bounds only clamp") << 20.f << 40.f << 30.f << 30.0;
        QTest::newRow("below Min drawn as Min") << 20.f << 40.f << 5.f << 20.0;
        QTest::newRow("above Max drawn as Max") << 0.f << 100.f << 150.f << 100.0;
        QTest::newRow("45.5 as 46") << 0.f << 100.f << 45.5f << 46.0;
        QTest::newRow("44.5 as 44") << 0.f << 100.f << 44.5f << 44.0;
        QTest::newRow("zero: no bar") << 0.f << 100.f << 0.f << 0.0;
        QTest::newRow("negative: no bar") << -50.f << 100.f << -20.f << 0.0;
    }
    void barReachesItsShareOfTheInnerWidth()
    {
        QFETCH(float, minimum);
        QFETCH(float, maximum);
        QFETCH(float, value);
        QFETCH(double, percent);
        ProgressBar* bar = add();
        bar->put_Min(minimum);
        bar->put_Max(maximum);
        bar->put_Value(value);
        QCOMPARE(bar->get_Value(), value); // clamping is drawn, not stored
        // The top row inside the one-pixel margin holds no text: only bar and background.
        const QImage row = drawing(bar).copy(0, 1, gauge(bar)->image().width(), 1);
        const int right = qRound((row.width() - 1) * percent / 100.0);
        QCOMPARE(row.pixel(0, 0), White); // the margin
        QCOMPARE(count(row, Blue), right);
        if (right > 0) QCOMPARE(row.pixel(right, 0), Blue);
        if (right + 1 < row.width()) QCOMPARE(row.pixel(right + 1, 0), White);
    }

    void textInvertsUnderTheBar_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<bool>("plain");    // text in the box's fore colour (black)
        QTest::addColumn<bool>("inverted"); // black ^ blue ^ white
        QTest::newRow("no bar") << 0.f << true << false;
        QTest::newRow("crossing") << 50.f << true << true;
        QTest::newRow("covered") << 100.f << false << true;
    }
    void textInvertsUnderTheBar()
    {
        QFETCH(float, value);
        QFETCH(bool, plain);
        QFETCH(bool, inverted);
        ProgressBar* bar = add();
        bar->put_Caption(QStringLiteral("MMMMMMMMMMMM"));
        bar->put_Value(value);
        const QImage image = drawing(bar);
        QCOMPARE(count(image, Black) > 0, plain);
        QCOMPARE(count(image, Yellow) > 0, inverted);
    }

    // What is printed, compared with a gauge that prints the expected text as its caption.
    void printedText_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("percent");
        QTest::addColumn<float>("min");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("printed");
        QTest::newRow("caption and percent")
            << "Cadastro" << true << 0.f << 45.f << "Cadastro 45 %";
        QTest::newRow("percent at 0") << "" << true << 0.f << 0.f << "0 %";
        QTest::newRow("caption alone") << "Cadastro" << false << 0.f << 45.f << "Cadastro";
        QTest::newRow("clamped to Max") << "" << true << 0.f << 400.f << "100 %";
        QTest::newRow("rounded to zero from below") << "" << true << -100.f << -0.4f << "0 %";
        QTest::newRow("beyond 64 bits")
            << "" << true << -3e38f << -1e20f << "-100000002004087734272 %";
    }
    void printedText()
    {
        QFETCH(QString, caption);
        QFETCH(bool, percent);
        QFETCH(float, min);
        QFETCH(float, value);
        QFETCH(QString, printed);
        ProgressBar* bar = add(QStringLiteral("a"));
        bar->put_Min(min);
        bar->put_Caption(caption);
        bar->put_ViewPercent(percent);
        bar->put_Value(value);
        ProgressBar* twin = add(QStringLiteral("b"));
        twin->put_Caption(printed);
        twin->put_Value(value);
        QCOMPARE(drawing(bar), drawing(twin));
    }

    void refusedValuesChangeNothing()
    {
        ProgressBar* bar = add();
        QStringList changes;
        connect(bar, &host::UserControl::propertyChanged, this,
                [&](const QString& name) { changes << name; });
        QCOMPARE(errorOf([&] { bar->put_Min(150); }), 380);
        QCOMPARE(errorOf([&] { bar->put_Max(-1); }), 380);
        QCOMPARE(errorOf([&] { bar->put_Value(std::nanf("")); }), 380);
        QCOMPARE(errorOf([&] { bar->put_Max(INFINITY); }), 380);
        QCOMPARE(errorOf([&] { bar->put_BorderStyle(Kv_CTRL::MyBorderStyle(65537)); }), 6);
        QCOMPARE(errorOf([&] { bar->put_BorderStyle(Kv_CTRL::MyBorderStyle(2)); }), 380);
        QCOMPARE(bar->get_BorderStyle(), Kv_CTRL::MyBorderStyle::Fixed);
        bar->put_Caption(QStringLiteral("Total"));
        QCOMPARE(errorOf([&] { bar->put_Caption(host::Variant::null()); }), 94);
        QCOMPARE(bar->get_Caption().toString(), QStringLiteral("Total"));
        QCOMPARE(bar->get_Min(), 0.f);
        QCOMPARE(bar->get_Max(), 100.f);
        bar->put_Max(0); // equal bounds are accepted
        QCOMPARE(changes, (QStringList{QStringLiteral("Caption"), QStringLiteral("Max")}));
    }

    void savedCrossedBoundsLoad()
    {
        host::PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Min"), 80.f, 0.f);
        bag.WriteProperty(QStringLiteral("Max"), 10.f, 100.f);
        bag.WriteProperty(QStringLiteral("Value"), 50.f, 0.f);
        bag.WriteProperty(QStringLiteral("ViewPercent"), true, false);
        ProgressBar* bar = m_form.add<ProgressBar>(QStringLiteral("pb"), bag);
        QCOMPARE(bar->get_Min(), 80.f);
        QCOMPARE(bar->get_Max(), 10.f);
        host::PropertyBag saved;
        bar->saveTo(saved);
        QCOMPARE(saved.ReadProperty(QStringLiteral("Min"), 0.f).toSingle(), 80.f);
        QCOMPARE(saved.ReadProperty(QStringLiteral("ViewPercent"), false).toBoolean(), true);
    }

    void borderStyleNoneRemovesTheFrame()
    {
        ProgressBar* bar = add();
        const int framed = drawing(bar).width();
        bar->put_BorderStyle(Kv_CTRL::MyBorderStyle::None);
        QCOMPARE(drawing(bar).width(), framed + 4); // the sunken frame's two pixels a side
        QCOMPARE(bar->get_BorderStyle(), Kv_CTRL::MyBorderStyle::None);
    }

    void anySizeAndValuePaints()
    {
        host::ServicesScope scope;
        QStringList errors;
        host::services().reportError = [&](const host::RuntimeError& e) {
            errors << e.description();
        };
        ProgressBar* bar = add();
        bar->Extender().put_Width(3000 * 15);
        bar->put_Max(50000);
        bar->put_Value(40000);
        bar->put_ViewPercent(true);
        QVERIFY(QTest::qWaitForWindowExposed(m_form.widget()));
        bar->repaint();
        QCOMPARE(errors, QStringList());
        QCOMPARE(drawing(bar).pixel(5, 1), Blue);
    }
};

QTEST_MAIN(TestProgressBar)
#include "tst_progressbar.moc"
