// SPDX-License-Identifier: GPL-3.0-or-later
// framewright-style import xfwm4 of one installed theme against reading each of the theme's
// pieces as xfwm4 does and encoding the style's pictures; and the import of every installed theme
// many times over against importing them once, per theme, with the resident size it grows by.

#include "FloorReporter.h"
#include "Measure.h"
#include "review/PictureKit.h"
#include "style/StyleFiles.h"
#include "xfwm4/ThemeImport.h"
#include "xfwm4/ThemeReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

QTemporaryDir* g_work = nullptr;

std::vector<QByteArray> installedThemes()
{
    std::vector<QByteArray> themes;
    const QDir root(QStringLiteral("/usr/share/themes"));
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (QFileInfo(root.filePath(name) + QStringLiteral("/xfwm4/themerc")).isFile())
            themes.push_back(QFile::encodeName(root.filePath(name)));
    return themes;
}

bool importInto(const QByteArray& theme, const QByteArray& dir)
{
    return ThemeImport::importTheme(theme, dir, true).status == 0;
}

void BM_ImportOne(benchmark::State& state)
{
    const QByteArray theme = "/usr/share/themes/Default";
    const QByteArray folder = theme + "/xfwm4";
    const QByteArray dir = QFile::encodeName(g_work->filePath(QStringLiteral("one")));
    const ThemeImport::Result built = ThemeImport::build(folder);
    if (built.status != 0) {
        state.SkipWithError("xfwm4's Default theme is not installed (apt-get install xfwm4)");
        return;
    }
    // Each piece the theme holds, read as xfwm4 reads it: its XPM and the image over it.
    QList<QByteArray> pieces;
    for (const QString& name : QDir(QFile::decodeName(folder)).entryList(QDir::Files)) {
        const QByteArray base = QFile::encodeName(QFileInfo(name).completeBaseName());
        if (name != QLatin1String("themerc") && !pieces.contains(base))
            pieces.append(base);
    }
    const ThemeReader::Settings settings = ThemeReader::parseThemerc({});
    bool ok = true;
    runPaired(
        state, 1, [&] { ok = importInto(theme, dir) && ok; },
        [&] {
            for (const QByteArray& piece : pieces)
                benchmark::DoNotOptimize(ThemeReader::readPiece(folder, piece, settings.symbols));
            for (const StyleFile& file : StyleFiles::all())
                benchmark::DoNotOptimize(PictureKit::encoded(built.style.files.value(file.name),
                    QByteArray(file.name).endsWith(".bmp") ? "bmp" : "png"));
        });
    if (!ok)
        state.SkipWithError("the import of Default failed");
}

bool importAll(const std::vector<QByteArray>& themes, int rounds)
{
    bool ok = true;
    for (int round = 0; round < rounds; ++round)
        for (size_t i = 0; i < themes.size(); ++i)
            ok = importInto(themes[i],
                     QFile::encodeName(g_work->filePath(QStringLiteral("many-%1").arg(i))))
                && ok;
    return ok;
}

// Per theme: every installed theme imported ten times over against once.
void BM_ImportMany(benchmark::State& state)
{
    const std::vector<QByteArray> themes = installedThemes();
    if (themes.empty()) {
        state.SkipWithError("no xfwm4 theme installed (apt-get install xfwm4)");
        return;
    }
    constexpr int kRounds = 10;
    bool ok = importAll(themes, 1);
    const double before = residentKib();
    ok = importAll(themes, kRounds) && ok;
    const double growth = residentKib() - before;
    runPaired(
        state, 1, [&] { ok = importAll(themes, kRounds) && ok; },
        [&] { ok = importAll(themes, 1) && ok; });
    const double perTheme = double(themes.size());
    state.counters["program_us"] = state.counters["program_us"] / double(kRounds) / perTheme;
    state.counters["floor_us"] = state.counters["floor_us"] / perTheme;
    state.counters["ratio"] = state.counters["ratio"] / double(kRounds);
    state.counters["rss_growth_kib"] = growth;
    state.counters["themes"] = double(themes.size());
    if (!ok)
        state.SkipWithError("an installed theme failed to import");
}

BENCHMARK(BM_ImportOne)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(30);
BENCHMARK(BM_ImportMany)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (!initialiseBenchmarks(argc, argv, 5, true))
        return 2;
    // On tmpfs where there is one: ext4 spends a create's time looking for an inode not
    // recently freed when the same files are deleted and written over and over.
    QTemporaryDir work(QDir(QStringLiteral("/dev/shm")).exists()
            ? QStringLiteral("/dev/shm/framewright-bench-XXXXXX")
            : QDir::tempPath() + QStringLiteral("/framewright-bench-XXXXXX"));
    if (!work.isValid()) {
        std::fprintf(stderr, "cannot make a temporary directory\n");
        return 1;
    }
    g_work = &work;

    FloorReporter reporter;
    reporter.comparePaired(
        "import xfwm4 Default / reading it + encoding the style", "BM_ImportOne", 1.5);
    reporter.comparePaired("import per theme: all installed x10 / x1", "BM_ImportMany", 1.2);
    reporter.limit("import: RSS growth, installed themes x10 after x1", "BM_ImportMany",
        "rss_growth_kib", 2048, "KiB");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.allMet() ? 0 : 1;
}
