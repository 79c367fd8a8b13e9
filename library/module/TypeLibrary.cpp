#include "library/module/TypeLibrary.h"

#include "library/module/Factories.h"

#include "library/core/Enums.h"

#include <QMetaEnum>
#include <utility>

namespace Kv_CTRL {

namespace {

using host::BaseType;
using host::EventDescription;
using host::MemberDescription;
using host::MemberKind;
using host::ParameterDescription;
using host::TypeRef;
namespace DispId = host::DispId;

// Dispatch identifiers of members without a standard one: one block per interface.
constexpr qint32 Own = 0x68030000;

const TypeRef Boolean = TypeRef::of(BaseType::Boolean);
const TypeRef Long = TypeRef::of(BaseType::Long);
const TypeRef Single = TypeRef::of(BaseType::Single);
const TypeRef String = TypeRef::of(BaseType::String);
const TypeRef VariantT = TypeRef::of(BaseType::Variant);
const TypeRef Color = TypeRef::of(BaseType::Color);
const TypeRef FontT = TypeRef::of(BaseType::Font);
const TypeRef PictureT = TypeRef::of(BaseType::Picture);
const TypeRef Integer = TypeRef::of(BaseType::Integer);

MemberDescription prop(const QString& name, const TypeRef& type, qint32 id,
                       const QString& description = {})
{
    return {MemberKind::PropertyGetPut, name, type, id, description};
}

MemberDescription propRef(const QString& name, const TypeRef& type, qint32 id,
                          const QString& description = {})
{
    return {MemberKind::PropertyGetPutRef, name, type, id, description};
}

MemberDescription method(const QString& name, qint32 id)
{
    return {MemberKind::Method, name, TypeRef::of(BaseType::Void), id, {}};
}

MemberDescription showAbout()
{
    return method(QStringLiteral("ShowAbout"), DispId::AboutBox);
}

ParameterDescription arg(const char* name, const TypeRef& type)
{
    return {QString::fromLatin1(name), type, true};
}

const QList<ParameterDescription> KeyArgs{arg("KeyCode", Integer), arg("Shift", Integer)};
const QList<ParameterDescription> AsciiArgs{arg("KeyAscii", Integer)};
const QList<ParameterDescription> MouseArgs{arg("Button", Integer), arg("Shift", Integer),
                                            arg("x", Single), arg("Y", Single)};

EventDescription event(const char* name, qint32 id, const QList<ParameterDescription>& args = {},
                       const QString& description = {})
{
    return {QString::fromLatin1(name), id, args, description};
}

TypeRef enumType(const char* name)
{
    return TypeRef::enumeration(QString::fromLatin1(name));
}

template <class E>
host::EnumDescription enumeration(const char* guid, std::initializer_list<host::EnumMember> members)
{
    const QMetaEnum meta = QMetaEnum::fromType<E>();
    return {QString::fromLatin1(meta.enumName()), QUuid::fromString(QLatin1String(guid)),
            QList<host::EnumMember>(members), QMetaType::fromType<E>()};
}

host::ClassDescription control(const char* name, const char* clsid, const char* iid,
                               const char* eventIid, QList<MemberDescription> members,
                               QList<EventDescription> events, Implementation impl)
{
    const QString className = QString::fromLatin1(name);
    host::ClassDescription cls;
    cls.name = className;
    cls.clsid = QUuid::fromString(QLatin1String(clsid));
    cls.defaultInterface = {QLatin1Char('_') + className, QUuid::fromString(QLatin1String(iid)),
                            std::move(members)};
    cls.eventInterface = {QStringLiteral("__") + className,
                          QUuid::fromString(QLatin1String(eventIid)), std::move(events)};
    cls.factory = impl.factory;
    cls.metaObject = impl.metaObject;
    cls.isControl = true;
    cls.creatable = true;
    return cls;
}

// The event interface the three XP controls share.
QList<EventDescription> xpEvents()
{
    return {event("Click", DispId::Click),
            event("KeyDown", DispId::KeyDown, KeyArgs),
            event("KeyPress", DispId::KeyPress, AsciiArgs),
            event("KeyUp", DispId::KeyUp, KeyArgs),
            event("MouseOut", 1),
            event("MouseDown", DispId::MouseDown, MouseArgs),
            event("MouseMove", DispId::MouseMove, MouseArgs),
            event("MouseUp", DispId::MouseUp, MouseArgs)};
}

host::LibraryDescription build()
{
    host::LibraryDescription lib;
    lib.name = QStringLiteral("Kv_CTRL");
    lib.libid = QUuid::fromString(QLatin1String("{e9bca440-5c5a-48d7-976f-fa8de317910f}"));
    lib.description =
        QString::fromUtf8(MakerName) + QString::fromUtf8(" - Controle de Edição - V2.02");
    lib.version = QVersionNumber({1, 0, 0, 52});

    lib.enums = {
        enumeration<MyBorderStyle>("{61bc5a7d-1fa5-4f5f-8fb2-ae3a3f8a9215}",
                                   {{QStringLiteral("None"), 0}, {QStringLiteral("Fixed"), 1}}),
        enumeration<State_b>("{658239d1-8468-4151-bb9b-23f2bf004f9c}",
                             {{QStringLiteral("Normal_"), 0}, {QStringLiteral("Default_"), 1}}),
        enumeration<zOpOrient>("{b90c3021-45ec-4f3b-b960-c55fce770263}",
                               {{QStringLiteral("ParaCima"), 0}, {QStringLiteral("ParaBaixo"), 1}}),
        enumeration<CharType>("{f424b2c9-5d6b-4e73-9aca-8b1b3fb02f10}",
                              {{QStringLiteral("Character"), 0},
                               {QStringLiteral("Money"), 1},
                               {QStringLiteral("Date"), 2},
                               {QStringLiteral("Numeric"), 3}}),
        enumeration<CharAppareance>("{4b237e10-6478-42a1-ac72-e156a8ffcd8d}",
                                    {{QStringLiteral("vbFlat"), 0}, {QStringLiteral("vb3D"), 1}}),
        enumeration<CharBorderSyle>(
            "{c8d47d36-f9a1-4fe4-a4cc-64e6081359be}",
            {{QStringLiteral("vbNone"), 0}, {QStringLiteral("vbFixed"), 1}}),
        enumeration<State>("{0275fa1f-abdf-4f84-b493-326314f16207}",
                           {{QStringLiteral("Unchecked"), 0},
                            {QStringLiteral("Checked"), 1},
                            {QStringLiteral("Mixed"), 2}}),
    };

    const QString keyDownText =
        QStringLiteral("Occurs when the user presses a key while an object has the focus.");
    const QString keyPressText =
        QStringLiteral("Occurs when the user presses and releases an ANSI key.");
    const QString keyUpText =
        QStringLiteral("Occurs when the user releases a key while an object has the focus.");
    const QString mouseDownText = QStringLiteral(
        "Occurs when the user presses the mouse button while an object has the focus.");
    const QString mouseMoveText = QStringLiteral("Occurs when the user moves the mouse.");
    const QString mouseUpText = QStringLiteral(
        "Occurs when the user releases the mouse button while an object has the focus.");

    lib.classes = {
        control("cmdButton", "{f83dfbb0-fa14-49c1-8817-aeefae766ccf}",
                "{e952ea59-7ff8-4a2c-bbd1-9f652cf7c9e6}", "{a077d7d6-667b-46da-a2b5-71a24ac83f54}",
                {propRef(QStringLiteral("Picture"), PictureT, Own + 0,
                         QStringLiteral("Returns/sets a graphic to be displayed in a control.")),
                 prop(QStringLiteral("BackColor"), Color, Own + 1,
                      QStringLiteral("Returns/sets the background color used to display text and "
                                     "graphics in an object.")),
                 propRef(QStringLiteral("Font"), FontT, DispId::Font,
                         QStringLiteral("Returns a Font object.")),
                 prop(QStringLiteral("Caption"), String, Own + 2,
                      QStringLiteral("Returns/sets the text displayed in an object's title bar or "
                                     "below an object's icon.")),
                 prop(QStringLiteral("Enabled"), Boolean, Own + 3,
                      QStringLiteral("Returns/sets a value that determines whether an object can "
                                     "respond to user-generated events.")),
                 showAbout()},
                {event("Click", 1), event("KeyDown", 2, KeyArgs, keyDownText),
                 event("KeyPress", 3, AsciiArgs, keyPressText),
                 event("KeyUp", 4, KeyArgs, keyUpText),
                 event("MouseDown", 5, MouseArgs, mouseDownText),
                 event("MouseMove", 6, MouseArgs, mouseMoveText),
                 event("MouseUp", 7, MouseArgs, mouseUpText)},
                implementationOf("cmdButton")),
        control("ProgressBar", "{8cc7545d-57a6-4cef-98d2-d84f0ccc65c9}",
                "{0edcfe19-da0f-47cb-aa5b-64fa0b3a68ae}", "{08aa65c6-394c-46f2-8ba6-b44991b80d24}",
                {prop(QStringLiteral("BackColor"), Color, Own + 0),
                 prop(QStringLiteral("ForeColor"), Color, Own + 1),
                 propRef(QStringLiteral("Font"), FontT, Own + 2),
                 prop(QStringLiteral("Value"), Single, Own + 3),
                 prop(QStringLiteral("Min"), Single, Own + 4),
                 prop(QStringLiteral("Max"), Single, Own + 5),
                 prop(QStringLiteral("BorderStyle"), enumType("MyBorderStyle"), Own + 6),
                 prop(QStringLiteral("Caption"), VariantT, Own + 7),
                 prop(QStringLiteral("ViewPercent"), Boolean, Own + 8),
                 method(QStringLiteral("Refresh"), Own + 9), showAbout()},
                {}, implementationOf("ProgressBar")),
        control(
            "xpcmdbutton", "{24e1f231-a89b-4bc7-8e51-45cc183796ea}",
            "{3802ff82-1af4-4832-b043-02f3b685d0df}", "{f67fb831-efcc-47d0-b2a8-f9f2ff88d040}",
            {prop(QStringLiteral("Enabled"), Boolean, DispId::Enabled),
             prop(QStringLiteral("State"), enumType("State_b"), Own + 0,
                  QStringLiteral("Returns/sets the state of the command button when mouse_out.")),
             prop(QStringLiteral("Caption"), String, DispId::Caption),
             propRef(QStringLiteral("Font"), FontT, DispId::Font), showAbout()},
            xpEvents(), implementationOf("xpcmdbutton")),
        control("VericalText", "{be1f2612-4733-40f6-b295-8fcc680f0922}",
                "{aa60a365-3db2-428c-ae2e-de74223dbe91}", "{2d49450a-60c3-4898-861a-6bf221099c5a}",
                {prop(QStringLiteral("zDirecao"), enumType("zOpOrient"), Own + 0),
                 prop(QStringLiteral("zTexto"), String, Own + 1),
                 prop(QStringLiteral("zDegradee"), Boolean, Own + 2),
                 prop(QStringLiteral("BackColor"), Color, Own + 3),
                 prop(QStringLiteral("ForeColor"), Color, Own + 4),
                 propRef(QStringLiteral("Font"), FontT, Own + 5), showAbout()},
                {}, implementationOf("VericalText")),
        control("txtCampo", "{9c386223-e3b9-4aa3-aed3-ea1567647def}",
                "{03001624-c441-443d-9cd3-97a89fd6f2f0}", "{a61c17fc-9f57-47a9-900c-c4a2a3934008}",
                {prop(QStringLiteral("Alignment"), enumType("AlignmentConstants"), Own + 0),
                 prop(QStringLiteral("Appearance"), enumType("CharAppareance"), Own + 1),
                 prop(QStringLiteral("BorderStyle"), enumType("CharBorderSyle"), Own + 2),
                 propRef(QStringLiteral("Font"), FontT, Own + 3),
                 prop(QStringLiteral("MaxLength"), Long, Own + 4),
                 prop(QStringLiteral("Enabled"), Boolean, Own + 5),
                 prop(QStringLiteral("Text"), String, Own + 6),
                 prop(QStringLiteral("BackColor"), Color, Own + 7),
                 prop(QStringLiteral("ForeColor"), Color, Own + 8),
                 prop(QStringLiteral("TypeInput"), enumType("CharType"), Own + 9),
                 prop(QStringLiteral("Required"), Boolean, Own + 10),
                 prop(QStringLiteral("RequiredCaption"), String, Own + 11),
                 prop(QStringLiteral("UpperCase"), Boolean, Own + 12),
                 prop(QStringLiteral("ButtonFind"), Boolean, Own + 13),
                 prop(QStringLiteral("ButtonDate"), Boolean, Own + 14),
                 prop(QStringLiteral("TypeInputMask"), String, Own + 15), showAbout()},
                {event("Change", 1), event("DblClick", 2), event("cmdCalendario", 3),
                 event("cmdLocalizar", 4), event("KeyPress", 5, AsciiArgs),
                 event("KeyDown", 6, KeyArgs), event("KeyUp", 7, KeyArgs)},
                implementationOf("txtCampo")),
        control("xpcheckbox", "{fdaddf30-a854-42ef-add3-c8abe7173a98}",
                "{9d46ef01-4536-435f-9c89-d293c1956ce6}", "{ea2537ec-bb42-46e5-9b02-98d1e3b9bc48}",
                {prop(QStringLiteral("Enabled"), Boolean, DispId::Enabled),
                 prop(QStringLiteral("Value"), enumType("State"), Own + 0),
                 prop(QStringLiteral("Caption"), String, DispId::Caption),
                 propRef(QStringLiteral("Font"), FontT, DispId::Font),
                 prop(QStringLiteral("BackColor"), Color, DispId::BackColor),
                 prop(QStringLiteral("ForeColor"), Color, DispId::ForeColor), showAbout()},
                xpEvents(), implementationOf("xpcheckbox")),
        control("xpoptionbutton", "{0a811153-0207-41a8-861c-6d2fa1af74cc}",
                "{a635e24c-6da4-4094-8849-9f5c817c9fc0}", "{0a1c7518-d205-4dcd-b8d3-33b5597bbe0a}",
                {prop(QStringLiteral("Enabled"), Boolean, DispId::Enabled),
                 prop(QStringLiteral("Value"), Boolean, Own + 0),
                 prop(QStringLiteral("Caption"), String, DispId::Caption),
                 propRef(QStringLiteral("Font"), FontT, Own + 1),
                 prop(QStringLiteral("BackColor"), Color, Own + 2),
                 prop(QStringLiteral("ForeColor"), Color, DispId::ForeColor), showAbout()},
                xpEvents(), implementationOf("xpoptionbutton")),
    };
    return lib;
}

QImage cmdButtonToolbox()
{
    return toolboxImage(QStringLiteral("cmdButton"));
}
QImage progressBarToolbox()
{
    return toolboxImage(QStringLiteral("ProgressBar"));
}
QImage xpcmdbuttonToolbox()
{
    return toolboxImage(QStringLiteral("xpcmdbutton"));
}
QImage vericalTextToolbox()
{
    return toolboxImage(QStringLiteral("VericalText"));
}
QImage txtCampoToolbox()
{
    return toolboxImage(QStringLiteral("txtCampo"));
}
QImage xpcheckboxToolbox()
{
    return toolboxImage(QStringLiteral("xpcheckbox"));
}
QImage xpoptionbuttonToolbox()
{
    return toolboxImage(QStringLiteral("xpoptionbutton"));
}

} // namespace

const host::LibraryDescription& typeLibrary()
{
    static const host::LibraryDescription library = [] {
        host::LibraryDescription lib = build();
        const std::pair<const char*, host::ToolboxImageFunction> images[] = {
            {"cmdButton", cmdButtonToolbox},
            {"ProgressBar", progressBarToolbox},
            {"xpcmdbutton", xpcmdbuttonToolbox},
            {"VericalText", vericalTextToolbox},
            {"txtCampo", txtCampoToolbox},
            {"xpcheckbox", xpcheckboxToolbox},
            {"xpoptionbutton", xpoptionbuttonToolbox},
        };
        for (host::ClassDescription& cls : lib.classes)
            for (const auto& [name, draw] : images)
                if (cls.name == QLatin1String(name)) cls.toolboxImage = draw;
        return lib;
    }();
    return library;
}

} // namespace Kv_CTRL
