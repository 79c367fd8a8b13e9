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
#include "library/core/Enums.h"
#include "library/core/Kv_Module.h"
#include "library/module/TypeLibrary.h"

#include <QMetaEnum>
#include <QSet>
#include <QtTest>

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
    const auto member = [](const char* name, TypeRef type,
                           MemberKind kind = MemberKind::PropertyGetPut, qint32 id = 0) {
        return MemberDescription{kind, QString::fromLatin1(name), type, id, {}};
    };
    const auto enumeration = [](const char* name) {
        return TypeRef::enumeration(QString::fromLatin1(name));
    };
    cls.defaultInterface = {QStringLiteral("_") + className, QUuid::createUuid(), {}};
    cls.defaultInterface.members = {
        member("Alignment", enumeration("AlignmentConstants")),
        member("TypeInput", enumeration("CharType")),
        member("BackColor", TypeRef::of(BaseType::Color)),
        member("Font", TypeRef::of(BaseType::Font), MemberKind::PropertyGetPutRef),
        member("Caption", TypeRef::of(BaseType::Variant)),
        member("MaxLength", TypeRef::of(BaseType::Long)),
        member("Refresh", {}, MemberKind::Method, 1),
        member("ShowAbout", {}, MemberKind::Method, DispId::AboutBox)};
    const TypeRef integer = TypeRef::of(BaseType::Integer), single = TypeRef::of(BaseType::Single);
    const auto arg = [](const char* name, TypeRef type) {
        return ParameterDescription{QString::fromLatin1(name), type};
    };
    cls.eventInterface = {QStringLiteral("__") + className, QUuid::createUuid(), {}};
    cls.eventInterface.events = {
        {QStringLiteral("Click"), 1, {}, {}},
        {QStringLiteral("KeyPress"), 2, {arg("KeyAscii", integer)}, {}},
        {QStringLiteral("MouseMove"),
         3,
         {arg("Button", integer), arg("Shift", integer), arg("x", single), arg("Y", single)},
         {}}};
    lib.classes = {cls};
    return lib;
}

const ClassDescription& classNamed(const QString& name)
{
    const ClassDescription* cls = Kv_CTRL::typeLibrary().findClassByName(name);
    if (!cls) qFatal("no class %s", qPrintable(name));
    return *cls;
}

} // namespace

class TypeLibTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void enumerationsMatchTheirTypes_data()
    {
        QTest::addColumn<QString>("name");
        for (const EnumDescription& e : Kv_CTRL::typeLibrary().enums)
            QTest::newRow(qPrintable(e.name)) << e.name;
        for (const EnumDescription& e : hostEnums())
            QTest::newRow(qPrintable(e.name)) << e.name;
    }

    void enumerationsMatchTheirTypes()
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

    void classList()
    {
        const LibraryDescription& lib = Kv_CTRL::typeLibrary();
        QCOMPARE(lib.version, QVersionNumber({1, 0, 0, 52}));
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

    void identifiersAreUnique()
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

    void interfaces_data()
    {
        // Members as name:kind:type[@standard dispid] and events as name@dispid(arguments), in
        // interface order.
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("members");
        QTest::addColumn<QString>("events");
        QTest::newRow("cmdButton")
            << "cmdButton"
            << "Picture:ref:Picture* BackColor:val:OLE_COLOR Font:ref:Font*@-512 Caption:val:BSTR "
               "Enabled:val:VARIANT_BOOL ShowAbout:method:void@-552"
            << "Click@1() KeyDown@2(short&KeyCode,short&Shift) KeyPress@3(short&KeyAscii) "
               "KeyUp@4(short&KeyCode,short&Shift) "
               "MouseDown@5(short&Button,short&Shift,float&x,float&Y) "
               "MouseMove@6(short&Button,short&Shift,float&x,float&Y) "
               "MouseUp@7(short&Button,short&Shift,float&x,float&Y)";
        QTest::newRow("xpcheckbox")
            << "xpcheckbox"
            << "Enabled:val:VARIANT_BOOL@-514 Value:val:State Caption:val:BSTR@-518 "
               "Font:ref:Font*@-512 BackColor:val:OLE_COLOR@-501 ForeColor:val:OLE_COLOR@-513 "
               "ShowAbout:method:void@-552"
            << "Click@-600() KeyDown@-602(short&KeyCode,short&Shift) KeyPress@-603(short&KeyAscii) "
               "KeyUp@-604(short&KeyCode,short&Shift) MouseOut@1() "
               "MouseDown@-605(short&Button,short&Shift,float&x,float&Y) "
               "MouseMove@-606(short&Button,short&Shift,float&x,float&Y) "
               "MouseUp@-607(short&Button,short&Shift,float&x,float&Y)";
        QTest::newRow("txtCampo")
            << "txtCampo"
            << "Alignment:val:AlignmentConstants Appearance:val:CharAppareance "
               "BorderStyle:val:CharBorderSyle Font:ref:Font* MaxLength:val:long "
               "Enabled:val:VARIANT_BOOL Text:val:BSTR BackColor:val:OLE_COLOR "
               "ForeColor:val:OLE_COLOR "
               "TypeInput:val:CharType Required:val:VARIANT_BOOL RequiredCaption:val:BSTR "
               "UpperCase:val:VARIANT_BOOL ButtonFind:val:VARIANT_BOOL ButtonDate:val:VARIANT_BOOL "
               "TypeInputMask:val:BSTR ShowAbout:method:void@-552"
            << "Change@1() DblClick@2() cmdCalendario@3() cmdLocalizar@4() "
               "KeyPress@5(short&KeyAscii) "
               "KeyDown@6(short&KeyCode,short&Shift) KeyUp@7(short&KeyCode,short&Shift)";
    }

    void interfaces()
    {
        QFETCH(QString, className);
        QFETCH(QString, members);
        QFETCH(QString, events);
        const LibraryDescription& lib = Kv_CTRL::typeLibrary();
        const ClassDescription& cls = classNamed(className);
        QStringList actual;
        for (const MemberDescription& m : cls.defaultInterface.members) {
            const char* kind = m.kind == MemberKind::Method              ? "method"
                               : m.kind == MemberKind::PropertyGetPutRef ? "ref"
                                                                         : "val";
            // Only the standard identifiers are fixed; the others are the library's to choose.
            actual << QStringLiteral("%1:%2:%3")
                              .arg(m.name, QLatin1String(kind), idlTypeName(m.type)) +
                          (m.dispId < 0 ? QStringLiteral("@%1").arg(m.dispId) : QString());
        }
        QCOMPARE(actual.join(QLatin1Char(' ')), members);
        actual.clear();
        for (const EventDescription& e : cls.eventInterface.events) {
            QStringList args;
            for (const ParameterDescription& p : e.parameters)
                args << eventArgumentTypeName(p, lib) + p.name;
            actual << QStringLiteral("%1@%2(%3)").arg(e.name).arg(e.dispId).arg(args.join(','));
        }
        QCOMPARE(actual.join(QLatin1Char(' ')), events);
    }

    void descriptionStrings()
    {
        // A representative few; the rest are read from the same table.
        QMap<QString, QString> found;
        for (const ClassDescription& cls : Kv_CTRL::typeLibrary().classes) {
            for (const MemberDescription& m : cls.defaultInterface.members)
                if (!m.description.isEmpty()) found.insert(cls.name + '.' + m.name, m.description);
            for (const EventDescription& e : cls.eventInterface.events)
                if (!e.description.isEmpty()) found.insert(cls.name + '.' + e.name, e.description);
        }
        QCOMPARE(found.size(), 12);
        QCOMPARE(found.value("cmdButton.Font"), QStringLiteral("Returns a Font object."));
        QCOMPARE(found.value("cmdButton.KeyPress"),
                 QStringLiteral("Occurs when the user presses and releases an ANSI key."));
        QCOMPARE(found.value("xpcmdbutton.State"),
                 QStringLiteral("Returns/sets the state of the command button when mouse_out."));
    }

    void everyMemberTypeResolves()
    {
        // An enumeration named in an interface must exist, or the check could never pass.
        const LibraryDescription& lib = Kv_CTRL::typeLibrary();
        for (const ClassDescription& cls : lib.classes) {
            for (const MemberDescription& m : cls.defaultInterface.members)
                if (m.kind != MemberKind::Method)
                    QVERIFY2(metaTypeOf(m.type, lib).isValid(),
                             qPrintable(cls.name + '.' + m.name));
            for (const EventDescription& e : cls.eventInterface.events)
                for (const ParameterDescription& p : e.parameters)
                    QVERIFY(metaTypeOf(p.type, lib).isValid());
        }
        QCOMPARE(QString::fromLatin1(metaTypeOf(TypeRef::of(BaseType::Color), lib).name()), "uint");
        QCOMPARE(QString::fromLatin1(metaTypeOf(TypeRef::of(BaseType::Long), lib).name()), "int");
        QVERIFY(!metaTypeOf(TypeRef::enumeration(QStringLiteral("NoSuchEnum")), lib).isValid());
    }

    void printedTypeLibrary()
    {
        const QString idl = printIdl(Kv_CTRL::typeLibrary());
        const QStringList lines = idl.split(QLatin1Char('\n'));
        for (const char* line :
             {"library Kv_CTRL", "  version(1.0),", "    } CharType;", "        Date = 2,",
              "    interface _txtCampo : IDispatch {", "    dispinterface __txtCampo {",
              "        [default, source] dispinterface __xpcheckbox;",
              "        [id(0xfffffe00), propputref]", "        HRESULT Font([in] Font* Font);",
              "            void KeyPress([in, out] short* KeyAscii);",
              "        HRESULT Alignment([in] AlignmentConstants Alignment);"})
            QVERIFY2(lines.contains(QString::fromLatin1(line)), line);
        QVERIFY(lines.contains(
            QString::fromUtf8("  helpstring(\"Kv Sistemas - Controle de Edição - V2.02\")")));
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

    void printerEscapesStrings()
    {
        LibraryDescription lib = probeLibrary(QStringLiteral("Good"));
        lib.description = QStringLiteral("say \"hi\" \\ bye");
        lib.classes[0].defaultInterface.members[0].description =
            QStringLiteral("a \"quoted\" word");
        const QString idl = printIdl(lib);
        QVERIFY(idl.contains(QStringLiteral("helpstring(\"say \\\"hi\\\" \\\\ bye\")")));
        QVERIFY(idl.contains(QStringLiteral("helpstring(\"a \\\"quoted\\\" word\")")));
    }

    void toolboxImages()
    {
        QList<QImage> images;
        for (const ClassDescription& cls : Kv_CTRL::typeLibrary().classes) {
            QVERIFY(cls.toolboxImage);
            const QImage image = cls.toolboxImage();
            QCOMPARE(image.size(), QSize(16, 15));
            QCOMPARE(image.format(), QImage::Format_RGB888);
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

    void implementedControlsMatchDescription()
    {
        const LibraryDescription& lib = Kv_CTRL::typeLibrary();
        int checked = 0;
        for (const ClassDescription& cls : lib.classes) {
            if (!cls.metaObject) continue;
            QStringList faults = checkMetaObject(lib, cls, *cls.metaObject);
            // Errors raised in the control's code name the library as their source.
            const int project = cls.metaObject->indexOfClassInfo("Project");
            if (project < 0 || qstrcmp(cls.metaObject->classInfo(project).value(), "Kv_CTRL") != 0)
                faults << cls.name + QStringLiteral(": no Project class info naming Kv_CTRL");
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
            ++checked;
        }
        qInfo("%d of %d control classes implemented and checked", checked, int(lib.classes.size()));
    }

    void checkAcceptsMatchingClass()
    {
        const LibraryDescription lib = probeLibrary(QStringLiteral("Good"));
        const QStringList faults =
            checkMetaObject(lib, lib.classes[0], probe::Good::staticMetaObject);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void checkCatchesMismatch_data()
    {
        // Each row edits the correct description ("props=N" keeps N properties, "noevents",
        // "nomethods", "swap" exchanges the first two properties) and names the fault expected.
        QTest::addColumn<QString>("className");
        QTest::addColumn<const QMetaObject*>("metaObject");
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QString>("fault");
        const auto row = [](const char* tag, const char* cls, const QMetaObject* mo,
                            const char* edits, const char* fault) {
            QTest::newRow(tag) << QString::fromLatin1(cls) << mo << QString::fromLatin1(edits)
                               << QString::fromLatin1(fault);
        };
        using namespace probe;
        const char* bare = "props=0 noevents nomethods";
        row("property order", "Good", &Good::staticMetaObject, "swap",
            "property 0: Alignment where TypeInput is expected");
        row("property type", "WrongColourType", &WrongColourType::staticMetaObject,
            "props=3 noevents nomethods",
            "property BackColor: type short, expected uint (OLE_COLOR)");
        row("missing property", "WrongColourType", &WrongColourType::staticMetaObject,
            "props=4 noevents nomethods", "property 3: Font is missing");
        row("extra property", "ReadOnlyProperty", &ReadOnlyProperty::staticMetaObject, bare,
            "property 0: Alignment is not in the interface");
        row("read-only property", "ReadOnlyProperty", &ReadOnlyProperty::staticMetaObject,
            "props=1 noevents nomethods", "property Alignment: not readable and writable");
        row("argument by value", "ByValueEvent", &ByValueEvent::staticMetaObject,
            "props=0 nomethods", "event KeyPress: argument 0 is short, expected short&");
        row("argument name", "MisnamedArgument", &MisnamedArgument::staticMetaObject,
            "props=0 nomethods",
            "event KeyPress: argument 0 is named 'keyAscii', expected 'KeyAscii'");
        row("missing event", "MisnamedArgument", &MisnamedArgument::staticMetaObject,
            "props=0 nomethods", "event 2: MouseMove is missing");
        row("extra signal", "ExtraSignal", &ExtraSignal::staticMetaObject, "props=0 nomethods",
            "event 3: signal Changed is not in the event interface");
        row("method not invokable", "NoShowAbout", &NoShowAbout::staticMetaObject,
            "props=0 noevents", "method 1: ShowAbout is missing");
        row("class name", "Good", &Renamed::staticMetaObject, "", "the class is named Renamed");
        row("not a control", "NotAControl", &NotAControl::staticMetaObject, "",
            "probe::NotAControl does not derive from host::UserControl");
    }

    void checkCatchesMismatch()
    {
        QFETCH(QString, className);
        QFETCH(const QMetaObject*, metaObject);
        QFETCH(QString, edits);
        QFETCH(QString, fault);
        LibraryDescription lib = probeLibrary(className);
        ClassDescription& cls = lib.classes[0];
        QList<MemberDescription> properties, methods;
        for (const MemberDescription& m : cls.defaultInterface.members)
            (m.kind == MemberKind::Method ? methods : properties) << m;
        for (const QString& edit : edits.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
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
};

QTEST_MAIN(TypeLibTest)
#include "tst_typelib.moc"
