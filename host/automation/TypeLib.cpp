#include "host/automation/TypeLib.h"

#include "host/value/Alignment.h"
#include "host/value/Date.h"
#include "host/value/OleColor.h"
#include "host/value/StdFont.h"
#include "host/value/StdPicture.h"
#include "host/value/Variant.h"

namespace host {

const ClassDescription* LibraryDescription::findClass(const QUuid& clsid) const
{
    for (const ClassDescription& cls : classes)
        if (cls.clsid == clsid) return &cls;
    return nullptr;
}

const ClassDescription* LibraryDescription::findClassByName(const QString& className) const
{
    for (const ClassDescription& cls : classes)
        if (cls.name.compare(className, Qt::CaseInsensitive) == 0) return &cls;
    return nullptr;
}

const EnumDescription* LibraryDescription::findEnum(const QString& enumName) const
{
    for (const EnumDescription& e : enums)
        if (e.name == enumName) return &e;
    for (const EnumDescription& e : hostEnums())
        if (e.name == enumName) return &e;
    return nullptr;
}

const QList<EnumDescription>& hostEnums()
{
    static const QList<EnumDescription> list{
        {QStringLiteral("AlignmentConstants"),
         QUuid(QStringLiteral("{6b7f0c2e-4f3d-4a61-9d2a-0b1c9e5a7d41}")),
         {{QStringLiteral("vbLeftJustify"), 0},
          {QStringLiteral("vbRightJustify"), 1},
          {QStringLiteral("vbCenter"), 2}},
         QMetaType::fromType<AlignmentConstants>()},
    };
    return list;
}

QMetaType metaTypeOf(const TypeRef& type, const LibraryDescription& library)
{
    switch (type.base) {
    case BaseType::Void:
        return {};
    case BaseType::Boolean:
        return QMetaType::fromType<bool>();
    case BaseType::Integer:
        return QMetaType::fromType<short>();
    case BaseType::Long:
        return QMetaType::fromType<qint32>();
    case BaseType::Single:
        return QMetaType::fromType<float>();
    case BaseType::Double:
        return QMetaType::fromType<double>();
    case BaseType::String:
        return QMetaType::fromType<QString>();
    case BaseType::Variant:
        return QMetaType::fromType<Variant>();
    case BaseType::Date:
        return QMetaType::fromType<Date>();
    case BaseType::Color:
        return QMetaType::fromType<OleColor>();
    case BaseType::Font:
        return QMetaType::fromType<FontRef>();
    case BaseType::Picture:
        return QMetaType::fromType<PictureRef>();
    case BaseType::Enum:
        if (const EnumDescription* e = library.findEnum(type.enumName)) return e->metaType;
        return {};
    }
    return {};
}

QString idlTypeName(const TypeRef& type)
{
    switch (type.base) {
    case BaseType::Void:
        return QStringLiteral("void");
    case BaseType::Boolean:
        return QStringLiteral("VARIANT_BOOL");
    case BaseType::Integer:
        return QStringLiteral("short");
    case BaseType::Long:
        return QStringLiteral("long");
    case BaseType::Single:
        return QStringLiteral("single");
    case BaseType::Double:
        return QStringLiteral("double");
    case BaseType::String:
        return QStringLiteral("BSTR");
    case BaseType::Variant:
        return QStringLiteral("VARIANT");
    case BaseType::Date:
        return QStringLiteral("DATE");
    case BaseType::Color:
        return QStringLiteral("OLE_COLOR");
    case BaseType::Font:
        return QStringLiteral("Font*");
    case BaseType::Picture:
        return QStringLiteral("Picture*");
    case BaseType::Enum:
        return type.enumName;
    }
    return {};
}

} // namespace host
