#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks (build/bench, RelWithDebInfo) if needed, runs them all and prints one
# table: each figure of the program against its floor, the ratio and the target.
#
#   bench_preview  the load pass and one movement over the minimize glyph, each taking turns
#                  with the same reads by the bitmap reader alone (GUI-thread processor time),
#                  and the soak (offscreen, in-process, resident size from /proc/self/statm)
#   bench_startup  the whole program's start-up against a bare Qt window on a private Xvfb
#                  whose menu bar holds the program's menu titles (wall time to the first
#                  frame and peak resident size, medians of 10 alternating runs)
#
# The program reads its styles from fixed paths under /home, so the start-up driver runs in a
# private mount namespace with a fresh tmpfs over /home holding copies of the sample styles;
# the machine's own /home is never read or written. Without such a namespace the start-up rows
# fail with the reason. The full Google Benchmark reports stay in build/bench/results/.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
results=$build/results

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DFRAMEWRIGHT_BUILD_BENCH=ON -DFRAMEWRIGHT_BUILD_TESTS=OFF -DFRAMEWRIGHT_BUILD_TOOLS=OFF \
        >/dev/null
fi
cmake --build "$build" -j2 --target framewright bare_window bench_preview bench_startup >/dev/null

mkdir -p "$results"
status=0

QT_QPA_PLATFORM=offscreen "$build/bench/bench_preview" --benchmark_color=false \
    >"$results/preview.txt" 2>&1 || status=1

# Runs inside the namespace: /home becomes a tmpfs holding the three sample styles at their
# fixed paths, then the driver replaces the shell.
namespace_setup='
set -eu
root=$1
driver=$2
mount -t tmpfs -o mode=0755 framewright-bench-home /home
for style in Luna Silver Licorice; do
    mkdir -p "/home/Projects/framewright/Themes/$style"
    cp -R "$root/styles/$style/Frame" "/home/Projects/framewright/Themes/$style/"
done
exec "$driver" --benchmark_color=false
'
namespace=""
for prefix in "unshare -m --propagation private" "unshare -r -m --propagation private"; do
    if $prefix sh -c 'mount -t tmpfs framewright-bench-probe /home' >/dev/null 2>&1; then
        namespace=$prefix
        break
    fi
done
if [ -n "$namespace" ]; then
    $namespace sh -c "$namespace_setup" sh "$root" "$build/bench/bench_startup" \
        >"$results/startup.txt" 2>&1 || status=1
else
    status=1
    printf '| %-48s | %-48s |\n' "start-up to first composed frame / bare window" \
        "no private mount namespace (needs root or userns)" >"$results/startup.txt"
fi

printf '\n'
printf '| %-48s | %14s | %14s | %6s | %7s | %-6s |\n' figure program floor ratio target ""
printf '|%s|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..50})" "$(printf -- '-%.0s' {1..16})" \
    "$(printf -- '-%.0s' {1..16})" "$(printf -- '-%.0s' {1..8})" "$(printf -- '-%.0s' {1..9})" \
    "$(printf -- '-%.0s' {1..8})"
for report in "$results/preview.txt" "$results/startup.txt"; do
    grep '^| ' "$report" || { printf '| %-48s | %-48s |\n' "$(basename "$report")" \
        "failed, see $report"; status=1; }
done
cmake --build "$build" -j2 --target bench_check >/dev/null && "$build/bench/bench_check" --benchmark_color=false >"$results/check.txt" 2>&1 || status=1; grep '^| ' "$results/check.txt" || status=1

# Reference rows without a target: the fuzz targets' executions per second over a few seconds
# from their seed corpus (tools/fuzz.sh builds build/fuzz with clang and libFuzzer).
if "$root/tools/fuzz.sh" 5 >"$results/fuzz.txt" 2>&1; then
    sed -n 's/^\(fuzz_[a-z]*\): .* (\([0-9]*\) exec\/s).*/\1 \2/p' "$results/fuzz.txt" \
        | while read -r target rate; do
            printf '| %-48s | %14s | %14s | %6s | %7s | %-6s |\n' \
                "$target executions per second" "$rate/s" "" "" "" ""
        done
else
    status=1
    printf '| %-48s | %-48s |\n' "fuzz targets" "failed, see $results/fuzz.txt"
fi

printf '\nReports: %s\n' "$results"
exit $status
