#include "host/widgets/Timer.h"

#include "host/services/Guard.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/Lifetime.h"

namespace host {

Timer::Timer(QObject* parent, const QString& name) : QObject(parent)
{
    setObjectName(name);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
}

Timer::~Timer() = default;

void Timer::put_Interval(qint32 milliseconds)
{
    if (milliseconds < 0 || milliseconds > 65535) raiseError(Err::InvalidPropertyValue);
    m_interval = milliseconds;
    update(true);
}

void Timer::put_Enabled(bool enabled)
{
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    update(false);
}

QString Timer::get_Name() const
{
    const QString name = objectName();
    const qsizetype paren = name.lastIndexOf(QLatin1Char('('));
    return m_index >= 0 && paren > 0 ? name.left(paren) : name;
}

void Timer::update(bool restart)
{
    schedule(m_enabled && m_interval != 0, restart);
}

void Timer::schedule(bool run, bool restart)
{
    if (!run)
        m_timer.stop();
    else if (restart || !m_timer.isActive())
        m_timer.start(m_interval);
}

void Timer::tick()
{
    // A handler that runs a nested loop (a modal form) must not be entered again by its own
    // timer; other timers keep ticking, as the runtime's do.
    if (m_inTick || isDisposed(this)) return;
    m_inTick = true;
    LifeGuard alive(this);
    guard([&] { Q_EMIT Tick(); });
    if (alive) m_inTick = false;
}

} // namespace host
