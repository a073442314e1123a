#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs everything the build and the tests need (Debian 12), builds with tests, benchmarks and
# the picture tool, and runs every test: the unit tests offscreen and the end-to-end suite on
# private X servers. Exits non-zero when anything fails.
#
# FRAMEWRIGHT_BUILD picks the build folder (default build/test).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${FRAMEWRIGHT_BUILD:-$root/build/test}

packages=(cmake ninja-build make g++ qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
          fonts-dejavu-core fonts-liberation libbenchmark-dev libx11-dev
          xvfb xdotool imagemagick x11-utils util-linux mount python3 binutils
          desktop-file-utils appstream lintian help2man man-db git clang-format-14
          qt6-svg-dev xfwm4 xfwm4-theme-breeze xfconf dbus-daemon x11-xserver-utils x11-apps)

source "$root/tools/install-packages.sh"
install_missing "${packages[@]}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFRAMEWRIGHT_BUILD_TESTS=ON -DFRAMEWRIGHT_BUILD_BENCH=ON -DFRAMEWRIGHT_BUILD_TOOLS=ON
cmake --build "$build" -j "$(nproc)"

# Both kinds of tests must be there: a suite that quietly registered nothing would pass.
for label in unit e2e; do
    count=$(ctest --test-dir "$build" -N -L "^$label\$" | sed -n 's/^Total Tests: //p')
    if [ "${count:-0}" -eq 0 ]; then
        echo "test.sh: no tests with the label $label" >&2
        exit 1
    fi
done

ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

# A clean copy built the ordinary way, with no options, gives both programs and their pages.
"$root/tools/plain-build.sh"

# Every unit suite once more under the address and undefined-behaviour sanitizers, leaks included.
"$root/tools/asan-tests.sh"

# Each fuzz target for a minute from its seed corpus: a crash, leak, undefined behaviour, canvas
# mismatch or slow input fails, with the input saved and printed in hex.
"$root/tools/fuzz.sh" 60
