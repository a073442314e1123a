#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Debian package: built with cpack from the build tree, its control fields and contents
checked, lintian clean of errors and warnings, its licence, changelog, manual pages and metadata
checked, its dependencies resolved by apt without installing anything, and the program run from
the unpacked package through its bin/ link, showing the first sample style that it ships.

Usage: test_package.py --build DIR --source DIR --artefacts DIR
"""

import argparse
import glob
import gzip
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from e2elib import Failure
from model import STYLE_FILES
from test_window import Run

EXPECTED_FILES = [
    "./usr/lib/framewright/framewright",
    "./usr/lib/framewright/help.htm",
    "./usr/lib/framewright/Luna.uis",
    "./usr/bin/framewright-style",
    "./usr/share/man/man1/framewright.1.gz",
    "./usr/share/man/man1/framewright-style.1.gz",
    "./usr/share/applications/framewright.desktop",
    "./usr/share/metainfo/io.github.framewright.Framewright.metainfo.xml",
    "./usr/share/icons/hicolor/16x16/apps/framewright.png",
    "./usr/share/doc/framewright/copyright",
    "./usr/share/doc/framewright/changelog.gz",
] + ["./usr/share/framewright/styles/%s/Frame/%s" % (style, name)
     for style in ("Luna", "Silver", "Licorice") for name in STYLE_FILES]


def output(args, **kw):
    done = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kw)
    if done.returncode != 0:
        raise Failure("%s failed with status %d:\n%s" % (" ".join(args), done.returncode,
                                                         done.stdout))
    return done.stdout


def build_package(build, workdir):
    out = os.path.join(workdir, "package")
    output(["cpack", "-G", "DEB", "-B", out, "--config", os.path.join(build, "CPackConfig.cmake")],
           cwd=build)
    debs = glob.glob(os.path.join(out, "framewright_*.deb"))
    if len(debs) != 1:
        raise Failure("cpack made %r, expected one framewright_*.deb" % os.listdir(out))
    return debs[0]


def check_control(deb, source):
    fields = {}
    for name in ("Package", "Version", "Architecture", "Depends", "Maintainer", "Homepage"):
        fields[name] = output(["dpkg-deb", "-f", deb, name]).strip()
    if fields["Package"] != "framewright":
        raise Failure("the package is named %r" % fields["Package"])
    # The project has no web site, and its only address is the one its commits carry.
    if fields["Homepage"]:
        raise Failure("the package names a homepage: %s" % fields["Homepage"])
    author = output(["git", "-c", "safe.directory=*", "-C", source, "log", "-1",
                     "--format=%an <%ae>"]).strip()
    if fields["Maintainer"] != author:
        raise Failure("the maintainer is %r, the commits carry %r" % (fields["Maintainer"], author))
    depends = [alt.strip().split()[0] for item in fields["Depends"].split(",")
               for alt in item.split("|")]
    for needed in ("libqt6core6", "libqt6gui6", "libqt6widgets6", "qt6-qpa-plugins"):
        if needed not in depends:
            raise Failure("the package does not depend on %s: Depends: %s"
                          % (needed, fields["Depends"]))
    if not {"fonts-dejavu-core", "fonts-liberation"} & set(depends):
        raise Failure("the package depends on no font: Depends: %s" % fields["Depends"])
    return fields, set(depends)


def check_contents(deb):
    listing = output(["dpkg-deb", "-c", deb]).splitlines()
    paths = {}
    for line in listing:
        parts = line.split()
        path = parts[5]
        paths[path] = parts[7] if len(parts) > 7 and parts[6] == "->" else None
    missing = [p for p in EXPECTED_FILES if p not in paths]
    if missing:
        raise Failure("the package lacks %s" % ", ".join(missing))
    if paths.get("./usr/bin/framewright") != "../lib/framewright/framewright":
        raise Failure("usr/bin/framewright is not the link ../lib/framewright/framewright: %r"
                      % paths.get("./usr/bin/framewright", "missing"))
    outside = [p for p in paths if not (p == "./" or p.startswith("./usr/"))]
    if outside:
        raise Failure("the package puts files outside /usr: %s" % ", ".join(outside))


def check_lintian(deb):
    done = subprocess.run(["lintian", "--allow-root", "--display-info", deb],
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    tags = done.stdout.splitlines()
    bad = [line for line in tags if re.match(r"[EW]: ", line)]
    if bad or done.returncode not in (0, 1):
        raise Failure("lintian (status %d):\n%s" % (done.returncode, done.stdout))
    return [line for line in tags if line.startswith("I: ")]


def check_documents(root, version):
    doc = os.path.join(root, "usr/share/doc/framewright")
    with open(os.path.join(doc, "copyright")) as f:
        copyright = f.read()
    if not copyright.startswith(
            "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"):
        raise Failure("the copyright file is not machine-readable:\n%s" % copyright[:200])
    if ("License: GPL-3+" not in copyright or "/usr/share/common-licenses/GPL-3" not in copyright
            or "TERMS AND CONDITIONS" in copyright):
        raise Failure("the copyright file does not point at /usr/share/common-licenses/GPL-3 "
                      "for GPL-3+ instead of holding the text:\n%s" % copyright)
    with open(os.path.join(doc, "changelog.gz"), "rb") as f:
        packed = f.read()
    # gzip -9n: no file name (flag 8) and no time stamp in the header.
    if packed[3] & 8 or packed[4:8] != b"\0\0\0\0":
        raise Failure("changelog.gz keeps a name or time stamp: not made with gzip -9n")
    first = gzip.decompress(packed).decode().splitlines()[0]
    if not first.startswith("framewright (%s) " % version):
        raise Failure("the changelog's latest entry is %r, the package is %s" % (first, version))


def check_manual_pages(root):
    """Every program in usr/bin has its page, and it tells the options that --help tells."""
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    for name in sorted(os.listdir(os.path.join(root, "usr/bin"))):
        page = os.path.join(root, "usr/share/man/man1/%s.1.gz" % name)
        if not os.path.exists(page):
            raise Failure("usr/bin/%s has no manual page usr/share/man/man1/%s.1.gz" % (name, name))
        shown = output(["man", "-l", page], env=dict(env, MANWIDTH="100", LC_ALL="C"))
        if not re.search(r"^NAME\n\s+%s - " % re.escape(name), shown, re.M):
            raise Failure("man -l %s shows no NAME section for %s:\n%s" % (page, name, shown))
        options = [line.split("  ")[0].strip() for line in output(
            [os.path.join(root, "usr/bin", name), "--help"], env=env).splitlines()
            if line.startswith("  -")]
        lost = [option for option in options if option not in shown]
        if not options or lost:
            raise Failure("the manual page of %s lacks %r of its --help" % (name, lost or options))


def owning_package(library):
    """The Debian package of a shared library as the loader finds it."""
    for line in output(["ldconfig", "-p"]).splitlines():
        parts = line.split()
        if not parts or parts[0] != library:
            continue
        path = parts[-1]
        # With a merged /usr, dpkg may know the file under /lib or under /usr/lib.
        merged = path[4:] if path.startswith("/usr/") else "/usr" + path
        for candidate in (path, os.path.realpath(path), merged):
            done = subprocess.run(["dpkg-query", "-S", candidate], stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL, text=True)
            if done.returncode == 0:
                return done.stdout.split(":")[0].strip()
    raise Failure("no installed package holds %s" % library)


def check_libraries(root, depends):
    program = os.path.join(root, "usr/lib/framewright/framewright")
    needed = [line.split("[")[1].split("]")[0]
              for line in output(["readelf", "-d", program]).splitlines() if "(NEEDED)" in line]
    for library in needed:
        package = owning_package(library)
        if package not in depends:
            raise Failure("the program needs %s from %s, which the package does not depend on"
                          % (library, package))


def check_installable(deb):
    # A simulation resolves the dependencies as `apt-get install ./framewright_*.deb` would,
    # without touching the machine.
    text = output(["apt-get", "install", "--simulate", "-o", "Debug::NoLocking=1", deb])
    if "Inst framewright" not in text and "framewright is already" not in text:
        raise Failure("apt-get would not install the package:\n%s" % text)


def check_metadata(root, version):
    share = os.path.join(root, "usr/share")
    output(["desktop-file-validate", os.path.join(share, "applications/framewright.desktop")])
    metainfo = os.path.join(share, "metainfo/io.github.framewright.Framewright.metainfo.xml")
    report = output(["appstreamcli", "validate", "--no-net", "--pedantic", metainfo])
    if re.search(r"^[EW]: ", report, re.M):
        raise Failure("appstreamcli validate --pedantic:\n%s" % report)
    component = ElementTree.parse(metainfo).getroot()
    if component.findtext("project_license") != "GPL-3.0-or-later":
        raise Failure("the AppStream project_license is %r" % component.findtext("project_license"))
    releases = [r.get("version") for r in component.iter("release")]
    if not releases or releases[0] != version:
        raise Failure("the AppStream releases are %r, the package is %s" % (releases, version))
    # Nothing may point at a place the project does not have.
    for tag in ("url", "screenshots"):
        if component.find(tag) is not None:
            raise Failure("the AppStream metadata has a <%s>" % tag)


def check_installed_program(args, root):
    run = Run(args, "package", styles=os.path.join(root, "usr/share/framewright/styles"))
    failed = True
    try:
        run.start(program=os.path.join(root, "usr/bin/framewright"))
        run.preview.load_pass(run.seen("Luna"))
        run.locate()
        run.expect_composed("the Luna style from the package in both sample windows")
        # A missing help.htm or Luna.uis beside the real executable would raise a box.
        run.expect_no_other_window("start-up of the program through usr/bin/framewright")
        run.choose_exit()
        run.expect_exit(0)
        failed = False
    finally:
        run.close(failed)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, type=os.path.abspath)
    parser.add_argument("--source", required=True)
    parser.add_argument("--artefacts", required=True)
    args = parser.parse_args()
    for tool in ("cpack", "dpkg-deb", "apt-get", "readelf", "desktop-file-validate",
                 "appstreamcli", "lintian", "man", "git"):
        if shutil.which(tool) is None:
            print("FAIL: %s is not installed (packages cmake dpkg apt binutils "
                  "desktop-file-utils appstream lintian man-db git)" % tool)
            return 1
    workdir = None
    try:
        workdir = tempfile.mkdtemp(prefix="framewright-package-", dir="/tmp")
        deb = build_package(args.build, workdir)
        fields, depends = check_control(deb, args.source)
        check_contents(deb)
        informational = check_lintian(deb)
        root = os.path.join(workdir, "root")
        output(["dpkg-deb", "-x", deb, root])
        check_documents(root, fields["Version"])
        check_manual_pages(root)
        check_metadata(root, fields["Version"])
        check_libraries(root, depends)
        check_installable(deb)
        check_installed_program(args, root)
        print("PASS: package %s %s (%s), Depends: %s"
              % (fields["Package"], fields["Version"], fields["Architecture"], fields["Depends"]))
        print("lintian, informational only:\n%s" % "\n".join(informational))
        return 0
    except Failure as error:
        print("FAIL: package: %s" % error)
        return 1
    finally:
        if workdir:
            shutil.rmtree(workdir, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
