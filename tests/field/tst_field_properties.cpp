// txtCampo as a host sees it: defaults, every property's setter and what it changes, the layout
// with and without a button, the life cycle's Show, and saving to and loading from a bag.

#include "FieldTestUtil.h"

#include "host/automation/MetaCheck.h"
#include "host/persist/FormFile.h"
#include "host/persist/PropertyBag.h"
#include "host/value/RuntimeError.h"
#include "library/module/TypeLibrary.h"

#include <functional>

using namespace fieldtest;
using host::PropertyBag;
using host::RuntimeError;
using host::Variant;
using Kv_CTRL::CharType;
using Kv_CTRL::txtCampo;

namespace {

// Counts the Resize and Change events of a field from its very start.
class CountingField : public txtCampo {
public:
    explicit CountingField(QWidget* parent = nullptr) : txtCampo(parent)
    {
        connect(this, &txtCampo::Change, this, [this] { ++changes; });
    }
    int resizes = 0;
    int changes = 0;

protected:
    void UserControl_Resize() override
    {
        ++resizes;
        txtCampo::UserControl_Resize();
    }
};

int errorNumber(const std::function<void()>& body)
{
    try {
        body();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

QStringList keysOf(const PropertyBag& bag)
{
    QStringList keys;
    for (const auto& item : bag.items())
        keys << item.first;
    return keys;
}

} // namespace

class FieldPropertiesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newFieldDefaults();
    void childrenAsDesigned();
    void minimumSize_data();
    void minimumSize();
    void exactMinimumHeightRaisesOneResize();
    void findThenDateButton();
    void buttonFindOffLeavesNoButton();
    void buttonDateFalseStillMakesADateField();
    void narrowFieldWithButton_data();
    void narrowFieldWithButton();
    void maxLengthAtNextShow();
    void negativeMaxLength();
    void enabledReachesBothButtons();
    void propertyChangedNames_data();
    void propertyChangedNames();
    void sixteenBitOverflow_data();
    void sixteenBitOverflow();
    void fontRules();
    void focusedFieldSavesPropertyColour();
    void moneyFieldSurvivesFormFile();
    void readingNeverRunsTheTypeSwitch();
    void buttonsFromABag_data();
    void buttonsFromABag();
    void writeOrderAndDefaults();
    void borderlessFromBag();
    void fieldsReadFromOneBagShareNoFont();
    void metaObjectMatchesTypeLibrary();
};

void FieldPropertiesTest::newFieldDefaults()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    QVERIFY(f.show());
    QCOMPARE(field->Extender().get_Width(), 1680.0f);
    QCOMPARE(field->Extender().get_Height(), 315.0f);
    QVERIFY(!findButton(field)->isVisible());
    QVERIFY(!dateButton(field)->isVisible());
    QVERIFY(!panel(field)->isVisible());
    QCOMPARE(box(field)->get_Width(), 1650.0f);
    QCOMPARE(box(field)->get_Height(), 310.0f);
    QVERIFY(field->get_UpperCase());
    QCOMPARE(field->get_TypeInput(), CharType::Character);
    QCOMPARE(field->get_Alignment(), host::AlignmentConstants::vbLeftJustify);
    QCOMPARE(field->get_Appearance(), Kv_CTRL::CharAppareance::vb3D);
    QCOMPARE(field->get_BorderStyle(), Kv_CTRL::CharBorderSyle::vbFixed);
    QCOMPARE(field->get_BackColor(), 0x80000005u);
    QCOMPARE(field->get_ForeColor(), 0x80000008u);
    QCOMPARE(field->get_MaxLength(), 0);
    QVERIFY(field->get_Enabled());
    QVERIFY(!field->get_ButtonFind() && !field->get_ButtonDate() && !field->get_Required());
    QCOMPARE(field->get_TypeInputMask(), QString());
    QVERIFY(field->get_Font());
    QVERIFY(field->get_Font()->sameAs(*f.form.get_Font()));
    // Any character goes in, upper-cased.
    typeText(box(field), QStringLiteral("ab,1/"));
    QCOMPARE(field->get_Text(), QStringLiteral("AB,1/"));
}

void FieldPropertiesTest::childrenAsDesigned()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    host::CommandButton* find = findButton(field);
    host::CommandButton* date = dateButton(field);
    QCOMPARE(find->get_Caption(), QStringLiteral("?"));
    QCOMPARE(find->get_ToolTipText(), QStringLiteral("Localizar Registros"));
    QCOMPARE(find->get_Font()->get_Name(), QStringLiteral("MS Sans Serif"));
    QVERIFY(find->get_Font()->get_Bold());
    QCOMPARE(date->get_Caption(), QStringLiteral("..."));
    QCOMPARE(date->get_ToolTipText(), QStringLiteral("Calendário"));
    QCOMPARE(date->get_Font()->get_Name(), QStringLiteral("Times New Roman"));
    QCOMPARE(date->get_Font()->get_Size(), 8.25);
    for (host::CommandButton* b : {find, date}) {
        QCOMPARE(b->get_Top(), 30.0f);
        QCOMPARE(b->get_Width(), 285.0f);
        QCOMPARE(b->get_Height(), 270.0f);
    }
    QCOMPARE(panel(field)->get_BackColor(), 0x80000009u);
    QCOMPARE(panel(field)->get_Caption(), QString());
    QCOMPARE(panel(field)->get_Height(), 315.0f);
    QCOMPARE(box(field)->get_Left(), 0.0f);
    QCOMPARE(box(field)->get_Top(), 0.0f);
    // The surface carries the property colours too.
    QCOMPARE(field->Canvas::get_BackColor(), 0x80000005u);
}

void FieldPropertiesTest::minimumSize_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::addColumn<float>("wantWidth");
    QTest::addColumn<float>("wantHeight");
    QTest::addColumn<float>("boxWidth");
    QTest::addColumn<float>("boxHeight");
    QTest::newRow("too low") << 200.f << 100.f << 200.f << 315.f << 170.f << 310.f;
    QTest::newRow("too narrow") << 50.f << 400.f << 100.f << 400.f << 70.f << 395.f;
    QTest::newRow("exact minimum") << 100.f << 315.f << 100.f << 315.f << 70.f << 310.f;
    QTest::newRow("just above") << 115.f << 330.f << 115.f << 330.f << 85.f << 325.f;
    QTest::newRow("wide") << 3000.f << 600.f << 3000.f << 600.f << 2970.f << 595.f;
}

void FieldPropertiesTest::minimumSize()
{
    QFETCH(float, width);
    QFETCH(float, height);
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    QVERIFY(f.show());
    field->Extender().put_Width(width);
    field->Extender().put_Height(height);
    QTEST(field->Extender().get_Width(), "wantWidth");
    QTEST(field->Extender().get_Height(), "wantHeight");
    QTEST(box(field)->get_Width(), "boxWidth");
    QTEST(box(field)->get_Height(), "boxHeight");
}

void FieldPropertiesTest::exactMinimumHeightRaisesOneResize()
{
    Environment env;
    ShownForm f;
    auto* field = f.add<CountingField>(QStringLiteral("txtNome"));
    field->Extender().put_Height(600);
    field->resizes = 0;
    field->Extender().put_Height(315);
    QCOMPARE(field->resizes, 1);
    QCOMPARE(field->get_Height(), 315.0f);
    // Below the minimum the layout's own correction is a second Resize.
    field->resizes = 0;
    field->Extender().put_Height(300);
    QCOMPARE(field->resizes, 2);
    QCOMPARE(field->get_Height(), 315.0f);
}

void FieldPropertiesTest::findThenDateButton()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    QVERIFY(f.show());
    field->put_ButtonFind(true);
    QVERIFY(findButton(field)->isVisible());
    QVERIFY(!dateButton(field)->isVisible());
    QCOMPARE(box(field)->get_Width(), 1310.0f);
    QCOMPARE(findButton(field)->get_Left(), 1360.0f);
    QVERIFY(panel(field)->isVisible());
    QCOMPARE(panel(field)->get_Left(), 1320.0f);
    QCOMPARE(panel(field)->get_Width(), 365.0f);
    // The button lies over the panel.
    QWidget* atButton = field->childAt(findButton(field)->geometry().center());
    QCOMPARE(atButton, findButton(field));

    field->put_ButtonDate(true);
    QVERIFY(!field->get_ButtonFind());
    QVERIFY(field->get_ButtonDate());
    QVERIFY(!findButton(field)->isVisible());
    QVERIFY(dateButton(field)->isVisible());
    QCOMPARE(dateButton(field)->get_Left(), 1360.0f);
    QCOMPARE(box(field)->get_Width(), 1310.0f);
    QVERIFY(panel(field)->isVisible());
    QCOMPARE(field->get_TypeInput(), CharType::Date);
    QCOMPARE(field->get_Alignment(), host::AlignmentConstants::vbCenter);

    field->put_ButtonFind(true);
    QVERIFY(!field->get_ButtonDate());
    QVERIFY(!dateButton(field)->isVisible());
    QVERIFY(findButton(field)->isVisible());
}

void FieldPropertiesTest::buttonFindOffLeavesNoButton()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    QVERIFY(f.show());
    field->put_ButtonDate(true);
    field->put_ButtonFind(false);
    QVERIFY(!field->get_ButtonDate() && !field->get_ButtonFind());
    QVERIFY(!findButton(field)->isVisible());
    QVERIFY(!dateButton(field)->isVisible());
    QVERIFY(!panel(field)->isVisible());
    QCOMPARE(box(field)->get_Width(), 1650.0f);
}

void FieldPropertiesTest::buttonDateFalseStillMakesADateField()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtValor"));
    field->put_TypeInput(CharType::Money);
    field->put_ButtonDate(false);
    QCOMPARE(field->get_TypeInput(), CharType::Date);
    // No type switch: text, mask and alignment stay.
    QCOMPARE(field->get_Text(), QStringLiteral("0.00"));
    QCOMPARE(field->get_TypeInputMask(), QStringLiteral("#####,##0.00"));
    QCOMPARE(field->get_Alignment(), host::AlignmentConstants::vbRightJustify);
    QVERIFY(!dateButton(field)->get_Visible());
}

void FieldPropertiesTest::narrowFieldWithButton_data()
{
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("boxWidth");
    QTest::addRow("300") << 300.f << 0.f;
    QTest::addRow("369") << 369.f << 0.f;
    QTest::addRow("370") << 370.f << 0.f;
    QTest::addRow("400") << 400.f << 30.f;
}

void FieldPropertiesTest::narrowFieldWithButton()
{
    QFETCH(float, width);
    QFETCH(float, boxWidth);
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    QVERIFY(f.show());
    field->Extender().put_Width(width);
    field->put_ButtonFind(true);
    QCOMPARE(env.messages.size(), size_t(0));
    QCOMPARE(box(field)->get_Width(), boxWidth);
    QCOMPARE(findButton(field)->get_Left(), boxWidth + 50);
    QCOMPARE(panel(field)->get_Left(), boxWidth + 10);
}

void FieldPropertiesTest::maxLengthAtNextShow()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    QVERIFY(f.show());
    field->put_MaxLength(3);
    QCOMPARE(field->get_MaxLength(), 3);
    typeText(box(field), QStringLiteral("abcde"));
    QCOMPARE(field->get_Text(), QStringLiteral("ABCDE"));
    f.form.hide();
    QVERIFY(f.show());
    QCOMPARE(box(field)->get_MaxLength(), 3);
    field->put_Text(QString());
    typeText(box(field), QStringLiteral("abcde"));
    QCOMPARE(field->get_Text(), QStringLiteral("ABC"));
}

void FieldPropertiesTest::negativeMaxLength()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    field->put_MaxLength(5);
    QCOMPARE(errorNumber([&] { field->put_MaxLength(-1); }), 380);
    QCOMPARE(field->get_MaxLength(), 5);

    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("MaxLength"), -4);
    txtCampo* loaded = f.add(QStringLiteral("txtLido"), bag);
    QVERIFY(f.show());
    QCOMPARE(loaded->get_MaxLength(), -4);
    QCOMPARE(box(loaded)->get_MaxLength(), 0);
    typeText(box(loaded), QStringLiteral("abcdef"));
    QCOMPARE(loaded->get_Text(), QStringLiteral("ABCDEF"));
    PropertyBag saved;
    loaded->saveTo(saved);
    QCOMPARE(saved.ReadProperty(QStringLiteral("MaxLength")).toLong(), -4);
}

void FieldPropertiesTest::enabledReachesBothButtons()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    QVERIFY(f.show());
    field->put_ButtonFind(true);
    field->put_Enabled(false);
    QVERIFY(!field->get_Enabled());
    QVERIFY(!box(field)->isEnabled());
    QVERIFY(!findButton(field)->isEnabled());
    QVERIFY(!dateButton(field)->isEnabled());
    // A later layout keeps the buttons as the text box.
    field->put_ButtonDate(true);
    field->Extender().put_Width(2000);
    QVERIFY(!dateButton(field)->isEnabled());
    field->put_Enabled(true);
    QVERIFY(dateButton(field)->isEnabled() && findButton(field)->isEnabled());
}

void FieldPropertiesTest::propertyChangedNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Variant>("value");
    QTest::addRow("Alignment") << "Alignment" << Variant(1);
    QTest::addRow("Appearance") << "Appearance" << Variant(0);
    QTest::addRow("BorderStyle") << "BorderStyle" << Variant(0);
    QTest::addRow("Font") << "Font" << Variant(host::StdFont::create(QStringLiteral("Arial"), 12));
    QTest::addRow("MaxLength") << "MaxLength" << Variant(12);
    QTest::addRow("Enabled") << "Enabled" << Variant(false);
    QTest::addRow("Text") << "Text" << Variant("abc");
    QTest::addRow("BackColor") << "BackColor" << Variant(0x00FF00u);
    QTest::addRow("ForeColor") << "ForeColor" << Variant(0x0000FFu);
    QTest::addRow("TypeInput") << "TypeInput" << Variant(3);
    QTest::addRow("Required") << "Required" << Variant(true);
    QTest::addRow("RequiredCaption") << "RequiredCaption" << Variant("Nome");
    QTest::addRow("UpperCase") << "UpperCase" << Variant(false);
    QTest::addRow("ButtonFind") << "ButtonFind" << Variant(true);
    QTest::addRow("ButtonDate") << "ButtonDate" << Variant(true);
    QTest::addRow("TypeInputMask") << "TypeInputMask" << Variant("0.00");
}

void FieldPropertiesTest::propertyChangedNames()
{
    QFETCH(QString, name);
    QFETCH(Variant, value);
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    QStringList changed;
    connect(field, &host::UserControl::propertyChanged, this,
            [&](const QString& n) { changed << n; });
    host::CallByNameLet(field, name, value);
    QCOMPARE(changed, QStringList{name});
    QVERIFY(host::CallByNameGet(field, name) == value);
}

void FieldPropertiesTest::sixteenBitOverflow_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<qint32>("value");
    QTest::addColumn<int>("error");
    QTest::addRow("TypeInput 70000") << 0 << 70000 << 6;
    QTest::addRow("TypeInput -40000") << 0 << -40000 << 6;
    QTest::addRow("Alignment 70000") << 1 << 70000 << 6;
    QTest::addRow("Appearance 65536") << 2 << 65536 << 6;
    QTest::addRow("BorderStyle 32768") << 3 << 32768 << 6;
    // In 16 bits, but not a value the text box has.
    QTest::addRow("Alignment 3") << 1 << 3 << 380;
}

void FieldPropertiesTest::sixteenBitOverflow()
{
    QFETCH(int, which);
    QFETCH(qint32, value);
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    field->put_TypeInput(CharType::Numeric);
    field->put_Text(QStringLiteral("12"));
    QStringList changed;
    connect(field, &host::UserControl::propertyChanged, this,
            [&](const QString& n) { changed << n; });
    const std::function<void()> setters[] = {
        [&] { field->put_TypeInput(CharType(value)); },
        [&] { field->put_Alignment(host::AlignmentConstants(value)); },
        [&] { field->put_Appearance(Kv_CTRL::CharAppareance(value)); },
        [&] { field->put_BorderStyle(Kv_CTRL::CharBorderSyle(value)); },
    };
    QTEST(errorNumber(setters[which]), "error");
    QCOMPARE(field->get_TypeInput(), CharType::Numeric);
    QCOMPARE(field->get_Alignment(), host::AlignmentConstants::vbRightJustify);
    QCOMPARE(field->get_Appearance(), Kv_CTRL::CharAppareance::vb3D);
    QCOMPARE(field->get_BorderStyle(), Kv_CTRL::CharBorderSyle::vbFixed);
    QCOMPARE(field->get_Text(), QStringLiteral("12"));
    QVERIFY(changed.isEmpty());
}

void FieldPropertiesTest::fontRules()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    QVERIFY(f.show());
    const host::FontRef before = field->get_Font();
    QCOMPARE(errorNumber([&] { field->putref_Font(nullptr); }), 380);
    QCOMPARE(field->get_Font(), before);

    host::FontRef big = host::StdFont::create(QStringLiteral("Arial"), 14, true);
    field->putref_Font(big);
    QCOMPARE(field->get_Font(), big); // by reference, not a copy
    QCOMPARE(box(field)->font().pointSizeF(), 14.0);
    big->put_Size(10);
    QCOMPARE(box(field)->font().pointSizeF(), 10.0);
}

void FieldPropertiesTest::focusedFieldSavesPropertyColour()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtNome"));
    txtCampo* other = f.add(QStringLiteral("txtOutro"));
    other->Extender().put_Top(600);
    field->put_BackColor(0x00C0FFC0);
    QVERIFY(f.show());
    box(field)->setFocus();
    QTRY_VERIFY(box(field)->hasFocus());
    QCOMPARE(box(field)->get_BackColor(), 0x80000018u);
    QCOMPARE(field->get_BackColor(), 0x00C0FFC0u);
    PropertyBag bag;
    field->saveTo(bag);
    QCOMPARE(bag.ReadProperty(QStringLiteral("BackColor")).toOleColor(), 0x00C0FFC0u);

    // A focused field with the default colour saves nothing for it.
    box(other)->setFocus();
    QTRY_VERIFY(box(other)->hasFocus());
    PropertyBag otherBag;
    other->saveTo(otherBag);
    QVERIFY(!otherBag.contains(QStringLiteral("BackColor")));
}

void FieldPropertiesTest::moneyFieldSurvivesFormFile()
{
    Environment env;
    ShownForm f;
    txtCampo* field = f.add(QStringLiteral("txtValor"));
    field->put_TypeInput(CharType::Money);
    field->put_Text(QStringLiteral("1.234,50"));

    host::FormDescription description;
    description.name = QStringLiteral("frmTeste");
    host::ControlRecord record;
    record.className = QStringLiteral("Kv_CTRL.txtCampo");
    record.name = QStringLiteral("txtValor");
    field->saveTo(record.properties);
    description.controls << record;
    const host::FormDescription back =
        host::FormFile::parse(host::FormFile::serialize(description, QStringLiteral("t.kvform")),
                              QStringLiteral("t.kvform"));

    txtCampo* loaded = f.add(QStringLiteral("txtLido"), back.controls.at(0).properties);
    QVERIFY(f.show());
    QCOMPARE(loaded->get_TypeInput(), CharType::Money);
    QCOMPARE(loaded->get_Text(), QStringLiteral("1.234,50"));
    QCOMPARE(loaded->get_TypeInputMask(), QStringLiteral("#####,##0.00"));
    QCOMPARE(loaded->get_Alignment(), host::AlignmentConstants::vbRightJustify);
    PropertyBag again;
    loaded->saveTo(again);
    QVERIFY(again == back.controls.at(0).properties);
}

void FieldPropertiesTest::readingNeverRunsTheTypeSwitch()
{
    Environment env;
    ShownForm f;
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("TypeInput"), short(1));
    bag.WriteProperty(QStringLiteral("Text"), QStringLiteral("abc"));
    bag.WriteProperty(QStringLiteral("ButtonDate"), -1);
    auto* field = f.add<CountingField>(QStringLiteral("txtLido"), bag);
    QCOMPARE(field->changes, 1); // writing the text read
    QCOMPARE(field->get_TypeInput(), CharType::Money);
    QCOMPARE(field->get_Text(), QStringLiteral("abc"));
    QCOMPARE(field->get_TypeInputMask(), QString());
    QCOMPARE(field->get_Alignment(), host::AlignmentConstants::vbLeftJustify);
    // The flags are read; the buttons follow them at Show.
    QVERIFY(field->get_ButtonDate());
    QVERIFY(!dateButton(field)->get_Visible());
    QVERIFY(f.show());
    QVERIFY(dateButton(field)->isVisible());
    QCOMPARE(box(field)->get_Width(), 1310.0f);
    // Show changes no text.
    QCOMPARE(field->changes, 1);
    QCOMPARE(field->get_Text(), QStringLiteral("abc"));
}

// A bag is read as the setters would leave the field: at most one button, the date button (read
// last) winning over the find button where a hand-edited file holds both.
void FieldPropertiesTest::buttonsFromABag_data()
{
    QTest::addColumn<short>("find");
    QTest::addColumn<short>("date");
    QTest::addColumn<bool>("findOn");
    QTest::addColumn<bool>("dateOn");
    QTest::addRow("find") << short(-1) << short(0) << true << false;
    QTest::addRow("date") << short(0) << short(-1) << false << true;
    QTest::addRow("both") << short(-1) << short(-1) << false << true;
}

void FieldPropertiesTest::buttonsFromABag()
{
    QFETCH(short, find);
    QFETCH(short, date);
    QFETCH(bool, findOn);
    QFETCH(bool, dateOn);
    Environment env;
    ShownForm f;
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("ButtonFind"), find);
    bag.WriteProperty(QStringLiteral("ButtonDate"), date);
    txtCampo* field = f.add<txtCampo>(QStringLiteral("txtLido"), bag);
    QVERIFY(f.show());
    QCOMPARE(field->get_ButtonFind(), findOn);
    QCOMPARE(field->get_ButtonDate(), dateOn);
    QCOMPARE(findButton(field)->isVisible(), findOn);
    QCOMPARE(dateButton(field)->isVisible(), dateOn);
}

void FieldPropertiesTest::writeOrderAndDefaults()
{
    Environment env;
    ShownForm f;
    txtCampo* plain = f.add(QStringLiteral("txtPlain"));
    PropertyBag defaults;
    plain->saveTo(defaults);
    // UpperCase True is -1, which differs from its stored default 1.
    QCOMPARE(keysOf(defaults), QStringList{QStringLiteral("UpperCase")});
    QCOMPARE(defaults.ReadProperty(QStringLiteral("UpperCase")).toLong(), -1);

    txtCampo* field = f.add(QStringLiteral("txtTudo"));
    field->put_ButtonFind(true);
    field->put_TypeInput(CharType::Numeric);
    field->put_TypeInputMask(QStringLiteral("#,##0"));
    field->put_RequiredCaption(QStringLiteral("Nome"));
    field->put_Required(true);
    field->put_Alignment(host::AlignmentConstants::vbCenter);
    field->putref_Font(host::StdFont::create(QStringLiteral("Arial"), 10));
    field->put_MaxLength(9);
    field->put_Appearance(Kv_CTRL::CharAppareance::vbFlat);
    field->put_Enabled(false);
    field->put_Text(QStringLiteral("12"));
    field->put_BackColor(0x0000FF);
    field->put_ForeColor(0x00FF00);
    field->put_UpperCase(false);
    field->put_BorderStyle(Kv_CTRL::CharBorderSyle::vbNone);
    PropertyBag bag;
    field->saveTo(bag);
    const QStringList order{"ButtonFind", "TypeInput", "TypeInputMask", "RequiredCaption",
                            "Required",   "Alignment", "Font",          "MaxLength",
                            "Appearance", "Enabled",   "Text",          "BackColor",
                            "ForeColor",  "UpperCase", "BorderStyle"};
    QCOMPARE(keysOf(bag), order);
    QCOMPARE(bag.ReadProperty(QStringLiteral("ButtonFind")).toLong(), -1);
    QCOMPARE(bag.ReadProperty(QStringLiteral("TypeInput")).type(), host::VarType::Integer);
    QCOMPARE(bag.ReadProperty(QStringLiteral("MaxLength")).type(), host::VarType::Long);

    txtCampo* loaded = f.add(QStringLiteral("txtLido"), bag);
    PropertyBag again;
    loaded->saveTo(again);
    QVERIFY(again == bag);
}

void FieldPropertiesTest::borderlessFromBag()
{
    Environment env;
    ShownForm f;
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("BorderStyle"), short(0));
    txtCampo* field = f.add(QStringLiteral("txtLido"), bag);
    QCOMPARE(field->get_BorderStyle(), Kv_CTRL::CharBorderSyle::vbNone);
    QVERIFY(!box(field)->hasFrame());
}

void FieldPropertiesTest::fieldsReadFromOneBagShareNoFont()
{
    Environment env;
    ShownForm f;
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Font"), host::StdFont::create(QStringLiteral("Arial"), 12));
    txtCampo* a = f.add(QStringLiteral("txtA"), bag);
    txtCampo* b = f.add(QStringLiteral("txtB"), bag);
    QVERIFY(f.show());
    QCOMPARE(a->get_Font()->get_Size(), 12.0);
    a->get_Font()->put_Bold(true);
    QVERIFY(!b->get_Font()->get_Bold());
    QVERIFY(box(a)->font().bold());
    QVERIFY(!box(b)->font().bold());
}

void FieldPropertiesTest::metaObjectMatchesTypeLibrary()
{
    const host::LibraryDescription& lib = Kv_CTRL::typeLibrary();
    const host::ClassDescription* cls = lib.findClassByName(QStringLiteral("txtCampo"));
    QVERIFY(cls);
    QCOMPARE(cls->metaObject, &txtCampo::staticMetaObject);
    QStringList faults = host::checkMetaObject(lib, *cls, txtCampo::staticMetaObject);
    // ShowAbout arrives with the About dialog; every property and event must match already.
    faults.removeIf(
        [](const QString& fault) { return fault.contains(QLatin1String("ShowAbout")); });
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

QTEST_MAIN(FieldPropertiesTest)
#include "tst_field_properties.moc"
