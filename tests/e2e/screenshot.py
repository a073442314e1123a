#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes the screenshot tools/run.sh makes on a machine without a display: the program on a
1600x1000 Xvfb with the pointer where the server puts it, saved by shoot.py once the Luna style
is shown. The sample styles sit at the fixed paths inside a private mount namespace, so nothing
of this machine's /home is read; the fonts are whatever FONTCONFIG_FILE names.

Usage: screenshot.py --program-dir DIR --source DIR --out FILE.png
Exit status 0 when the picture was saved with the style shown, 1 otherwise (and why, on
standard output).
"""

import argparse
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from e2elib import STYLE_NAMES, Failure, Session, style_dir


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program-dir", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    for tool in ("Xvfb", "xdotool", "import", "xwininfo", "unshare"):
        if shutil.which(tool) is None:
            print("screenshot: %s is not installed (packages xvfb xdotool imagemagick x11-utils "
                  "util-linux)" % tool)
            return 1

    artefacts = os.path.join(os.path.dirname(os.path.abspath(args.out)), "artefacts")
    session = None
    try:
        session = Session("screenshot", artefacts)
        # The program as installed, with its two files beside it.
        program_dir = os.path.join(session.tmp, "program")
        os.makedirs(program_dir)
        for name in ("framewright", "help.htm", "Luna.uis"):
            shutil.copy2(os.path.join(args.program_dir, name), program_dir)
        themes = {name: os.path.join(args.source, "styles", name, "Frame")
                  for name in STYLE_NAMES}
        program = session.start(os.path.join(program_dir, "framewright"), themes)
        program.wait_for_window()
        shoot = subprocess.run(
            [sys.executable, os.path.join(os.path.dirname(os.path.abspath(__file__)), "shoot.py"),
             "--display", session.x.display, "--pid", str(program.pid),
             "--style-dir", program.root_path(style_dir(STYLE_NAMES[0])),
             "--design", os.path.join(args.source, "resources", "design"), "--out", args.out],
            env=session.x.env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        if shoot.returncode != 0:
            print("screenshot: shoot.py ended with status %d:\n%s\nprogram output:\n%s"
                  % (shoot.returncode, shoot.stdout, program.output()))
            return 1
        return 0
    except Failure as error:
        print("screenshot: %s" % error)
        return 1
    finally:
        if session is not None:
            session.close()
            shutil.rmtree(artefacts, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
