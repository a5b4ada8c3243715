#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the window's Qt Test binaries on a real display: the same tables as
# offscreen, driven from inside by Qt Test, since a compositor takes no
# synthetic input from outside for them. x11: Qt's xcb platform on a
# private Xvfb; weston and sway: the Wayland platform under a private
# compositor.
#
#   widgets_test.sh x11|weston|sway TEST_BINARY[:FUNCTION,...]...
#
# weston runs inside a private Xvfb (its X11 backend), so that it has a seat;
# Qt draws the decorations there. sway runs headless and draws them itself.
# Each binary has a HOME and XDG_RUNTIME_DIR of its own in the temporary
# folder, and runs the test functions named after it, or all.
# Exits 77 (skipped) only when the display cannot start at all.
set -euo pipefail

skip=77
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/xsession.sh"
source "$here/../../scripts/wlsession.sh"

[ $# -ge 2 ] || { echo "usage: $0 x11|weston|sway TEST_BINARY[:FUNCTION,...]..." >&2; exit 2; }
kind=$1
shift

work=$(mktemp -d "${TMPDIR:-/tmp}/quillmere-wltests.XXXXXX")
pid=
cleanup() {
    # Each binary runs in a process group of its own, with the dialog
    # processes it starts: whatever is left goes with it.
    xs_end_group "$pid"
    [ -z "$pid" ] || wait "$pid" 2>/dev/null || true
    wl_stop
    xs_stop
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

if [ "$kind" = x11 ]; then
    if ! xs_start 1280x1024 96; then
        echo "SKIPPED: no X server could be started: $xs_error"
        exit $skip
    fi
    display=(QT_QPA_PLATFORM=xcb "${xs_vars[@]}")
    echo "ok: Xvfb on $DISPLAY"
else
    wl_session "$kind" 1280x1024
    display=(QT_QPA_PLATFORM=wayland "${wl_vars[@]}"
        ${DBUS_SESSION_BUS_ADDRESS:+DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS"})
    echo "ok: $kind on $WAYLAND_DISPLAY"
fi

failed=()
for given in "$@"; do
    test=${given%%:*} functions=()
    [ "$test" = "$given" ] || IFS=, read -r -a functions <<<"${given#*:}"
    name=$(basename "$test")
    mkdir -p "$work/$name/home" "$work/$name/runtime"
    chmod 700 "$work/$name/runtime"
    # As ctest runs them offscreen (tests/CMakeLists.txt); on Wayland the X
    # display of weston's Xvfb is not handed on, so nothing falls back to it.
    # A time limit below ctest's, so that the trap still ends the compositor.
    setsid env -i PATH="$PATH" HOME="$work/$name/home" XDG_RUNTIME_DIR="$work/$name/runtime" \
        "${display[@]}" LANG=C.UTF-8 LC_ALL=C.UTF-8 LANGUAGE= \
        timeout -k 10 "${QUILLMERE_WAYLAND_TEST_LIMIT:-420}" "$test" "${functions[@]}" &
    pid=$!
    status=0
    wait "$pid" || status=$?
    pid=
    if [ "$status" -ne 0 ]; then
        [ "$status" -ne 124 ] || echo "FAIL: $name did not end within its time limit" >&2
        echo "FAIL: $name on $kind exited with status $status" >&2
        failed+=("$name")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "--- $kind's log (tail):" >&2
    tail -n 20 "$wl_dir/compositor.log" >&2 || true
    echo "FAIL: ${failed[*]} on $kind" >&2
    exit 1
fi
echo "ok: $* passed on $kind"
