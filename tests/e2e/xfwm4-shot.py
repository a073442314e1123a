#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""xfwm4's own drawing of an xfwm4 theme: an unfocused and a focused window laid out as
framewright-style render lays out its sample windows, on a private Xvfb with its own session bus
and a home in a temporary directory, with only the fonts tools/test.sh installs. The picture is
the render's panel, so the two stand side by side.

Usage: xfwm4-shot.py THEME -o FILE.png
THEME is a theme directory holding xfwm4/, or that folder itself.
Exit status 0 when the picture was written, 1 otherwise (and why, on standard error).
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from e2elib import BACKDROP, Failure, wait_until
from model import ACTIVE_COLOUR, ACTIVE_SIZE, INACTIVE_COLOUR, INACTIVE_SIZE
from pictures import write_png
from xfwm4lib import TOOLS, Client, Desktop

# framewright-style render's panel and where its sample windows lie on it.
PANEL = (548, 611)
WINDOWS = [("Inactive Window", INACTIVE_SIZE, (12, 12), INACTIVE_COLOUR),
           ("Active Window", ACTIVE_SIZE, (112, 280), ACTIVE_COLOUR)]
# Room below and right of the panel to park the pointer, so that no button is lit.
SCREEN = (PANEL[0] + 40, PANEL[1] + 40)


class PlainClient(Client):
    """A client of one colour, as the render's sample windows: xlogo drawn in its own
    background colour, since xmessage shows a text pane and a button."""

    def __init__(self, desktop, title, width, height, x, y, background):
        self.desktop = desktop
        desktop.mapped += 1
        self.tag = "framewright-client-%d" % desktop.mapped
        colour = "#%02x%02x%02x" % background
        self.process = subprocess.Popen(
            ["xlogo", "-geometry", "%dx%d+%d+%d" % (width, height, x, y), "-title", self.tag,
             "-bg", colour, "-fg", colour],
            env=desktop.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            stdin=subprocess.DEVNULL)
        self.window = wait_until("the window \"%s\"" % title, self._find, 10.0)
        self.frame = wait_until("xfwm4's frame around \"%s\"" % title, self._framed, 10.0)
        self.rename(title)


def shoot(theme, out, workdir):
    desktop = Desktop(workdir, SCREEN)
    try:
        # By the folder's path, so that no installed theme of the same name is drawn instead.
        desktop.set("/general/theme", "string", theme)
        desktop.start_wm()
        desktop.backdrop(BACKDROP)
        probe = desktop.client(" ", 100, 60, 0, 0)
        left, right, top, bottom = probe.extents()
        probe.stop()
        desktop.clients.remove(probe)
        clients = []
        for title, (width, height), (x, y), body in WINDOWS:
            client = PlainClient(desktop, title, width - left - right, height - top - bottom,
                                 x, y, body)
            desktop.clients.append(client)
            clients.append((client, (x, y, width, height)))
        desktop.focus(clients[-1][0])
        desktop.x.move(SCREEN[0] - 1, SCREEN[1] - 1)
        for client, place in clients:
            wait_until("the frame of \"%s\" at %s" % (client.title, place),
                       lambda: client.geometry() == place, 10.0)

        # xfwm4 draws from its idle handler: the picture is taken once two grabs agree.
        def steady():
            desktop.settle()
            first = desktop.grab().crop(0, 0, *PANEL)
            desktop.settle()
            second = desktop.grab().crop(0, 0, *PANEL)
            return first if first.pixels == second.pixels else None

        write_png(out, wait_until("xfwm4 to finish drawing", steady, 10.0))
    finally:
        desktop.stop()


def main():
    parser = argparse.ArgumentParser(description="xfwm4's drawing of a theme, as a PNG file")
    parser.add_argument("theme")
    parser.add_argument("-o", dest="out", required=True)
    args = parser.parse_args()
    missing = ["%s (package %s)" % (tool, package) for tool, package in TOOLS.items()
               if shutil.which(tool) is None]
    if missing:
        print("xfwm4-shot: not installed: %s" % ", ".join(missing), file=sys.stderr)
        return 1
    theme = os.path.abspath(args.theme)
    if os.path.basename(theme) != "xfwm4":
        theme = os.path.join(theme, "xfwm4")
    if not os.path.isfile(os.path.join(theme, "themerc")):
        print("xfwm4-shot: %s has no themerc" % theme, file=sys.stderr)
        return 1
    try:
        with tempfile.TemporaryDirectory(prefix="xfwm4-shot-") as workdir:
            shoot(theme, args.out, workdir)
    except Failure as error:
        print("xfwm4-shot: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
