#include "EventPrinter.h"

#include <QMetaType>
#include <QVariant>

namespace kvform {

namespace {

// Signals of the runtime's events: declared by our classes, not by Qt's (QLabel, QWidget, ...),
// and not the host's property notification.
bool isEvent(const QMetaMethod& method)
{
    if (method.methodType() != QMetaMethod::Signal) return false;
    const QMetaObject* owner = method.enclosingMetaObject();
    if (!owner || owner->className()[0] == 'Q') return false;
    return method.name() != "propertyChanged";
}

QString valueText(QMetaType type, const void* data)
{
    if (!data) return QStringLiteral("?");
    switch (type.id()) {
    case QMetaType::Bool:
        return *static_cast<const bool*>(data) ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Float:
        return QString::number(double(*static_cast<const float*>(data)));
    case QMetaType::Double:
        return QString::number(*static_cast<const double*>(data));
    case QMetaType::QString:
        return QLatin1Char('"') + *static_cast<const QString*>(data) + QLatin1Char('"');
    default:
        break;
    }
    const QVariant v(type, data);
    if (v.canConvert<QString>()) return v.toString();
    if (v.canConvert<qlonglong>()) return QString::number(v.toLongLong());
    return QStringLiteral("<%1>").arg(QLatin1String(type.name()));
}

} // namespace

EventPrinter::EventPrinter(Sink sink, QObject* parent) : QObject(parent), m_sink(std::move(sink)) {}

void EventPrinter::watch(QObject* control)
{
    const QMetaObject* meta = control->metaObject();
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (!isEvent(method)) continue;
        const int slot = QObject::staticMetaObject.methodCount() + int(m_watched.size());
        m_watched.append({control, method});
        QMetaObject::connect(control, i, this, slot, Qt::DirectConnection);
    }
}

QString EventPrinter::describe(const QString& name, const QMetaMethod& signal, void** args)
{
    QString line = name + QLatin1Char('.') + QString::fromLatin1(signal.name());
    const QList<QByteArray> names = signal.parameterNames();
    for (int p = 0; p < signal.parameterCount(); ++p) {
        const QString argName = p < names.size() && !names[p].isEmpty()
                                    ? QString::fromLatin1(names[p])
                                    : QStringLiteral("arg%1").arg(p + 1);
        QMetaType type = signal.parameterMetaType(p);
        if (!type.isValid()) {
            // A by-reference argument ("short&") names the type it refers to.
            QByteArray typeName = signal.parameterTypeName(p);
            if (typeName.endsWith('&')) typeName.chop(1);
            type = QMetaType::fromName(typeName);
        }
        line += QLatin1Char(' ') + argName + QLatin1Char('=') + valueText(type, args[p + 1]);
    }
    return line;
}

int EventPrinter::qt_metacall(QMetaObject::Call call, int id, void** args)
{
    id = QObject::qt_metacall(call, id, args);
    if (id < 0 || call != QMetaObject::InvokeMetaMethod) return id;
    if (id < m_watched.size()) {
        const Watched& w = m_watched[id];
        if (w.sender) m_sink(describe(w.sender->objectName(), w.signal, args));
    }
    return -1;
}

} // namespace kvform
