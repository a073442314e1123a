#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds a clean copy of this checkout the ordinary way, with no options at all
# (cmake -S . -B build && cmake --build build), and checks what a newcomer gets: both programs,
# no test framework looked up, and, with help2man installed, a Debian package holding both
# manual pages. Run by tools/test.sh; exits non-zero with the reason when any of it fails.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "plain-build: $*" >&2
    exit 1
}

# The files git tracks, as they stand in the working tree: a clean copy without build folders.
mkdir "$work/src"
git -C "$root" ls-files -z | (cd "$root" && tar --null -T - -cf -) | tar -xf - -C "$work/src"

cd "$work/src"
if ! cmake -S . -B build >"$work/configure.log" 2>&1; then
    cat "$work/configure.log" >&2
    fail "configure failed"
fi
if ! cmake --build build -j "$(nproc)" >"$work/build.log" 2>&1; then
    tail -50 "$work/build.log" >&2
    fail "build failed"
fi

for program in framewright framewright-style; do
    [ -x "build/$program" ] || [ -x "build/cli/$program" ] || fail "no $program was built"
done
if grep -q '^Qt6Test_DIR:PATH=/' build/CMakeCache.txt; then
    fail "the plain build looked up Qt's Test module"
fi
if grep -q '^benchmark_DIR:PATH=/' build/CMakeCache.txt; then
    fail "the plain build looked up Google Benchmark"
fi
"build/framewright" --version >/dev/null || fail "framewright --version failed"

if command -v help2man >/dev/null; then
    (cd build && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) \
        || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
    contents=$(dpkg-deb -c "$work"/package/*.deb)
    for page in framewright.1.gz framewright-style.1.gz; do
        grep -q "/usr/share/man/man1/$page\$" <<<"$contents" || fail "the package lacks $page"
    done
    echo "plain-build: both programs built with no options; the package holds both manual pages"
else
    grep -q 'Manual pages skipped' "$work/configure.log" \
        || fail "help2man is missing and configure did not say the manual pages are skipped"
    echo "plain-build: both programs built with no options; manual pages skipped (no help2man)"
fi
