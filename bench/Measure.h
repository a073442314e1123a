// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <ctime>
#include <fstream>
#include <unistd.h>
#include <vector>

// The in-process benchmarks' measures: this thread's processor time, which a busy machine
// does not inflate as it does wall time, the median of several turns, and the resident size.
inline double threadCpuMicroseconds()
{
    timespec now = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline double residentKib()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / 1024.0;
}
