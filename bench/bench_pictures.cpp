// SPDX-License-Identifier: GPL-3.0-or-later
// framewright-style's review pictures against their floors: the contact sheet against reading
// the style's files with the bitmap reader plus encoding one PNG of the picture's size; the
// states grid against what its cells come from, building a preview panel and its load pass, plus
// encoding one PNG of the grid's size; the render at 1920 x 1080 against the load pass at that
// size plus encoding one PNG of the panel's size; the xfwm4 export of one style, written to disk,
// against the load pass on a panel of its own plus encoding the PNGs it writes.

#include "FloorReporter.h"
#include "Measure.h"
#include "OffscreenApplication.h"
#include "SampleStyle.h"
#include "preview/PreviewPanel.h"
#include "review/ContactSheet.h"
#include "review/PanelRender.h"
#include "review/PictureKit.h"
#include "review/StatesGrid.h"
#include "style/BitmapReader.h"
#include "style/StyleCheck.h"
#include "style/StyleFiles.h"
#include "xfwm4/ThemeExport.h"
#include "xfwm4/ThemeWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

QByteArray g_styleDir;

// Every file of the style, each once, through the reader alone.
void readStyle()
{
    for (const StyleFile& file : StyleFiles::all())
        benchmark::DoNotOptimize(readBitmap(joinStylePath(g_styleDir, file.name)));
}

// The panel every states cell is cut from, composed as the window composes it.
void composeStyle()
{
    PreviewPanel panel;
    panel.resize(PreviewPanel::kSizeInWindow);
    panel.loadStyle(g_styleDir);
}

// Program and floor take turns (Measure.h); the floor gets its pixels by source(), then encodes
// a picture of the program's size. Every encode in these benchmarks, either side's, goes through
// the program's own (PictureKit::encoded), so neither pays for the vector state the other's
// painting left behind.
template<typename Draw, typename Source>
void comparePicture(benchmark::State& state, Draw draw, Source source)
{
    QStringList failures;
    const QImage sameSize = draw(failures);
    const auto program = [&] { benchmark::DoNotOptimize(PictureKit::encoded(draw(failures))); };
    const auto floor = [&] {
        source();
        benchmark::DoNotOptimize(PictureKit::encoded(sameSize));
    };
    runPaired(state, 1, program, floor);
    if (!failures.isEmpty())
        state.SkipWithError("a file of the style failed");
}

void BM_Sheet(benchmark::State& state)
{
    comparePicture(
        state,
        [](QStringList& failures) {
            const ContactSheet sheet(g_styleDir);
            failures = sheet.failures();
            return sheet.picture(ContactSheet::kDefaultScale);
        },
        readStyle);
}

void BM_States(benchmark::State& state)
{
    comparePicture(
        state,
        [](QStringList& failures) {
            const StatesGrid grid(g_styleDir);
            failures = grid.failures();
            return grid.picture(StatesGrid::kDefaultScale);
        },
        composeStyle);
}

void BM_RenderSize(benchmark::State& state)
{
    const QSize size(1920, 1080);
    PreviewPanel window;
    window.setSampleWindowSize(size);
    const QImage panelSized = window.grab().toImage();
    bool clean = true;
    const auto program = [&] {
        const PanelRender render = renderPanel(g_styleDir, StyleFile::State::Normal, size);
        benchmark::DoNotOptimize(PictureKit::encoded(render.picture));
        clean = render.failure.isEmpty() && clean;
    };
    const auto floor = [&] {
        window.loadStyle(g_styleDir);
        benchmark::DoNotOptimize(PictureKit::encoded(panelSized));
    };
    runPaired(state, 1, program, floor);
    if (!clean)
        state.SkipWithError("the render reported a failing file");
}

void BM_ExportXfwm4(benchmark::State& state)
{
    // Into memory where the machine has a tmpfs: the floor has no disk, and the figure is the
    // export's, not the file system's. Each run replaces the last, as --force does.
    const bool shm = QFileInfo(QStringLiteral("/dev/shm")).isWritable();
    QTemporaryDir root(shm ? QStringLiteral("/dev/shm/framewright-bench-XXXXXX") : QString());
    const QByteArray theme = QFile::encodeName(root.path()) + "/Luna";
    const ThemeExport sample = ThemeExport::fromStyle(g_styleDir);
    bool clean = !sample.failed();
    const auto program = [&] {
        const ThemeExport exported = ThemeExport::fromStyle(g_styleDir);
        const ThemeWriter::Result written = ThemeWriter::write(theme, exported.files(), true);
        clean = clean && !exported.failed() && written.outcome == ThemeWriter::Outcome::Written;
    };
    // The pass as the command line runs it, on a panel of its own built offscreen.
    const auto floor = [&] {
        PreviewPanel window;
        window.resize(PreviewPanel::kSizeInWindow);
        window.loadStyle(g_styleDir);
        for (const ThemeExport::Picture& picture : sample.pictures)
            benchmark::DoNotOptimize(PictureKit::encoded(picture.image));
    };
    runPaired(state, 1, program, floor);
    if (!clean)
        state.SkipWithError("the export failed");
}

BENCHMARK(BM_Sheet)->Unit(benchmark::kMicrosecond)->UseManualTime()->MinTime(1.0);
BENCHMARK(BM_States)->Unit(benchmark::kMicrosecond)->UseManualTime()->MinTime(1.0);
BENCHMARK(BM_RenderSize)->Unit(benchmark::kMicrosecond)->UseManualTime()->MinTime(1.0);
BENCHMARK(BM_ExportXfwm4)->Unit(benchmark::kMicrosecond)->UseManualTime()->MinTime(1.0);

} // namespace

int main(int argc, char* argv[])
{
    OffscreenApplication app(argc, argv);

    if (!initialiseBenchmarks(argc, argv, 5, false))
        return 2;

    // A copy of the Luna sample style, so nothing reads the machine's fixed style paths.
    QTemporaryDir root;
    const QString to = root.path() + QStringLiteral("/Luna/");
    if (!copySampleStyle(QStringLiteral("Luna"), to)) {
        std::fprintf(stderr, "cannot copy the Luna sample style from %s\n", FW_SOURCE_DIR);
        return 1;
    }
    g_styleDir = QFile::encodeName(to);

    FloorReporter reporter;
    reporter.comparePaired("sheet: framewright-style / read files + one PNG", "BM_Sheet", 1.5);
    reporter.comparePaired("states: framewright-style / panel+pass + one PNG", "BM_States", 1.25);
    reporter.comparePaired("render --size 1920x1080 / load pass + one PNG", "BM_RenderSize", 1.5);
    reporter.comparePaired(
        "export xfwm4: framewright-style / panel, load pass + its PNGs", "BM_ExportXfwm4", 1.5);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.allMet() ? 0 : 1;
}
