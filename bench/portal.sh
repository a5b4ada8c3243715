#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Add and Save through the desktop's file dialog, for bench/run: the real
# xdg-desktop-portal and its GTK backend on a bus of our own under an X server
# of our own, the window (quillmere_bench portal) measuring, this script
# driving the GTK dialog with xdotool.
#
#   portal.sh QUILLMERE_BENCH FOLDER FILES WORK
#
# Add: the dialog opens in FOLDER, its backend started there, and lists it
# at once. Up to 20,000 files a file is picked straight away and the window
# lists the folder; above, GTK would list the folder for
# many minutes and answers nothing on D-Bus meanwhile, so the dialog is
# watched for OBSERVE seconds (QUILLMERE_BENCH_PORTAL_OBSERVE, 30) and its
# backend is then ended by pid, which the portal answers with response 2,
# long after its dialog showed: the window takes it for a cancel, and the
# folder is then dropped on the window. Save: a backend started afresh, the
# list saved into the run folder, where the GTK dialog opens. Add once more
# with the backend gone: the portal fails at once, and Qt's dialog shows.
#
# Prints the window's figures (see bench/portal.h), or "skipped REASON" when
# the portal's packages, xdotool or an X server are missing. Everything runs
# in a temporary folder under WORK, removed at the end with every process
# started here, each ended by pid. QUILLMERE_BENCH_PORTAL_SHOTS=DIR keeps a
# screenshot of each dialog as last seen there.
set -euo pipefail
source "$(cd "$(dirname "$0")" && pwd)/../scripts/xsession.sh"

[ $# -eq 4 ] || { echo "usage: $0 QUILLMERE_BENCH FOLDER FILES WORK" >&2; exit 2; }
bench=$(realpath "$1") folder=$(cd "$2" && pwd) files=$3
observe=${QUILLMERE_BENCH_PORTAL_OBSERVE:-30}
shots=${QUILLMERE_BENCH_PORTAL_SHOTS:-}

skip() {
    echo "skipped $*"
    echo "portal.sh: skipped: $*" >&2
    exit 0
}
portal= backend=
for dir in /usr/libexec /usr/lib/xdg-desktop-portal /usr/lib; do
    [ -n "$portal" ] || [ ! -x "$dir/xdg-desktop-portal" ] || portal=$dir/xdg-desktop-portal
    [ -n "$backend" ] || [ ! -x "$dir/xdg-desktop-portal-gtk" ] || backend=$dir/xdg-desktop-portal-gtk
done
[ -n "$portal" ] && [ -n "$backend" ] \
    || skip "xdg-desktop-portal and xdg-desktop-portal-gtk are not installed (scripts/setup --test)"
for tool in xdotool xprop dbus-send; do
    command -v $tool >/dev/null || skip "$tool is not installed (scripts/setup --test)"
done

run=$(mktemp -d "$4/portal.XXXXXX")
pid= portal_pid= backend_pid=
cleanup() {
    xs_end_group "$pid"
    [ -z "$pid" ] || wait "$pid" 2>/dev/null || true
    xs_end_pid "$portal_pid"
    xs_end_pid "$backend_pid"
    xs_stop
    rm -rf "$run"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

xs_start 1600x1000 96 || skip "no X server could be started: $xs_error"

fail() {
    echo "portal.sh: FAILED on $folder: $*" >&2
    for log in app portal backend; do
        [ -s "$run/$log.log" ] && { echo "--- $log output:" >&2; tail -n 20 "$run/$log.log" >&2; }
    done
    exit 1
}

home=$run/home
mkdir -p "$home" "$run/runtime"
chmod 700 "$run/runtime"
: >"$run/state"
: >"$run/events"
# A GNOME session as the portal sees it, without dconf, gvfs or the
# accessibility bus: each would be a process not started here.
session=(env -i PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$run/runtime"
    XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
    XDG_CACHE_HOME="$home/.cache" "${xs_vars[@]}" LANG=C.UTF-8 XDG_CURRENT_DESKTOP=GNOME
    GSETTINGS_BACKEND=keyfile GIO_USE_VFS=local NO_AT_BRIDGE=1 GTK_A11Y=none)
# GTK's Open dialog starts in its working folder, not among recent files:
# started in the folder, the backend's dialog lists it as soon as it shows.
# Settings from a file of our own: no dconf, which would be a process of its own.
mkdir -p "$home/.config/glib-2.0/settings"
printf "[org/gtk/settings/file-chooser]\nstartup-mode='cwd'\n" \
    >"$home/.config/glib-2.0/settings/keyfile"

now() { date +%s%N; }
event() { echo "$1 $(now)" >>"$run/events"; }
has_owner() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}
# A bus name's owner within 30 s; 1 if the process that should own it ends first.
wait_owner() {
    for _ in $(seq 300); do
        has_owner "$1" && return 0
        kill -0 "$2" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
start_backend() { # in the folder its dialogs open in
    (cd "$1" && exec "${session[@]}" "$backend") >>"$run/backend.log" 2>&1 &
    backend_pid=$!
    wait_owner org.freedesktop.impl.portal.desktop.gtk "$backend_pid"
}
start_portal() {
    "${session[@]}" "$portal" -r >>"$run/portal.log" 2>&1 &
    portal_pid=$!
    wait_owner org.freedesktop.portal.Desktop "$portal_pid"
}
start_backend "$folder" || skip "the GTK backend did not start: $(head -n 3 "$run/backend.log")"
start_portal || skip "xdg-desktop-portal did not start: $(head -n 3 "$run/portal.log")"

# The window's step WORD, within S seconds; fails if the window fails or ends.
# By the clock, not by turns: the observation's length is a figure.
wait_state() {
    local word=$1 end=$((${EPOCHREALTIME/./} + $2 * 1000000))
    while [ "${EPOCHREALTIME/./}" -lt "$end" ]; do
        grep -q "^$word " "$run/state" && return 0
        grep -q '^failed ' "$run/state" && fail "the window failed before \"$word\""
        kill -0 "$pid" 2>/dev/null || fail "the window ended before \"$word\""
        sleep 0.05
    done
    return 1
}
# The portal's dialogs on screen, not the popups of its name completion.
dialogs() {
    local id
    for id in $(xdotool search --onlyvisible --class xdg-desktop-portal-gtk 2>/dev/null); do
        xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG \
            && echo "$id"
    done
    return 0
}
# The portal's dialog, as soon as it shows (60 s at most): the window's
# "shown" is the time of that sight.
wait_dialog() {
    local id
    for _ in $(seq 3000); do
        id=$(dialogs | head -n 1)
        if [ -n "$id" ]; then
            event "$1"
            dialog=$id
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || fail "the window ended while its dialog was awaited"
        sleep 0.02
    done
    fail "no dialog of the portal's within 60 s of \"$1\""
}
shot() { [ -z "$shots" ] || import -window root "$shots/portal-$files-$1.png" 2>/dev/null || true; }
# Types path into the dialog's name field (the keys open and select it) and
# presses Return until the dialog has gone: the first Return may complete the name.
choose() { # PATH SHOT KEY...
    local path=$1
    xdotool windowfocus --sync "$dialog" key "${@:3}"
    xdotool type --delay 5 "$path"
    shot "$2"
    # Half a second a Return: the time until saved counts these waits.
    for _ in $(seq 120); do
        xdotool windowfocus --sync "$dialog" key Return 2>/dev/null || true
        for _ in $(seq 10); do
            [ -z "$(dialogs)" ] && return 0
            sleep 0.05
        done
    done
    fail "the dialog is still open a minute after $path was typed"
}

setsid "${session[@]}" QT_QPA_PLATFORM=xcb QUILLMERE_FILE_DIALOG=portal \
    "$bench" portal "$folder" "$run" >"$run/figures" 2>"$run/app.log" &
pid=$!

wait_state clicked-add 60 || fail "the window did not click Add within 60 s"
wait_dialog shown
echo "  the portal's dialog shows; into $folder" >&2
if [ "$files" -le 20000 ]; then
    # The file's whole path picks it, whether listed by then or not.
    pick=$(find "$folder" -mindepth 1 -maxdepth 1 -type f -name '[!.]*' -print -quit)
    [ -n "$pick" ] || fail "$folder has no file to pick"
    choose "$pick" open ctrl+l ctrl+a
    wait_state answered 60 || fail "the window had no answer a minute after the file was picked"
else
    echo "  watching the dialog list the folder for $observe s" >&2
    # Answered within that time only if something went wrong: the dialog is still listing.
    ! wait_state answered "$observe" || fail "the portal answered while its dialog was listing"
    shot open
    xs_end_pid "$backend_pid"
    backend_pid=
    echo "  the GTK backend ended" >&2
    wait_state answered 60 || fail "the window had no answer a minute after the backend ended"
    kill -0 "$portal_pid" 2>/dev/null || echo "  xdg-desktop-portal ended with its backend" >&2
fi
# Save's dialog opens where its backend was started: a small folder of our own.
xs_end_pid "$backend_pid"
backend_pid=

wait_state ready-save 900 || fail "the window did not list the folder within 15 minutes"
if ! kill -0 "$portal_pid" 2>/dev/null; then
    portal_pid=
    start_portal || fail "xdg-desktop-portal did not start again"
fi
start_backend "$run" || fail "the GTK backend did not start again"
event save
wait_state clicked-save 60 || fail "the window did not click Save within 60 s"
wait_dialog saveshown
choose "$run/saved.txt" save ctrl+a
# Add once more without the backend: the portal fails at once.
wait_state ready-gone 900 || fail "the window did not save within 15 minutes"
xs_end_pid "$backend_pid"
backend_pid=
event gone
xs_wait_exit "$pid" 900 || fail "the window did not end within 15 minutes of the save"
pid=
[ "$xs_status" -eq 0 ] || fail "the window failed with status $xs_status"
cat "$run/figures"
