// SPDX-License-Identifier: GPL-3.0-or-later
// The style check against reading the same files with the program's bitmap reader alone, and
// the check over many style directories against the same check over a few.

#include "FloorReporter.h"
#include "Measure.h"
#include "style/BitmapReader.h"
#include "style/StyleCheck.h"
#include "style/StyleFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace {

const char* const kSamples[] = { "Luna", "Silver", "Licorice" };

// Copies of the three sample styles, taking turns, each in a directory of its own.
struct Styles
{
    QTemporaryDir root;
    std::vector<QByteArray> dirs;
};

Styles* g_styles = nullptr;

bool generate(Styles& styles, int count)
{
    // Each sample read once and written out many times: QFile::copy goes through a temporary
    // file per copy, which takes minutes for 35,000 files.
    std::vector<std::vector<std::pair<QString, QByteArray>>> samples;
    for (const char* sample : kSamples) {
        const QDir from(
            QStringLiteral(FW_SOURCE_DIR "styles/%1/Frame/").arg(QLatin1String(sample)));
        auto& files = samples.emplace_back();
        for (const QString& name : from.entryList(QDir::Files)) {
            QFile in(from.filePath(name));
            if (!in.open(QIODevice::ReadOnly))
                return false;
            files.emplace_back(name, in.readAll());
        }
        if (files.empty())
            return false;
    }
    for (int i = 0; i < count; ++i) {
        const QString to = styles.root.filePath(QStringLiteral("style-%1/Frame/").arg(i));
        if (!QDir().mkpath(to))
            return false;
        for (const auto& [name, bytes] : samples[size_t(i) % samples.size()]) {
            QFile out(to + name);
            if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
                return false;
        }
        styles.dirs.push_back(QFile::encodeName(to));
    }
    return true;
}

// Checks dirs [0, count) and says whether every one came out clean, as the samples are.
bool checkAll(size_t count)
{
    bool clean = true;
    for (size_t i = 0; i < count; ++i)
        clean = checkStyle(g_styles->dirs[i]).problems.isEmpty() && clean;
    return clean;
}

void BM_CheckOne(benchmark::State& state)
{
    const QByteArray dir = FW_SOURCE_DIR "styles/Luna/Frame/";
    std::vector<QByteArray> paths;
    for (const StyleFile& file : StyleFiles::all())
        if (file.reader != StyleFile::Reader::Nobody)
            paths.push_back(joinStylePath(dir, file.name));
    bool clean = true;
    runPaired(
        state, 1, [&] { clean = checkStyle(dir).problems.isEmpty() && clean; },
        [&] {
            for (const QByteArray& path : paths)
                benchmark::DoNotOptimize(readBitmap(path));
        });
    if (!clean)
        state.SkipWithError("the sample style has problems");
}

// Per directory: the check over all 1,000 against the check over the first 10, in turns.
void BM_CheckMany(benchmark::State& state)
{
    if (g_styles->dirs.empty() && !generate(*g_styles, 1000)) {
        state.SkipWithError("cannot copy the sample styles into a temporary directory");
        return;
    }
    const size_t many = g_styles->dirs.size(), few = 10;
    bool clean = checkAll(few) && checkAll(few);
    const double before = residentKib();
    clean = checkAll(many) && clean;
    const double growth = residentKib() - before;
    runPaired(
        state, 1, [&] { clean = checkAll(many) && clean; },
        [&] { clean = checkAll(few) && clean; });
    // Per directory, so the floor's figures compare with the program's.
    state.counters["program_us"] = state.counters["program_us"] / double(many);
    state.counters["floor_us"] = state.counters["floor_us"] / double(few);
    state.counters["ratio"] = state.counters["ratio"] * double(few) / double(many);
    state.counters["rss_growth_kib"] = growth;
    if (!clean)
        state.SkipWithError("a generated style has problems");
}

BENCHMARK(BM_CheckOne)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(200);
BENCHMARK(BM_CheckMany)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);

    if (!initialiseBenchmarks(argc, argv, 5, true))
        return 2;

    Styles styles;
    g_styles = &styles;
    if (!styles.root.isValid()) {
        std::fprintf(stderr, "cannot make a temporary directory\n");
        return 1;
    }

    FloorReporter reporter;
    reporter.comparePaired("check of one style / reading its 29 files", "BM_CheckOne", 1.25);
    reporter.comparePaired("check per dir: over 1,000 dirs / over 10", "BM_CheckMany", 1.2);
    reporter.limit(
        "check: RSS growth, 1,000 dirs after 10", "BM_CheckMany", "rss_growth_kib", 2048, "KiB");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.allMet() ? 0 : 1;
}
