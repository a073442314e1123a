#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end checks of the running program on a real X server: window geometry, the pages in
front, the composed sample windows for each sample style, the live minimize button, the bitmap
pane and its hand-off to the paint program, error reports and File > Exit.

Usage: test_window.py CASE --program-dir DIR --source DIR --artefacts DIR
"""

import argparse
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from e2elib import (CENTRE_PANE, EXPLORER_PANE, RIGHT_COLUMN, SCREEN, STYLE_BOX, STYLE_NAMES,
                    WINDOW_SIZE, Failure, Layout, Session, close_to, compare, describe,
                    expected_grids, sample_window_problems, style_dir, wait_until)
from model import Preview, actual, zoomed
from pictures import read_bitmap


def glyph_centre(layout):
    return (layout.active[0] + 306, layout.active[1] + 13)


class Run:
    def __init__(self, args, name, styles=None):
        self.args = args
        self.session = Session(name, args.artefacts)
        self.x = self.session.x
        self.preview = Preview(os.path.join(args.source, "resources", "design"))
        styles = styles or os.path.join(args.source, "styles")
        self.styles = {name: os.path.join(styles, name, "Frame") for name in STYLE_NAMES}
        self.program = None
        self.layout = None
        self.style_index = 0
        self.last_frame = None
        self.scroll_inset = 0
        # Findings that do not stop the case; it fails at its end if there are any.
        self.problems = []

    def seen(self, name):
        """A style directory as the program sees it, read from inside its namespace."""
        return self.program.root_path(style_dir(name))

    def start(self, themes=None, program=None, args=()):
        themes = self.styles if themes is None else themes
        self.x.move(3, 3)
        if program is None:
            # The program as installed: the executable with its two files beside it, in a folder
            # that the namespace leaves visible.
            program_dir = os.path.join(self.session.tmp, "program")
            os.makedirs(program_dir, exist_ok=True)
            for name in ("framewright", "help.htm", "Luna.uis"):
                shutil.copy2(os.path.join(self.args.program_dir, name), program_dir)
            program = os.path.join(program_dir, "framewright")
        self.program = self.session.start(program, themes, args)
        self.program.wait_for_window()
        return self.program

    def grab(self):
        self.last_frame = self.x.grab()
        return self.last_frame

    def stable_grab(self, timeout=10.0):
        """A grab that equals the one before it, so no repaint is half done."""
        previous = [self.grab()]

        def settled():
            frame = self.grab()
            same = frame.data == previous[0].data
            previous[0] = frame
            return frame if same else None

        return wait_until("the screen to settle", settled, timeout, interval=0.15)

    def locate(self):
        frame = self.stable_grab()
        self.layout = Layout(frame, self.program.origin)
        return frame

    # Sample windows -----------------------------------------------------------------------------

    def composed_problems(self, frame, label_x=37, grids=None):
        return sample_window_problems(frame, self.layout, self.preview, grids, label_x)

    def expected_grids(self):
        return expected_grids(self.preview)

    def expect_picture(self, what, problems_of, timeout):
        """Waits until a settled screen shows no problems_of(frame); saves the last one if not."""
        def check():
            problems = problems_of(self.stable_grab())
            if problems:
                raise Failure("; ".join(problems))
            return True

        try:
            wait_until(what, check, timeout, interval=0.2)
        except Failure:
            self.save("failed-" + what.replace(" ", "-"))
            raise

    def expect_composed(self, what, timeout=20.0):
        grids = self.expected_grids()
        self.expect_picture(what, lambda frame: self.composed_problems(frame, grids=grids),
                            timeout)

    def save(self, name):
        if self.last_frame is not None:
            self.session.save(self.last_frame, name)

    # Bitmap pane --------------------------------------------------------------------------------

    def bitmap_pane_problems(self, frame, picture):
        """imgActual at 36,24 and imgZoomed at 36,68 in ScrollBox1, whose frame may add an inset."""
        best = None
        sx, sy = self.layout.scrollbox
        want_actual = actual(picture)
        want_zoomed = zoomed(picture)
        for inset in range(0, 4):
            bad_actual, _ = compare(frame, sx + inset + 36, sy + inset + 24, want_actual)
            bad_zoomed, _ = compare(frame, sx + inset + 36, sy + inset + 68, want_zoomed)
            count = len(bad_actual) + len(bad_zoomed)
            if best is None or count < best[0]:
                best = (count, inset, bad_actual, bad_zoomed)
        count, inset, bad_actual, bad_zoomed = best
        problems = []
        if bad_actual:
            problems.append("the actual-size picture differs in %d pixels: %s"
                            % (len(bad_actual), describe(bad_actual)))
        if bad_zoomed:
            problems.append("the magnified picture differs in %d pixels: %s"
                            % (len(bad_zoomed), describe(bad_zoomed)))
        self.scroll_inset = inset
        return problems

    def expect_bitmap_pane(self, what, picture, timeout=10.0):
        self.expect_picture(what, lambda frame: self.bitmap_pane_problems(frame, picture),
                            timeout)

    def img_actual_spot(self):
        sx, sy = self.layout.scrollbox
        return (sx + self.scroll_inset + 36 + 6, sy + self.scroll_inset + 24 + 6)

    def expect_paint_call(self, count, path):
        calls = wait_until("call %d of the paint program" % count,
                           lambda: len(self.program.paint_calls()) >= count and
                           self.program.paint_calls(), 15.0)
        if len(calls) != count:
            raise Failure("the paint program was started %d times, expected %d: %r"
                          % (len(calls), count, calls))
        if calls[-1] != [path]:
            raise Failure("the paint program got the arguments %r, expected the one argument %r"
                          % (calls[-1], path))

    # Style box, menu, boxes ---------------------------------------------------------------------

    def choose_style(self, index):
        x, y = self.layout.window(STYLE_BOX[0] + 500, STYLE_BOX[1] + 11)
        before = set(self.program.other_windows())
        self.x.click(x, y)
        popup = wait_until("the style box's list", lambda: [
            w for w in self.program.other_windows() if w not in before], 10.0)[0]
        steps = index - self.style_index
        keys = ["Down"] * steps if steps > 0 else ["Up"] * (-steps)
        self.x.key(*(keys + ["Return"]))
        wait_until("the style box's list to close",
                   lambda: popup not in self.program.other_windows(), 10.0)
        self.style_index = index

    def choose_exit(self):
        x, y = self.layout.window(20, 12)
        before = set(self.program.other_windows())
        self.x.click(x, y)
        menu = wait_until("the File menu", lambda: [
            w for w in self.program.other_windows() if w not in before], 10.0)[0]
        mx, my, mw, mh, _ = self.x.geometry(menu)
        self.x.click(mx + 30, my + mh - 14)

    def expect_exit(self, status=0):
        try:
            code = self.program.process.wait(15)
        except Exception:
            raise Failure("the program did not end after File > Exit")
        if code != status:
            raise Failure("the program ended with status %d after File > Exit, expected %d:\n%s"
                          % (code, status, self.program.output()))

    def windows_appearing(self, what, settle=1.0):
        """The windows besides the main window once one has appeared, and all that appear in
        the moment after: a second error box would come right behind the first."""
        seen = list(wait_until(what, self.program.other_windows, 15.0))
        deadline = time.monotonic() + settle
        while time.monotonic() < deadline:
            seen += [w for w in self.program.other_windows() if w not in seen]
            time.sleep(0.1)
        return seen

    def expect_no_other_window(self, what, settle=1.5):
        deadline = time.monotonic() + settle
        while time.monotonic() < deadline:
            others = self.program.other_windows()
            if others:
                self.grab()
                self.save("unexpected-window")
                raise Failure("%s: a window appeared (%s) where none should"
                              % (what, ", ".join("%r %dx%d" % (self.x.name(w),
                                                 *self.x.geometry(w)[2:4]) for w in others)))
            time.sleep(0.1)

    def close(self, failed):
        self.session.close(keep=failed)


# Cases ------------------------------------------------------------------------------------------

def tab_tops(frame, left, top, width, height):
    """For each column of a tab bar, the first row that is not the bar's background."""
    background = frame.at(left + width - 3, top + 3)
    tops = {}
    for x in range(left, left + width):
        for y in range(top, top + height):
            if not close_to(frame.at(x, y), background, 6):
                tops[x] = y
                break
    return tops


def selected_tab(frame, left, top, width, height):
    tops = tab_tops(frame, left, top, width, height)
    if not tops:
        raise Failure("no tabs in the tab bar at %d,%d" % (left, top))
    highest = min(tops.values())
    selected = sorted(x for x, y in tops.items() if y == highest)
    return min(tops), selected[0], selected[-1], max(tops)


def check_pages_in_front(run, frame):
    lay = run.layout
    ox, oy = lay.origin
    dy = lay.tab_dy
    cx, cy, cw, _ = CENTRE_PANE
    first, sel_first, sel_last, last = selected_tab(frame, ox + cx, oy + cy, cw, dy - 2)
    if sel_first - first < 10:
        raise Failure("the centre pane shows its first page (\"Code\") in front, "
                      "expected \"Preview\"")

    ex, ey, ew, eh = EXPLORER_PANE
    first, sel_first, sel_last, last = selected_tab(frame, ox + ex, oy + ey, ew, dy - 2)
    if sel_first - first > 3:
        raise Failure("the Explorer pane's tab is not in front")
    tree = (ox + ex + lay.tab_dx, oy + ey + dy, ew - 8, eh - 30)
    letters = sum(1 for y in range(tree[1], tree[1] + 300)
                  for x in range(tree[0] + 5, tree[0] + 200) if sum(frame.at(x, y)[:3]) < 240)
    if letters < 300:
        raise Failure("the \"Explorer\" page shows no element tree (%d dark pixels)" % letters)

    rx, ry, rw, rh = RIGHT_COLUMN
    bx, by = lay.bitmap_page
    strip = [frame.at(x, y)[:3] for y in range(by + 30, by + 50) for x in range(bx, bx + 275)]
    commonest = max(set(strip), key=strip.count)
    if strip.count(commonest) < 0.7 * len(strip):
        raise Failure("no title strip lblBitmap at the top of the \"Bitmap\" page")
    for y in (by + 28, by + 52):
        if sum(1 for x in range(bx, bx + 275) if frame.at(x, y)[:3] == commonest) > 0.5 * 275:
            raise Failure("the lblBitmap strip is not 22 pixels high at the top of \"Bitmap\"")

    help_top = oy + ry + 668 - 229
    first, sel_first, sel_last, last = selected_tab(frame, ox + rx, help_top, rw, dy - 2)
    if sel_first - first > 3 or last - sel_last < 10:
        raise Failure("the lower right pane does not show its first page (\"Help\") in front")


def case_startup(run):
    program = run.start()
    x = run.x
    name = x.name(program.window)
    if name != "Framewright":
        raise Failure("the window is titled %r, expected 'Framewright'" % name)
    left, top, width, height, _ = x.geometry(program.window)
    if (width, height) != WINDOW_SIZE:
        raise Failure("the window is %dx%d, expected 1152x770" % (width, height))
    centred = ((SCREEN[0] - width) // 2, (SCREEN[1] - height) // 2)
    if (left, top) != centred:
        run.problems.append("the window opens at %d,%d on the %dx%d screen; centred is %d,%d"
                      % (left, top, SCREEN[0], SCREEN[1], centred[0], centred[1]))

    run.preview.load_pass(run.seen("Luna"))
    run.locate()
    run.expect_composed("the Luna style in both sample windows")
    frame = run.last_frame
    check_pages_in_front(run, frame)
    run.expect_no_other_window("start-up with complete styles")
    path = run.session.save(frame, "framewright-luna", (left, top, width, height))
    print("screenshot of the Luna style: %s" % path)

    run.choose_exit()
    run.expect_exit(0)


def case_styles(run):
    run.start()
    run.preview.load_pass(run.seen("Luna"))
    run.locate()
    run.expect_composed("the Luna style in both sample windows")
    for index, name in ((1, "Silver"), (2, "Licorice"), (0, "Luna")):
        run.choose_style(index)
        run.preview.load_pass(run.seen(name))
        run.expect_composed("the %s style in both sample windows" % name)
    run.expect_no_other_window("choosing the three sample styles")


def case_minimize(run):
    luna = style_dir("Luna")
    run.start()
    seen = run.seen("Luna")
    run.preview.load_pass(seen)
    run.locate()
    run.expect_composed("the Luna style in both sample windows")
    x = run.x
    gx, gy = glyph_centre(run.layout)

    x.move(gx, gy)
    run.preview.show_look(seen, "over")
    run.expect_composed("the over look with the pointer on the minimize glyph")
    over_face = read_bitmap(os.path.join(run.styles["Luna"], "captionbutton_over.png"))
    if not run.bitmap_pane_problems(run.last_frame, over_face):
        raise Failure("hovering put the button face into the bitmap pane")

    x.xdotool("mousedown", 1)
    run.preview.show_look(seen, "press")
    run.expect_composed("the press look with the button held on the minimize glyph")
    run.expect_bitmap_pane("the press face in the bitmap pane", run.preview.minimize_face())

    x.xdotool("mouseup", 1)
    run.preview.show_look(seen, "over")
    run.expect_composed("the over look after the release")
    run.expect_bitmap_pane("the over face in the bitmap pane", run.preview.minimize_face())

    x.move(run.layout.active[0] + 200, run.layout.active[1] + 150)
    run.preview.show_look(seen, "normal")
    run.expect_composed("the normal look with the pointer moved away")
    run.expect_bitmap_pane("the over face kept in the bitmap pane", over_face)

    ax, ay = run.img_actual_spot()
    x.click(ax, ay)
    run.expect_paint_call(1, luna + "captionbutton_over.png")

    ix, iy = run.layout.inactive
    x.click(ix + 250, iy + 14)
    run.expect_bitmap_pane("the inactive caption bar in the bitmap pane",
                           run.preview.inactive_captionbar())
    ax, ay = run.img_actual_spot()
    x.click(ax, ay)
    run.expect_paint_call(2, luna + "captionbar_inactive.png")
    run.expect_composed("both sample windows unchanged by the clicks")
    run.expect_no_other_window("the minimize button and the bitmap pane")


def case_errors(run):
    luna = style_dir("Luna")
    program = run.start()
    seen = run.seen("Luna")
    run.preview.load_pass(seen)
    run.locate()
    run.expect_composed("the Luna style in both sample windows")
    x = run.x

    # Showing the window again must not run the load pass again: with a file gone it would fail.
    os.remove(program.root_path(luna + "restore_active_normal.png"))
    before = run.stable_grab()
    x.xdotool("windowunmap", "--sync", program.window)
    wait_until("the window to be unmapped", lambda: not x.geometry(program.window)[4], 10.0)
    x.xdotool("windowmap", "--sync", program.window)
    wait_until("the window to be mapped again", lambda: x.geometry(program.window)[4], 10.0)
    run.expect_no_other_window("unmapping and mapping the window again")
    after = run.stable_grab()
    problems = run.composed_problems(after)
    if problems or after.data != before.data:
        run.save("after-remap")
        raise Failure("mapping the window again changed the screen: %s"
                      % ("; ".join(problems) or "pixels differ from before the unmap"))

    run.choose_style(1)
    run.preview.load_pass(run.seen("Silver"))
    run.expect_composed("the Silver style in both sample windows")

    run.choose_style(0)
    failed = run.preview.load_pass(seen)
    if failed != "restore_active_normal.png":
        raise Failure("the reference pass stopped at %r" % failed)
    boxes = run.windows_appearing("a message box for the missing file")
    run.grab()
    run.save("message-box")
    if len(boxes) != 1:
        raise Failure("%d windows appeared for one missing file, expected one message box"
                      % len(boxes))
    box = boxes[0]
    bx, by, bw, bh, _ = x.geometry(box)
    if bw < 150 or bh < 50:
        raise Failure("the window that appeared (%dx%d) is no message box" % (bw, bh))
    x.xdotool("windowfocus", "--sync", box)
    x.key("Return")
    wait_until("the message box to close", lambda: not program.other_windows(), 10.0)
    run.expect_no_other_window("after the message box was dismissed")
    if not program.alive():
        raise Failure("the program ended after the message box")
    run.expect_composed("Luna with Silver's active restore glyph after the failed pass")

    gx, gy = glyph_centre(run.layout)
    x.move(gx, gy)
    run.preview.show_look(seen, "over")
    run.expect_composed("the minimize button still reacting after the error")
    x.move(run.layout.active[0] + 200, run.layout.active[1] + 150)

    run.choose_exit()
    run.expect_exit(0)


def dismiss_one_box(run, what):
    boxes = run.windows_appearing(what)
    if len(boxes) != 1:
        run.grab()
        run.save("failed-" + what.replace(" ", "-"))
        raise Failure("%d windows appeared for %s, expected one message box" % (len(boxes), what))
    run.x.xdotool("windowfocus", "--sync", boxes[0])
    run.x.key("Return")
    wait_until("the message box to close", lambda: not run.program.other_windows(), 10.0)


def case_hover_errors(run):
    luna = style_dir("Luna")
    program = run.start()
    seen = run.seen("Luna")
    run.preview.load_pass(seen)
    run.locate()
    run.expect_composed("the Luna style in both sample windows")
    x = run.x
    removed = {}
    for name in ("captionbutton_over.png", "captionbutton_press.png"):
        path = program.root_path(luna + name)
        with open(path, "rb") as f:
            removed[path] = f.read()
        os.remove(path)

    # The first movement reports the missing over face; the box takes the pointer, so the button
    # gets a leave and shows its normal look.
    gx, gy = glyph_centre(run.layout)
    x.move(gx, gy)
    dismiss_one_box(run, "a message box for the missing over face")
    # Back on the glyph, every movement tries again but says nothing more.
    for step in range(6):
        x.move(gx - 3 + step, gy + (step % 2))
    run.expect_no_other_window("more movements over the button")
    run.preview.show_look(seen, "normal")
    run.expect_composed("the normal look while the over face is missing")

    # A press reports its own failure; that box swallows the press's release, so no second box.
    x.xdotool("mousedown", 1)
    boxes = run.windows_appearing("a message box for the missing press face")
    x.xdotool("mouseup", 1)
    if len(boxes) != 1:
        raise Failure("%d windows appeared for the press, expected one message box" % len(boxes))
    x.xdotool("windowfocus", "--sync", boxes[0])
    x.key("Return")
    wait_until("the message box to close", lambda: not program.other_windows(), 10.0)
    run.expect_no_other_window("after the press's message box")
    if not program.alive():
        raise Failure("the program ended after the message boxes")

    # The files are back: the button and the rest of the window work as before.
    for path, data in removed.items():
        with open(path, "wb") as f:
            f.write(data)
    x.move(gx + 1, gy)
    x.move(gx, gy)
    run.preview.show_look(seen, "over")
    run.expect_composed("the over look once the file is back")
    x.move(run.layout.active[0] + 200, run.layout.active[1] + 150)
    run.preview.show_look(seen, "normal")
    run.expect_composed("the normal look after leaving")
    run.choose_style(1)
    run.preview.load_pass(run.seen("Silver"))
    run.expect_composed("the Silver style after the errors")
    run.choose_exit()
    run.expect_exit(0)


def case_no_styles(run):
    program = run.start(themes={})
    boxes = run.windows_appearing("a message box for the missing style directory")
    if len(boxes) != 1:
        raise Failure("%d windows appeared without the first style, expected one message box"
                      % len(boxes))
    x = run.x
    x.xdotool("windowfocus", "--sync", boxes[0])
    x.key("Return")
    wait_until("the message box to close", lambda: not program.other_windows(), 10.0)
    run.expect_no_other_window("after the message box was dismissed")
    frame = run.locate()
    # The design pictures stay, with the captions "Label1" and "Label3" where the form has them.
    problems = run.composed_problems(frame, label_x=64)
    if problems:
        run.save("failed-design-look")
        raise Failure("; ".join(problems))
    run.choose_exit()
    run.expect_exit(0)


# A style of the author's own, outside /home ------------------------------------------------------

STATUS_BAR_HEIGHT = 19


def own_style(run, name, source="Luna"):
    """A copy of a sample style in the test's temporary directory under /tmp, which the program's
    namespace shares: the author's checkout, edited from outside the program."""
    path = os.path.join(run.session.tmp, "checkout", name, "Frame") + "/"
    shutil.copytree(run.styles[source], path)
    return path


def status_ink(run, frame):
    """How many dark pixels (letters) the status bar shows."""
    ox, oy = run.program.origin
    top = oy + WINDOW_SIZE[1] - STATUS_BAR_HEIGHT
    return sum(1 for y in range(top + 2, top + STATUS_BAR_HEIGHT - 2)
               for x in range(ox + 2, ox + 700) if sum(frame.at(x, y)[:3]) < 240)


def replace_by_rename(path, source):
    """As most editors save: a new file written beside the old one and renamed over it."""
    temporary = os.path.join(os.path.dirname(path), ".saving-" + os.path.basename(path))
    shutil.copyfile(source, temporary)
    os.rename(temporary, path)


def rewrite_in_place(path, source):
    with open(source, "rb") as f:
        data = f.read()
    with open(path, "r+b") as f:
        f.truncate(0)
        f.write(data)


def expect_shown_within(run, what, limit):
    """The composed windows show the model's pass within limit seconds of now; the grab that
    first shows it must have started within the limit."""
    start = time.monotonic()
    grids = run.expected_grids()
    last = []
    while True:
        taken = time.monotonic() - start
        frame = run.grab()
        problems = run.composed_problems(frame, grids=grids)
        if not problems:
            if taken > limit:
                raise Failure("%s showed %.2f s after the write, expected within %.1f s"
                              % (what, taken, limit))
            return taken
        last = problems
        if taken > limit + 5:
            run.save("failed-" + what.replace(" ", "-"))
            raise Failure("%s did not show: %s" % (what, "; ".join(last)))


def case_style_dir(run):
    mine = own_style(run, "Mine", source="Silver")
    run.start(args=[mine])
    run.preview.load_pass(mine)
    run.locate()
    run.expect_composed("the style given on the command line in both sample windows")
    run.expect_no_other_window("start-up with a style directory")
    run.choose_exit()
    run.expect_exit(0)


def case_watch(run):
    mine = own_style(run, "Mine")
    run.start(args=["--watch", mine])
    run.preview.load_pass(mine)
    run.locate()
    run.expect_composed("the watched style in both sample windows")
    if status_ink(run, run.last_frame):
        raise Failure("the status bar shows text before anything failed")

    silver = run.styles["Silver"]
    licorice = run.styles["Licorice"]
    replace_by_rename(mine + "captionbar_active.png",
                      os.path.join(silver, "captionbar_active.png"))
    rewrite_in_place(mine + "captionbar_inactive.png",
                     os.path.join(licorice, "captionbar_inactive.png"))
    run.preview.load_pass(mine)
    took = expect_shown_within(run, "a file replaced by rename and one rewritten in place", 1.0)
    print("the two saved files showed %.2f s after the writes" % took)
    run.expect_no_other_window("a watched reload")

    # A broken file: the pass stops there, the status bar says why, and no box opens.
    mask = mine + "frame_mask_right.bmp"
    with open(mask, "wb") as f:
        f.write(b"not a bitmap")
    wait_until("the message in the status bar", lambda: status_ink(run, run.grab()) > 30, 5.0)
    run.save("status-message")
    run.expect_no_other_window("a watched reload of a broken file")

    replace_by_rename(mask, os.path.join(run.styles["Luna"], "frame_mask_right.bmp"))
    wait_until("the status bar to clear", lambda: status_ink(run, run.grab()) == 0, 5.0)
    run.preview.load_pass(mine)
    run.expect_composed("the mended style in both sample windows", timeout=5.0)

    # A branch switch: the whole directory goes and comes back as another style.
    shutil.rmtree(mine)
    time.sleep(0.1)
    shutil.copytree(silver, mine)
    run.preview.load_pass(mine)
    run.expect_composed("the style as the re-created directory holds it", timeout=5.0)
    wait_until("the status bar to clear", lambda: status_ink(run, run.grab()) == 0, 5.0)
    run.expect_no_other_window("the directory removed and re-created")
    run.choose_exit()
    run.expect_exit(0)


CASES = {
    "startup": case_startup,
    "styles": case_styles,
    "minimize": case_minimize,
    "errors": case_errors,
    "hover-errors": case_hover_errors,
    "no-styles": case_no_styles,
    "style-dir": case_style_dir,
    "watch": case_watch,
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--program-dir", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--artefacts", required=True)
    args = parser.parse_args()
    for tool in ("Xvfb", "xdotool", "import", "xwininfo", "unshare"):
        if shutil.which(tool) is None:
            print("FAIL: %s is not installed (packages xvfb xdotool imagemagick x11-utils "
                  "util-linux)" % tool)
            return 1
    run = None
    failed = True
    try:
        run = Run(args, args.case)
        CASES[args.case](run)
        if run.problems:
            raise Failure("; ".join(run.problems))
        failed = False
        print("PASS: %s" % args.case)
        return 0
    except Failure as error:
        print("FAIL: %s: %s" % (args.case, error))
        if run is not None:
            print("artefacts: %s" % run.session.artefacts)
            if run.program is not None:
                print("program output:\n%s" % run.program.output())
        return 1
    finally:
        if run is not None:
            run.close(failed)


if __name__ == "__main__":
    sys.exit(main())
