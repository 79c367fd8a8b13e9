#pragma once
// Prints every event the watched controls raise, one line each: the control's name, the event
// and its arguments as the handlers left them ("txtNome.KeyPress KeyAscii=65").

#include <QList>
#include <QMetaMethod>
#include <QObject>
#include <QPointer>
#include <functional>

namespace kvform {

class EventPrinter : public QObject {
public:
    using Sink = std::function<void(const QString& line)>;
    explicit EventPrinter(Sink sink, QObject* parent = nullptr);

    // Connects to every event signal of the control (the signals its own classes declare, not
    // Qt's), after any handler connected before, so by-reference arguments print as left.
    void watch(QObject* control);

    // The line for one emission (exposed for the event text's shape).
    static QString describe(const QString& name, const QMetaMethod& signal, void** args);

    // Every signal arrives here: the connections name slots past QObject's own methods, one per
    // watched signal (Qt's dynamic-slot mechanism: the index is ours to interpret).
    int qt_metacall(QMetaObject::Call call, int id, void** args) override;

private:
    struct Watched {
        QPointer<QObject> sender;
        QMetaMethod signal;
    };
    Sink m_sink;
    QList<Watched> m_watched;
};

} // namespace kvform
