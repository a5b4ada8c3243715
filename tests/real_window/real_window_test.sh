#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts Quillmere as a user would, in a real X window under Xvfb, and drives
# it with real X input: two Adds through Qt's file dialog, one Save, Close.
# Checks the window's size and that it cannot be resized, the saved bytes and
# the exit status, and leaves a screenshot of the window with two folders.
#
#   real_window_test.sh QUILLMERE OUTPUT_DIR [SCALE [POINTS]]
#
# SCALE 2 runs the window at QT_SCALE_FACTOR=2: every size is then twice as
# many device pixels. POINTS is handed to QUILLMERE, a build of the window
# with that application font (quillmere_largefont). The screenshot is
# OUTPUT_DIR/screenshot.png (scale 1), screenshot-2x.png or
# screenshot-11pt.png; with QUILLMERE_UPDATE_SCREENSHOT=1 the scale-1 one
# also replaces docs/screenshot.png in the source tree.
# Exits 77 (skipped) only when no X server can be started.
set -euo pipefail

skip=77
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/xsession.sh"
source "$here/homefolders.sh"

[ $# -ge 2 ] || { echo "usage: $0 QUILLMERE OUTPUT_DIR [SCALE [POINTS]]" >&2; exit 2; }
for tool in xdotool xprop xwininfo import; do
    command -v $tool >/dev/null || { echo "FAIL: $tool is missing; run scripts/setup" >&2; exit 1; }
done
app=$1
mkdir -p "$2"
out=$(cd "$2" && pwd)
scale=${3:-1}
points=${4:-}

hf_private_mounts "$@"

work=$(mktemp -d "${TMPDIR:-/tmp}/quillmere-window.XXXXXX")
pid=
cleanup() {
    # The program runs in a process group of its own: whatever it started goes with it.
    xs_end_group "$pid"
    [ -z "$pid" ] || wait "$pid" 2>/dev/null || true
    xs_stop
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

# A screen larger than the window and its dialogs at scale 2; 96 dpi so that
# scale 1 means one device pixel per logical pixel.
if ! xs_start 1600x1200 96; then
    echo "SKIPPED: no X server could be started: $xs_error"
    exit $skip
fi

fail() { xs_fail "$out/failure-${scale}x.png" "$*" "$work/app.log"; }

hf_make "$work"
home=$hf_home
mkdir -p "$work/runtime" "$work/saved"
chmod 700 "$work/runtime"
saved=$work/saved/names.txt

# A clean session: no desktop's platform theme, so Qt shows its own file
# dialog, and nothing from the caller's Qt settings.
setsid env -i PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$work/runtime" \
    XDG_CONFIG_HOME="$home/.config" "${xs_vars[@]}" \
    LANG=C.UTF-8 QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" \
    "$app" $points >"$work/app.log" 2>&1 &
pid=$!

# A visible top-level window with exactly this title, 20 s at most.
find_window() { xs_window "$1" 20 "$pid"; } # TITLE -> id

wait_window_gone() {
    xs_wait_gone "$1" 20 || fail "the window \"$1\" is still open after 20 s"
}

geometry() { # ID -> "X Y WIDTH HEIGHT", in device pixels
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
                             /^  Width/ { w = $NF } /^  Height/ { h = $NF } END { print x, y, w, h }'
}

# Clicks at a point given in the window's logical pixels.
click() {
    move_pointer $((win_x + $1 * scale)) $((win_y + $2 * scale))
    xdotool click 1
}

# mousemove --sync waits for the pointer to move, so it would wait forever
# when the pointer is already there.
move_pointer() {
    local X Y SCREEN WINDOW
    eval "$(xdotool getmouselocation --shell)"
    [ "$X" -eq "$1" ] && [ "$Y" -eq "$2" ] || xdotool mousemove --sync "$1" "$2"
}

# Types a path into the focused file dialog's name field and accepts it.
# Typing a folder's path makes Qt's dialog open that folder; on a busy
# machine the folder may load after the rest of the name was typed and clear
# it, leaving the dialog open: then the name is typed again, once the folder
# is open.
choose_in_dialog() {
    local dialog attempt
    dialog=$(find_window "$1")
    for attempt in 1 2 3; do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        xdotool windowfocus --sync "$dialog"
        [ "$attempt" -eq 1 ] || xdotool key ctrl+a
        xdotool type --delay 5 "$2"
        xdotool key Return
        # The name field's completer may take the first Return.
        for _ in 1 2 3; do
            sleep 0.3
            xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
            xdotool key Return
        done
        xs_wait_gone "$1" 5 && return 0
        echo "note: the dialog \"$1\" is still open; typing the name again" >&2
    done
    wait_window_gone "$1"
}

window=$(find_window Tessaly)
read -r win_x win_y win_w win_h < <(geometry "$window")
want_w=$((386 * scale)) want_h=$((415 * scale))
[ "$win_w" -eq "$want_w" ] && [ "$win_h" -eq "$want_h" ] \
    || fail "the window is ${win_w}x${win_h} device pixels, not ${want_w}x${want_h}"
echo "ok: window \"Tessaly\" is ${win_w}x${win_h} at scale $scale"

# A window manager learns that a window is not resizable from its size hints.
hints=$(xprop -id "$window" WM_NORMAL_HINTS)
grep -q "program specified minimum size: $want_w by $want_h" <<<"$hints" \
    && grep -q "program specified maximum size: $want_w by $want_h" <<<"$hints" \
    || fail "the size hints do not pin the window to ${want_w}x${want_h}:"$'\n'"$hints"
echo "ok: size hints forbid resizing"

# Read whole first: grep -q would stop reading early, and xprop, still
# printing the larger sizes, would die of the closed pipe.
icons=$(xprop -id "$window" _NET_WM_ICON)
grep -q "Icon (32 x 32)" <<<"$icons" \
    || fail "the window has no 32 pixel icon; was quillmere.svg rendered?"
echo "ok: window icon"

# Button centres in logical pixels: the layout's twips divided by 15.
add_button=(294 22) save_button=(95 396) close_button=(326 396)

click "${add_button[@]}"
# Qt's dialog, in a process of its own, is still the window's: the window
# manager keeps it over the window.
dialog=$(find_window Open)
transient=$(xprop -id "$dialog" WM_TRANSIENT_FOR | awk '{ print $NF }')
[ $((transient)) -eq $((window)) ] \
    || fail "the file dialog is transient for $transient, not the window $window"
choose_in_dialog Open "$invoices/README"
click "${add_button[@]}"
choose_in_dialog Open "$pictures/IMG_0413.jpg"
echo "ok: two folders added"

# The hover highlight of a button would show in the screenshot.
move_pointer 0 $((win_y + win_h + 20))
sleep 0.5
shot=$out/screenshot.png
[ "$scale" -eq 1 ] || shot=$out/screenshot-${scale}x.png
[ -z "$points" ] || shot=$out/screenshot-${points}pt.png
import -window root -crop "${win_w}x${win_h}+${win_x}+${win_y}" +repage "$shot"
echo "ok: screenshot $shot"

click "${save_button[@]}"
choose_in_dialog "Save As" "$saved"
for _ in $(seq 100); do
    [ -f "$saved" ] && break
    sleep 0.1
done
[ -f "$saved" ] || fail "nothing was saved to $saved"

expected=$work/expected.txt
hf_names '\r\n' >"$expected"
if ! cmp -s "$expected" "$saved"; then
    echo "expected:" >&2; od -c "$expected" >&2
    echo "saved:" >&2; od -c "$saved" >&2
    fail "the saved file differs from the two folders' file names"
fi
echo "ok: saved $(wc -l <"$saved") names, $(wc -c <"$saved") bytes, CR LF after each"

click "${close_button[@]}"
xs_wait_exit "$pid" 10 || fail "the program is still running 10 s after Close"
status=$xs_status
[ "$status" -eq 0 ] || fail "the program exited with status $status after Close"
echo "ok: Close ended the program with status 0"

if [ "$scale" -eq 1 ] && [ -z "$points" ] && [ "${QUILLMERE_UPDATE_SCREENSHOT:-0}" = 1 ]; then
    cp "$shot" "$here/../../docs/screenshot.png"
    echo "updated docs/screenshot.png"
fi
