#pragma once
// The host's timer control: ticks every Interval milliseconds on the user-interface thread while
// Enabled. The runtime's Timer event is the Tick signal (a member cannot share the class's name).

#include <QObject>
#include <QTimer>

namespace host {

class Timer : public QObject {
    Q_OBJECT
    Q_PROPERTY(qint32 Interval READ get_Interval WRITE put_Interval)
    Q_PROPERTY(bool Enabled READ get_Enabled WRITE put_Enabled)
    Q_PROPERTY(QString Tag READ get_Tag WRITE put_Tag)

public:
    Timer(QObject* parent, const QString& name);
    ~Timer() override;

    // Milliseconds, 0..65535 (else error 380); 0 stops the ticks. A new value restarts the count.
    qint32 get_Interval() const { return m_interval; }
    void put_Interval(qint32 milliseconds);
    // Enabling a timer that is already enabled does not restart its count.
    bool get_Enabled() const { return m_enabled; }
    void put_Enabled(bool enabled);
    QString get_Name() const;
    QString get_Tag() const { return m_tag; }
    void put_Tag(const QString& tag) { m_tag = tag; }
    short get_Index() const { return m_index; }
    void setArrayIndex(short index) { m_index = index; }

    // Whether ticks are being scheduled now.
    virtual bool isTicking() const { return m_timer.isActive(); }

Q_SIGNALS:
    void Tick();

protected:
    // Starts (restart: anew) or stops the ticks; a derived timer may take its ticks elsewhere.
    virtual void schedule(bool run, bool restart);
    // Raises Tick, guarded, never re-entered while a handler of this timer runs.
    void tick();

private:
    void update(bool restart);

    QTimer m_timer;
    qint32 m_interval = 0;
    bool m_enabled = true;
    bool m_inTick = false;
    QString m_tag;
    short m_index = -1;
};

} // namespace host
