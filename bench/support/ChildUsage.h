#pragma once

// What a benchmarked child process used, as wait4 reports it (POSIX only).

#include <sys/resource.h>

namespace bench {

// Processor time, user and system, in seconds.
inline double CpuSeconds(const rusage& used)
{
    return double(used.ru_utime.tv_sec + used.ru_stime.tv_sec) +
           double(used.ru_utime.tv_usec + used.ru_stime.tv_usec) / 1e6;
}

// Peak resident memory in MB (Linux reports ru_maxrss in kB).
inline double PeakMegabytes(const rusage& used)
{
    return double(used.ru_maxrss) / 1024.0;
}

} // namespace bench
