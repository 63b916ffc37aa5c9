#pragma once

// Processor time for the benchmarks: on a machine shared with other builds, wall time
// measures the neighbours as much as the work.

#include <algorithm>
#include <ctime>
#include <functional>

namespace bench {

// Milliseconds of processor time this process has used.
inline double CpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The least processor time of several runs of the same work.
inline double BestOf(int runs, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const double start = CpuMilliseconds();
        work();
        best = std::min(best, CpuMilliseconds() - start);
    }
    return best;
}

} // namespace bench
