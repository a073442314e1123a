// SPDX-License-Identifier: GPL-3.0-or-later
// The load pass and the live minimize button, each against reading the same files with the
// program's bitmap reader alone, and a soak of both that watches resident memory.

#include "FloorReporter.h"
#include "Measure.h"
#include "OffscreenApplication.h"
#include "SampleStyle.h"
#include "app/ErrorReport.h"
#include "app/uMain.h"
#include "style/BitmapReader.h"
#include "style/StyleFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace {

// Every read of one load pass: its 25 files, the caption button face 8 times (4 buttons in
// each window) and each left edge twice (it is the right edge too): 34 reads, in the table's
// order rather than the pass's, as only the reads count.
std::vector<const char*> passReads()
{
    std::vector<const char*> reads;
    for (const StyleFile& file : StyleFiles::all()) {
        if (file.reader != StyleFile::Reader::LoadPass)
            continue;
        const int times = file.piece == StyleFile::Piece::ButtonFace ? 8
            : file.piece == StyleFile::Piece::SideEdge               ? 2
                                                                     : 1;
        reads.insert(reads.end(), size_t(times), file.name);
    }
    return reads;
}

// The real window, shown offscreen, over a copy of the Luna sample style.
struct Preview
{
    QTemporaryDir root;
    QByteArray styleDir;
    QStringList reports;
    std::unique_ptr<TfrmMain> frm;
    int moves = 0;
};

Preview* g_preview = nullptr;

// A movement the way the toolkit delivers it; the glyph is the deepest widget under the pointer.
void moveOverGlyph()
{
    ImageControl* glyph = g_preview->frm->ActiveGlyphMinimize;
    const QPointF at(5 + g_preview->moves++ % 3, 6);
    QMouseEvent event(
        QEvent::MouseMove, at, glyph->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(glyph, &event);
}

bool reportedNothing(benchmark::State& state)
{
    if (g_preview->reports.isEmpty())
        return true;
    state.SkipWithError(g_preview->reports.constFirst().toLocal8Bit().constData());
    return false;
}

void BM_LoadPass(benchmark::State& state)
{
    TfrmMain& frm = *g_preview->frm;
    std::vector<QByteArray> paths;
    for (const char* name : passReads())
        paths.push_back(g_preview->styleDir + name);
    runPaired(
        state, 1, [&] { frm.Button1Click(); },
        [&] {
            for (const QByteArray& path : paths)
                benchmark::DoNotOptimize(readBitmap(path));
        });
    reportedNothing(state);
}

void BM_Movement(benchmark::State& state)
{
    const QByteArray face = g_preview->styleDir + StyleFiles::faceFile(StyleFile::State::Over);
    const QByteArray glyph
        = g_preview->styleDir + StyleFiles::minimizeGlyphFile(StyleFile::State::Over);
    runPaired(state, 10, moveOverGlyph, [&] {
        benchmark::DoNotOptimize(readBitmap(face));
        benchmark::DoNotOptimize(readBitmap(glyph));
    });
    if (!reportedNothing(state))
        return;
    if (!g_preview->frm->ActiveGlyphMinimize->sourcePath().endsWith("minimize_active_over.png"))
        state.SkipWithError("the movement did not reach the minimize glyph");
}

// 2,000 load passes, each followed by 50 movements, with the event loop painting in between,
// after a warm-up that lets every cache of the toolkit reach its working size.
void soak(int passes, int movesPerPass)
{
    for (int pass = 0; pass < passes; ++pass) {
        g_preview->frm->Button1Click();
        QCoreApplication::processEvents();
        for (int move = 0; move < movesPerPass; ++move)
            moveOverGlyph();
        QCoreApplication::processEvents();
    }
}

void BM_Soak(benchmark::State& state)
{
    constexpr int passes = 2000, movesPerPass = 50;
    for (auto _ : state) {
        soak(100, movesPerPass);
        const double before = residentKib();
        soak(passes, movesPerPass);
        const double after = residentKib();
        state.counters["rss_before_kib"] = before;
        state.counters["rss_after_kib"] = after;
        state.counters["rss_growth_kib"] = after - before;
        state.counters["passes"] = passes;
        state.counters["movements"] = passes * movesPerPass;
    }
    reportedNothing(state);
}

BENCHMARK(BM_LoadPass)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_Movement)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_Soak)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1)->Repetitions(1);

} // namespace

int main(int argc, char* argv[])
{
    OffscreenApplication app(argc, argv);

    // Repetitions in random order, so a drift of the machine falls on program and floor alike.
    if (!initialiseBenchmarks(argc, argv, 9, true))
        return 2;

    Preview preview;
    g_preview = &preview;
    const QString styleDir = preview.root.path() + QStringLiteral("/Luna/Frame/");
    if (!preview.root.isValid() || !copySampleStyle(QStringLiteral("Luna"), styleDir)) {
        std::fprintf(stderr, "cannot copy the Luna sample style from %s\n", FW_SOURCE_DIR);
        return 1;
    }
    preview.styleDir = styleDir.toLocal8Bit();
    ErrorReport::setPresenter([&](const QString& text) { preview.reports.append(text); });
    preview.frm = std::make_unique<TfrmMain>(nullptr, QStringLiteral(FW_SOURCE_DIR "app/"));
    // Our copy is chosen before the first show, so no pass reads the machine's fixed paths.
    preview.frm->cboPaths->addItem(styleDir);
    preview.frm->cboPaths->setCurrentIndex(preview.frm->cboPaths->count() - 1);
    preview.frm->show();
    if (!QTest::qWaitForWindowExposed(preview.frm.get())) {
        std::fprintf(stderr, "the window was not exposed\n");
        return 1;
    }
    if (!preview.reports.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(preview.reports.constFirst()));
        return 1;
    }

    FloorReporter reporter;
    reporter.comparePaired("load pass: Button1Click / 34 reads", "BM_LoadPass", 1.25);
    reporter.comparePaired("movement over the minimize glyph / 2 reads", "BM_Movement", 1.25);
    reporter.limit(
        "soak: RSS growth, 100k moves + 2k passes", "BM_Soak", "rss_growth_kib", 2048, "KiB");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    preview.frm.reset();
    return reporter.allMet() ? 0 : 1;
}
