#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the asan preset (address and undefined-behaviour sanitizers, build/asan) and runs every
# unit suite under it with leak detection on. Exits non-zero on a failing suite, a sanitizer
# error or a leak. Suppressions, if ever needed, go in tools/lsan.supp and may only name leaks
# inside system libraries, each with its reason.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

cmake --preset asan >/dev/null
cmake --build --preset asan -j2

# The preset sets ASAN_OPTIONS=detect_leaks=1 for every suite; these are for anything it starts.
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if [ -f "$root/tools/lsan.supp" ]; then
    export LSAN_OPTIONS="suppressions=$root/tools/lsan.supp:print_suppressions=1"
fi

log=$root/build/asan/asan-tests.log
status=0
# Verbose, so the log holds every suite's own output, passing or not.
ctest --preset asan -j2 --no-tests=error -V >"$log" 2>&1 || status=1
grep -E '^ *[0-9]+/[0-9]+ Test|tests passed|tests failed' "$log" || true

# A report that did not change a suite's exit status still counts.
if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$log"; then
    grep -nE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:|SUMMARY:' "$log" >&2
    status=1
fi
if [ "$status" -ne 0 ]; then
    echo "asan-tests: FAILED (full log: $log)" >&2
else
    echo "asan-tests: every unit suite passed under ASan, UBSan and LSan"
fi
exit $status
