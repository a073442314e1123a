#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks (build/bench, RelWithDebInfo) if needed, runs them all and prints one
# table: each figure of the program against its floor, the ratio, the target and met/missed.
#
#   bench_preview  the load pass and one movement over the minimize glyph, each taking turns
#                  with the same reads by the bitmap reader alone (GUI-thread processor time),
#                  and the soak (offscreen, in-process, resident size from /proc/self/statm)
#   bench_check    framewright-style check of one style against reading its files alone, and
#                  over 1,000 directories against 10 (time per directory, resident growth)
#   bench_cli      framewright-style render of one style against the window's load pass plus
#                  encoding one PNG of the panel's size; diff of two styles against two renders
#                  plus encoding one PNG of its three panels; --compare reading the reference's
#                  conditions against reading and comparing the pixels alone
#   bench_pictures framewright-style sheet against reading the style's files plus encoding one
#                  PNG of the picture's size; states against building a preview panel and its
#                  load pass plus encoding one PNG of the grid's size; render --size 1920x1080
#                  against the load pass at that size plus encoding one PNG of the panel's size;
#                  export xfwm4 of one style, written to a tmpfs, against a panel's load pass
#                  plus encoding the PNGs the export writes
#   bench_watch    --watch: from the last write of a style file to the recomposed, painted
#                  sample windows against the quiet period plus one load pass (wall time), and
#                  the resident growth over 10,000 change events (offscreen, in-process)
#   bench_import   framewright-style import xfwm4 of Default against reading its files plus
#                  encoding the style's pictures; every installed theme ten times over against
#                  once (time per theme, resident growth)
#   bench_startup  the whole program's start-up against a bare Qt window on a private Xvfb
#                  whose menu bar holds the program's menu titles (wall time to the first
#                  frame and peak resident size, medians of 10 alternating runs)
#   tools/fuzz.sh  the fuzz targets' executions per second over a few seconds from their seed
#                  corpus (no floor: a figure to watch)
#
# The program reads its styles from fixed paths under /home/Projects, so the start-up driver
# runs in a private mount namespace where that is a fresh tmpfs holding copies of the sample
# styles (tests/private-projects.sh); the machine's own /home is never read or written. Without
# such a namespace the start-up rows fail with the reason. The full Google Benchmark reports
# stay in build/bench/results/.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
results=$build/results

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DFRAMEWRIGHT_BUILD_BENCH=ON -DFRAMEWRIGHT_BUILD_TESTS=OFF -DFRAMEWRIGHT_BUILD_TOOLS=OFF \
        >/dev/null
fi
cmake --build "$build" -j2 --target framewright bare_window bench_preview bench_check bench_cli \
    bench_pictures bench_watch bench_import bench_startup >/dev/null

mkdir -p "$results"
status=0
row_failed() {
    printf '| %-48s | %-48s |\n' "$1" "failed, see $2"
    status=1
}

for bench in preview check cli pictures watch import; do
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_$bench" --benchmark_color=false \
        >"$results/$bench.txt" 2>&1 || status=1
done

# Inside the namespace: the sample styles at their fixed paths, then the driver.
namespace_setup='
set -eu
for style in Luna Silver Licorice; do
    mkdir -p "/home/Projects/framewright/Themes/$style"
    cp -R "$1/styles/$style/Frame" "/home/Projects/framewright/Themes/$style/"
done
exec "$2" --benchmark_color=false
'
"$root/tests/private-projects.sh" sh -c "$namespace_setup" sh "$root" \
    "$build/bench/bench_startup" >"$results/startup.txt" 2>&1 || status=1

"$root/tools/fuzz.sh" 5 >"$results/fuzz.txt" 2>&1 || status=1

printf '\n'
printf '| %-48s | %14s | %14s | %6s | %7s | %-6s |\n' figure program floor ratio target ""
printf '|%s|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..50})" "$(printf -- '-%.0s' {1..16})" \
    "$(printf -- '-%.0s' {1..16})" "$(printf -- '-%.0s' {1..8})" "$(printf -- '-%.0s' {1..9})" \
    "$(printf -- '-%.0s' {1..8})"
for bench in preview check cli pictures watch import startup; do
    grep '^| ' "$results/$bench.txt" || row_failed "bench_$bench" "$results/$bench.txt"
done
rates=$(sed -n 's/^\(fuzz_[a-z]*\): .* (\([0-9]*\) exec\/s).*/\1 \2/p' "$results/fuzz.txt")
[ -n "$rates" ] || row_failed "fuzz targets" "$results/fuzz.txt"
while read -r target rate; do
    [ -n "$target" ] && printf '| %-48s | %14s | %14s | %6s | %7s | %-6s |\n' \
        "$target executions per second" "$rate/s" "-" "-" "-" "-"
done <<<"$rates"

printf '\nReports: %s\n' "$results"
exit $status
