#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Waits until a running program shows its first style and saves a picture of its window.
tools/run.sh uses it on a machine without a display.

Usage: shoot.py --display :N --pid PID --style-dir DIR --design DIR --out FILE.png
Exit status 0 when the style was recognised on the screen, 2 when the picture was saved without
it (a style directory with a missing file, say), 1 when there was no window to save.
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from e2elib import (WINDOW_SIZE, Failure, Layout, XServer, expected_grids,
                    sample_window_problems, wait_until)
from model import Preview
from pictures import write_png


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--display", required=True)
    parser.add_argument("--pid", required=True, type=int)
    parser.add_argument("--style-dir", required=True)
    parser.add_argument("--design", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--timeout", type=float, default=30.0)
    args = parser.parse_args()

    x = XServer.attach(args.display)

    def main_window():
        for window in x.visible_windows(args.pid):
            if x.geometry(window)[2] >= 1000:
                return window
        return None

    try:
        window = wait_until("the program's window", main_window, args.timeout)
    except Failure as error:
        print("shoot: %s" % error, file=sys.stderr)
        return 1
    left, top, width, height, _ = x.geometry(window)

    preview = Preview(args.design)
    stopped = preview.load_pass(args.style_dir)
    grids = expected_grids(preview)
    recognised = False
    deadline = time.monotonic() + args.timeout
    frame = x.grab()
    while time.monotonic() < deadline:
        try:
            layout = Layout(frame, (left, top))
            if not sample_window_problems(frame, layout, preview, grids):
                recognised = True
                break
        except Failure:
            pass
        time.sleep(0.3)
        frame = x.grab()
    write_png(args.out, frame.crop(left, top, min(width, frame.width - left),
                                   min(height, frame.height - top)))
    if not recognised:
        why = "it stops at %s" % stopped if stopped else "the screen never matched it"
        print("shoot: the window does not show the style %s (%s)" % (args.style_dir, why),
              file=sys.stderr)
        return 2
    if (width, height) != WINDOW_SIZE:
        print("shoot: the window is %dx%d" % (width, height), file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
