#pragma once
// A control's pointer-polling Timer1: tells whether the pointer has left the surface and whether a
// mouse move lies on it. All enabled hover timers share one 10 ms clock, stopped while none is.

#include "host/widgets/Timer.h"

namespace host {

class UserControl;

class HoverTimer : public Timer {
    Q_OBJECT
public:
    static constexpr qint32 Period = 10; // milliseconds of the shared clock

    // A timer of `surface`, enabled, Interval 10. Any nonzero Interval ticks with the shared
    // clock; 0 stops it like Enabled False.
    HoverTimer(UserControl* surface, const QString& name);
    ~HoverTimer() override;

    // The pointer (GetCursorPos, then ScreenToClient with the surface's hWnd) in the surface's
    // current scale lies left of ScaleLeft, above ScaleTop, or beyond ScaleLeft + ScaleWidth or
    // ScaleTop + ScaleHeight: the edges themselves are inside.
    bool isPointerOutside() const;
    // A MouseMove position (the surface's scale) lies within 0..ScaleWidth and 0..ScaleHeight.
    bool isMoveInside(float X, float Y) const;

    bool isTicking() const override;

    // Ticks every enabled hover timer now, as the shared clock does.
    static void tickAll();
    // Whether the shared clock is scheduled.
    static bool isClockRunning();
    // While held, the shared clock keeps its schedule but its ticks do nothing: only tickAll()
    // ticks. A driver that replays recorded input holds it, so no tick depends on how fast the
    // machine ran.
    static void holdClock(bool held);

protected:
    void schedule(bool run, bool restart) override;

private:
    UserControl* m_surface;
};

} // namespace host
