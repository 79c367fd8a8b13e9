#pragma once
// Side-by-side timing: runs our code and its Qt-native twin alternately, several times each, and
// prints one row of the table bench/run shows (median of each side, their ratio, the aim).

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

inline double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

inline double timeOnce(const std::function<void()>& body)
{
    QElapsedTimer t;
    t.start();
    body();
    return double(t.nsecsElapsed()) / 1e6;
}

// Keeps the optimiser from dropping a computed value.
template <class T>
inline void keep(const T& value)
{
    asm volatile("" : : "g"(&value) : "memory");
}

// What a row's aim limits: the ratio ours / twin, or ours itself (a count that must stay low).
enum class Aim { Ratio, Ours };

// One row, tab-separated: "row NAME OURS TWIN UNIT KIND AIM" (AIM 0 with KIND ratio: no aim).
inline void row(const char* name, double ours, double twin, const char* unit, double aim,
                Aim kind = Aim::Ratio)
{
    std::printf("row\t%s\t%.6g\t%.6g\t%s\t%s\t%g\n", name, ours, twin, unit,
                kind == Aim::Ratio ? "ratio" : "ours", aim);
    std::fflush(stdout);
}

// KV_BENCH_ONLY=part runs only the comparisons whose names contain it (to profile one of them).
inline bool wanted(const char* name)
{
    const QByteArray only = qgetenv("KV_BENCH_ONLY");
    return only.isEmpty() || QByteArray(name).contains(only);
}

// Returns the ratio and prints the row; `runs` of each, alternating, after one warm-up each.
// `aim` is the highest ratio that meets the aim.
inline double compare(const char* name, double aim, const std::function<void()>& ours,
                      const std::function<void()>& twin, int runs = 7)
{
    if (!wanted(name)) return 0.0;
    ours();
    twin();
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        a.push_back(timeOnce(ours));
        b.push_back(timeOnce(twin));
    }
    const double ma = medianOf(a), mb = medianOf(b);
    row(name, ma, mb, "ms", aim);
    return mb > 0 ? ma / mb : 0.0;
}

// Counts timer events delivered anywhere in the application.
class TimerEvents : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Timer) ++count;
        return false;
    }
};

// Timer events per second while the application idles for `ms` (the quitting timer not counted).
inline double idleTimerEvents(int ms)
{
    TimerEvents counter;
    qApp->installEventFilter(&counter);
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    qApp->removeEventFilter(&counter);
    return (counter.count - 1) * 1000.0 / ms;
}

} // namespace bench
