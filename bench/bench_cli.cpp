// SPDX-License-Identifier: GPL-3.0-or-later
// framewright-style's render of one style against its floor: the window's load pass over the
// same style plus encoding one PNG of the panel's size. Its diff of two styles against two
// renders plus encoding one PNG of the three panels' size. Its --compare with the reference's
// conditions read against the comparison alone.

#include "FloorReporter.h"
#include "Measure.h"
#include "OffscreenApplication.h"
#include "SampleStyle.h"
#include "preview/PreviewPanel.h"
#include "review/PanelRender.h"
#include "review/PictureKit.h"
#include "review/RenderConditions.h"
#include "review/StyleDiff.h"
#include "style/BitmapReader.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>

namespace {

QByteArray g_styleDir;
QByteArray g_otherStyleDir;
QByteArray g_reference; // a render of the other style, with its conditions

// Program and floor take turns in alternating order, each timed by this thread's processor
// time, so a neighbour's load falls on both alike; the ratio is the median of the turns' ratios.
// Both sides encode through the program's own encoder (PictureKit::encoded).
void BM_Render(benchmark::State& state)
{
    PreviewPanel window;
    window.resize(PreviewPanel::kSizeInWindow);
    const QImage panelSized = window.grab().toImage();
    const auto program = [] {
        const PanelRender render = renderPanel(g_styleDir, StyleFile::State::Normal);
        benchmark::DoNotOptimize(PictureKit::encoded(render.picture));
        return render.failure.isEmpty();
    };
    const auto floor = [&] {
        window.loadStyle(g_styleDir);
        benchmark::DoNotOptimize(PictureKit::encoded(panelSized));
    };
    bool clean = true;
    runPaired(
        state, 1, [&] { clean = program() && clean; }, floor);
    if (!clean)
        state.SkipWithError("the render reported a failing file");
}

BENCHMARK(BM_Render)->Unit(benchmark::kMicrosecond)->UseManualTime()->MinTime(1.0);

// Two different styles, so every file is read and compared and the red marks are many.
void BM_Diff(benchmark::State& state)
{
    const QImage threePanels = diffStyles(g_styleDir, g_otherStyleDir, StyleFile::State::Normal,
        QStringLiteral("old"), QStringLiteral("new"))
                                   .picture;
    const auto program = [] {
        const StyleDiff diff = diffStyles(g_styleDir, g_otherStyleDir, StyleFile::State::Normal,
            QStringLiteral("old"), QStringLiteral("new"));
        benchmark::DoNotOptimize(PictureKit::encoded(diff.picture));
        return diff.oldRender.failure.isEmpty() && diff.newRender.failure.isEmpty();
    };
    const auto floor = [&] {
        benchmark::DoNotOptimize(renderPanel(g_styleDir, StyleFile::State::Normal));
        benchmark::DoNotOptimize(renderPanel(g_otherStyleDir, StyleFile::State::Normal));
        benchmark::DoNotOptimize(PictureKit::encoded(threePanels));
    };
    bool clean = true;
    runPaired(
        state, 1, [&] { clean = program() && clean; }, floor);
    if (!clean)
        state.SkipWithError("a render reported a failing file");
}

BENCHMARK(BM_Diff)->Unit(benchmark::kMicrosecond)->UseManualTime()->MinTime(1.0);

// What --compare does after the render, against a reference that differs and carries its
// conditions: read it, count the pixels, and (the program) name the conditions that differ.
void BM_CompareConditions(benchmark::State& state)
{
    const PanelRender render = renderPanel(g_styleDir, StyleFile::State::Normal);
    const auto compare = [&] {
        const QImage reference = readBitmap(g_reference);
        benchmark::DoNotOptimize(comparePictures(render.picture, reference));
        return reference;
    };
    bool named = true;
    const auto program = [&] {
        const QImage reference = compare();
        const QStringList differences = RenderConditions::current(
            render.captionFont, render.picture.size(), QStringLiteral("normal"))
                                            .differencesFrom(RenderConditions::readFrom(reference));
        // The reference was made with another Minimize.
        named = named && differences.size() == 1;
    };
    runPaired(state, 4, program, compare);
    if (!named)
        state.SkipWithError("the reference's conditions were not read");
}

BENCHMARK(BM_CompareConditions)->Unit(benchmark::kMicrosecond)->UseManualTime()->MinTime(1.0);

} // namespace

int main(int argc, char* argv[])
{
    OffscreenApplication app(argc, argv);

    if (!initialiseBenchmarks(argc, argv, 5, false))
        return 2;

    // Copies of the Luna and Silver sample styles, so nothing reads the machine's fixed style
    // paths.
    QTemporaryDir root;
    for (const char* style : { "Luna", "Silver" }) {
        const QString to = root.path() + QStringLiteral("/%1/").arg(QLatin1String(style));
        if (!copySampleStyle(QLatin1String(style), to)) {
            std::fprintf(stderr, "cannot copy the %s sample style from %s\n", style, FW_SOURCE_DIR);
            return 1;
        }
        (g_styleDir.isEmpty() ? g_styleDir : g_otherStyleDir) = QFile::encodeName(to);
    }
    PanelRender reference = renderPanel(g_otherStyleDir, StyleFile::State::Over);
    RenderConditions::current(
        reference.captionFont, reference.picture.size(), QStringLiteral("over"))
        .writeTo(reference.picture);
    g_reference = QFile::encodeName(root.filePath(QStringLiteral("reference.png")));
    if (!reference.picture.save(QFile::decodeName(g_reference), "png"))
        return 2;

    FloorReporter reporter;
    reporter.comparePaired("render: framewright-style / load pass + one PNG", "BM_Render", 1.5);
    reporter.comparePaired("diff: framewright-style / two renders + one PNG", "BM_Diff", 1.25);
    reporter.comparePaired(
        "--compare: conditions read / pixels alone", "BM_CompareConditions", 1.1);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.allMet() ? 0 : 1;
}
