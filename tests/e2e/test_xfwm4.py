#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A style exported as an xfwm4 theme, drawn by the real xfwm4 on a private X server and held
pixel for pixel against framewright-style render and states of the same style: the frame
pieces of a focused and an unfocused window, each caption button in each state, the caption
text, with the user's own title settings that the theme must override, and at twice the size.

Usage: test_xfwm4.py ROW --tool FRAMEWRIGHT_STYLE --source DIR --artefacts DIR
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from e2elib import BACKDROP, Failure, text_blend, wait_until
from model import (ACTIVE_CAPTION, ACTIVE_COLOUR, ACTIVE_SIZE, INACTIVE_CAPTION, INACTIVE_COLOUR,
                   INACTIVE_SIZE)
from pictures import Picture, read_bitmap, write_png
from xfwm4lib import TOOLS, Desktop, font_config

# Room for both frames side by side at twice the size, and no more: every grab reads it all.
SCREEN = (1700, 560)
# Where xfwm4's transparent pixels show; no style is this colour.
ROOT = (0xFF, 0x00, 0xFF)

# The render's panel: where each sample window lies, and what lies over its pieces.
RENDER_AT = {False: (12, 12), True: (112, 280)}
SIZES = {False: INACTIVE_SIZE, True: ACTIVE_SIZE}
INKS = {False: INACTIVE_CAPTION, True: ACTIVE_CAPTION}
BODIES = {False: INACTIVE_COLOUR, True: ACTIVE_COLOUR}
TITLES = {False: "Inactive Window", True: "Active Window"}
ICON = (10, 5, 16, 16)
LABEL = (37, 4, 200, 22)
RENDER_BUTTONS_X = 296
RENDER_BUTTONS_END = 379
BUTTON_TOP = 5
CORNER = (12, 29)

# On the theme: minimize, maximize and close on the right, the close button's right end 18
# pixels from the frame's edge and the buttons 2 apart, as on the focused sample window.
CLOSE_END = 18
SPACING = 2
BUTTONS = ["minimize", "maximize", "close"]
STATES_ROWS = ["minimize", "restore", "maximize", "close"]
STATES_COLUMNS = ["normal", "over", "press", "disable"]
STATES_BORDER = (192, 192, 192)


def tool_run(args, what, env):
    done = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                          env=env)
    if done.returncode != 0:
        raise Failure("%s failed with status %d:\n%s" % (what, done.returncode, done.stdout))
    return done.stdout


def widened(picture, columns, rows):
    """picture with its middle column and row repeated, so its look stays and its size grows."""
    mx, my = picture.width // 2, picture.height // 2
    xs = list(range(mx)) + [mx] * (columns + 1) + list(range(mx + 1, picture.width))
    ys = list(range(my)) + [my] * (rows + 1) + list(range(my + 1, picture.height))
    return Picture(len(xs), len(ys), [picture.at(x, y) for y in ys for x in xs])


def odd_sizes(source, target):
    """Luna with caption corners of 15 x 33, edges 7 wide and bottom pieces 10 high."""
    shutil.copytree(source, target)
    grow = {"captionbar_left_%s.png": (3, 4), "captionbar_right_%s.png": (3, 4),
            "frameleft_%s.png": (2, 0), "framebottom_%s.png": (0, 2),
            "framebottom_left_%s.png": (2, 2), "framebottom_right_%s.png": (2, 2)}
    for pattern, (columns, rows) in grow.items():
        for state in ("active", "inactive"):
            path = os.path.join(target, pattern % state)
            write_png(path, widened(read_bitmap(path), columns, rows), alpha=True)


def states_cells(path, face):
    """The states picture's cells by button and state: each a grey box around its picture,
    drawn in the middle of the box."""
    sheet = read_bitmap(path)
    grey = lambda x, y: 0 <= x < sheet.width and 0 <= y < sheet.height and \
        sheet.at(x, y)[:3] == STATES_BORDER
    boxes = []
    for y in range(sheet.height):
        for x in range(sheet.width):
            if grey(x, y) and not grey(x - 1, y) and not grey(x, y - 1):
                w = 0
                while grey(x + w, y):
                    w += 1
                h = 0
                while grey(x, y + h):
                    h += 1
                if w > face[0] and h > face[1]:
                    boxes.append((y, x, w, h))
    if len(boxes) != 16:
        raise Failure("%s shows %d cells, expected 4 buttons in 4 states" % (path, len(boxes)))
    boxes.sort()
    cells = {}
    for i, (y, x, w, h) in enumerate(boxes):
        button = STATES_ROWS[i // 4]
        row = sorted(boxes[4 * (i // 4):4 * (i // 4) + 4], key=lambda box: box[1])
        state = STATES_COLUMNS[row.index((y, x, w, h))]
        cells[button, state] = sheet.crop(x + (w - face[0]) // 2, y + (h - face[1]) // 2, *face)
    return cells


class Theme:
    """An exported theme, installed under the test's $XDG_DATA_HOME/themes."""

    def __init__(self, directory):
        self.directory = directory
        self.name = os.path.basename(directory)
        files = os.path.join(directory, "xfwm4")
        read = lambda name: read_bitmap(os.path.join(files, name))
        # xfwm4's frame: the sides' widths, the title's height, the bottom's height.
        self.extents = (read("left-active.png").width, read("right-active.png").width,
                        read("title-3-active.png").height, read("bottom-active.png").height)

    def install(self, desktop):
        shutil.copytree(self.directory, os.path.join(desktop.data, "themes", self.name))


def piece_name(x, y, size, extents):
    width, height = size
    left, right, top, bottom = extents
    if y < top:
        if x < CORNER[0]:
            return "top-left corner"
        if x >= width - CORNER[0]:
            return "top-right corner"
        return "caption middle"
    if y >= height - bottom:
        return "bottom edge" if left <= x < width - right else "bottom corner"
    return "left edge" if x < left else "right edge"


def render_text(render, focused):
    """The pixels of the render's caption label that its text changes: those that differ from
    the caption beside the label on their row."""
    rx, ry = RENDER_AT[focused]
    lx, ly, lw, lh = LABEL
    return {(x, y) for y in range(ly, ly + lh) for x in range(lx, lx + lw)
            if render.at(rx + x, ry + y)[:3] != render.at(rx + lx + lw + 4, ry + y)[:3]}


def covered(x, y, width, text):
    """Pixels of a sample window where the icon, the caption text or a button lies over the
    pieces, in the render or on xfwm4's frame."""
    if ICON[0] <= x < ICON[0] + ICON[2] and ICON[1] <= y < ICON[1] + ICON[3]:
        return True
    if (x, y) in text:
        return True
    first = min(RENDER_BUTTONS_X, width - CLOSE_END - 3 * 19 - 2 * SPACING)
    last = max(RENDER_BUTTONS_END, width - CLOSE_END)
    return BUTTON_TOP <= y < BUTTON_TOP + 18 and first <= x < last


class Frame:
    """One client's frame on a grab, at scale s of the sample window it stands for."""

    def __init__(self, grab, client, focused, scale, extents, maximized=False):
        self.grab = grab
        self.focused = focused
        self.scale = scale
        self.size = SIZES[focused]
        self.x, self.y, self.w, self.h = client.geometry()
        self.extents = extents
        if not maximized and (self.w, self.h) != (self.size[0] * scale, self.size[1] * scale):
            raise Failure("the %s frame is %dx%d, expected the sample window's %dx%d times %d"
                          % (self.what(), self.w, self.h, self.size[0], self.size[1], scale))

    def what(self):
        return "focused" if self.focused else "unfocused"

    def at(self, x, y):
        return self.grab.at(self.x + x, self.y + y)[:3]


def uncovered(style, render):
    """Per sample window, the caption corner pixels that are outside the frame's shape: the mask
    has its outer-corner colour there and the window shows that colour, or its body through the
    colour key, since the corner leaves the pixel uncovered. xfwm4 must show the desktop there."""
    masks = [read_bitmap(os.path.join(style, name))
             for name in ("frame_mask_left.bmp", "frame_mask_right.bmp")]
    clear = {}
    for focused in (False, True):
        width = SIZES[focused][0]
        rx, ry = RENDER_AT[focused]
        pixels = set()
        for right, mask in ((False, masks[0]), (True, masks[1])):
            outer = mask.at(mask.width - 1 if right else 0, 0)
            for y in range(mask.height):
                for x in range(mask.width):
                    wx = width - mask.width + x if right else x
                    shown = render.at(rx + wx, ry + y)[:3]
                    if mask.at(x, y) == outer and shown in (outer[:3], BODIES[focused]):
                        pixels.add((wx, y))
        clear[focused] = pixels
    return clear


def frame_mismatches(frame, render, clear, text):
    """Every frame pixel that differs from the render's sample window, where nothing covers it;
    outside the frame's shape the desktop must show."""
    s = frame.scale
    rx, ry = RENDER_AT[frame.focused]
    left, right, top, bottom = frame.extents
    mismatches = []
    for y in range(frame.h):
        for x in range(frame.w):
            if left <= x < frame.w - right and top <= y < frame.h - bottom:
                continue
            ux, uy = x // s, y // s
            if covered(ux, uy, frame.size[0], text[frame.focused]):
                continue
            want = ROOT if (ux, uy) in clear[frame.focused] else render.at(rx + ux, ry + uy)[:3]
            got = frame.at(x, y)
            if got != want:
                mismatches.append((x, y, got, want))
    return mismatches


def describe_frame(frame, mismatches, limit=6):
    unscaled = tuple(e // frame.scale for e in frame.extents)
    return "; ".join("%s (%d,%d) is #%02x%02x%02x, expected %s" % (
        piece_name(x // frame.scale, y // frame.scale, frame.size, unscaled), x, y,
        got[0], got[1], got[2],
        "the desktop (transparent)" if want == ROOT else "#%02x%02x%02x as rendered" % want)
        for x, y, got, want in mismatches[:limit])


def button_rect(frame, button):
    """Where a button's face lies on the frame: from the right, close, maximize, minimize."""
    s = frame.scale
    x = frame.size[0] - CLOSE_END - 19
    x -= (19 + SPACING) * (len(BUTTONS) - 1 - BUTTONS.index(button))
    return (x * s, BUTTON_TOP * s, 19 * s, 18 * s)


def picture_mismatches(frame, rect, picture):
    x0, y0, w, h = rect
    s = frame.scale
    mismatches = []
    for y in range(h):
        for x in range(w):
            want = picture.at(x // s, y // s)[:3]
            got = frame.at(x0 + x, y0 + y)
            if got != want:
                mismatches.append((x, y, got, want))
    return mismatches


def describe_pixels(mismatches, limit=6):
    return "; ".join("(%d,%d) is #%02x%02x%02x, expected #%02x%02x%02x" % (
        x, y, g[0], g[1], g[2], w[0], w[1], w[2]) for x, y, g, w in mismatches[:limit])


def text_left(text, focused):
    if not text:
        raise Failure("the render's %s sample window shows no caption text"
                      % ("focused" if focused else "unfocused"))
    return min(x for x, _ in text)


class Check:
    """One row: a style, its themes at scale 1 and 2, the render and the states picture."""

    def __init__(self, args, row, tmp, artefacts):
        self.args = args
        self.row = row
        self.tmp = tmp
        self.artefacts = artefacts
        self.problems = []
        # The commands read no home and only the fonts xfwm4 is given.
        home = os.path.join(tmp, "tool-home")
        os.makedirs(home)
        self.env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home, XDG_CACHE_HOME=home,
                        FONTCONFIG_FILE=font_config(tmp))
        style = os.path.join(args.source, "styles", row["style"], "Frame")
        if row.get("make"):
            made = os.path.join(tmp, "style")
            row["make"](style, made)
            style = made
        self.style = style
        self.render = self.picture("render", [])
        self.clear = uncovered(style, self.render)
        self.text = {focused: render_text(self.render, focused) for focused in (False, True)}
        self.render_over = self.picture("render-over", ["--minimize", "over"])
        face = read_bitmap(os.path.join(style, "captionbutton_normal.png")).size()
        if face != (19, 18):
            raise Failure("the style's caption button face is %dx%d: the checks of the "
                          "buttons know the form's 19x18" % face)
        states = os.path.join(tmp, "states.png")
        tool_run([args.tool, "states", style, "-o", states], "states", self.env)
        self.cells = states_cells(states, face)
        self.desktop = None

    def picture(self, name, options):
        path = os.path.join(self.tmp, name + ".png")
        tool_run([self.args.tool, "render", self.style, "-o", path] + options, "render",
                 self.env)
        return read_bitmap(path)

    def export(self, name, scale):
        directory = os.path.join(self.tmp, "export", name)
        out = tool_run([self.args.tool, "export", "xfwm4", self.style, "-o", directory,
                        "--scale", str(scale)], "export xfwm4", self.env)
        if not out.strip().splitlines()[-1].startswith(directory + ": "):
            raise Failure("export xfwm4 did not end with its summary line:\n%s" % out)
        return Theme(directory)

    def fail(self, problem):
        self.problems.append(problem)

    def save(self, grab, name):
        # The frames' row of the screen, where the clients were mapped.
        write_png(os.path.join(self.artefacts, name + ".png"),
                  grab.crop(0, 0, grab.width, min(grab.height, 540)))

    def start(self, theme):
        self.desktop = Desktop(os.path.join(self.tmp, "desktop"), SCREEN)
        theme.install(self.desktop)
        self.desktop.set("/general/theme", "string", theme.name)
        self.desktop.start_wm()
        self.desktop.backdrop(ROOT)

    def use_theme(self, theme, by_path=False):
        """The theme installed and named, or named by the absolute path of its xfwm4/ folder."""
        for client in self.desktop.clients:
            client.stop()
        self.desktop.clients = []
        value = os.path.join(theme.directory, "xfwm4") if by_path else theme.name
        if self.desktop.get("/general/theme") != value:
            if not by_path:
                theme.install(self.desktop)
            self.desktop.set("/general/theme", "string", value)
            # A window mapped while xfwm4 reloads its theme may keep a size of the old one: a
            # probe that has taken the new theme's frame says the reload is done.
            probe = self.desktop.client(" ", 100, 60, 20, 20)
            try:
                wait_until("xfwm4 to load the theme %s" % theme.name,
                           lambda: probe.extents() == theme.extents, 10.0)
            finally:
                probe.stop()
                self.desktop.clients.remove(probe)

    def windows(self, theme, scale):
        """An unfocused and a focused client whose frames have the sample windows' sizes."""
        left, right, top, bottom = theme.extents
        clients = {}
        x = 20
        for focused in (False, True):
            w, h = SIZES[focused]
            clients[focused] = self.desktop.client(
                " ", w * scale - left - right, h * scale - top - bottom, x, 20, BODIES[focused])
            x += w * scale + 40
        self.desktop.focus(clients[True])

        def framed():
            for focused, client in clients.items():
                if client.extents() != theme.extents:
                    raise Failure("xfwm4 gives the %s window the frame extents %s, the theme %s "
                                  "has %s: xfwm4 draws another theme (a theme it cannot find it "
                                  "replaces with its default without a word)"
                                  % ("focused" if focused else "unfocused", client.extents(),
                                     theme.name, theme.extents))
                size = tuple(v * scale for v in SIZES[focused])
                if client.geometry()[2:] != size:
                    raise Failure("the %s frame is %dx%d, expected %dx%d"
                                  % (("focused" if focused else "unfocused",)
                                     + client.geometry()[2:] + size))
            return True

        # A theme that changed is loaded from xfwm4's idle handler, after the windows mapped.
        wait_until("the frames of the theme %s" % theme.name, framed, 5.0)
        self.park()
        return clients

    def park(self):
        self.desktop.x.move(SCREEN[0] - 5, SCREEN[1] - 5)
        self.desktop.settle()

    def grab(self):
        previous = [self.desktop.grab()]

        def settled():
            grab = self.desktop.grab()
            same = grab.data == previous[0].data
            previous[0] = grab
            return grab if same else None

        return wait_until("the screen to settle", settled, 10.0, interval=0.15)

    def check_frames(self, phase, clients, theme, scale):
        known = len(self.problems)
        grab = self.grab()
        frames = {}
        for focused, client in clients.items():
            frame = Frame(grab, client, focused, scale, theme.extents)
            frames[focused] = frame
            mismatches = frame_mismatches(frame, self.render, self.clear, self.text)
            if mismatches:
                self.fail("%s: %d pixels of the %s frame differ from the render: %s"
                          % (phase, len(mismatches), frame.what(),
                             describe_frame(frame, mismatches)))
            for button in BUTTONS:
                state = "normal" if focused else "disable"
                self.check_button(phase, frame, button, button, state)
        if len(self.problems) > known:
            self.save(grab, phase + "-frames")
        return grab, frames

    def check_button(self, phase, frame, button, cell_button, state, rect=None):
        rect = rect or button_rect(frame, button)
        mismatches = picture_mismatches(frame, rect, self.cells[cell_button, state])
        if mismatches:
            self.fail("%s: the %s frame's %s button at %s differs from the render's %s %s "
                      "in %d pixels: %s" % (phase, frame.what(), button, rect[:2], cell_button,
                                            state, len(mismatches), describe_pixels(mismatches)))
        return not mismatches

    def button_shown(self, phase, client, theme, scale, button, state):
        """The focused frame once its button shows state, or after 3 s with what it showed."""
        last = []

        def shown():
            frame = Frame(self.grab(), client, True, scale, theme.extents)
            last[:] = [frame]
            return not picture_mismatches(frame, button_rect(frame, button),
                                          self.cells[button, state])

        try:
            wait_until("the %s button %s" % (button, state), shown, 3.0, interval=0.1)
        except Failure:
            self.check_button(phase, last[0], button, button, state)
            self.save(last[0].grab, "%s-%s-%s" % (phase, button, state))
        return last[0]

    def check_pointer(self, phase, clients, theme, scale):
        """Each button of the focused window under the pointer, then pressed."""
        x = self.desktop.x
        client = clients[True]
        for button in BUTTONS:
            frame = Frame(self.grab(), client, True, scale, theme.extents)
            bx, by, bw, bh = button_rect(frame, button)
            centre = (frame.x + bx + bw // 2, frame.y + by + bh // 2)
            x.move(*centre)
            frame = self.button_shown(phase, client, theme, scale, button, "over")
            x.xdotool("mousedown", 1)
            try:
                frame = self.button_shown(phase, client, theme, scale, button, "press")
            finally:
                # Let go away from the button, so that nothing is minimized or closed.
                x.move(frame.x + frame.w // 2, frame.y + frame.h // 2)
                x.xdotool("mouseup", 1)
            self.park()
        # The minimize button over is also the render's own live button.
        over = self.render_over.crop(RENDER_AT[True][0] + RENDER_BUTTONS_X,
                                     RENDER_AT[True][1] + BUTTON_TOP, 19, 18)
        if over.pixels != self.cells["minimize", "over"].pixels:
            self.fail("%s: render --minimize over and the states picture show two different "
                      "minimize buttons under the pointer" % phase)

    def check_text(self, phase, clients, blank, theme, scale):
        """The caption text in the form's caption colour, where the window puts it."""
        known = len(self.problems)
        for focused, client in clients.items():
            client.rename(TITLES[focused])
        self.desktop.settle()
        grab = self.grab()
        for focused, client in clients.items():
            frame = Frame(grab, client, focused, scale, theme.extents)
            before = Frame(blank, client, focused, scale, theme.extents)
            ink = INKS[focused]
            inked = 0
            first = None
            stray = []
            end = min(RENDER_BUTTONS_X, frame.size[0] - CLOSE_END - 3 * 19 - 2 * SPACING)
            for y in range(theme.extents[2]):
                for x in range(CORNER[0] * scale, end * scale):
                    got, under = frame.at(x, y), before.at(x, y)
                    if got == under:
                        continue
                    first = x if first is None else min(first, x)
                    t = text_blend(got, [under], ink)
                    if t is None:
                        stray.append((x, y, got, under))
                    elif t > 0.6:
                        inked += 1
            if stray:
                self.fail("%s: %d pixels of the %s caption text are not the caption colour "
                          "#%02x%02x%02x over the caption (a shadow?): %s"
                          % (phase, len(stray), frame.what(), ink[0], ink[1], ink[2],
                             describe_pixels(stray)))
            if inked < 25 * scale * scale:
                self.fail("%s: the %s caption shows %d pixels of the caption colour, expected "
                          "its text" % (phase, frame.what(), inked))
            elif first is not None:
                want = text_left(self.text[focused], focused)
                if abs(first / scale - want) > 2:
                    self.fail("%s: the %s caption text starts at x %d, the render's at %d"
                              % (phase, frame.what(), first / scale, want))
        if len(self.problems) > known:
            self.save(grab, phase + "-text")
        return grab

    def check_maximized(self, phase, clients, theme, scale):
        """A maximized window shows the restore glyph in its maximize button."""
        client = clients[True]
        frame = Frame(self.grab(), client, True, scale, theme.extents)
        bx, by, bw, bh = button_rect(frame, "maximize")
        self.desktop.x.click(frame.x + bx + bw // 2, frame.y + by + bh // 2)
        wait_until("the focused window to be maximized",
                   lambda: "MAXIMIZED_HORZ" in self.desktop.x.tool(
                       "xprop", "-id", str(client.window), "_NET_WM_STATE"), 5.0)
        self.park()
        maximized = Frame(self.grab(), client, True, scale, theme.extents, maximized=True)
        # The maximized frame is as wide as the screen: its rightmost 19 x 19 button window is
        # close, and maximize lies one button to its left.
        tree = self.desktop.x.tool("xwininfo", "-tree", "-id", str(client.frame))
        windows = [tuple(int(v) for v in found) for found in
                   re.findall(r"(\d+)x(\d+)\+(-?\d+)\+(-?\d+)", tree)]
        buttons = [(x, y) for w, h, x, y in windows if (w, h) == (19 * scale, 19 * scale)]
        if not buttons:
            self.fail("%s: the maximized frame has no button windows of 19x19" % phase)
            return
        x, y = max(buttons)
        if maximized.w - (x + 19 * scale) != CLOSE_END * scale:
            self.fail("%s: the maximized frame's close button ends %d pixels from its right edge, "
                      "expected %d" % (phase, maximized.w - x - 19 * scale, CLOSE_END * scale))
        rect = (x - (19 + SPACING) * scale, y, 19 * scale, 18 * scale)
        if not self.check_button(phase, maximized, "maximize", "restore", "normal", rect):
            self.save(maximized.grab, phase + "-maximized")

    def phase(self, phase, theme, scale, by_path=False):
        self.use_theme(theme, by_path)
        clients = self.windows(theme, scale)
        blank, frames = self.check_frames(phase, clients, theme, scale)
        self.check_pointer(phase, clients, theme, scale)
        titled = self.check_text(phase, clients, blank, theme, scale)
        self.check_maximized(phase, clients, theme, scale)
        return titled, frames

    def close(self):
        if self.desktop is not None:
            self.desktop.stop()


def side_by_side(render, grab, frames, zoom=2):
    """The render's sample windows on the left, xfwm4's frames of them on the right, both on
    the render's backdrop and magnified for the eye."""
    gap = 16
    width = gap + max(SIZES[False][0], SIZES[True][0])
    height = gap + SIZES[False][1] + gap + SIZES[True][1] + gap
    out = Picture(gap + 2 * width, height, fill=BACKDROP + (255,))
    y = gap
    for focused in (False, True):
        w, h = SIZES[focused]
        rx, ry = RENDER_AT[focused]
        frame = frames[focused]
        for dy in range(h):
            for dx in range(w):
                out.put(gap + dx, y + dy, render.at(rx + dx, ry + dy))
                shown = grab.at(frame.x + dx, frame.y + dy)
                out.put(gap + width + dx, y + dy, BACKDROP + (255,) if shown[:3] == ROOT else shown)
        y += h + gap
    return Picture(out.width * zoom, out.height * zoom,
                   [out.at(x // zoom, y // zoom) for y in range(out.height * zoom)
                    for x in range(out.width * zoom)])


def run_style(check):
    one = check.export(check.row["theme"], 1)
    two = check.export(check.row["theme"] + "-x2", 2)
    check.start(one)
    titled, frames = check.phase("own-settings", one, 1)
    if check.row.get("picture"):
        write_png(os.path.join(check.artefacts, check.row["picture"]),
                  side_by_side(check.render, titled, frames))
    # The user's own look of the title, which the theme must override: the same frames, text
    # and all, pixel for pixel. xfwm4 reads the shadow settings at its start only.
    for client in check.desktop.clients:
        client.stop()
    check.desktop.clients = []
    check.desktop.stop_wm()
    check.desktop.set("/general/title_alignment", "string", "center")
    check.desktop.set("/general/title_shadow_active", "string", "true")
    check.desktop.start_wm()
    check.desktop.backdrop(ROOT)
    again, _ = check.phase("user-settings", one, 1)
    for focused, frame in frames.items():
        changed = [(x, y, again.at(frame.x + x, frame.y + y), titled.at(frame.x + x, frame.y + y))
                   for y in range(frame.h) for x in range(frame.w)
                   if again.at(frame.x + x, frame.y + y) != titled.at(frame.x + x, frame.y + y)]
        if changed:
            check.fail("the user's title_alignment=center and title_shadow_active=true change "
                       "%d pixels of the %s frame: %s" % (len(changed), frame.what(),
                                                          describe_pixels(changed)))
    check.phase("scale-2", two, 2, by_path=True)


def run_wrong_pixel(check):
    """One pixel of the exported bottom-left corner changed must fail the comparison, there."""
    theme = check.export(check.row["theme"], 1)
    path = os.path.join(theme.directory, "xfwm4", "bottom-left-active.png")
    corner = read_bitmap(path)
    px, py = corner.width // 2, corner.height // 2
    r, g, b, a = corner.at(px, py)
    if a != 255:
        raise Failure("the exported bottom-left corner is not opaque at %d,%d" % (px, py))
    corner.put(px, py, (r ^ 0x80, g ^ 0x80, b, 255))
    write_png(path, corner, alpha=True)
    check.start(theme)
    clients = check.windows(theme, 1)
    grab = check.grab()
    frame = Frame(grab, clients[True], True, 1, theme.extents)
    mismatches = frame_mismatches(frame, check.render, check.clear, check.text)
    where = [(x, y) for x, y, _, _ in mismatches]
    want = (px, frame.h - corner.height + py)
    if where != [want]:
        check.save(grab, "wrong-pixel")
        check.fail("the theme with one wrong pixel at %s of the focused frame gave %d "
                   "mismatches%s" % (want, len(mismatches),
                                     ": " + describe_frame(frame, mismatches)
                                     if mismatches else ", the comparison cannot fail"))
    unfocused = frame_mismatches(Frame(grab, clients[False], False, 1, theme.extents),
                                 check.render, check.clear, check.text)
    if unfocused:
        check.fail("the unfocused frame, whose pieces were not changed, differs: %s"
                   % describe_frame(Frame(grab, clients[False], False, 1, theme.extents),
                                    unfocused))


ROWS = {
    "luna": dict(style="Luna", theme="Luna", run=run_style,
                 picture="xfwm4-luna-side-by-side.png"),
    "silver": dict(style="Silver", theme="Silver", run=run_style),
    "licorice": dict(style="Licorice", theme="Licorice", run=run_style),
    "odd-sizes": dict(style="Luna", theme="Luna-odd", run=run_style, make=odd_sizes),
    "wrong-pixel": dict(style="Luna", theme="Luna-wrong", run=run_wrong_pixel),
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("row", choices=sorted(ROWS))
    parser.add_argument("--tool", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--artefacts", required=True)
    args = parser.parse_args()
    missing = ["%s (package %s)" % (tool, package) for tool, package in TOOLS.items()
               if shutil.which(tool) is None]
    if missing:
        print("FAIL: %s: not installed: %s" % (args.row, ", ".join(missing)))
        return 1
    artefacts = os.path.join(args.artefacts, "xfwm4-" + args.row)
    shutil.rmtree(artefacts, ignore_errors=True)
    os.makedirs(artefacts)
    tmp = tempfile.mkdtemp(prefix="framewright-xfwm4-", dir="/tmp")
    check = None
    try:
        check = Check(args, ROWS[args.row], tmp, artefacts)
        ROWS[args.row]["run"](check)
        if check.problems:
            raise Failure("the screen differs from the render:")
        print("PASS: xfwm4 %s" % args.row)
        return 0
    except Failure as error:
        found = check.problems if check is not None else []
        print("FAIL: xfwm4 %s: %s" % (args.row, "\n  ".join([str(error)] + found)))
        print("artefacts: %s" % artefacts)
        if check is not None and check.desktop is not None and check.desktop.wm is not None:
            print("xfwm4 output:\n%s" % check.desktop.wm_output())
        return 1
    finally:
        if check is not None:
            check.close()
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
