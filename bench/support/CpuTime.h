#pragma once

// Processor time for the benchmarks: on a machine shared with other builds, wall time
// measures the neighbours as much as the work.

#include <QByteArray>
#include <QFile>
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

// The process's peak resident memory in MB, from Linux's /proc; -1 elsewhere.
inline double PeakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return -1;
}

} // namespace bench
