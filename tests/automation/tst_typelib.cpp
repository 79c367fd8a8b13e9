// The library's description: enumerations against their C++ types, classes and identifiers,
// description strings, the printed type library, toolbox images, DataEscolhida per thread, and
// the meta-object check (every implemented control; a test-only class to prove it catches
// mismatches).

#include "host/automation/IdlPrinter.h"
#include "host/automation/MetaCheck.h"
#include "host/automation/TypeLib.h"
#include "host/value/Alignment.h"
#include "host/value/OleColor.h"
#include "host/value/StdFont.h"
#include "host/value/Variant.h"
#include "host/widgets/UserControl.h"
#include "library/Enums.h"
#include "library/Kv_Module.h"
#include "library/TypeLibrary.h"

#include <QMetaEnum>
#include <QSet>
#include <QtTest>
#include <thread>

using namespace host;

static_assert(sizeof(Kv_CTRL::CharType) == 4 && sizeof(Kv_CTRL::State) == 4 &&
              sizeof(Kv_CTRL::MyBorderStyle) == 4 && sizeof(host::AlignmentConstants) == 4);

namespace probe {

// The shape a correct control has: properties, methods and by-reference events as described.
class Good : public UserControl {
    Q_OBJECT
    Q_PROPERTY(host::AlignmentConstants Alignment READ get_Alignment WRITE put_Alignment)
    Q_PROPERTY(Kv_CTRL::CharType TypeInput READ get_TypeInput WRITE put_TypeInput)
    Q_PROPERTY(host::OleColor BackColor READ get_BackColor WRITE put_BackColor)
    Q_PROPERTY(host::FontRef Font READ get_Font WRITE putref_Font)
    Q_PROPERTY(host::Variant Caption READ get_Caption WRITE put_Caption)
    Q_PROPERTY(qint32 MaxLength READ get_MaxLength WRITE put_MaxLength)
public:
    using UserControl::UserControl;
    AlignmentConstants get_Alignment() const { return {}; }
    void put_Alignment(AlignmentConstants) {}
    Kv_CTRL::CharType get_TypeInput() const { return {}; }
    void put_TypeInput(Kv_CTRL::CharType) {}
    OleColor get_BackColor() const { return 0; }
    void put_BackColor(OleColor) {}
    FontRef get_Font() const { return {}; }
    void putref_Font(FontRef) {}
    Variant get_Caption() const { return {}; }
    void put_Caption(const Variant&) {}
    qint32 get_MaxLength() const { return 0; }
    void put_MaxLength(qint32) {}
    Q_INVOKABLE void Refresh() {}
    Q_INVOKABLE void ShowAbout() {}
Q_SIGNALS:
    void Click();
    void KeyPress(short& KeyAscii);
    void MouseMove(short& Button, short& Shift, float& x, float& Y);
};

// Each of these departs from the description in one way.
class Renamed : public Good {
    Q_OBJECT
public:
    using Good::Good;
};

class WrongColourType : public UserControl {
    Q_OBJECT
    Q_PROPERTY(host::AlignmentConstants Alignment READ get_Alignment WRITE put_Alignment)
    Q_PROPERTY(Kv_CTRL::CharType TypeInput READ get_TypeInput WRITE put_TypeInput)
    Q_PROPERTY(short BackColor READ get_BackColor WRITE put_BackColor)
public:
    using UserControl::UserControl;
    AlignmentConstants get_Alignment() const { return {}; }
    void put_Alignment(AlignmentConstants) {}
    Kv_CTRL::CharType get_TypeInput() const { return {}; }
    void put_TypeInput(Kv_CTRL::CharType) {}
    short get_BackColor() const { return 0; }
    void put_BackColor(short) {}
};

class ByValueEvent : public UserControl {
    Q_OBJECT
Q_SIGNALS:
    void Click();
    void KeyPress(short KeyAscii);
};

class MisnamedArgument : public UserControl {
    Q_OBJECT
Q_SIGNALS:
    void Click();
    void KeyPress(short& keyAscii);
};

class ExtraSignal : public UserControl {
    Q_OBJECT
Q_SIGNALS:
    void Click();
    void KeyPress(short& KeyAscii);
    void MouseMove(short& Button, short& Shift, float& x, float& Y);
    void Changed();
};

class NoShowAbout : public UserControl {
    Q_OBJECT
public:
    Q_INVOKABLE void Refresh() {}
    void ShowAbout() {}
};

class ReadOnlyProperty : public UserControl {
    Q_OBJECT
    Q_PROPERTY(host::AlignmentConstants Alignment READ get_Alignment)
public:
    AlignmentConstants get_Alignment() const { return {}; }
};

class NotAControl : public QWidget {
    Q_OBJECT
};

} // namespace probe

namespace {

// The description the probes are checked against.
LibraryDescription probeLibrary(const QString& className)
{
    LibraryDescription lib;
    lib.name = QStringLiteral("Probe");
    lib.libid = QUuid::createUuid();
    lib.version = QVersionNumber({1, 0});
    lib.enums = Kv_CTRL::typeLibrary().enums;
    ClassDescription cls;
    cls.name = className;
    cls.clsid = QUuid::createUuid();
    const auto prop = [](const char* name, TypeRef type) {
        return MemberDescription{
            MemberKind::PropertyGetPut, QString::fromLatin1(name), type, 0, {}};
    };
    cls.defaultInterface = {
        QStringLiteral("_") + className,
        QUuid::createUuid(),
        {prop("Alignment", TypeRef::enumeration(QStringLiteral("AlignmentConstants"))),
         prop("TypeInput", TypeRef::enumeration(QStringLiteral("CharType"))),
         prop("BackColor", TypeRef::of(BaseType::Color)),
         {MemberKind::PropertyGetPutRef,
          QStringLiteral("Font"),
          TypeRef::of(BaseType::Font),
          0,
          {}},
         prop("Caption", TypeRef::of(BaseType::Variant)),
         prop("MaxLength", TypeRef::of(BaseType::Long)),
         {MemberKind::Method, QStringLiteral("Refresh"), {}, 1, {}},
         {MemberKind::Method, QStringLiteral("ShowAbout"), {}, DispId::AboutBox, {}}}};
    const TypeRef integer = TypeRef::of(BaseType::Integer), single = TypeRef::of(BaseType::Single);
    cls.eventInterface = {
        QStringLiteral("__") + className,
        QUuid::createUuid(),
        {{QStringLiteral("Click"), 1, {}, {}},
         {QStringLiteral("KeyPress"), 2, {{QStringLiteral("KeyAscii"), integer}}, {}},
         {QStringLiteral("MouseMove"),
          3,
          {{QStringLiteral("Button"), integer},
           {QStringLiteral("Shift"), integer},
           {QStringLiteral("x"), single},
           {QStringLiteral("Y"), single}},
          {}}}};
    lib.classes = {cls};
    return lib;
}

const ClassDescription& classNamed(const QString& name)
{
    const ClassDescription* cls = Kv_CTRL::typeLibrary().findClassByName(name);
    if (!cls) qFatal("no class %s", qPrintable(name));
    return *cls;
}

const MemberDescription* memberNamed(const ClassDescription& cls, const QString& name)
{
    for (const MemberDescription& m : cls.defaultInterface.members)
        if (m.name == name) return &m;
    return nullptr;
}

} // namespace

class TypeLibTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void libraryIdentity();
    void enumerationsMatchTheirTypes_data();
    void enumerationsMatchTheirTypes();
    void enumerationValues_data();
    void enumerationValues();
    void classList();
    void identifiersAreUnique();
    void interfaceOrder_data();
    void interfaceOrder();
    void standardDispatchIds_data();
    void standardDispatchIds();
    void eventIds_data();
    void eventIds();
    void descriptionStrings();
    void everyMemberTypeResolves();
    void printedTypeLibrary();
    void printerEscapesStrings();
    void toolboxImages();
    void dataEscolhidaPerThread();
    void implementedControlsMatchDescription();
    void checkAcceptsMatchingClass();
    void checkCatchesMismatch_data();
    void checkCatchesMismatch();
};

void TypeLibTest::libraryIdentity()
{
    const LibraryDescription& lib = Kv_CTRL::typeLibrary();
    QCOMPARE(lib.name, QStringLiteral("Kv_CTRL"));
    QCOMPARE(lib.description, QString::fromUtf8("Kv Sistemas - Controle de Edição - V2.02"));
    QCOMPARE(lib.version, QVersionNumber({1, 0, 0, 52}));
    QVERIFY(!lib.libid.isNull());
}

void TypeLibTest::enumerationsMatchTheirTypes_data()
{
    QTest::addColumn<QString>("name");
    for (const EnumDescription& e : Kv_CTRL::typeLibrary().enums)
        QTest::newRow(qPrintable(e.name)) << e.name;
    for (const EnumDescription& e : hostEnums())
        QTest::newRow(qPrintable(e.name)) << e.name;
}

void TypeLibTest::enumerationsMatchTheirTypes()
{
    QFETCH(QString, name);
    const EnumDescription* e = Kv_CTRL::typeLibrary().findEnum(name);
    QVERIFY(e);
    QVERIFY(e->metaType.isValid());
    const QMetaObject* mo = e->metaType.metaObject();
    QVERIFY(mo);
    const QMetaEnum meta = mo->enumerator(mo->indexOfEnumerator(qPrintable(name)));
    QVERIFY(meta.isValid());
    QVERIFY(meta.isScoped());
    QCOMPARE(meta.keyCount(), int(e->members.size()));
    for (int i = 0; i < meta.keyCount(); ++i) {
        QCOMPARE(QString::fromLatin1(meta.key(i)), e->members[i].name);
        QCOMPARE(meta.value(i), e->members[i].value);
    }
}

void TypeLibTest::enumerationValues_data()
{
    QTest::addColumn<QString>("enumName");
    QTest::addColumn<QString>("member");
    QTest::addColumn<int>("value");
    const struct {
        const char* e;
        const char* m;
        int v;
    } rows[] = {{"MyBorderStyle", "None", 0},
                {"MyBorderStyle", "Fixed", 1},
                {"State_b", "Normal_", 0},
                {"State_b", "Default_", 1},
                {"zOpOrient", "ParaCima", 0},
                {"zOpOrient", "ParaBaixo", 1},
                {"CharType", "Character", 0},
                {"CharType", "Money", 1},
                {"CharType", "Date", 2},
                {"CharType", "Numeric", 3},
                {"CharAppareance", "vbFlat", 0},
                {"CharAppareance", "vb3D", 1},
                {"CharBorderSyle", "vbNone", 0},
                {"CharBorderSyle", "vbFixed", 1},
                {"State", "Unchecked", 0},
                {"State", "Checked", 1},
                {"State", "Mixed", 2},
                {"AlignmentConstants", "vbLeftJustify", 0},
                {"AlignmentConstants", "vbRightJustify", 1},
                {"AlignmentConstants", "vbCenter", 2}};
    for (const auto& r : rows)
        QTest::addRow("%s.%s", r.e, r.m)
            << QString::fromLatin1(r.e) << QString::fromLatin1(r.m) << r.v;
}

void TypeLibTest::enumerationValues()
{
    QFETCH(QString, enumName);
    QFETCH(QString, member);
    QFETCH(int, value);
    const EnumDescription* e = Kv_CTRL::typeLibrary().findEnum(enumName);
    QVERIFY(e);
    const QMetaObject* mo = e->metaType.metaObject();
    const QMetaEnum meta = mo->enumerator(mo->indexOfEnumerator(qPrintable(enumName)));
    bool ok = false;
    QCOMPARE(meta.keyToValue(qPrintable(member), &ok), value);
    QVERIFY(ok);
}

void TypeLibTest::classList()
{
    const LibraryDescription& lib = Kv_CTRL::typeLibrary();
    QStringList names, progIds;
    for (const ClassDescription& cls : lib.classes) {
        names << cls.name;
        progIds << lib.progId(cls);
        QVERIFY(cls.isControl);
        QVERIFY(cls.creatable);
        QCOMPARE(cls.defaultInterface.name, QLatin1Char('_') + cls.name);
        QCOMPARE(cls.eventInterface.name, QStringLiteral("__") + cls.name);
        // A factory and a meta-object come together, from the same class.
        QCOMPARE(cls.factory == nullptr, cls.metaObject == nullptr);
    }
    QCOMPARE(names, (QStringList{"cmdButton", "ProgressBar", "xpcmdbutton", "VericalText",
                                 "txtCampo", "xpcheckbox", "xpoptionbutton"}));
    QCOMPARE(progIds.first(), QStringLiteral("Kv_CTRL.cmdButton"));
    QVERIFY(progIds.contains(QStringLiteral("Kv_CTRL.txtCampo")));
}

void TypeLibTest::identifiersAreUnique()
{
    const LibraryDescription& lib = Kv_CTRL::typeLibrary();
    QList<QUuid> ids{lib.libid};
    for (const EnumDescription& e : lib.enums)
        ids << e.guid;
    for (const ClassDescription& cls : lib.classes) {
        ids << cls.clsid << cls.defaultInterface.iid << cls.eventInterface.iid;
        QSet<qint32> members, events;
        for (const MemberDescription& m : cls.defaultInterface.members) {
            QVERIFY2(m.dispId != 0, qPrintable(cls.name + QLatin1Char('.') + m.name));
            members.insert(m.dispId);
        }
        QCOMPARE(members.size(), cls.defaultInterface.members.size());
        for (const EventDescription& e : cls.eventInterface.events)
            events.insert(e.dispId);
        QCOMPARE(events.size(), cls.eventInterface.events.size());
    }
    for (const QUuid& id : ids)
        QVERIFY(!id.isNull());
    QCOMPARE(QSet<QUuid>(ids.begin(), ids.end()).size(), ids.size());
}

void TypeLibTest::interfaceOrder_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("members"); // name:kind:type, in order
    QTest::newRow("cmdButton") << "cmdButton"
                               << "Picture:ref:Picture* BackColor:val:OLE_COLOR Font:ref:Font* "
                                  "Caption:val:BSTR Enabled:val:VARIANT_BOOL ShowAbout:method:void";
    QTest::newRow("ProgressBar")
        << "ProgressBar"
        << "BackColor:val:OLE_COLOR ForeColor:val:OLE_COLOR Font:ref:Font* "
           "Value:val:single Min:val:single Max:val:single "
           "BorderStyle:val:MyBorderStyle Caption:val:VARIANT "
           "ViewPercent:val:VARIANT_BOOL Refresh:method:void "
           "ShowAbout:method:void";
    QTest::newRow("xpcmdbutton") << "xpcmdbutton"
                                 << "Enabled:val:VARIANT_BOOL State:val:State_b Caption:val:BSTR "
                                    "Font:ref:Font* ShowAbout:method:void";
    QTest::newRow("VericalText") << "VericalText"
                                 << "zDirecao:val:zOpOrient zTexto:val:BSTR "
                                    "zDegradee:val:VARIANT_BOOL BackColor:val:OLE_COLOR "
                                    "ForeColor:val:OLE_COLOR Font:ref:Font* ShowAbout:method:void";
    QTest::newRow("txtCampo")
        << "txtCampo"
        << "Alignment:val:AlignmentConstants Appearance:val:CharAppareance "
           "BorderStyle:val:CharBorderSyle Font:ref:Font* MaxLength:val:long "
           "Enabled:val:VARIANT_BOOL Text:val:BSTR BackColor:val:OLE_COLOR ForeColor:val:OLE_COLOR "
           "TypeInput:val:CharType Required:val:VARIANT_BOOL RequiredCaption:val:BSTR "
           "UpperCase:val:VARIANT_BOOL ButtonFind:val:VARIANT_BOOL ButtonDate:val:VARIANT_BOOL "
           "TypeInputMask:val:BSTR ShowAbout:method:void";
    QTest::newRow("xpcheckbox") << "xpcheckbox"
                                << "Enabled:val:VARIANT_BOOL Value:val:State Caption:val:BSTR "
                                   "Font:ref:Font* BackColor:val:OLE_COLOR ForeColor:val:OLE_COLOR "
                                   "ShowAbout:method:void";
    QTest::newRow("xpoptionbutton") << "xpoptionbutton"
                                    << "Enabled:val:VARIANT_BOOL Value:val:VARIANT_BOOL "
                                       "Caption:val:BSTR Font:ref:Font* BackColor:val:OLE_COLOR "
                                       "ForeColor:val:OLE_COLOR ShowAbout:method:void";
}

void TypeLibTest::interfaceOrder()
{
    QFETCH(QString, className);
    QFETCH(QString, members);
    QStringList actual;
    for (const MemberDescription& m : classNamed(className).defaultInterface.members) {
        const char* kind = m.kind == MemberKind::Method              ? "method"
                           : m.kind == MemberKind::PropertyGetPutRef ? "ref"
                                                                     : "val";
        actual << QStringLiteral("%1:%2:%3").arg(m.name, QLatin1String(kind), idlTypeName(m.type));
    }
    QCOMPARE(actual.join(QLatin1Char(' ')), members);
}

void TypeLibTest::standardDispatchIds_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("member");
    QTest::addColumn<int>("dispId");
    const char* const all[] = {"cmdButton", "ProgressBar", "xpcmdbutton",   "VericalText",
                               "txtCampo",  "xpcheckbox",  "xpoptionbutton"};
    for (const char* c : all)
        QTest::addRow("%s.ShowAbout", c) << QString::fromLatin1(c) << "ShowAbout" << -552;
    QTest::newRow("cmdButton.Font") << "cmdButton"
                                    << "Font" << -512;
    QTest::newRow("xpcmdbutton.Enabled") << "xpcmdbutton"
                                         << "Enabled" << -514;
    QTest::newRow("xpcmdbutton.Caption") << "xpcmdbutton"
                                         << "Caption" << -518;
    QTest::newRow("xpcmdbutton.Font") << "xpcmdbutton"
                                      << "Font" << -512;
    QTest::newRow("xpcheckbox.Enabled") << "xpcheckbox"
                                        << "Enabled" << -514;
    QTest::newRow("xpcheckbox.Caption") << "xpcheckbox"
                                        << "Caption" << -518;
    QTest::newRow("xpcheckbox.Font") << "xpcheckbox"
                                     << "Font" << -512;
    QTest::newRow("xpcheckbox.BackColor") << "xpcheckbox"
                                          << "BackColor" << -501;
    QTest::newRow("xpcheckbox.ForeColor") << "xpcheckbox"
                                          << "ForeColor" << -513;
    QTest::newRow("xpoptionbutton.Enabled") << "xpoptionbutton"
                                            << "Enabled" << -514;
    QTest::newRow("xpoptionbutton.Caption") << "xpoptionbutton"
                                            << "Caption" << -518;
    QTest::newRow("xpoptionbutton.ForeColor") << "xpoptionbutton"
                                              << "ForeColor" << -513;
}

void TypeLibTest::standardDispatchIds()
{
    QFETCH(QString, className);
    QFETCH(QString, member);
    QFETCH(int, dispId);
    const MemberDescription* m = memberNamed(classNamed(className), member);
    QVERIFY(m);
    QCOMPARE(m->dispId, dispId);
}

void TypeLibTest::eventIds_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("events"); // name(id):argument types and names
    QTest::newRow("cmdButton")
        << "cmdButton"
        << "Click(1) KeyDown(2):short&KeyCode,short&Shift KeyPress(3):short&KeyAscii "
           "KeyUp(4):short&KeyCode,short&Shift "
           "MouseDown(5):short&Button,short&Shift,float&x,float&Y "
           "MouseMove(6):short&Button,short&Shift,float&x,float&Y "
           "MouseUp(7):short&Button,short&Shift,float&x,float&Y";
    const QString xp = QStringLiteral(
        "Click(-600) KeyDown(-602):short&KeyCode,short&Shift KeyPress(-603):short&KeyAscii "
        "KeyUp(-604):short&KeyCode,short&Shift MouseOut(1) "
        "MouseDown(-605):short&Button,short&Shift,float&x,float&Y "
        "MouseMove(-606):short&Button,short&Shift,float&x,float&Y "
        "MouseUp(-607):short&Button,short&Shift,float&x,float&Y");
    QTest::newRow("xpcmdbutton") << "xpcmdbutton" << xp;
    QTest::newRow("xpcheckbox") << "xpcheckbox" << xp;
    QTest::newRow("xpoptionbutton") << "xpoptionbutton" << xp;
    QTest::newRow("txtCampo") << "txtCampo"
                              << "Change(1) DblClick(2) cmdCalendario(3) cmdLocalizar(4) "
                                 "KeyPress(5):short&KeyAscii KeyDown(6):short&KeyCode,short&Shift "
                                 "KeyUp(7):short&KeyCode,short&Shift";
    QTest::newRow("ProgressBar") << "ProgressBar"
                                 << "";
    QTest::newRow("VericalText") << "VericalText"
                                 << "";
}

void TypeLibTest::eventIds()
{
    QFETCH(QString, className);
    QFETCH(QString, events);
    const LibraryDescription& lib = Kv_CTRL::typeLibrary();
    QStringList actual;
    for (const EventDescription& e : classNamed(className).eventInterface.events) {
        QString text = QStringLiteral("%1(%2)").arg(e.name).arg(e.dispId);
        QStringList args;
        for (const ParameterDescription& p : e.parameters)
            args << eventArgumentTypeName(p, lib) + p.name;
        if (!args.isEmpty()) text += QLatin1Char(':') + args.join(QLatin1Char(','));
        actual << text;
    }
    QCOMPARE(actual.join(QLatin1Char(' ')), events);
}

void TypeLibTest::descriptionStrings()
{
    const LibraryDescription& lib = Kv_CTRL::typeLibrary();
    QMap<QString, QString> found;
    for (const ClassDescription& cls : lib.classes) {
        for (const MemberDescription& m : cls.defaultInterface.members)
            if (!m.description.isEmpty())
                found.insert(cls.name + QLatin1Char('.') + m.name, m.description);
        for (const EventDescription& e : cls.eventInterface.events)
            if (!e.description.isEmpty())
                found.insert(cls.name + QLatin1Char('.') + e.name, e.description);
    }
    const QMap<QString, QString> expected{
        {"cmdButton.Picture", "Returns/sets a graphic to be displayed in a control."},
        {"cmdButton.BackColor",
         "Returns/sets the background color used to display text and graphics in an object."},
        {"cmdButton.Font", "Returns a Font object."},
        {"cmdButton.Caption",
         "Returns/sets the text displayed in an object's title bar or below an object's icon."},
        {"cmdButton.Enabled", "Returns/sets a value that determines whether an object can respond "
                              "to user-generated events."},
        {"cmdButton.KeyDown", "Occurs when the user presses a key while an object has the focus."},
        {"cmdButton.KeyPress", "Occurs when the user presses and releases an ANSI key."},
        {"cmdButton.KeyUp", "Occurs when the user releases a key while an object has the focus."},
        {"cmdButton.MouseDown",
         "Occurs when the user presses the mouse button while an object has the focus."},
        {"cmdButton.MouseMove", "Occurs when the user moves the mouse."},
        {"cmdButton.MouseUp",
         "Occurs when the user releases the mouse button while an object has the focus."},
        {"xpcmdbutton.State", "Returns/sets the state of the command button when mouse_out."},
    };
    QCOMPARE(found, expected);
}

void TypeLibTest::everyMemberTypeResolves()
{
    // An enumeration named in an interface must exist, or the check could never pass.
    const LibraryDescription& lib = Kv_CTRL::typeLibrary();
    for (const ClassDescription& cls : lib.classes) {
        for (const MemberDescription& m : cls.defaultInterface.members)
            if (m.kind != MemberKind::Method)
                QVERIFY2(metaTypeOf(m.type, lib).isValid(), qPrintable(cls.name + '.' + m.name));
        for (const EventDescription& e : cls.eventInterface.events)
            for (const ParameterDescription& p : e.parameters)
                QVERIFY(metaTypeOf(p.type, lib).isValid());
    }
    QCOMPARE(QString::fromLatin1(metaTypeOf(TypeRef::of(BaseType::Color), lib).name()), "uint");
    QCOMPARE(QString::fromLatin1(metaTypeOf(TypeRef::of(BaseType::Long), lib).name()), "int");
    QVERIFY(!metaTypeOf(TypeRef::enumeration(QStringLiteral("NoSuchEnum")), lib).isValid());
}

void TypeLibTest::printedTypeLibrary()
{
    const QString idl = printIdl(Kv_CTRL::typeLibrary());
    const QStringList lines = idl.split(QLatin1Char('\n'));
    const auto has = [&](const QString& line) { return lines.contains(line); };
    QVERIFY(has(QStringLiteral("library Kv_CTRL")));
    QVERIFY(has(QString::fromUtf8("  helpstring(\"Kv Sistemas - Controle de Edição - V2.02\")")));
    QVERIFY(has(QStringLiteral("  version(1.0),")));
    QVERIFY(has(QStringLiteral("    } CharType;")));
    QVERIFY(has(QStringLiteral("        Date = 2,")));
    QVERIFY(has(QStringLiteral("    interface _txtCampo : IDispatch {")));
    QVERIFY(has(QStringLiteral("    dispinterface __txtCampo {")));
    QVERIFY(has(QStringLiteral("    coclass txtCampo {")));
    QVERIFY(has(QStringLiteral("        [default, source] dispinterface __xpcheckbox;")));
    QVERIFY(has(QStringLiteral("        [id(0xfffffe00), propputref]")));
    QVERIFY(has(QStringLiteral("        HRESULT Font([in] Font* Font);")));
    QVERIFY(has(QStringLiteral("        [id(0xfffffdd8)]")));
    QVERIFY(has(QStringLiteral("            [id(0xfffffda8)]")));
    QVERIFY(has(QStringLiteral("            void KeyPress([in, out] short* KeyAscii);")));
    QVERIFY(has(QStringLiteral(
        "            void MouseUp([in, out] short* Button, [in, out] short* Shift, [in, out] "
        "single* x, [in, out] single* Y);")));
    QVERIFY(has(QStringLiteral("        HRESULT Alignment([in] AlignmentConstants Alignment);")));
    QCOMPARE(idl.count(QStringLiteral("coclass ")), 7);
    QCOMPARE(idl.count(QStringLiteral("[id(0xfffffdd8)]")), 7); // ShowAbout, once per control
    QCOMPARE(idl.count(QLatin1Char('{')), idl.count(QLatin1Char('}')));
    // Every member is printed: a propget and a propput/propputref per property.
    int properties = 0;
    for (const ClassDescription& cls : Kv_CTRL::typeLibrary().classes)
        for (const MemberDescription& m : cls.defaultInterface.members)
            properties += m.kind != MemberKind::Method;
    QCOMPARE(idl.count(QStringLiteral(", propget")), properties);
}

void TypeLibTest::printerEscapesStrings()
{
    LibraryDescription lib = probeLibrary(QStringLiteral("Good"));
    lib.description = QStringLiteral("say \"hi\" \\ bye");
    lib.classes[0].defaultInterface.members[0].description = QStringLiteral("a \"quoted\" word");
    const QString idl = printIdl(lib);
    QVERIFY(idl.contains(QStringLiteral("helpstring(\"say \\\"hi\\\" \\\\ bye\")")));
    QVERIFY(idl.contains(QStringLiteral("helpstring(\"a \\\"quoted\\\" word\")")));
}

void TypeLibTest::toolboxImages()
{
    QList<QImage> images;
    for (const ClassDescription& cls : Kv_CTRL::typeLibrary().classes) {
        QVERIFY(cls.toolboxImage);
        const QImage image = cls.toolboxImage();
        QCOMPARE(image.size(), QSize(16, 15));
        QCOMPARE(image.format(), QImage::Format_RGB888);
        QCOMPARE(image.depth(), 24);
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() >= 3, qPrintable(cls.name));
        QVERIFY2(!images.contains(image),
                 qPrintable(cls.name + QStringLiteral(" looks like another")));
        QCOMPARE(Kv_CTRL::toolboxImage(cls.name), image);
        images << image;
    }
    QVERIFY(Kv_CTRL::toolboxImage(QStringLiteral("Calendario")).isNull());
}

void TypeLibTest::dataEscolhidaPerThread()
{
    Kv_CTRL::Kv_Module::DataEscolhida() = Date(46000);
    QVERIFY(&Kv_CTRL::Kv_Module::DataEscolhida() == &Kv_CTRL::Kv_Module::DataEscolhida());
    double seenByOther = -1;
    std::thread other([&] {
        seenByOther = Kv_CTRL::Kv_Module::DataEscolhida().serial();
        Kv_CTRL::Kv_Module::DataEscolhida() = Date(12345);
    });
    other.join();
    QCOMPARE(seenByOther, 0.0);
    QCOMPARE(Kv_CTRL::Kv_Module::DataEscolhida(), Date(46000));
    Kv_CTRL::Kv_Module::DataEscolhida() = Date();
    QVERIFY(Kv_CTRL::Kv_Module::DataEscolhida().isZero());
}

void TypeLibTest::implementedControlsMatchDescription()
{
    constexpr bool aboutDialogBuilt = false;
    const LibraryDescription& lib = Kv_CTRL::typeLibrary();
    int checked = 0;
    for (const ClassDescription& cls : lib.classes) {
        if (!cls.metaObject) continue;
        QStringList faults = checkMetaObject(lib, cls, *cls.metaObject);
        // ShowAbout arrives with the About dialog; until then its absence is the one
        // difference allowed, and only as the last member of the interface.
        if (!aboutDialogBuilt)
            faults.removeIf([](const QString& fault) {
                return fault.endsWith(QLatin1String(": ShowAbout is missing"));
            });
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        ++checked;
    }
    qInfo("%d of %d control classes implemented and checked", checked, int(lib.classes.size()));
}

void TypeLibTest::checkAcceptsMatchingClass()
{
    const LibraryDescription lib = probeLibrary(QStringLiteral("Good"));
    const QStringList faults = checkMetaObject(lib, lib.classes[0], probe::Good::staticMetaObject);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void TypeLibTest::checkCatchesMismatch_data()
{
    // Each row edits the correct description ("props=N" keeps N properties, "noevents",
    // "nomethods", "swap" exchanges the first two properties) and names the fault expected.
    QTest::addColumn<QString>("className");
    QTest::addColumn<const QMetaObject*>("metaObject");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("fault");

    QTest::newRow("property order")
        << "Good" << &probe::Good::staticMetaObject << QStringList{"swap"}
        << "property 0: Alignment where TypeInput is expected";
    QTest::newRow("property type") << "WrongColourType" << &probe::WrongColourType::staticMetaObject
                                   << QStringList{"props=3", "noevents", "nomethods"}
                                   << "property BackColor: type short, expected uint (OLE_COLOR)";
    QTest::newRow("missing property")
        << "WrongColourType" << &probe::WrongColourType::staticMetaObject
        << QStringList{"props=4", "noevents", "nomethods"} << "property 3: Font is missing";
    QTest::newRow("extra property")
        << "ReadOnlyProperty" << &probe::ReadOnlyProperty::staticMetaObject
        << QStringList{"props=0", "noevents", "nomethods"}
        << "property 0: Alignment is not in the interface";
    QTest::newRow("read-only property")
        << "ReadOnlyProperty" << &probe::ReadOnlyProperty::staticMetaObject
        << QStringList{"props=1", "noevents", "nomethods"}
        << "property Alignment: not readable and writable";
    QTest::newRow("argument by value") << "ByValueEvent" << &probe::ByValueEvent::staticMetaObject
                                       << QStringList{"props=0", "nomethods"}
                                       << "event KeyPress: argument 0 is short, expected short&";
    QTest::newRow("argument name")
        << "MisnamedArgument" << &probe::MisnamedArgument::staticMetaObject
        << QStringList{"props=0", "nomethods"}
        << "event KeyPress: argument 0 is named 'keyAscii', expected 'KeyAscii'";
    QTest::newRow("missing event")
        << "MisnamedArgument" << &probe::MisnamedArgument::staticMetaObject
        << QStringList{"props=0", "nomethods"} << "event 2: MouseMove is missing";
    QTest::newRow("extra signal") << "ExtraSignal" << &probe::ExtraSignal::staticMetaObject
                                  << QStringList{"props=0", "nomethods"}
                                  << "event 3: signal Changed is not in the event interface";
    QTest::newRow("method not invokable")
        << "NoShowAbout" << &probe::NoShowAbout::staticMetaObject
        << QStringList{"props=0", "noevents"} << "method 1: ShowAbout is missing";
    QTest::newRow("class name") << "Good" << &probe::Renamed::staticMetaObject << QStringList{}
                                << "the class is named Renamed";
    QTest::newRow("not a control")
        << "NotAControl" << &probe::NotAControl::staticMetaObject << QStringList{}
        << "probe::NotAControl does not derive from host::UserControl";
}

void TypeLibTest::checkCatchesMismatch()
{
    QFETCH(QString, className);
    QFETCH(const QMetaObject*, metaObject);
    QFETCH(QStringList, edits);
    QFETCH(QString, fault);
    LibraryDescription lib = probeLibrary(className);
    ClassDescription& cls = lib.classes[0];
    QList<MemberDescription> properties, methods;
    for (const MemberDescription& m : cls.defaultInterface.members)
        (m.kind == MemberKind::Method ? methods : properties) << m;
    for (const QString& edit : edits) {
        if (edit.startsWith(QStringLiteral("props=")))
            properties = properties.mid(0, edit.mid(6).toInt());
        else if (edit == QStringLiteral("noevents"))
            cls.eventInterface.events.clear();
        else if (edit == QStringLiteral("nomethods"))
            methods.clear();
        else if (edit == QStringLiteral("swap"))
            properties.swapItemsAt(0, 1);
    }
    cls.defaultInterface.members = properties + methods;

    const QStringList faults = checkMetaObject(lib, cls, *metaObject);
    QVERIFY2(
        faults.contains(className + QStringLiteral(": ") + fault),
        qPrintable(QStringLiteral("expected \"%1\" among:\n%2").arg(fault, faults.join('\n'))));
}

QTEST_MAIN(TypeLibTest)
#include "tst_typelib.moc"
