// The picture button as a form uses it: its fixed height, one Click from the button or its
// picture, by-reference key arguments handed back, and what a saved form brings back.

#include "controls/picturebutton/cmdButton.h"
#include "host/forms/Form.h"
#include "host/persist/PropertyBag.h"
#include "host/widgets/CommandButton.h"
#include "host/widgets/PictureBox.h"

#include <QtTest>

using Kv_CTRL::cmdButton;

namespace {

host::CommandButton* inner(cmdButton* b)
{
    return b->findChild<host::CommandButton*>(QStringLiteral("cmdButton"));
}
host::PictureBox* pic(cmdButton* b)
{
    return b->findChild<host::PictureBox*>(QStringLiteral("Pic"));
}

} // namespace

class TestCmdButton : public QObject {
    Q_OBJECT

    host::Form m_form;
    cmdButton* add(const host::PropertyBag* bag = nullptr)
    {
        cmdButton* b = bag ? m_form.add<cmdButton>(QStringLiteral("cmd"), *bag)
                           : m_form.add<cmdButton>(QStringLiteral("cmd"));
        m_form.show();
        return b;
    }
    // Saves the button and loads it again on a fresh form.
    cmdButton* reloaded(cmdButton* b)
    {
        host::PropertyBag bag;
        b->saveTo(bag);
        m_form.unload();
        return add(&bag);
    }

private Q_SLOTS:
    void cleanup() { m_form.unload(); }

    void heightIsFixed_data()
    {
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<float>("innerWidth");
        QTest::newRow("taller") << 1620.f << 2000.f << 1600.f;
        QTest::newRow("shorter") << 1620.f << 100.f << 1600.f;
        QTest::newRow("narrower than the margin") << 10.f << 430.f << 0.f;
    }
    void heightIsFixed()
    {
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(float, innerWidth);
        cmdButton* b = add();
        b->Extender().Move(0, 0, width, height);
        QCOMPARE(b->Extender().get_Height(), 430.f);
        QCOMPARE(inner(b)->get_Height(), 410.f);
        QCOMPARE(inner(b)->get_Width(), innerWidth);
    }

    void clicks_data()
    {
        QTest::addColumn<bool>("onPicture");
        QTest::addColumn<bool>("reload"); // disabled, saved and loaded again
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("clicks");
        QTest::newRow("button") << false << false << true << 1;
        QTest::newRow("picture") << true << false << true << 1;
        QTest::newRow("disabled button") << false << false << false << 0;
        QTest::newRow("disabled picture") << true << false << false << 0;
        QTest::newRow("reloaded disabled picture") << true << true << false << 0;
    }
    void clicks()
    {
        QFETCH(bool, onPicture);
        QFETCH(bool, reload);
        QFETCH(bool, enabled);
        QFETCH(int, clicks);
        cmdButton* b = add();
        b->put_Enabled(enabled);
        if (reload) b = reloaded(b);
        QCOMPARE(pic(b)->get_Enabled(), enabled);
        int n = 0;
        connect(b, &cmdButton::Click, this, [&] { ++n; });
        QWidget* target = onPicture ? static_cast<QWidget*>(pic(b)) : inner(b);
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(n, clicks);
    }

    void keyAsciiZeroSuppressesTheKey_data()
    {
        QTest::addColumn<bool>("suppress");
        QTest::addColumn<int>("clicks");
        QTest::newRow("space clicks") << false << 1;
        QTest::newRow("KeyAscii set to 0") << true << 0;
    }
    void keyAsciiZeroSuppressesTheKey()
    {
        QFETCH(bool, suppress);
        QFETCH(int, clicks);
        cmdButton* b = add();
        int n = 0;
        connect(b, &cmdButton::Click, this, [&] { ++n; });
        connect(b, &cmdButton::KeyPress, this, [&](short& ascii) {
            if (suppress) ascii = 0;
        });
        inner(b)->setFocus();
        QTest::keyClick(inner(b), Qt::Key_Space);
        QCOMPARE(n, clicks);
    }

    void mouseEventsInTheButtonsTwips()
    {
        cmdButton* b = add();
        QString got;
        connect(b, &cmdButton::MouseDown, this, [&](short& button, short&, float& x, float& y) {
            got = QStringLiteral("%1 %2 %3").arg(button).arg(x).arg(y);
        });
        QTest::mousePress(inner(b), Qt::LeftButton, {}, QPoint(40, 5));
        QTest::mouseRelease(inner(b), Qt::LeftButton, {}, QPoint(40, 5));
        QCOMPARE(got, QStringLiteral("1 600 75"));
    }

    void whatASavedFormBringsBack()
    {
        cmdButton* fresh = add();
        QCOMPARE(fresh->get_Caption(), QStringLiteral("&Button"));
        QVERIFY(fresh->get_Picture()); // the design bitmap
        fresh->putref_Picture(nullptr);
        cmdButton* b = reloaded(fresh);
        QVERIFY(!b->get_Picture()); // no picture stays none
        QCOMPARE(b->get_Caption(), QStringLiteral("&Button"));
        m_form.unload();
        const host::PropertyBag empty;
        QCOMPARE(add(&empty)->get_Caption(), QStringLiteral("&MyButton")); // the bag's default
    }
};

QTEST_MAIN(TestCmdButton)
#include "tst_cmdbutton.moc"
