#!/usr/bin/python3
"""The Debian package: built with cpack from the build tree, its control fields and contents
checked, its dependencies resolved by apt without installing anything, and the program run from
the unpacked package through its bin/ link, showing the first sample style that it ships.

Usage: test_package.py --build DIR --source DIR --artefacts DIR
"""

import argparse
import glob
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from e2elib import Failure
from model import STYLE_FILES
from test_window import Run

EXPECTED_FILES = [
    "./usr/lib/framewright/framewright",
    "./usr/lib/framewright/help.htm",
    "./usr/lib/framewright/Luna.uis",
    "./usr/share/applications/framewright.desktop",
    "./usr/share/metainfo/io.github.framewright.Framewright.metainfo.xml",
    "./usr/share/icons/hicolor/16x16/apps/framewright.png",
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


def check_control(deb):
    fields = {}
    for name in ("Package", "Version", "Architecture", "Depends"):
        fields[name] = output(["dpkg-deb", "-f", deb, name]).strip()
    if fields["Package"] != "framewright":
        raise Failure("the package is named %r" % fields["Package"])
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


def check_metadata(root):
    share = os.path.join(root, "usr/share")
    output(["desktop-file-validate", os.path.join(share, "applications/framewright.desktop")])
    output(["appstreamcli", "validate", "--no-net",
            os.path.join(share, "metainfo/io.github.framewright.Framewright.metainfo.xml")])


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
                 "appstreamcli"):
        if shutil.which(tool) is None:
            print("FAIL: %s is not installed (packages cmake dpkg apt binutils "
                  "desktop-file-utils appstream)" % tool)
            return 1
    workdir = None
    try:
        workdir = tempfile.mkdtemp(prefix="framewright-package-", dir="/tmp")
        deb = build_package(args.build, workdir)
        fields, depends = check_control(deb)
        check_contents(deb)
        root = os.path.join(workdir, "root")
        output(["dpkg-deb", "-x", deb, root])
        check_metadata(root)
        check_libraries(root, depends)
        check_installable(deb)
        check_installed_program(args, root)
        print("PASS: package %s %s (%s), Depends: %s"
              % (fields["Package"], fields["Version"], fields["Architecture"], fields["Depends"]))
        return 0
    except Failure as error:
        print("FAIL: package: %s" % error)
        return 1
    finally:
        if workdir:
            shutil.rmtree(workdir, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
