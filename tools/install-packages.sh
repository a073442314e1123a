# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by run.sh and test.sh: install_missing PACKAGE... installs, through apt-get, whichever
# of the Debian packages are not installed yet, running apt-get update once first; nothing when
# all are there.

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        echo "$(basename "$0"): '$*' needs root; run this script as root or install sudo" >&2
        exit 1
    fi
}

install_missing() {
    local missing=() package
    for package in "$@"; do
        if [ "$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)" != installed ]; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "$(basename "$0"): installing ${missing[*]}"
        as_root env DEBIAN_FRONTEND=noninteractive apt-get update
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
            "${missing[@]}"
    fi
}
