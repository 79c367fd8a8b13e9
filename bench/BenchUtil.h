#pragma once
// Side-by-side timing: runs our code and its Qt-native twin alternately, several times each, and
// prints "ratio NAME VALUE ours_ms twin_ms" with VALUE = median(ours) / median(twin).

#include <QElapsedTimer>
#include <QTextStream>
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

// Returns the ratio and prints the line; `runs` of each, alternating, after one warm-up each.
inline double compare(const char* name, const std::function<void()>& ours,
                      const std::function<void()>& twin, int runs = 7)
{
    ours();
    twin();
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        a.push_back(timeOnce(ours));
        b.push_back(timeOnce(twin));
    }
    const double ma = medianOf(a), mb = medianOf(b);
    const double ratio = mb > 0 ? ma / mb : 0.0;
    std::printf("ratio %s %.3f ours=%.3fms qt=%.3fms\n", name, ratio, ma, mb);
    std::fflush(stdout);
    return ratio;
}

} // namespace bench
