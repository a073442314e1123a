#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the program needs (Debian 12), builds it, puts the sample styles at the three
# fixed style paths where they are missing, and runs it. Without a display it runs the program on
# a private Xvfb, saves a screenshot once the first style is shown, and ends it again.
#
# FRAMEWRIGHT_BUILD picks the build folder (default build/run).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${FRAMEWRIGHT_BUILD:-$root/build/run}
themes=/home/Projects/framewright/Themes
styles=(Luna Silver Licorice)

packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
          fonts-dejavu-core fonts-liberation qt6-svg-dev)
if [ -z "${DISPLAY:-}" ]; then
    packages+=(xvfb xdotool imagemagick x11-utils python3)
fi

source "$root/tools/install-packages.sh"

# The sample styles come from this checkout, or from an installed package's data folder.
style_source() {
    local name=$1 dir
    for dir in "$root/styles" /usr/share/framewright/styles /usr/local/share/framewright/styles; do
        if [ -d "$dir/$name/Frame" ]; then
            echo "$dir/$name/Frame"
            return
        fi
    done
    return 1
}

# Copies one sample style to its fixed path unless something is there already; whatever this
# creates belongs to the user who runs the script (the one behind sudo, if any).
place_style() {
    local name=$1 source dest=$themes/$1/Frame top user group
    if [ -e "$dest" ]; then
        echo "run.sh: keeping the existing $dest"
        return
    fi
    if ! source=$(style_source "$name"); then
        echo "run.sh: no sample style $name to copy" >&2
        return
    fi
    top=$dest
    while [ ! -e "$(dirname "$top")" ]; do
        top=$(dirname "$top")
    done
    user=${SUDO_USER:-$(id -un)}
    group=$(id -gn "$user")
    as_root mkdir -p "$(dirname "$dest")"
    as_root cp -R "$source" "$dest"
    as_root chown -R "$user:$group" "$top"
    echo "run.sh: copied the $name sample style to $dest"
}

install_missing "${packages[@]}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFRAMEWRIGHT_BUILD_TESTS=OFF -DFRAMEWRIGHT_BUILD_BENCH=OFF -DFRAMEWRIGHT_BUILD_TOOLS=OFF
cmake --build "$build" --target framewright -j "$(nproc)"

for name in "${styles[@]}"; do
    place_style "$name"
done

program=$build/framewright
if [ -n "${DISPLAY:-}" ]; then
    exec "$program"
fi

# No display: a private X server, the program on it, one screenshot, and both ended again.
displayfd=$(mktemp)
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$displayfd" >/dev/null 2>&1 &
xvfb=$!
program_pid=
cleanup() {
    if [ -n "$program_pid" ]; then
        kill "$program_pid" 2>/dev/null || true
        wait "$program_pid" 2>/dev/null || true
    fi
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    rm -f "$displayfd"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$displayfd" ] && break
    sleep 0.1
done
if [ ! -s "$displayfd" ]; then
    echo "run.sh: Xvfb did not start" >&2
    exit 1
fi
export DISPLAY=:$(head -n1 "$displayfd")
echo "run.sh: no display; running the program on the private X server $DISPLAY"

"$program" > "$build/framewright.log" 2>&1 &
program_pid=$!
screenshot=$build/framewright-screenshot.png
status=0
python3 "$root/tests/e2e/shoot.py" --display "$DISPLAY" --pid "$program_pid" \
    --style-dir "$themes/${styles[0]}/Frame/" --design "$root/resources/design" \
    --out "$screenshot" || status=$?
case $status in
0) echo "run.sh: the program shows the ${styles[0]} style; screenshot: $screenshot" ;;
2) echo "run.sh: the program runs but does not show the ${styles[0]} style as expected;" \
        "screenshot: $screenshot" ;;
*) echo "run.sh: the program showed no window; its output:" >&2
   cat "$build/framewright.log" >&2
   exit 1 ;;
esac
