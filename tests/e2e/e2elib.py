# SPDX-License-Identifier: GPL-3.0-or-later
"""The machinery of the end-to-end suite: a private X server, the program started inside a
private mount namespace that holds the three fixed style paths and a stand-in paint program,
screen grabs, xdotool, and comparisons of the screen against what the style files say."""

import os
import shutil
import subprocess
import tempfile
import time

from pictures import RgbFrame, write_png

SCREEN = (1600, 1000)
WINDOW_SIZE = (1152, 770)
THEMES = "/home/Projects/framewright/Themes/"
STYLE_NAMES = ["Luna", "Silver", "Licorice"]
BACKDROP = (0x51, 0x68, 0x6A)

# Form geometry, relative to the window: the menu bar, ToolBar1, the style row, then the panes.
MENU_HEIGHT = 25
WORK_TOP = MENU_HEIGHT + 29
PANES_TOP = WORK_TOP + 29
CENTRE_PANE = (313, PANES_TOP, 552, 668)
EXPLORER_PANE = (69, PANES_TOP, 240, 668)
RIGHT_COLUMN = (869, PANES_TOP, 283, 668)
STYLE_BOX = (40, WORK_TOP, 1109, 23)


class Failure(Exception):
    pass


def style_dir(name):
    return THEMES + name + "/Frame/"


def run(args, **kw):
    return subprocess.run(args, check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          text=True, **kw).stdout


def wait_until(what, check, timeout=20.0, interval=0.1):
    """Polls check() until it returns a true value; the last error explains a timeout."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        try:
            result = check()
            if result:
                return result
        except Failure as error:
            last = error
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for %s%s" % (what, ": %s" % last if last else ""))
        time.sleep(interval)


PAINT_STAND_IN = """#!/bin/sh
# Stands in for the desktop's paint program: records how it was called.
{ printf 'call %d\\n' "$#"; for a in "$@"; do printf 'arg %s\\n' "$a"; done; } >> '@LOG@'
"""

NAMESPACE_SETUP = r"""
set -eu
stage=$1
program=$2
shift 2
mount -t tmpfs -o mode=0755 framewright-e2e-home /home
mount -t tmpfs -o mode=0755 framewright-e2e-opt /opt
mkdir -p /home/Projects/framewright/Themes /opt/vela/bin/apps
for style in "$stage"/themes/*; do
    [ -d "$style" ] && cp -R "$style" /home/Projects/framewright/Themes/
done
cp "$stage/paint" /opt/vela/bin/apps/paint
chmod 0755 /opt/vela/bin/apps/paint
exec "$program" "$@"
"""


def end_process(process):
    """Asks a child to end, and kills it when it has not within 10 s."""
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def namespace_command():
    """The unshare prefix that gives a private mount namespace here, or a Failure that says why
    none could be made: the suite never falls back to the machine's own /home and /opt."""
    probe = ("mount -t tmpfs framewright-e2e-probe /opt && "
             "mount -t tmpfs framewright-e2e-probe /home")
    tried = []
    for prefix in (["unshare", "-m", "--propagation", "private"],
                   ["unshare", "-r", "-m", "--propagation", "private"]):
        if shutil.which(prefix[0]) is None:
            raise Failure("unshare (util-linux) is not installed: the end-to-end suite needs it "
                          "to give the program the fixed style paths in a private mount namespace")
        done = subprocess.run(prefix + ["sh", "-c", probe], stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, text=True)
        if done.returncode == 0:
            return prefix
        tried.append("%s: %s" % (" ".join(prefix), done.stdout.strip()))
    raise Failure("cannot make a private mount namespace with tmpfs over /home and /opt, so the "
                  "program cannot be given its fixed style paths without touching this machine. "
                  "Run the suite as root or where unprivileged user namespaces are allowed. "
                  "Tried: " + "; ".join(tried))


class XServer:
    @classmethod
    def attach(cls, display):
        """A display someone else started: only the tools are used, nothing is stopped."""
        x = cls.__new__(cls)
        x.process = None
        x.log = None
        x.display = display
        x.env = dict(os.environ, DISPLAY=display)
        root = run(["xwininfo", "-root"], env=x.env)
        values = dict(line.strip().split(":", 1) for line in root.splitlines() if ":" in line)
        x.size = (int(values["Width"]), int(values["Height"]))
        return x

    def __init__(self, workdir, size=SCREEN):
        self.size = size
        read_end, write_end = os.pipe()
        self.log = open(os.path.join(workdir, "xvfb.log"), "w")
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % size,
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=self.log, stderr=subprocess.STDOUT)
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    break
                number += chunk
        if not number.strip():
            self.stop()
            with open(os.path.join(workdir, "xvfb.log")) as log:
                raise Failure("Xvfb did not start:\n%s" % log.read())
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display)
        for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR",
                     "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI", "SESSION_MANAGER"):
            self.env.pop(name, None)

    def stop(self):
        if self.process is None:
            return
        end_process(self.process)
        self.log.close()

    def tool(self, *args):
        return run(list(args), env=self.env)

    def grab(self):
        width, height = self.size
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self.env,
                              check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE).stdout
        return RgbFrame(width, height, data)

    def xdotool(self, *args):
        return self.tool("xdotool", *[str(a) for a in args])

    def pointer(self):
        values = dict(item.split(":") for item in self.xdotool("getmouselocation").split())
        return int(values["x"]), int(values["y"])

    def move(self, x, y):
        # --sync waits for a movement, which never comes when the pointer is there already.
        if self.pointer() != (x, y):
            self.xdotool("mousemove", "--sync", x, y)

    def click(self, x, y, button=1):
        self.move(x, y)
        self.xdotool("click", button)

    def key(self, *keys):
        self.xdotool("key", "--delay", 50, *keys)

    def geometry(self, window):
        """Absolute position and size of a window, and whether it is viewable."""
        info = self.tool("xwininfo", "-id", str(window))
        values = {}
        for line in info.splitlines():
            if ":" in line:
                name, _, value = line.strip().partition(":")
                values[name.strip()] = value.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]),
                values.get("Map State") == "IsViewable")

    def name(self, window):
        return self.tool("xdotool", "getwindowname", str(window)).strip()

    def visible_windows(self, pid):
        done = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                              env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              text=True)
        windows = []
        for line in done.stdout.split():
            try:
                geometry = self.geometry(int(line))
            except (subprocess.CalledProcessError, KeyError, ValueError):
                continue
            if geometry[4] and geometry[2] > 1 and geometry[3] > 1:
                windows.append(int(line))
        return windows


class Program:
    """A program started in a private mount namespace on the test's X server, with the given
    style directories at the fixed paths and the stand-in paint program."""

    def __init__(self, session, program, themes, args=()):
        self.session = session
        x = session.x
        stage = os.path.join(session.tmp, "stage")
        os.makedirs(os.path.join(stage, "themes"), exist_ok=True)
        for name, source in themes.items():
            shutil.copytree(source, os.path.join(stage, "themes", name, "Frame"))
        self.paint_log = os.path.join(session.tmp, "paint-calls.log")
        with open(os.path.join(stage, "paint"), "w") as f:
            f.write(PAINT_STAND_IN.replace("@LOG@", self.paint_log))
        self.log_path = os.path.join(session.tmp, "program.log")
        self.log = open(self.log_path, "w")
        env = dict(x.env, XDG_RUNTIME_DIR=session.runtime_dir)
        self.process = subprocess.Popen(
            session.unshare + ["sh", "-c", NAMESPACE_SETUP, "sh", stage, program] + list(args),
            env=env, stdout=self.log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
            cwd=session.tmp)
        self.pid = self.process.pid
        self.window = None
        self.origin = None

    def output(self):
        self.log.flush()
        with open(self.log_path) as f:
            return f.read()

    def root_path(self, path):
        """A path inside the program's namespace, as this process reaches it."""
        return "/proc/%d/root%s" % (self.pid, path)

    def alive(self):
        return self.process.poll() is None

    def wait_for_window(self, timeout=30.0):
        x = self.session.x

        def find():
            if not self.alive():
                raise Failure("the program ended with status %s before showing its window:\n%s"
                              % (self.process.returncode, self.output()))
            # Whatever its size, the main window is the one wider than any box or popup.
            for window in x.visible_windows(self.pid):
                if x.geometry(window)[2] >= 1000:
                    return window
            return None

        self.window = wait_until("the main window", find, timeout)
        self.origin = x.geometry(self.window)[:2]
        return self.window

    def other_windows(self):
        return [w for w in self.session.x.visible_windows(self.pid) if w != self.window]

    def paint_calls(self):
        if not os.path.exists(self.paint_log):
            return []
        calls = []
        with open(self.paint_log) as f:
            for line in f.read().splitlines():
                if line.startswith("call "):
                    calls.append([])
                elif line.startswith("arg ") and calls:
                    calls[-1].append(line[4:])
        return calls

    def stop(self):
        end_process(self.process)
        self.log.close()


class Session:
    """One test's temporary directory, X server and artefact folder."""

    def __init__(self, name, artefacts):
        self.name = name
        # Under /tmp, not the build tree, which may lie under the /home that the namespace hides.
        self.tmp = tempfile.mkdtemp(prefix="framewright-e2e-", dir="/tmp")
        self.runtime_dir = os.path.join(self.tmp, "runtime")
        os.mkdir(self.runtime_dir, 0o700)
        self.artefacts = os.path.join(artefacts, name)
        shutil.rmtree(self.artefacts, ignore_errors=True)
        os.makedirs(self.artefacts)
        self.unshare = namespace_command()
        self.x = XServer(self.tmp)
        self.programs = []

    def start(self, program, themes, args=()):
        program = Program(self, program, themes, args)
        self.programs.append(program)
        return program

    def save(self, frame, name, crop=None):
        path = os.path.join(self.artefacts, name + ".png")
        write_png(path, frame.crop(*crop) if crop else frame.crop(0, 0, frame.width, frame.height))
        return path

    def close(self, keep=False):
        for program in self.programs:
            program.stop()
            if keep:
                shutil.copy(program.log_path, os.path.join(self.artefacts, "program.log"))
        self.x.stop()
        shutil.rmtree(self.tmp, ignore_errors=True)


# Comparisons ------------------------------------------------------------------------------------

TOLERANCE = 3


def close_to(a, b, tolerance=TOLERANCE):
    return abs(a[0] - b[0]) <= tolerance and abs(a[1] - b[1]) <= tolerance and \
        abs(a[2] - b[2]) <= tolerance


def text_blend(pixel, under, ink):
    """How far pixel lies from `under` towards the caption colour `ink`, if it lies on that line."""
    best = None
    for u in under:
        span = [ink[i] - u[i] for i in range(3)]
        norm = sum(s * s for s in span)
        if norm < 300:
            continue
        t = sum((pixel[i] - u[i]) * span[i] for i in range(3)) / norm
        t = min(1.0, max(0.0, t))
        if all(abs(pixel[i] - (u[i] + t * span[i])) <= 12 for i in range(3)):
            best = t if best is None else max(best, t)
    return best


_rows_cache = {}


def _first_choice_rows(grid):
    """Each row's first allowed colours as bytes, so that a row the screen shows exactly is
    passed at the speed of one comparison."""
    key = id(grid)
    cached = _rows_cache.get(key)
    if cached is None or cached[0] is not grid:
        rows = [bytes(c for allowed in row for c in allowed[0]) for row in grid]
        cached = _rows_cache[key] = (grid, rows)
    return cached[1]


def compare(frame, left, top, grid, label=None):
    """Mismatches between the screen at (left, top) and a grid of allowed colours. label is
    (x, y, w, h, ink): inside it a pixel may also be the caption's text in ink over the pieces."""
    mismatches = []
    inked = 0
    rows = _first_choice_rows(grid)
    for y, row in enumerate(grid):
        if isinstance(frame, RgbFrame):
            start = 3 * ((top + y) * frame.width + left)
            if frame.data[start:start + 3 * len(row)] == rows[y]:
                continue
        for x, allowed in enumerate(row):
            pixel = frame.at(left + x, top + y)
            if any(close_to(pixel, a) for a in allowed):
                continue
            if label and label[0] <= x < label[0] + label[2] \
                    and label[1] <= y < label[1] + label[3]:
                t = text_blend(pixel, allowed, label[4])
                if t is not None:
                    if t > 0.6:
                        inked += 1
                    continue
            mismatches.append((x, y, pixel[:3], allowed[:3]))
    return mismatches, inked


def describe(mismatches, limit=8):
    return "; ".join("(%d,%d) is #%02x%02x%02x, expected %s" % (
        x, y, p[0], p[1], p[2], " or ".join("#%02x%02x%02x" % a for a in allowed))
        for x, y, p, allowed in mismatches[:limit])


def bbox_of(frame, colour, area):
    ax, ay, aw, ah = area
    xs, ys = [], []
    for y in range(ay, ay + ah):
        for x in range(ax, ax + aw):
            if frame.at(x, y)[:3] == colour:
                xs.append(x)
                ys.append(y)
    if not xs:
        return None
    return (min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1)


# Where things are on the screen ---------------------------------------------------------------

LABEL_AREA = (37, 4, 200, 22)


class Layout:
    """Where the form's controls are on the screen, found from the window's origin and the
    backdrop of the sample windows (the tab pages' offsets are the toolkit's own metrics)."""

    def __init__(self, frame, origin):
        ox, oy = origin
        self.origin = origin
        cx, cy, cw, ch = CENTRE_PANE
        found = bbox_of(frame, BACKDROP, (ox + cx, oy + cy, cw, ch))
        if found is None:
            raise Failure("no backdrop of the sample windows (#51686A) in the centre pane: the "
                          "\"Preview\" page is not in front")
        bx, by, bw, bh = found
        # Its size follows the tab page's, whose frame is the toolkit's: 544 x 609 give or take.
        if not (544 - 2 <= bw <= 544 + 4 and 609 - 2 <= bh <= 609 + 4):
            raise Failure("the backdrop Panel6 shows %dx%d inside its bevel, expected about "
                          "542x607" % (bw, bh))
        self.panel6 = (bx - 1, by - 1)
        self.tab_dx = self.panel6[0] - (ox + cx)
        self.tab_dy = self.panel6[1] - 29 - (oy + cy)
        if not (0 <= self.tab_dx <= 8 and 20 <= self.tab_dy <= 30):
            raise Failure("the \"Preview\" page's client area starts at %+d,%+d inside its tab "
                          "control: not where a tab page lies" % (self.tab_dx, self.tab_dy))
        self.inactive = (self.panel6[0] + 12, self.panel6[1] + 12)
        self.active = (self.panel6[0] + 112, self.panel6[1] + 280)
        rx, ry, _, _ = RIGHT_COLUMN
        self.bitmap_page = (ox + rx + self.tab_dx, oy + ry + self.tab_dy)
        self.scrollbox = (self.bitmap_page[0], self.bitmap_page[1] + 51)

    def window(self, x, y):
        return (self.origin[0] + x, self.origin[1] + y)


def expected_grids(preview):
    return (preview.inactive.render(), preview.active.render())


def sample_window_problems(frame, layout, preview, grids=None, label_x=37):
    """What differs between the two sample windows on the screen and the reference pass."""
    problems = []
    grids = grids or expected_grids(preview)
    for win, origin, grid in ((preview.inactive, layout.inactive, grids[0]),
                              (preview.active, layout.active, grids[1])):
        label = (label_x, LABEL_AREA[1], LABEL_AREA[2], LABEL_AREA[3],
                 win.caption_colour if win.label_shown else (0, 0, 0))
        mismatches, inked = compare(frame, origin[0], origin[1], grid, label)
        what = "active" if win.active else "inactive"
        if mismatches:
            problems.append("%d pixels of the %s sample window differ from the style: %s"
                            % (len(mismatches), what, describe(mismatches)))
        if inked < 25:
            problems.append("the %s sample window's caption shows %d pixels of its caption "
                            "colour, expected the caption's letters" % (what, inked))
    return problems
