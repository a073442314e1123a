// SPDX-License-Identifier: GPL-3.0-or-later
// The watch of the shown style: from the last write of a file to the recomposed sample windows,
// against the quiet period plus one load pass of the same style; and the resident size over
// 10,000 change events.

#include "FloorReporter.h"
#include "Measure.h"
#include "OffscreenApplication.h"
#include "SampleStyle.h"
#include "app/ErrorReport.h"
#include "app/uMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

constexpr std::chrono::milliseconds kQuiet = StyleWatch::kQuietPeriod;

struct Watched
{
    QTemporaryDir root;
    QString styleDir;
    QStringList reports;
    std::unique_ptr<TfrmMain> frm;
    // Two versions of the caption bar, written in turn so every write changes the picture.
    QByteArray captionbar[2];
    int turn = 0;
    qint64 passDoneNs = -1;
    QElapsedTimer clock;
    QEventLoop* waiting = nullptr;
};

Watched* g_watched = nullptr;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeInPlace(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

// As most editors save: a new file renamed over the old one.
bool writeByRename(const QString& path, const QByteArray& bytes)
{
    const QString temporary = path + QStringLiteral(".saving");
    return writeInPlace(temporary, bytes)
        && std::rename(
               QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData())
        == 0;
}

QString captionbarPath()
{
    return g_watched->styleDir + QStringLiteral("captionbar_inactive.png");
}

bool reportedNothing(benchmark::State& state)
{
    if (g_watched->reports.isEmpty())
        return true;
    state.SkipWithError(g_watched->reports.constFirst().toLocal8Bit().constData());
    return false;
}

// One save, then the event loop until the watched pass has recomposed both sample windows.
void BM_WatchReload(benchmark::State& state)
{
    Watched& w = *g_watched;
    for (auto _ : state) {
        w.passDoneNs = -1;
        const QByteArray& next = w.captionbar[w.turn++ % 2];
        if (!writeInPlace(captionbarPath(), next)) {
            state.SkipWithError("cannot write the caption bar");
            return;
        }
        const qint64 written = w.clock.nsecsElapsed();
        // Asleep until the pass, as the program is: spinning would take a core from it.
        QEventLoop loop;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        w.waiting = &loop;
        loop.exec();
        w.waiting = nullptr;
        if (w.passDoneNs < 0) {
            state.SkipWithError("no watched pass within 5 s of the write");
            return;
        }
        state.SetIterationTime(double(w.passDoneNs - written) / 1e9);
        QCoreApplication::processEvents();
    }
    reportedNothing(state);
}

// The floor: the quiet period the watch waits by design, plus the same pass run directly.
void BM_QuietPlusPass(benchmark::State& state)
{
    Watched& w = *g_watched;
    for (auto _ : state) {
        QElapsedTimer pass;
        pass.start();
        w.frm->Button1Click();
        const qint64 ns = pass.nsecsElapsed();
        state.SetIterationTime(std::chrono::duration<double>(kQuiet).count() + double(ns) / 1e9);
        QCoreApplication::processEvents();
    }
    reportedNothing(state);
}

// Change events as fast as the disk takes them, half rewrites in place and half replacements by
// rename (which drop out of the watch and are added again), with the event loop running between
// them; the quiet period rarely passes, as in a long burst.
void churn(int events)
{
    Watched& w = *g_watched;
    for (int i = 0; i < events; ++i) {
        const QByteArray& bytes = w.captionbar[i % 2];
        if (i % 2)
            writeByRename(captionbarPath(), bytes);
        else
            writeInPlace(captionbarPath(), bytes);
        QCoreApplication::processEvents();
    }
    // Let the last quiet period pass, so its pass counts too.
    QTest::qWait(int(kQuiet.count()) * 2);
}

void BM_WatchChurn(benchmark::State& state)
{
    constexpr int events = 10000;
    for (auto _ : state) {
        churn(1000);
        const double before = residentKib();
        churn(events);
        const double after = residentKib();
        state.counters["rss_before_kib"] = before;
        state.counters["rss_after_kib"] = after;
        state.counters["rss_growth_kib"] = after - before;
        state.counters["events"] = events;
    }
    reportedNothing(state);
}

BENCHMARK(BM_WatchReload)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_QuietPlusPass)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_WatchChurn)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1)->Repetitions(1);

} // namespace

int main(int argc, char* argv[])
{
    OffscreenApplication app(argc, argv);

    if (!initialiseBenchmarks(argc, argv, 9, true))
        return 2;

    Watched watched;
    g_watched = &watched;
    watched.clock.start();
    watched.styleDir = watched.root.path() + QStringLiteral("/Luna/Frame/");
    const QString silver = watched.root.path() + QStringLiteral("/Silver/Frame/");
    if (!watched.root.isValid() || !copySampleStyle(QStringLiteral("Luna"), watched.styleDir)
        || !copySampleStyle(QStringLiteral("Silver"), silver)) {
        std::fprintf(stderr, "cannot copy the sample styles from %s\n", FW_SOURCE_DIR);
        return 1;
    }
    watched.captionbar[0] = readAll(silver + QStringLiteral("captionbar_inactive.png"));
    watched.captionbar[1] = readAll(captionbarPath());
    ErrorReport::setPresenter([&](const QString& text) { watched.reports.append(text); });

    StartOptions start;
    start.styleDirs = { watched.styleDir };
    start.watch = true;
    watched.frm
        = std::make_unique<TfrmMain>(nullptr, QStringLiteral(FW_SOURCE_DIR "app/"), nullptr, start);
    // Connected after the window's own connection, so it runs once the watched pass is done.
    QObject::connect(watched.frm->styleWatch(), &StyleWatch::settled, [&] {
        watched.passDoneNs = watched.clock.nsecsElapsed();
        if (watched.waiting)
            watched.waiting->quit();
    });
    watched.frm->show();
    if (!QTest::qWaitForWindowExposed(watched.frm.get())) {
        std::fprintf(stderr, "the window was not exposed\n");
        return 1;
    }
    if (!watched.reports.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(watched.reports.constFirst()));
        return 1;
    }

    FloorReporter reporter;
    reporter.compareTime("watch: write to recomposed frame / 250 ms + pass", "BM_WatchReload",
        "BM_QuietPlusPass", 1.25);
    reporter.limit(
        "watch: RSS growth over 10k change events", "BM_WatchChurn", "rss_growth_kib", 1024, "KiB");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    watched.frm.reset();
    return reporter.allMet() ? 0 : 1;
}
