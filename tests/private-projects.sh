#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test in a private mount namespace where /home/Projects is a fresh, empty tmpfs, so the
# fixed style paths hold nothing the machine put there (tools/run.sh copies the sample styles
# to them) and nothing a test does reaches the machine's own. The rest of /home stays visible:
# a checkout or build tree kept there goes on working. Each run gets a namespace of its own, so
# parallel runs cannot meet.
set -eu

if [ "${FRAMEWRIGHT_PRIVATE_PROJECTS:-}" != 1 ]; then
    export FRAMEWRIGHT_PRIVATE_PROJECTS=1
    if [ "$(id -u)" -eq 0 ]; then
        exec unshare --mount --propagation private "$0" "$@"
    fi
    if unshare --map-root-user --mount true 2>/dev/null; then
        exec unshare --map-root-user --mount --propagation private "$0" "$@"
    fi
    echo "$0: cannot make a private mount namespace for the test (needs root or" \
        "unprivileged user namespaces); it would see the machine's own /home/Projects" >&2
    exit 1
fi

if [ -d /home/Projects ]; then
    mount -t tmpfs -o mode=0755 framewright-projects /home/Projects
else
    # No directory to mount on, and none may be made in the real /home: a tmpfs over /home
    # that shows each entry of the real one again in its place, and an empty Projects beside.
    real=$(mktemp -d)
    mount --bind /home "$real"
    mount -t tmpfs -o mode=0755 framewright-home /home
    for entry in "$real"/* "$real"/.[!.]* "$real"/..?*; do
        [ -e "$entry" ] || [ -L "$entry" ] || continue
        name=${entry##*/}
        if [ -d "$entry" ] && [ ! -L "$entry" ]; then
            mkdir "/home/$name"
        else
            : >"/home/$name"
        fi
        mount --bind "$entry" "/home/$name"
    done
    # The entries' own mounts stay when the one they were reached through goes.
    umount "$real"
    rmdir "$real"
    mkdir -m 0755 /home/Projects
fi
exec "$@"
