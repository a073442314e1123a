#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the art program (art/) and redraws resources/ and styles/ of this checkout.
# FRAMEWRIGHT_ART_BUILD picks the build folder. When the whole tree does not configure or build
# (someone's change half done), the program is built on its own, since it needs nothing but Qt.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FRAMEWRIGHT_ART_BUILD:-$root/build/art}

if cmake -S "$root" -B "$build" -G Ninja -DFRAMEWRIGHT_BUILD_TESTS=OFF \
        -DFRAMEWRIGHT_BUILD_BENCH=OFF -DFRAMEWRIGHT_BUILD_TOOLS=ON >/dev/null && cmake --build "$build" --target drawart; then
    tool=$build/art/drawart
else
    echo "draw-art: the whole tree does not build; building the art program on its own" >&2
    cmake -S "$root/art" -B "$build/standalone" -G Ninja >/dev/null
    cmake --build "$build/standalone" --target drawart
    tool=$build/standalone/drawart
fi
"$tool" "$root"
echo "draw-art: pictures written under $root/resources and $root/styles"
