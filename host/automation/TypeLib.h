#pragma once
// The type library model: a control library described as data (classes, their default and event
// interfaces, enumerations, identifiers). Registration, class factories, the interface printer
// and the meta-object check all read this one description.

#include <QImage>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QUuid>
#include <QVersionNumber>

class QWidget;

namespace host {

class UserControl;

// The runtime types that appear at a control's boundary.
enum class BaseType {
    Void,
    Boolean, // bool
    Integer, // short
    Long,    // qint32
    Single,  // float
    Double,  // double
    String,  // QString
    Variant, // host::Variant
    Date,    // host::Date
    Color,   // host::OleColor
    Font,    // host::FontRef
    Picture, // host::PictureRef
    Enum,    // an enumeration named by TypeRef::enumName
};

struct TypeRef {
    BaseType base = BaseType::Void;
    QString enumName; // for BaseType::Enum

    static TypeRef of(BaseType base) { return {base, {}}; }
    static TypeRef enumeration(const QString& name) { return {BaseType::Enum, name}; }
    friend bool operator==(const TypeRef&, const TypeRef&) = default;
};

// Standard dispatch identifiers.
namespace DispId {
inline constexpr qint32 AboutBox = -552;
inline constexpr qint32 Font = -512;
inline constexpr qint32 Enabled = -514;
inline constexpr qint32 Caption = -518;
inline constexpr qint32 BackColor = -501;
inline constexpr qint32 ForeColor = -513;
inline constexpr qint32 Click = -600;
inline constexpr qint32 DblClick = -601;
inline constexpr qint32 KeyDown = -602;
inline constexpr qint32 KeyPress = -603;
inline constexpr qint32 KeyUp = -604;
inline constexpr qint32 MouseDown = -605;
inline constexpr qint32 MouseMove = -606;
inline constexpr qint32 MouseUp = -607;
} // namespace DispId

struct EnumMember {
    QString name;
    qint32 value = 0;
};

struct EnumDescription {
    QString name;
    QUuid guid;
    QList<EnumMember> members;
    QMetaType metaType; // the C++ enum class carrying it (for the meta-object check)
};

enum class MemberKind {
    PropertyGetPut,    // read-write, set by value
    PropertyGetPutRef, // read-write, assigned by reference (fonts, pictures)
    Method,
};

struct MemberDescription {
    MemberKind kind = MemberKind::PropertyGetPut;
    QString name;
    TypeRef type; // the property's type; a method's return type (Void for none)
    qint32 dispId = 0;
    QString description; // for the property browser; may be empty
};

struct ParameterDescription {
    QString name;
    TypeRef type;
    bool byRef = true;
};

struct EventDescription {
    QString name;
    qint32 dispId = 0;
    QList<ParameterDescription> parameters;
    QString description;
};

struct InterfaceDescription {
    QString name;
    QUuid iid;
    QList<MemberDescription> members; // in interface order
};

struct EventInterfaceDescription {
    QString name;
    QUuid iid;
    QList<EventDescription> events; // in interface order
};

// Creates the control with its parent; null until the class exists.
using ControlFactory = UserControl* (*)(QWidget* parent);
// Draws the class's 16 x 15 toolbox image.
using ToolboxImageFunction = QImage (*)();

struct ClassDescription {
    QString name;
    QUuid clsid;
    InterfaceDescription defaultInterface;
    EventInterfaceDescription eventInterface;
    ControlFactory factory = nullptr;        // null until the class is implemented
    const QMetaObject* metaObject = nullptr; // the implementing class, null as the factory
    ToolboxImageFunction toolboxImage = nullptr;
    bool isControl = true;
    bool creatable = true;
};

struct LibraryDescription {
    QString name; // also the ProgID prefix: "<name>.<class>"
    QUuid libid;
    QString description;    // the library's help string
    QVersionNumber version; // the module's file version; the first two parts version the library
    QList<EnumDescription> enums;
    QList<ClassDescription> classes;

    QString progId(const ClassDescription& cls) const { return name + QLatin1Char('.') + cls.name; }
    const ClassDescription* findClass(const QUuid& clsid) const;
    const ClassDescription* findClassByName(const QString& className) const;
    // The library's own enumeration, else one of the host's (AlignmentConstants), else null.
    const EnumDescription* findEnum(const QString& enumName) const;
};

// The host's enumerations that libraries refer to by name.
const QList<EnumDescription>& hostEnums();

// The C++ type a runtime type maps to (invalid for Void and an unknown enumeration).
QMetaType metaTypeOf(const TypeRef& type, const LibraryDescription& library);
// Its name as written in the interface definition ("VARIANT_BOOL", "OLE_COLOR", "CharType").
QString idlTypeName(const TypeRef& type);

} // namespace host
