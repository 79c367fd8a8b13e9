#include "host/automation/MetaCheck.h"

#include "host/widgets/UserControl.h"

#include <QMetaMethod>
#include <QMetaProperty>

namespace host {

namespace {

struct Collected {
    QList<QMetaProperty> properties;
    QList<QMetaMethod> methods;
    QList<QMetaMethod> signalList;
};

// What the classes between UserControl and the control declare, base-most first.
bool collect(const QMetaObject& metaObject, Collected& out)
{
    QList<const QMetaObject*> chain;
    for (const QMetaObject* mo = &metaObject; mo; mo = mo->superClass()) {
        if (mo == &UserControl::staticMetaObject) {
            for (auto it = chain.crbegin(); it != chain.crend(); ++it) {
                const QMetaObject* own = *it;
                for (int i = own->propertyOffset(); i < own->propertyCount(); ++i)
                    out.properties << own->property(i);
                for (int i = own->methodOffset(); i < own->methodCount(); ++i) {
                    const QMetaMethod m = own->method(i);
                    if (m.access() != QMetaMethod::Public) continue;
                    if (m.methodType() == QMetaMethod::Method) out.methods << m;
                    if (m.methodType() == QMetaMethod::Signal) out.signalList << m;
                }
            }
            return true;
        }
        chain << mo;
    }
    return false;
}

QString typeNameOf(QMetaType type)
{
    return type.isValid() ? QString::fromLatin1(type.name()) : QStringLiteral("(none)");
}

void checkProperties(const LibraryDescription& library, const ClassDescription& cls,
                     const QList<QMetaProperty>& actual, QStringList& faults)
{
    QList<MemberDescription> expected;
    for (const MemberDescription& m : cls.defaultInterface.members)
        if (m.kind != MemberKind::Method) expected << m;
    const qsizetype n = qMax(expected.size(), actual.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (i >= actual.size()) {
            faults << QStringLiteral("property %1: %2 is missing").arg(i).arg(expected[i].name);
            continue;
        }
        const QMetaProperty& p = actual[i];
        const QString name = QString::fromLatin1(p.name());
        if (i >= expected.size()) {
            faults << QStringLiteral("property %1: %2 is not in the interface").arg(i).arg(name);
            continue;
        }
        const MemberDescription& m = expected[i];
        if (name != m.name) {
            faults
                << QStringLiteral("property %1: %2 where %3 is expected").arg(i).arg(name, m.name);
            continue;
        }
        const QMetaType want = metaTypeOf(m.type, library);
        if (!want.isValid() || p.metaType() != want)
            faults << QStringLiteral("property %1: type %2, expected %3 (%4)")
                          .arg(name, typeNameOf(p.metaType()), typeNameOf(want),
                               idlTypeName(m.type));
        if (!p.isReadable() || !p.isWritable())
            faults << QStringLiteral("property %1: not readable and writable").arg(name);
    }
}

void checkMethods(const LibraryDescription& library, const ClassDescription& cls,
                  const QList<QMetaMethod>& actual, QStringList& faults)
{
    QList<MemberDescription> expected;
    for (const MemberDescription& m : cls.defaultInterface.members)
        if (m.kind == MemberKind::Method) expected << m;
    const qsizetype n = qMax(expected.size(), actual.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (i >= actual.size()) {
            faults << QStringLiteral("method %1: %2 is missing").arg(i).arg(expected[i].name);
            continue;
        }
        const QMetaMethod& a = actual[i];
        const QString name = QString::fromLatin1(a.name());
        if (i >= expected.size()) {
            faults << QStringLiteral("method %1: %2 is not in the interface").arg(i).arg(name);
            continue;
        }
        const MemberDescription& m = expected[i];
        if (name != m.name) {
            faults << QStringLiteral("method %1: %2 where %3 is expected").arg(i).arg(name, m.name);
            continue;
        }
        const QMetaType want = m.type.base == BaseType::Void ? QMetaType::fromType<void>()
                                                             : metaTypeOf(m.type, library);
        if (a.returnMetaType() != want)
            faults << QStringLiteral("method %1: returns %2, expected %3")
                          .arg(name, typeNameOf(a.returnMetaType()), typeNameOf(want));
        if (a.parameterCount() != 0)
            faults << QStringLiteral("method %1: takes %2 arguments, expected none")
                          .arg(name)
                          .arg(a.parameterCount());
    }
}

void checkEvents(const LibraryDescription& library, const ClassDescription& cls,
                 const QList<QMetaMethod>& actual, QStringList& faults)
{
    const QList<EventDescription>& expected = cls.eventInterface.events;
    const qsizetype n = qMax(expected.size(), actual.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (i >= actual.size()) {
            faults << QStringLiteral("event %1: %2 is missing").arg(i).arg(expected[i].name);
            continue;
        }
        const QMetaMethod& a = actual[i];
        const QString name = QString::fromLatin1(a.name());
        if (i >= expected.size()) {
            faults << QStringLiteral("event %1: signal %2 is not in the event interface")
                          .arg(i)
                          .arg(name);
            continue;
        }
        const EventDescription& e = expected[i];
        if (name != e.name) {
            faults << QStringLiteral("event %1: %2 where %3 is expected").arg(i).arg(name, e.name);
            continue;
        }
        if (a.parameterCount() != e.parameters.size()) {
            faults << QStringLiteral("event %1: %2 arguments, expected %3")
                          .arg(name)
                          .arg(a.parameterCount())
                          .arg(e.parameters.size());
            continue;
        }
        const QList<QByteArray> names = a.parameterNames();
        for (int k = 0; k < a.parameterCount(); ++k) {
            const ParameterDescription& p = e.parameters[k];
            const QString type = QString::fromLatin1(a.parameterTypeName(k));
            const QString want = eventArgumentTypeName(p, library);
            if (type != want)
                faults << QStringLiteral("event %1: argument %2 is %3, expected %4")
                              .arg(name)
                              .arg(k)
                              .arg(type, want);
            const QString argName = QString::fromLatin1(names.value(k));
            if (argName != p.name)
                faults << QStringLiteral("event %1: argument %2 is named '%3', expected '%4'")
                              .arg(name)
                              .arg(k)
                              .arg(argName, p.name);
        }
    }
}

} // namespace

QString eventArgumentTypeName(const ParameterDescription& parameter,
                              const LibraryDescription& library)
{
    const QMetaType type = metaTypeOf(parameter.type, library);
    const QString name =
        type.isValid() ? QString::fromLatin1(type.name()) : idlTypeName(parameter.type);
    return parameter.byRef ? name + QLatin1Char('&') : name;
}

QStringList checkMetaObject(const LibraryDescription& library, const ClassDescription& cls,
                            const QMetaObject& metaObject)
{
    QStringList faults;
    Collected collected;
    if (!collect(metaObject, collected)) {
        faults << QStringLiteral("%1 does not derive from host::UserControl")
                      .arg(QString::fromLatin1(metaObject.className()));
        return {cls.name + QStringLiteral(": ") + faults.constFirst()};
    }
    QString className = QString::fromLatin1(metaObject.className());
    className = className.mid(className.lastIndexOf(QLatin1Char(':')) + 1);
    if (className != cls.name) faults << QStringLiteral("the class is named %1").arg(className);
    checkProperties(library, cls, collected.properties, faults);
    checkMethods(library, cls, collected.methods, faults);
    checkEvents(library, cls, collected.signalList, faults);
    for (QString& fault : faults)
        fault.prepend(cls.name + QStringLiteral(": "));
    return faults;
}

} // namespace host
