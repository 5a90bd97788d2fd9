// The clock of the benchmarks: seconds from the performance counter.
#pragma once

#include <windows.h>
#include <functional>

namespace BenchClock {

inline double Now() {
    LARGE_INTEGER freq{}, t{};
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

// How long f takes, in seconds.
inline double Seconds(const std::function<void()>& f) {
    const double t0 = Now();
    f();
    return Now() - t0;
}

} // namespace BenchClock
