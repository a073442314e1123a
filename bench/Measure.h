// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <fstream>
#include <string>
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

// The program's path and its floor take turns, batch against batch, in alternating order, each
// timed by this thread's own processor time: on a shared machine neither a drift nor a
// neighbour's build falls on one side only. The ratio is the median of the batches' ratios, and
// the counters are those FloorReporter::comparePaired reads. Between batches the event loop runs
// untimed, as it would between real events.
template<typename Program, typename Floor>
void runPaired(benchmark::State& state, int batch, Program program, Floor floor)
{
    std::vector<double> ratios, mine, base;
    bool programFirst = true;
    const auto timed = [batch](auto& step) {
        const double start = threadCpuMicroseconds();
        for (int i = 0; i < batch; ++i)
            step();
        return threadCpuMicroseconds() - start;
    };
    for (auto _ : state) {
        double programTime = 0, floorTime = 0;
        if (programFirst)
            programTime = timed(program);
        QCoreApplication::processEvents();
        floorTime = timed(floor);
        if (!programFirst)
            programTime = timed(program);
        QCoreApplication::processEvents();
        programFirst = !programFirst;
        state.SetIterationTime(programTime / batch / 1e6);
        ratios.push_back(programTime / floorTime);
        mine.push_back(programTime / batch);
        base.push_back(floorTime / batch);
    }
    state.counters["program_us"] = median(mine);
    state.counters["floor_us"] = median(base);
    state.counters["ratio"] = median(ratios);
}

// Google Benchmark's own start: each figure the median of its repetitions, the benchmarks of a
// binary run in random order when interleaved. These come before the command line's own flags so
// that it can still override them. False when the command line holds something unknown.
inline bool initialiseBenchmarks(int argc, char* argv[], int repetitions, bool interleaved)
{
    std::vector<std::string> flags { "--benchmark_repetitions=" + std::to_string(repetitions),
        "--benchmark_report_aggregates_only=true" };
    if (interleaved)
        flags.push_back("--benchmark_enable_random_interleaving=true");
    std::vector<char*> args(argv, argv + argc);
    for (size_t i = 0; i < flags.size(); ++i)
        args.insert(args.begin() + 1 + long(i), flags[i].data());
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    return !benchmark::ReportUnrecognizedArguments(count, args.data());
}
