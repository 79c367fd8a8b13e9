// VericalText as a host uses it: where the rotated text starts and which way it reads, the
// font's styles, the gradient over a stand-in screen, one message per drawing fault, every setter
// redrawing at once, and saving to and loading from a bag.

#include "controls/verticaltext/VericalText.h"
#include "host/forms/Form.h"
#include "host/persist/PropertyBag.h"
#include "host/services/Services.h"
#include "host/widgets/Gdi.h"

#include <QSignalSpy>
#include <QtTest>
#include <vector>

using host::FontRef;
using host::StdFont;
using Kv_CTRL::VericalText;
using Kv_CTRL::zOpOrient;

namespace {

constexpr QRgb White = 0xFFFFFF;

struct Message {
    QString prompt;
    int style;
    QString title;
};

// A shown form holding one strip in black on white, a 1024 x 768 screen and recorded boxes.
class Fixture {
public:
    explicit Fixture(float heightTwips = 3960)
    {
        host::services().screenSize = [this] { return screen; };
        host::services().msgBox = [this](const QString& prompt, int style, const QString& title) {
            messages.push_back({prompt, style, title});
            return 1;
        };
        form.load();
        form.widget()->resize(200, 900);
        strip = form.add<VericalText>(QStringLiteral("vtTitulo"));
        strip->put_Height(heightTwips);
        strip->put_BackColor(host::RGB(255, 255, 255));
        strip->put_ForeColor(host::RGB(0, 0, 0));
        form.show();
    }
    QImage grab() { return strip->grab().toImage(); }
    // The smallest rectangle holding every pixel that is not the white background.
    QRect ink() { return inkOf(grab()); }
    static QRect inkOf(const QImage& image)
    {
        QRect ink;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) != White) ink |= QRect(x, y, 1, 1);
        return ink;
    }
    void setFont(const QString& face, double points)
    {
        strip->putref_Font(StdFont::create(face, points));
    }

    host::ServicesScope services;
    QSize screen{1024, 768};
    std::vector<Message> messages;
    host::Form form;
    VericalText* strip = nullptr;
};

} // namespace

class VericalTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every drawing, failed or not, deletes the font it made.
    void cleanup() { QCOMPARE(host::gdiLiveObjectCount(), 0); }

    void newStripDefaults()
    {
        Fixture f;
        const VericalText* fresh = f.form.add<VericalText>(QStringLiteral("vtNovo"));
        QCOMPARE(fresh->get_Font()->get_Name(), QStringLiteral("Arial Black"));
        QCOMPARE(fresh->get_Font()->get_Size(), f.form.get_Font()->get_Size());
        QCOMPARE(f.form.get_Font()->get_Name(), QStringLiteral("MS Sans Serif")); // a copy
        QCOMPARE(fresh->get_ForeColor(), host::SystemColor::HighlightText);
        QCOMPARE(fresh->get_zDirecao(), zOpOrient::ParaCima);
        QVERIFY(fresh->get_zTexto().isEmpty() && !fresh->get_zDegradee());
    }

    void placementAndDirection_data()
    {
        QTest::addColumn<zOpOrient>("direction");
        QTest::addColumn<double>("points");
        QTest::addColumn<QPoint>("start"); // pixels
        // (50, 3910) twips on a 3960-twip control; (18 x 33.33, 50) twips for 18 points.
        QTest::newRow("ParaBaixo") << zOpOrient::ParaBaixo << 8.25 << QPoint(3, 261);
        QTest::newRow("ParaCima 18pt") << zOpOrient::ParaCima << 18.0 << QPoint(40, 3);
    }
    void placementAndDirection()
    {
        QFETCH(zOpOrient, direction);
        QFETCH(double, points);
        QFETCH(QPoint, start);
        Fixture f;
        f.strip->put_zDirecao(direction);
        f.setFont(QStringLiteral("Arial Black"), points);
        const int near = qRound(int(points) * 20 / 15.0) / 3; // a third of the character height
        f.strip->put_zTexto(QStringLiteral("Ca"));
        const QRect first = f.ink();
        f.strip->put_zTexto(QStringLiteral("Cadastro"));
        const QRect word = f.ink();
        QVERIFY(!first.isEmpty());
        if (direction == zOpOrient::ParaCima) {
            // Starts just below the start point, reads downwards, glyphs to its left.
            QVERIFY2(first.top() >= start.y() && first.top() <= start.y() + near,
                     qPrintable(QString::number(first.top())));
            QVERIFY(first.right() <= start.x() && first.right() >= start.x() - near);
            QCOMPARE(word.top(), first.top());
            QVERIFY(word.bottom() > first.bottom() + 2 * near);
        } else {
            // Starts just above the start point, reads upwards, glyphs to its right.
            QVERIFY2(first.bottom() <= start.y() && first.bottom() >= start.y() - near,
                     qPrintable(QString::number(first.bottom())));
            QVERIFY(first.left() >= start.x() && first.left() <= start.x() + near);
            QCOMPARE(word.bottom(), first.bottom());
            QVERIFY(word.top() < first.top() - 2 * near);
        }
    }

    void fontStylesReachTheRotatedText_data()
    {
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<bool>("bold");
        QTest::newRow("italic") << true << false << false;
        QTest::newRow("underline") << false << true << false;
        QTest::newRow("bold") << false << false << true;
    }
    void fontStylesReachTheRotatedText()
    {
        QFETCH(bool, italic);
        QFETCH(bool, underline);
        QFETCH(bool, bold);
        Fixture f;
        f.strip->put_zDirecao(zOpOrient::ParaBaixo);
        f.strip->put_zTexto(QStringLiteral("Cadastro"));
        f.setFont(QStringLiteral("Arial"), 14);
        const QImage plain = f.grab();
        FontRef styled = StdFont::create(QStringLiteral("Arial"), 14);
        styled->put_Italic(italic);
        styled->put_Underline(underline);
        styled->put_Bold(bold);
        f.strip->putref_Font(styled);
        const QImage drawn = f.grab();
        QVERIFY(drawn != plain);
        if (underline) {
            // The underline is one unbroken column of ink along the whole word.
            const QRect ink = Fixture::inkOf(drawn);
            bool line = false;
            for (int x = ink.left(); x <= ink.right() && !line; ++x) {
                int y = ink.top() + 1;
                while (y < ink.bottom() && (drawn.pixel(x, y) & 0xFFFFFF) != White)
                    ++y;
                line = y == ink.bottom();
            }
            QVERIFY(line);
        }
    }

    void trailingSpacesDropped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("sameAsBare");
        QTest::newRow("trailing") << QStringLiteral("Nome   ") << true;
        QTest::newRow("leading") << QStringLiteral("   Nome") << false;
    }
    void trailingSpacesDropped()
    {
        QFETCH(QString, text);
        QFETCH(bool, sameAsBare);
        Fixture f;
        FontRef underlined = StdFont::create(QStringLiteral("Arial"), 12);
        underlined->put_Underline(true); // so that a drawn space shows
        f.strip->putref_Font(underlined);
        f.strip->put_zTexto(QStringLiteral("Nome"));
        const QImage bare = f.grab();
        f.strip->put_zTexto(text);
        QCOMPARE(f.grab() == bare, sameAsBare);
    }

    void gradientOverTheScreen_data()
    {
        QTest::addColumn<int>("screenHeight");
        QTest::addColumn<int>("row");
        QTest::addColumn<QRgb>("color");
        // 768 pixels: step 12, bands at y = 0, 12, ... 768 (65), each over rows y - 2 .. y + 15.
        QTest::newRow("top, brightest") << 768 << 0 << qRgb(0, 0, 240);
        QTest::newRow("first band's end") << 768 << 9 << qRgb(0, 0, 240);
        QTest::newRow("second band") << 768 << 10 << qRgb(0, 0, 236);
        QTest::newRow("past row 133") << 768 << 200 << qRgb(0, 0, 179);
        QTest::newRow("65th band") << 768 << 783 << qRgb(0, 0, 0);
        QTest::newRow("below the bands") << 768 << 784 << qRgb(255, 255, 255);
        QTest::newRow("no screen, no bands") << 0 << 0 << qRgb(255, 255, 255);
    }
    void gradientOverTheScreen()
    {
        QFETCH(int, screenHeight);
        QFETCH(int, row);
        QFETCH(QRgb, color);
        Fixture f(800 * 15);
        f.screen = QSize(1024, screenHeight);
        f.strip->put_zDegradee(true);
        QCOMPARE(QColor(f.grab().pixel(20, row)), QColor(color));
        QVERIFY(f.messages.empty());
    }

    void oneMessagePerFault_data()
    {
        QTest::addColumn<bool>("viaScreen");
        QTest::newRow("2000-point font") << false;
        QTest::newRow("gradient past 32 bits") << true; // y x 245 on a 10-million-pixel screen
    }
    void oneMessagePerFault()
    {
        QFETCH(bool, viaScreen);
        Fixture f;
        f.strip->put_zTexto(QStringLiteral("Cadastro"));
        if (viaScreen) {
            f.screen = QSize(1024, 10000000);
            f.strip->put_zDegradee(true);
        } else {
            f.setFont(QStringLiteral("Arial"), 2000);
        }
        QCOMPARE(f.messages.size(), size_t(1));
        QCOMPARE(f.messages[0].prompt, QStringLiteral("6 Overflow Kv_CTRL"));
        QCOMPARE(f.messages[0].style, 0);
        QCOMPARE(f.messages[0].title, QCoreApplication::applicationName());
        // The failed drawing put back what it changed.
        QCOMPARE(f.strip->get_ScaleMode(), short(host::vbTwips));
        QCOMPARE(f.strip->selectedFontHandle(), f.strip->ownFontHandle());
        QCOMPARE(host::gdiLiveObjectCount(), 0);
        // Paints and resizes neither draw nor ask again.
        const QImage failed = f.grab();
        f.strip->repaint();
        f.strip->put_Height(3000);
        f.strip->put_Height(3960);
        QCoreApplication::processEvents();
        QCOMPARE(f.grab(), failed);
        QCOMPARE(f.messages.size(), size_t(1));
        // Setting a property tries again; a mended one draws.
        f.strip->put_zTexto(QStringLiteral("Cadastro"));
        QCOMPARE(f.messages.size(), size_t(2));
        f.screen = QSize(1024, 768);
        f.setFont(QStringLiteral("Arial"), 12);
        QCOMPARE(f.messages.size(), size_t(2));
        QVERIFY(f.grab() != failed);
    }

    void settersRedrawAtOnce_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("zDirecao") << QByteArray("zDirecao")
                                  << QVariant::fromValue(zOpOrient::ParaBaixo);
        QTest::newRow("zTexto") << QByteArray("zTexto") << QVariant(QStringLiteral("Clientes"));
        QTest::newRow("zDegradee") << QByteArray("zDegradee") << QVariant(true);
        QTest::newRow("BackColor") << QByteArray("BackColor") << QVariant(host::RGB(0, 128, 0));
        QTest::newRow("ForeColor") << QByteArray("ForeColor") << QVariant(host::RGB(255, 0, 0));
        QTest::newRow("Font") << QByteArray("Font")
                              << QVariant::fromValue(StdFont::create(QStringLiteral("Arial"), 14));
    }
    void settersRedrawAtOnce()
    {
        QFETCH(QByteArray, property);
        QFETCH(QVariant, value);
        Fixture f;
        f.strip->put_zTexto(QStringLiteral("Cadastro"));
        const QImage before = f.strip->image();
        QSignalSpy changed(f.strip, &host::UserControl::propertyChanged);
        QVERIFY(f.strip->setProperty(property, value));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].toString(), QString::fromLatin1(property));
        QVERIFY(f.strip->image() != before); // drawn before any paint event
    }

    void savedAndLoaded()
    {
        Fixture f;
        f.strip->put_zDirecao(zOpOrient::ParaBaixo);
        f.strip->put_zTexto(QStringLiteral("Cadastro de Cliente"));
        f.strip->put_zDegradee(true);
        f.strip->put_ForeColor(host::RGB(255, 255, 255));
        f.setFont(QStringLiteral("Arial Black"), 12);
        host::PropertyBag bag;
        f.strip->saveTo(bag);
        QStringList keys;
        for (const auto& item : bag.items())
            keys << item.first;
        // Appearance, BorderStyle and the window colours are at their defaults: left out.
        QCOMPARE(keys, QStringList(
                           {"Font", "BackColor", "ForeColor", "zDirecao", "zTexto", "zDegradee"}));
        bag.WriteProperty(QStringLiteral("Appearance"), short(1), short(0));
        const VericalText* loaded = f.form.add<VericalText>(QStringLiteral("vtCopia"), bag);
        QCOMPARE(loaded->get_zDirecao(), zOpOrient::ParaBaixo);
        QCOMPARE(loaded->get_zTexto(), QStringLiteral("Cadastro de Cliente"));
        QVERIFY(loaded->get_zDegradee());
        QCOMPARE(loaded->get_BackColor(), host::RGB(255, 255, 255));
        QCOMPARE(loaded->get_ForeColor(), host::RGB(255, 255, 255));
        QVERIFY(loaded->get_Font()->sameAs(*f.strip->get_Font()));
        QVERIFY(loaded->get_Font() != f.strip->get_Font());
        host::PropertyBag again;
        const_cast<VericalText*>(loaded)->saveTo(again);
        QCOMPARE(again.ReadProperty(QStringLiteral("Appearance"), short(0)).toInteger(), short(1));
    }
};

QTEST_MAIN(VericalTextTest)
#include "tst_vericaltext.moc"
