#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace kastrel::bench {

using Clock = std::chrono::steady_clock;

// The wall time of `work`, in seconds.
inline double seconds_of(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The median round: the machine is shared, so single rounds say little.
inline double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace kastrel::bench
