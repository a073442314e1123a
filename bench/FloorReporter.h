// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

// Prints the usual console report, then one table row per comparison: the program's median
// against its floor's median, the ratio and whether it meets its target. Rows start with "|"
// so that bench/run.sh can gather the rows of several programs into one table.
class FloorReporter : public benchmark::ConsoleReporter
{
public:
    FloorReporter()
        : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular)
    { }

    void compareTime(const std::string& title, const std::string& program, const std::string& floor,
        double target)
    {
        m_comparisons.push_back({ title, program, floor, target, Figure::Time, {}, {} });
    }
    // A benchmark that timed program and floor itself, in turns, into the counters
    // program_us, floor_us and ratio.
    void comparePaired(const std::string& title, const std::string& benchmark, double target)
    {
        m_comparisons.push_back({ title, benchmark, benchmark, target, Figure::Paired, {}, {} });
    }
    void compareCounter(const std::string& title, const std::string& program,
        const std::string& floor, const std::string& counter, const std::string& unit,
        double target)
    {
        m_comparisons.push_back({ title, program, floor, target, Figure::Counter, counter, unit });
    }
    // A figure against the same program without one of its parts: what that part costs, with no
    // target of its own (the part is paid for; the row says how much).
    void costTime(const std::string& title, const std::string& program, const std::string& without)
    {
        m_comparisons.push_back({ title, program, without, 0, Figure::Time, {}, {} });
    }
    void costCounter(const std::string& title, const std::string& program,
        const std::string& without, const std::string& counter, const std::string& unit)
    {
        m_comparisons.push_back({ title, program, without, 0, Figure::Counter, counter, unit });
    }
    void limit(const std::string& title, const std::string& benchmark, const std::string& counter,
        double limit, const std::string& unit)
    {
        m_limits.push_back({ title, benchmark, counter, limit, unit });
    }
    bool allMet() const { return m_allMet; }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // One figure per benchmark: the median of its repetitions, or its only run.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (!median && !single)
                continue;
            Result& result = m_results[run.run_name.function_name];
            result.failed = run.error_occurred;
            result.error = run.error_message;
            result.microseconds = run.GetAdjustedRealTime() * toMicroseconds(run.time_unit);
            for (const auto& [name, counter] : run.counters)
                result.counters[name] = counter.value;
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n");
        for (const Comparison& c : m_comparisons)
            printComparison(c);
        for (const Limit& l : m_limits)
            printLimit(l);
        std::fflush(stdout);
    }

private:
    // Time: wall time, program and floor measured as benchmarks of their own. Paired: the
    // benchmark's own figures of program and floor taken in turns, in processor time.
    enum class Figure { Time, Paired, Counter };

    struct Comparison
    {
        std::string title;
        std::string program; // benchmark function names
        std::string floor;
        double target = 0; // 0: a cost row, without a target
        Figure figure = Figure::Time;
        std::string counter; // for Figure::Counter
        std::string unit; // for Figure::Counter
    };

    // A figure with a fixed limit rather than a floor, such as the soak's memory growth.
    struct Limit
    {
        std::string title;
        std::string benchmark;
        std::string counter;
        double limit = 0;
        std::string unit;
    };

    struct Result
    {
        bool failed = false;
        std::string error;
        double microseconds = 0;
        std::map<std::string, double> counters;
    };

    static double toMicroseconds(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kNanosecond:
            return 1e-3;
        case benchmark::kMicrosecond:
            return 1;
        case benchmark::kMillisecond:
            return 1e3;
        case benchmark::kSecond:
            return 1e6;
        }
        return 1;
    }

    static std::string duration(double microseconds)
    {
        char text[32];
        if (microseconds >= 10000)
            std::snprintf(text, sizeof text, "%.1f ms", microseconds / 1000);
        else
            std::snprintf(text, sizeof text, "%.1f us", microseconds);
        return text;
    }

    static std::string amount(double value, const std::string& unit)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.0f %s", value, unit.c_str());
        return text;
    }

    const Result* find(const std::string& name, const std::string& title)
    {
        const auto found = m_results.find(name);
        if (found == m_results.end() || found->second.failed) {
            std::printf("| %-48s | %-48s |\n", title.c_str(),
                found == m_results.end() ? "not run" : found->second.error.c_str());
            m_allMet = false;
            return nullptr;
        }
        return &found->second;
    }

    void printComparison(const Comparison& c)
    {
        const Result* program = find(c.program, c.title);
        const Result* floor = program ? find(c.floor, c.title) : nullptr;
        if (!program || !floor)
            return;
        double mine = program->microseconds, base = floor->microseconds;
        double ratio = base > 0 ? mine / base : 0;
        if (c.figure == Figure::Paired) {
            mine = value(*program, "program_us");
            base = value(*program, "floor_us");
            ratio = value(*program, "ratio");
        }
        std::string mineText = duration(mine), baseText = duration(base);
        if (c.figure == Figure::Paired) {
            mineText += " cpu";
            baseText += " cpu";
        }
        if (c.figure == Figure::Counter) {
            mine = value(*program, c.counter);
            base = value(*floor, c.counter);
            mineText = amount(mine, c.unit);
            baseText = amount(base, c.unit);
            ratio = base > 0 ? mine / base : 0;
        }
        if (c.target == 0) {
            std::printf("| %-48s | %14s | %14s | %6.2f | %7s | %-6s |\n", c.title.c_str(),
                mineText.c_str(), baseText.c_str(), ratio, "-", "-");
            return;
        }
        const bool met = base > 0 && ratio <= c.target;
        m_allMet = m_allMet && met;
        std::printf("| %-48s | %14s | %14s | %6.2f | <= %4.2f | %-6s |\n", c.title.c_str(),
            mineText.c_str(), baseText.c_str(), ratio, c.target, met ? "met" : "MISSED");
    }

    void printLimit(const Limit& l)
    {
        const Result* result = find(l.benchmark, l.title);
        if (!result)
            return;
        const double figure = value(*result, l.counter);
        const bool met = figure < l.limit;
        m_allMet = m_allMet && met;
        char target[16];
        std::snprintf(target, sizeof target, "< %.0f", l.limit);
        std::printf("| %-48s | %14s | %14s | %6s | %7s | %-6s |\n", l.title.c_str(),
            amount(figure, l.unit).c_str(), "", "", target, met ? "met" : "MISSED");
    }

    static double value(const Result& result, const std::string& counter)
    {
        const auto found = result.counters.find(counter);
        return found == result.counters.end() ? 0 : found->second;
    }

    std::vector<Comparison> m_comparisons;
    std::vector<Limit> m_limits;
    std::map<std::string, Result> m_results;
    bool m_allMet = true;
};
