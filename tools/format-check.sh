#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Lists the tracked C++ files that clang-format 14 would change under the checkout's
# .clang-format, and exits 1 if there are any (the test format_check runs it).
# CLANG_FORMAT names another formatter binary.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
formatter=${CLANG_FORMAT:-clang-format-14}

if ! command -v "$formatter" >/dev/null; then
    echo "format-check: $formatter is not installed (tools/test.sh installs clang-format-14)" >&2
    exit 1
fi
# The tracked files are what is checked, so a checkout without git cannot be.
if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    echo "format-check: $root is not a git checkout; the tracked files cannot be listed" >&2
    exit 1
fi

files=()
while IFS= read -r -d '' path; do
    # Deleted in the worktree but not yet in the index.
    [ -f "$path" ] && files+=("$path")
done < <(git ls-files -z -- '*.cpp' '*.h')
if [ ${#files[@]} -eq 0 ]; then
    echo "format-check: git lists no C++ files in $root" >&2
    exit 1
fi

# One formatter process for all files: it compares each with its own output and names the
# file of every place that differs.
status=0
report=$("$formatter" --style=file --dry-run --Werror "${files[@]}" 2>&1) || status=$?
differ=$(printf '%s\n' "$report" |
    sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u)

if [ -n "$differ" ]; then
    printf '%s\n' "$differ"
    count=$(printf '%s\n' "$differ" | wc -l)
    echo "format-check: $count file(s) above differ from $formatter's output;" \
        "'$formatter -i FILE' formats one" >&2
    exit 1
fi
if [ "$status" -ne 0 ]; then
    # The formatter failed for another reason (a file it cannot read, a bad .clang-format).
    printf '%s\n' "$report" >&2
    echo "format-check: $formatter ended with status $status" >&2
    exit 1
fi
