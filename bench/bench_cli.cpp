// SPDX-License-Identifier: GPL-3.0-or-later
// framewright-style's render of one style against its floor: the window's load pass over the
// same style plus encoding one PNG of the panel's size.

#include "FloorReporter.h"
#include "Measure.h"
#include "controls/AppLook.h"
#include "preview/PanelRender.h"
#include "preview/PreviewPanel.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>

namespace {

QByteArray g_styleDir;

qint64 encodePng(const QImage& picture)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(picture);
    return buffer.size();
}

// Program and floor take turns in alternating order, each timed by this thread's processor
// time, so a neighbour's load falls on both alike; the ratio is the median of the turns' ratios.
void BM_Render(benchmark::State& state)
{
    PreviewPanel window;
    window.resize(PreviewPanel::kSizeInWindow);
    const QImage panelSized = window.grab().toImage();
    const auto program = [] {
        const PanelRender render = renderPanel(g_styleDir, LiveMinimizeButton::Look::Normal);
        benchmark::DoNotOptimize(encodePng(render.picture));
        return render.failure.isEmpty();
    };
    const auto floor = [&] {
        window.loadStyle(g_styleDir);
        benchmark::DoNotOptimize(encodePng(panelSized));
    };
    bool clean = true;
    runPaired(
        state, 1, [&] { clean = program() && clean; }, floor);
    if (!clean)
        state.SkipWithError("the render reported a failing file");
}

BENCHMARK(BM_Render)->Unit(benchmark::kMicrosecond)->UseManualTime()->MinTime(1.0);

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareApplication();
    QApplication app(argc, argv);
    applyApplicationLook();

    if (!initialiseBenchmarks(
            argc, argv, { "--benchmark_repetitions=5", "--benchmark_report_aggregates_only=true" }))
        return 2;

    // A copy of the Luna sample style, so nothing reads the machine's fixed style paths.
    QTemporaryDir root;
    const QDir from(QStringLiteral(FW_SOURCE_DIR "styles/Luna/Frame/"));
    const QString to = root.path() + QStringLiteral("/Luna/");
    QDir().mkpath(to);
    for (const QString& name : from.entryList(QDir::Files))
        QFile::copy(from.filePath(name), to + name);
    g_styleDir = QFile::encodeName(to);

    FloorReporter reporter;
    reporter.comparePaired("render: framewright-style / load pass + one PNG", "BM_Render", 1.5);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.allMet() ? 0 : 1;
}
