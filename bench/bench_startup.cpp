// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the whole program, from process start to its first frame on screen with the first
// style composed, against a bare Qt Widgets program showing a window of the same size with the
// program's menu titles and nothing else.
//
// The program has no configuration, so nothing inside it can announce the frame. It is watched
// from outside instead, on a private Xvfb: the driver selects SubstructureNotify on the root
// window to learn when and where the top-level window is mapped, then reads one screen pixel
// (XGetImage, every half millisecond) until it shows what only the composed first style can
// show there. Without a window manager or compositor the screen is the windows' own contents,
// and Qt's windows have no background of their own, so the root's black stays until the client
// paints. For the bare program the frame is its first paint: the centre pixel leaving black.
//
// The pixel comes from startup_probe, which builds the real window offscreen and picks a point
// of captionbar_active that only the composed style can colour so. The program reads its style from
// the fixed path "/home/Projects/framewright/Themes/Luna/Frame/", so this driver must run where
// /home/Projects is a private tmpfs holding the sample styles (bench/run.sh makes one with
// tests/private-projects.sh); it refuses to run on the machine's own.
//
// Each child is started with posix_spawn and, once its frame is seen, killed; wait4 gives its
// peak resident size (ru_maxrss). Linux carries a process's peak across exec from the memory
// it was started with, which posix_spawn shares with this driver, so the driver keeps clear of
// Qt and checks that its own size stays below every figure it reports. The runs alternate in
// random order, 10 of each, medians.

#include "FloorReporter.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kScreenWidth = 1600;
constexpr int kScreenHeight = 1000;
constexpr unsigned long kRootColour = 0x000000; // Xvfb -br
const char* const kFirstStyle = "/home/Projects/framewright/Themes/Luna/Frame/";

struct Probe
{
    int x = 0; // in the main window's client area
    int y = 0;
    unsigned long colour = 0;
};

struct Run
{
    double seconds = 0;
    double mappedSeconds = 0; // when the window was mapped, before it has drawn anything
    long maxRssKib = 0;
    double cpuMs = 0; // the child's user and system time, for telling work from waiting
    std::string error;
};

Display* g_display = nullptr;
Probe g_probe;

int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

unsigned long pixelAt(int x, int y)
{
    if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight)
        return kRootColour;
    XImage* image
        = XGetImage(g_display, DefaultRootWindow(g_display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return kRootColour;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xffffff;
    XDestroyImage(image);
    return pixel;
}

long ownPeakKib()
{
    struct rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

bool anyWindowViewable()
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(g_display, DefaultRootWindow(g_display), &root, &parent, &children, &count))
        return false;
    bool viewable = false;
    for (unsigned int i = 0; i < count && !viewable; ++i) {
        XWindowAttributes attributes;
        viewable = XGetWindowAttributes(g_display, children[i], &attributes)
            && attributes.map_state == IsViewable;
    }
    if (children)
        XFree(children);
    return viewable;
}

// The last run's window must be gone and the screen black again, or its pixels would be taken
// for the next run's frame.
bool screenIsClear()
{
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        XSync(g_display, True);
        if (!anyWindowViewable() && pixelAt(kScreenWidth / 2, kScreenHeight / 2) == kRootColour)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

std::vector<std::string> childEnvironment()
{
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (name != "QT_QPA_PLATFORM" && name != "DISPLAY" && name != "WAYLAND_DISPLAY"
            && name != "SESSION_MANAGER" && name != "QT_SCALE_FACTOR")
            env.push_back(text);
    }
    env.push_back(std::string("DISPLAY=") + DisplayString(g_display));
    return env;
}

// Starts program and waits for its first frame: isFrame(windowX, windowY, width, height).
template<typename IsFrame>
Run launch(const char* program, IsFrame isFrame)
{
    Run run;
    if (!screenIsClear()) {
        run.error = "the previous window did not go away";
        return run;
    }
    std::vector<std::string> env = childEnvironment();
    std::vector<char*> envp;
    for (std::string& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string path = program;
    char* argv[] = { path.data(), nullptr };

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    const Window rootWindow = DefaultRootWindow(g_display);
    Window window = 0;
    int x = 0, y = 0, width = 0, height = 0;
    const auto start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        run.error = std::string("cannot start ") + program + ": " + std::strerror(spawned);
        return run;
    }

    const auto deadline = start + std::chrono::seconds(30);
    bool seen = false;
    while (!seen) {
        while (XPending(g_display)) {
            XEvent event;
            XNextEvent(g_display, &event);
            if (event.type == MapNotify && event.xmap.event == rootWindow && !window) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(g_display, event.xmap.window, &attributes)) {
                    run.mappedSeconds = std::chrono::duration<double>(Clock::now() - start).count();
                    window = event.xmap.window;
                    x = attributes.x;
                    y = attributes.y;
                    width = attributes.width;
                    height = attributes.height;
                }
            } else if (event.type == ConfigureNotify && event.xconfigure.window == window) {
                x = event.xconfigure.x;
                y = event.xconfigure.y;
                width = event.xconfigure.width;
                height = event.xconfigure.height;
            }
        }
        if (window && isFrame(x, y, width, height)) {
            seen = true;
            break;
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            run.error = std::string(program) + " ended before showing its frame";
            return run;
        }
        if (Clock::now() > deadline) {
            run.error = std::string(program) + " showed no frame within 30 s";
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();

    kill(pid, SIGKILL);
    int status = 0;
    struct rusage usage = {};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) { }
    run.maxRssKib = usage.ru_maxrss;
    run.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    if (run.error.empty() && run.maxRssKib <= ownPeakKib())
        run.error = "the driver is as large as the child: its peak size would be the driver's";
    return run;
}

bool styleIsComposed(int x, int y, int, int)
{
    return pixelAt(x + g_probe.x, y + g_probe.y) == g_probe.colour;
}

Run launchProgram()
{
    return launch(FW_PROGRAM, styleIsComposed);
}

// The same program from a directory of its own whose help.htm is an empty page: what the help
// page costs the start-up, which the program pays for in full.
std::string g_emptyHelpProgram;

Run launchWithEmptyHelp()
{
    return launch(g_emptyHelpProgram.c_str(), styleIsComposed);
}

bool copyFile(const std::string& from, const std::string& to, mode_t mode)
{
    const int in = open(from.c_str(), O_RDONLY);
    const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, mode);
    bool done = in >= 0 && out >= 0;
    char buffer[65536];
    ssize_t count = 0;
    while (done && (count = read(in, buffer, sizeof buffer)) > 0)
        done = write(out, buffer, size_t(count)) == count;
    done = done && count == 0;
    if (in >= 0)
        close(in);
    if (out >= 0)
        done = close(out) == 0 && done;
    return done;
}

// A program directory with the program and Luna.uis as built and an empty help page, under
// /tmp; removed again by the caller.
std::string makeEmptyHelpCopy(std::string& dir)
{
    char pattern[] = "/tmp/framewright-bench-XXXXXX";
    if (!mkdtemp(pattern))
        return {};
    dir = pattern;
    const std::string program = FW_PROGRAM;
    const std::string built = program.substr(0, program.rfind('/') + 1);
    const char page[] = "<!DOCTYPE html>\n<html><head><title>Framewright help</title></head>"
                        "<body></body></html>\n";
    const int help = open((dir + "/help.htm").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool written = help >= 0 && write(help, page, sizeof page - 1) == ssize_t(sizeof page - 1)
        && close(help) == 0;
    if (!written || !copyFile(program, dir + "/framewright", 0755)
        || !copyFile(built + "Luna.uis", dir + "/Luna.uis", 0644))
        return {};
    return dir + "/framewright";
}

void removeEmptyHelpCopy(const std::string& dir)
{
    for (const char* name : { "/framewright", "/help.htm", "/Luna.uis" })
        unlink((dir + name).c_str());
    rmdir(dir.c_str());
}

// The bare window's first paint: the window's centre leaving the root's black.
bool centreIsPainted(int x, int y, int width, int height)
{
    return pixelAt(x + width / 2, y + height / 2) != kRootColour;
}

Run launchBare()
{
    return launch(FW_BARE, centreIsPainted);
}

void record(benchmark::State& state, const Run& run)
{
    if (!run.error.empty()) {
        state.SkipWithError(run.error.c_str());
        return;
    }
    state.SetIterationTime(run.seconds);
    state.counters["max_rss_kib"] = double(run.maxRssKib);
    state.counters["mapped_ms"] = run.mappedSeconds * 1e3;
    state.counters["child_cpu_ms"] = run.cpuMs;
}

void BM_StartupProgram(benchmark::State& state)
{
    for (auto _ : state)
        record(state, launchProgram());
}

void BM_StartupEmptyHelp(benchmark::State& state)
{
    for (auto _ : state)
        record(state, launchWithEmptyHelp());
}

void BM_StartupBare(benchmark::State& state)
{
    for (auto _ : state)
        record(state, launchBare());
}

BENCHMARK(BM_StartupProgram)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupEmptyHelp)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupBare)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(10)
    ->Unit(benchmark::kMillisecond);

class XServer
{
public:
    bool start(std::string& why)
    {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) {
            why = std::strerror(errno);
            return false;
        }
        const std::string fd = std::to_string(pipeFds[1]);
        const std::string screen
            = std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24";
        std::vector<std::string> args = { "Xvfb", "-displayfd", fd, "-screen", "0", screen,
            "-nolisten", "tcp", "-noreset", "-br" };
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const int spawned = posix_spawnp(&m_pid, "Xvfb", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        if (spawned != 0) {
            close(pipeFds[0]);
            why = std::string("cannot start Xvfb: ") + std::strerror(spawned);
            return false;
        }
        std::string number;
        char c = 0;
        while (read(pipeFds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(pipeFds[0]);
        if (number.empty()) {
            why = "Xvfb did not report its display";
            return false;
        }
        m_display = ":" + number;
        return true;
    }

    ~XServer()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }

    const std::string& display() const { return m_display; }

private:
    pid_t m_pid = 0;
    std::string m_display;
};

bool projectsArePrivate()
{
    struct statfs info = {};
    constexpr long tmpfsMagic = 0x01021994;
    const std::string marker = std::string(kFirstStyle) + "captionbar_active.png";
    return statfs("/home/Projects", &info) == 0 && long(info.f_type) == tmpfsMagic
        && access(marker.c_str(), R_OK) == 0;
}

std::optional<Probe> runProbe()
{
    std::string program = FW_PROGRAM;
    std::string programDir = program.substr(0, program.rfind('/') + 1);
    std::string probe = FW_PROBE;
    char* argv[] = { probe.data(), programDir.data(), nullptr };
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, probe.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    std::string output;
    char buffer[256];
    ssize_t count = 0;
    while (spawned == 0 && (count = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, size_t(count));
    close(pipeFds[0]);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)
        || WEXITSTATUS(status) != 0)
        return std::nullopt;
    Probe result;
    if (std::sscanf(output.c_str(), "%d %d %lx", &result.x, &result.y, &result.colour) != 3)
        return std::nullopt;
    return result;
}

} // namespace

int main(int argc, char* argv[])
{
    if (!projectsArePrivate()) {
        std::fprintf(stderr,
            "bench_startup: /home/Projects is not a private tmpfs holding %s; run it through "
            "bench/run.sh, which gives it one in a private mount namespace\n",
            kFirstStyle);
        return 2;
    }
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, { interleave.data(), aggregates.data() });
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 2;

    const std::optional<Probe> probe = runProbe();
    if (!probe) {
        std::fprintf(stderr, "bench_startup: the probe found no pixel to watch\n");
        return 1;
    }
    g_probe = *probe;
    std::fprintf(stderr, "first frame: pixel (%d, %d) of the window turns #%06lx\n", g_probe.x,
        g_probe.y, g_probe.colour);

    XServer server;
    std::string failure;
    if (!server.start(failure)) {
        std::fprintf(stderr, "bench_startup: %s\n", failure.c_str());
        return 1;
    }
    XSetErrorHandler(ignoreXErrors);
    g_display = XOpenDisplay(server.display().c_str());
    if (!g_display) {
        std::fprintf(stderr, "bench_startup: cannot open display %s\n", server.display().c_str());
        return 1;
    }
    XSelectInput(g_display, DefaultRootWindow(g_display), SubstructureNotifyMask);

    std::string copyDir;
    g_emptyHelpProgram = makeEmptyHelpCopy(copyDir);
    if (g_emptyHelpProgram.empty()) {
        std::fprintf(stderr, "bench_startup: cannot copy the program to /tmp\n");
        return 1;
    }
    struct RemoveCopy
    {
        std::string dir;
        ~RemoveCopy() { removeEmptyHelpCopy(dir); }
    } removeCopy { copyDir };

    // One untimed start of each fills the page cache and fontconfig's caches for all alike.
    for (const Run& warm : { launchProgram(), launchWithEmptyHelp(), launchBare() })
        if (!warm.error.empty()) {
            std::fprintf(stderr, "bench_startup: %s\n", warm.error.c_str());
            return 1;
        }

    FloorReporter reporter;
    // The window is complete at its first frame, help page and all: nothing is cut from it to
    // reach a figure, so the targets are where such a window stands against the bare one.
    reporter.compareTime("start-up to first composed frame / bare window", "BM_StartupProgram",
        "BM_StartupBare", 2.0);
    reporter.compareCounter("start-up to window mapped / bare window", "BM_StartupProgram",
        "BM_StartupBare", "mapped_ms", "ms", 1.6);
    reporter.compareCounter("start-up peak RSS / bare window", "BM_StartupProgram",
        "BM_StartupBare", "max_rss_kib", "KiB", 1.3);
    reporter.costTime(
        "start-up: help page / an empty one", "BM_StartupProgram", "BM_StartupEmptyHelp");
    reporter.costCounter("start-up peak RSS: help page / an empty one", "BM_StartupProgram",
        "BM_StartupEmptyHelp", "max_rss_kib", "KiB");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    screenIsClear();
    XCloseDisplay(g_display);
    return reporter.allMet() ? 0 : 1;
}
