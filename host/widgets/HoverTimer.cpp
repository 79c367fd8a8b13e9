#include "host/widgets/HoverTimer.h"

#include "host/services/Cursor.h"
#include "host/widgets/UserControl.h"

#include <QCoreApplication>
#include <QList>
#include <QPointer>
#include <QTimer>

namespace host {

namespace {

struct HoverClock {
    QList<HoverTimer*> enabled; // in the order they were enabled
    QPointer<QTimer> timer;     // a child of the application, so it goes with it
    bool held = false;
};

HoverClock& clock()
{
    static HoverClock c;
    return c;
}

void startClock()
{
    auto& c = clock();
    if (!c.timer) {
        auto* app = QCoreApplication::instance();
        if (!app) return;
        c.timer = new QTimer(app);
        c.timer->setTimerType(Qt::PreciseTimer);
        c.timer->setInterval(HoverTimer::Period);
        QObject::connect(c.timer, &QTimer::timeout, c.timer, [] {
            if (!clock().held) HoverTimer::tickAll();
        });
    }
    if (!c.timer->isActive()) c.timer->start();
}

void leave(HoverTimer* timer)
{
    auto& c = clock();
    c.enabled.removeAll(timer);
    if (c.enabled.isEmpty() && c.timer) c.timer->stop();
}

} // namespace

HoverTimer::HoverTimer(UserControl* surface, const QString& name)
    : Timer(surface, name), m_surface(surface)
{
    put_Interval(Period);
}

HoverTimer::~HoverTimer()
{
    leave(this);
}

void HoverTimer::schedule(bool run, bool /*restart*/)
{
    // One clock for all: a new Interval cannot restart a count of its own.
    if (!run) {
        leave(this);
        return;
    }
    auto& c = clock();
    if (!c.enabled.contains(this)) c.enabled.append(this);
    startClock();
}

bool HoverTimer::isTicking() const
{
    return clock().enabled.contains(const_cast<HoverTimer*>(this)) && isClockRunning();
}

bool HoverTimer::isClockRunning()
{
    const auto& c = clock();
    return c.timer && c.timer->isActive();
}

void HoverTimer::holdClock(bool held)
{
    clock().held = held;
}

void HoverTimer::tickAll()
{
    // A handler may disable, enable or delete timers, its own or others: tick those enabled when
    // the round began and still enabled when their turn comes.
    QList<QPointer<HoverTimer>> round;
    for (HoverTimer* t : std::as_const(clock().enabled))
        round.append(t);
    for (const auto& t : std::as_const(round))
        if (t && clock().enabled.contains(t.data())) t->tick();
}

bool HoverTimer::isPointerOutside() const
{
    POINTAPI p;
    GetCursorPos(p);
    if (!ScreenToClient(m_surface->get_hWnd(), p)) return true;
    const QPoint origin = m_surface->contentsRect().topLeft();
    const double x = m_surface->scaleXFromPixels(p.x - origin.x());
    const double y = m_surface->scaleYFromPixels(p.y - origin.y());
    const double left = m_surface->get_ScaleLeft();
    const double top = m_surface->get_ScaleTop();
    return x < left || y < top || x > left + m_surface->get_ScaleWidth() ||
           y > top + m_surface->get_ScaleHeight();
}

bool HoverTimer::isMoveInside(float X, float Y) const
{
    return X >= 0 && Y >= 0 && X <= m_surface->get_ScaleWidth() &&
           Y <= m_surface->get_ScaleHeight();
}

} // namespace host
