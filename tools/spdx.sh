#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Lists the source, script, CMake, form and desktop files of this checkout that do not say
# "SPDX-License-Identifier: GPL-3.0-or-later" near their top, and exits 1 if there are any.
# With --add it writes the line into each of them instead, as a comment of the file's own kind:
# after a shebang, an XML declaration or a document type, which stay first.
#
# Left out: JSON and pictures (no comments), the files the program shows as they are
# (app/Luna.uis), the sample styles, docs/, LICENSE and anything under build/.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tag='SPDX-License-Identifier: GPL-3.0-or-later'

case "${1:-}" in
"") add=false ;;
--add) add=true ;;
*) echo "usage: $(basename "$0") [--add]" >&2; exit 2 ;;
esac

files() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files --cached --others --exclude-standard
    else
        find . -path ./.git -prune -o -type f -print | sed 's|^\./||'
    fi
}

# The comment syntax of a file: cxx, hash, xml or nothing for a file that is not ours to mark.
kind() {
    local path=$1 name=${1##*/}
    case "$path" in
    build/* | */build/* | styles/* | docs/* | LICENSE | app/Luna.uis) return ;;
    esac
    name=${name%.in}
    case "$name" in
    *.json | *.png | *.bmp | *.jpg | *.svg | *.ico) ;;
    *.cpp | *.h | *.hpp | *.c) echo cxx ;;
    CMakeLists.txt | *.cmake | *.sh | *.py | *.desktop) echo hash ;;
    *.ui | *.qrc | *.xml | *.htm | *.html) echo xml ;;
    *) if head -c 2 "$path" 2>/dev/null | grep -q '^#!'; then echo hash; fi ;;
    esac
}

# Writes the line into a file at the first place its own kind allows.
add_line() {
    local path=$1 kind=$2 comment keep=0 tmp
    case $kind in
    cxx) comment="// $tag" ;;
    hash) comment="# $tag"; head -n 1 "$path" | grep -q '^#!' && keep=1 ;;
    xml)
        comment="<!-- $tag -->"
        # The declaration and the document type come before anything, comments included.
        keep=$(awk '/^<\?xml|^<!DOCTYPE/ { n = NR; next } { exit } END { print n + 0 }' "$path")
        ;;
    esac
    tmp=$(mktemp "$path.XXXXXX")
    { head -n "$keep" "$path"; echo "$comment"; tail -n +"$((keep + 1))" "$path"; } >"$tmp"
    chmod --reference="$path" "$tmp"
    mv "$tmp" "$path"
}

missing=()
while IFS= read -r path; do
    [ -f "$path" ] || continue
    k=$(kind "$path")
    [ -n "$k" ] || continue
    head -n 5 "$path" | grep -qF "$tag" && continue
    if $add; then
        add_line "$path" "$k"
        echo "spdx: added to $path"
    else
        missing+=("$path")
    fi
done < <(files)

if [ ${#missing[@]} -gt 0 ]; then
    printf '%s\n' "${missing[@]}"
    echo "spdx: ${#missing[@]} file(s) above lack the line '$tag'; tools/spdx.sh --add writes it" >&2
    exit 1
fi
