#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Opening a folder, with `gio open` (GLib) or a generic desktop's `xdg-open`,
# starts the file manager, never the window, whichever order the desktop
# entries are read in: the file manager's data folder before or after the
# window's, or both entries in one folder in either order of its
# mimeinfo.cache. Chosen by name, the window is still given the folder.
# Everything (desktop entries, HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, the
# programs started) lives in the test's own temporary folder; both programs
# are stand-ins that write down what they were given. Skipped (77) where
# gio, xdg-open or update-desktop-database is missing.
#   folder_opening.sh DESKTOP_ENTRY
set -euo pipefail

entry=$1
for tool in gio xdg-open update-desktop-database; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing; run scripts/setup --test"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work"/{bin,home,config,data,Folder} "$work"/{manager,window,both}/applications
folder=$work/Folder

# Stand-ins that write down what they were asked to open: the file manager,
# the window (its entry says `quillmere`, found on PATH, which GLib demands
# before it takes an entry at all) and a browser, xdg-open's last resort.
for program in filemanager quillmere browser; do
    printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s/%s.opened"\n' "$work" "$program" >"$work/bin/$program"
    chmod +x "$work/bin/$program"
done
cat >"$work/manager/applications/files.desktop" <<EOF
[Desktop Entry]
Type=Application
Name=Files
Exec=$work/bin/filemanager %U
MimeType=inode/directory;
EOF
cp "$work/manager/applications/files.desktop" "$work/both/applications/"
cp "$entry" "$work/window/applications/"
cp "$entry" "$work/both/applications/"
for dir in manager window both; do
    update-desktop-database "$work/$dir/applications"
done

# Runs COMMAND with DATA_DIRS as XDG_DATA_DIRS, in the test's own session of nothing.
run() {  # DATA_DIRS COMMAND...
    timeout 60 env -i PATH="$work/bin:/usr/bin:/bin" HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
        XDG_CONFIG_DIRS="$work/config" XDG_DATA_HOME="$work/data" XDG_DATA_DIRS="$1" \
        XDG_CURRENT_DESKTOP=X-Generic DISPLAY=:none BROWSER="$work/bin/browser" GIO_USE_VFS=local \
        DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" "${@:2}"
}

failures=0
# Runs OPENER in DATA_DIRS and waits (30 s at most) for a stand-in to be started.
expect() {  # WANTED CASE DATA_DIRS OPENER...
    local wanted=$1 case=$2 dirs=$3 started= deadline=$((SECONDS + 30))
    shift 3
    rm -f "$work"/*.opened
    local what="$*"
    what=${what%" $folder"}
    run "$dirs" "$@" >"$work/log" 2>&1 || true
    while [ $SECONDS -lt $deadline ]; do
        started=$(cd "$work" && ls -- *.opened 2>/dev/null) && break
        sleep 0.1
    done
    if [ "$started" = "$wanted.opened" ] && grep -qF "$folder" "$work/$started"; then
        echo "ok: $case: $what started the $wanted"
    else
        echo "FAIL: $case: $what should have started the $wanted with $folder;" \
             "started: ${started:-nothing within 30 s}"
        cat "$work/log" "$work"/*.opened 2>/dev/null || true
        failures=$((failures + 1))
    fi
}

# The folder's entries in both orders of the one cache that lists them both.
cache=$work/both/applications/mimeinfo.cache
listed=$(sed -n 's|^inode/directory=||p' "$cache")
reversed=$(tr ';' '\n' <<<"$listed" | sed '/^$/d' | tac | tr '\n' ';')
for order in "$listed" "$reversed"; do
    sed -i "s|^inode/directory=.*|inode/directory=$order|" "$cache"
    for opener in "gio open" "xdg-open"; do
        expect filemanager "one folder, cache $order" "$work/both" $opener "$folder"
    done
done
for dirs in "$work/manager:$work/window" "$work/window:$work/manager"; do
    for opener in "gio open" "xdg-open"; do
        expect filemanager "data folders ${dirs//$work\//}" "$dirs" $opener "$folder"
    done
done
# Open With: the window's entry, chosen by name, opens the folder in the window.
expect quillmere "chosen by name" "$work/window:$work/manager" \
    gio launch "$work/window/applications/$(basename "$entry")" "$folder"

echo "folder_opening: $failures failure(s)"
[ "$failures" -eq 0 ]
