#include "host/automation/IdlPrinter.h"

#include <QStringList>

namespace host {

namespace {

QString uuidText(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QString idText(qint32 id)
{
    return QStringLiteral("0x%1").arg(quint32(id), 8, 16, QLatin1Char('0'));
}

QString quoted(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString attributes(const QStringList& list)
{
    return QLatin1Char('[') + list.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QString versionText(const LibraryDescription& library)
{
    const QList<int> parts = library.version.segments();
    return QStringLiteral("%1.%2").arg(parts.value(0)).arg(parts.value(1));
}

void printEnum(QStringList& out, const EnumDescription& e, const QString& version)
{
    out << QStringLiteral("    typedef [uuid(%1), version(%2)]").arg(uuidText(e.guid), version);
    out << QStringLiteral("    enum {");
    for (qsizetype i = 0; i < e.members.size(); ++i)
        out << QStringLiteral("        %1 = %2%3")
                   .arg(e.members[i].name)
                   .arg(e.members[i].value)
                   .arg(i + 1 < e.members.size() ? QStringLiteral(",") : QString());
    out << QStringLiteral("    } %1;").arg(e.name) << QString();
}

QStringList memberAttributes(const MemberDescription& m, const QString& kind)
{
    QStringList list{QStringLiteral("id(%1)").arg(idText(m.dispId))};
    if (!kind.isEmpty()) list << kind;
    if (!m.description.isEmpty())
        list << QStringLiteral("helpstring(%1)").arg(quoted(m.description));
    return list;
}

void printInterface(QStringList& out, const InterfaceDescription& itf, const QString& version)
{
    out << QStringLiteral("    [") << QStringLiteral("      odl,")
        << QStringLiteral("      uuid(%1),").arg(uuidText(itf.iid))
        << QStringLiteral("      version(%1),").arg(version) << QStringLiteral("      hidden,")
        << QStringLiteral("      dual,") << QStringLiteral("      nonextensible,")
        << QStringLiteral("      oleautomation") << QStringLiteral("    ]")
        << QStringLiteral("    interface %1 : IDispatch {").arg(itf.name);
    for (const MemberDescription& m : itf.members) {
        const QString type = idlTypeName(m.type);
        switch (m.kind) {
        case MemberKind::PropertyGetPut:
        case MemberKind::PropertyGetPutRef: {
            const bool byRef = m.kind == MemberKind::PropertyGetPutRef;
            out << QStringLiteral("        %1")
                       .arg(attributes(memberAttributes(m, QStringLiteral("propget"))))
                << QStringLiteral("        HRESULT %1([out, retval] %2* %1);").arg(m.name, type)
                << QStringLiteral("        %1")
                       .arg(attributes(memberAttributes(m, byRef ? QStringLiteral("propputref")
                                                                 : QStringLiteral("propput"))))
                << QStringLiteral("        HRESULT %1([in] %2 %1);").arg(m.name, type);
            break;
        }
        case MemberKind::Method:
            out << QStringLiteral("        %1").arg(attributes(memberAttributes(m, {})));
            if (m.type.base == BaseType::Void)
                out << QStringLiteral("        HRESULT %1();").arg(m.name);
            else
                out << QStringLiteral("        HRESULT %1([out, retval] %2* result);")
                           .arg(m.name, type);
            break;
        }
    }
    out << QStringLiteral("    };") << QString();
}

void printEvents(QStringList& out, const EventInterfaceDescription& itf, const QString& version)
{
    out << QStringLiteral("    [") << QStringLiteral("      uuid(%1),").arg(uuidText(itf.iid))
        << QStringLiteral("      version(%1),").arg(version) << QStringLiteral("      hidden,")
        << QStringLiteral("      nonextensible") << QStringLiteral("    ]")
        << QStringLiteral("    dispinterface %1 {").arg(itf.name)
        << QStringLiteral("        properties:") << QStringLiteral("        methods:");
    for (const EventDescription& e : itf.events) {
        QStringList attrs{QStringLiteral("id(%1)").arg(idText(e.dispId))};
        if (!e.description.isEmpty())
            attrs << QStringLiteral("helpstring(%1)").arg(quoted(e.description));
        QStringList params;
        for (const ParameterDescription& p : e.parameters)
            params << (p.byRef ? QStringLiteral("[in, out] %1* %2") : QStringLiteral("[in] %1 %2"))
                          .arg(idlTypeName(p.type), p.name);
        out << QStringLiteral("            %1").arg(attributes(attrs))
            << QStringLiteral("            void %1(%2);")
                   .arg(e.name, params.join(QStringLiteral(", ")));
    }
    out << QStringLiteral("    };") << QString();
}

} // namespace

QString printIdl(const LibraryDescription& library)
{
    const QString version = versionText(library);
    QStringList out;
    out << QStringLiteral("// %1 %2").arg(library.name, library.version.toString())
        << QStringLiteral("[") << QStringLiteral("  uuid(%1),").arg(uuidText(library.libid))
        << QStringLiteral("  version(%1),").arg(version)
        << QStringLiteral("  helpstring(%1)").arg(quoted(library.description))
        << QStringLiteral("]") << QStringLiteral("library %1").arg(library.name)
        << QStringLiteral("{") << QStringLiteral("    importlib(\"stdole2.tlb\");") << QString();

    for (const ClassDescription& cls : library.classes) {
        if (!cls.defaultInterface.name.isEmpty())
            out << QStringLiteral("    interface %1;").arg(cls.defaultInterface.name);
    }
    out << QString();
    for (const EnumDescription& e : library.enums)
        printEnum(out, e, version);

    for (const ClassDescription& cls : library.classes) {
        if (!cls.defaultInterface.name.isEmpty())
            printInterface(out, cls.defaultInterface, version);
        if (!cls.eventInterface.name.isEmpty()) printEvents(out, cls.eventInterface, version);
        QStringList attrs{QStringLiteral("uuid(%1)").arg(uuidText(cls.clsid)),
                          QStringLiteral("version(%1)").arg(version)};
        if (cls.isControl) attrs << QStringLiteral("control");
        if (!cls.creatable) attrs << QStringLiteral("noncreatable");
        out << QStringLiteral("    %1").arg(attributes(attrs))
            << QStringLiteral("    coclass %1 {").arg(cls.name);
        if (!cls.defaultInterface.name.isEmpty())
            out << QStringLiteral("        [default] interface %1;").arg(cls.defaultInterface.name);
        if (!cls.eventInterface.name.isEmpty())
            out << QStringLiteral("        [default, source] dispinterface %1;")
                       .arg(cls.eventInterface.name);
        out << QStringLiteral("    };") << QString();
    }
    out << QStringLiteral("};");
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace host
