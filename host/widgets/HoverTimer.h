#pragma once
// The timer a control polls the pointer with while it is hovered (its Timer1): it answers whether
// the pointer has left the surface and whether a mouse move lies on it. Every enabled hover timer
// ticks from one shared 10 ms clock, which stops when none is enabled, so an idle form never wakes.

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

protected:
    void schedule(bool run, bool restart) override;

private:
    UserControl* m_surface;
};

} // namespace host
