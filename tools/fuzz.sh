#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tools/fuzz.sh SECONDS: builds the fuzz preset (clang 14, libFuzzer, ASan and UBSan; build/fuzz)
# and runs each fuzz target for SECONDS from its seed corpus in fuzz/corpus, copied to a
# temporary directory so the tree is never written. Fails on a crash, a leak, undefined
# behaviour, a canvas mismatch, a style check that disagrees with the window, or an input that
# takes more than 10 s; each such input is kept in build/fuzz/findings/ and printed in hex.
# Then the reader's coverage build replays the corpus the reader target grew and prints the
# edges covered in the reader's own source.
set -euo pipefail

if [ $# -ne 1 ] || ! [ "$1" -gt 0 ] 2>/dev/null; then
    echo "usage: tools/fuzz.sh SECONDS" >&2
    exit 2
fi
seconds=$1
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
cd "$root"

source "$root/tools/install-packages.sh"
install_missing clang-14 libclang-rt-14-dev cmake ninja-build qt6-base-dev libfontconfig-dev \
    qt6-qpa-plugins coreutils

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target fuzz_reader fuzz_style fuzz_theme fuzz_reader_coverage >/dev/null

# On tmpfs where there is one; the style target's directories go in it too, so nothing is left
# behind even when a target crashes.
work=$(mktemp -d /dev/shm/framewright-fuzz.XXXXXX 2>/dev/null \
    || mktemp -d "${TMPDIR:-/tmp}/framewright-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/tmp"
export TMPDIR=$work/tmp
findings=$build/findings
mkdir -p "$findings"

export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$root/tools/lsan.supp:print_suppressions=0"
# The style target's window needs no display and no home of the machine's.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"

status=0
for target in reader style theme; do
    corpus=$work/$target
    found=$work/$target-findings
    log=$build/fuzz_$target.log
    cp -R "fuzz/corpus/$target" "$corpus"
    mkdir "$found"
    result=0
    "$build/fuzz/fuzz_$target" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        -dict=fuzz/bitmap.dict -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$found/" "$corpus" >"$log" 2>&1 || result=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    count=$(find "$found" -type f | wc -l)
    echo "fuzz_$target: ${runs:-0} executions in $seconds s (${rate:-0} exec/s), $count findings"
    if [ "$result" -ne 0 ] || [ "$count" -ne 0 ]; then
        status=1
        grep -aE 'ERROR: |SUMMARY: |runtime error: |fuzz_[a-z]+: |Qt message' "$log" >&2 || true
        for input in "$found"/*; do
            [ -f "$input" ] || continue
            cp "$input" "$findings/fuzz_$target-$(basename "$input")"
            echo "--- $findings/fuzz_$target-$(basename "$input") ($(stat -c %s "$input") bytes):" >&2
            od -A x -t x1z -v "$input" >&2
        done
        echo "fuzz_$target: FAILED (full log: $log)" >&2
    fi
done

# A finding of the reader target is in its corpus too, so the replay may fail on it as well.
coverage_log=$build/fuzz_reader_coverage.log
"$build/fuzz/fuzz_reader_coverage" -runs=0 -artifact_prefix="$work/" "$work/reader" \
    >"$coverage_log" 2>&1 || status=1
total=$(sed -n 's/.*Loaded 1 modules *(\([0-9]*\) inline 8-bit counters).*/\1/p' "$coverage_log")
covered=$(sed -n 's/.*INITED cov: \([0-9]*\).*/\1/p' "$coverage_log")
echo "reader coverage: ${covered:-?} of ${total:-?} edges in style/BitmapReader.cpp"
exit $status
