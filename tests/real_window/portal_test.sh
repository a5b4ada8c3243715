#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Quillmere with the desktop's own file dialog: the real xdg-desktop-portal
# and its GTK backend on this test's own session bus under its own Xvfb. Add
# picks a file in the GTK dialog, which must sit over the window while the
# window goes on painting; Save writes the listed names, and a second Save to
# the same file is asked about once, by the portal's dialog. Esc in the
# portal's dialog is a cancel: nothing else opens, and the next Add asks the
# portal again. Choose Folder picks an empty folder in the portal's folder
# chooser. A backend that dies while its dialog shows ends that dialog as a
# cancel, and the next Add, which the portal then fails at once, shows Qt's
# dialog; a backend that hangs does not keep Ctrl+Q from ending the program.
#
#   portal_test.sh QUILLMERE OUTPUT_DIR
#
# Leaves OUTPUT_DIR/portal.png, the portal's dialog over the window. Exits 77
# (skipped) when the portal's packages are missing, no X server can start or
# the portal does not start.
set -euo pipefail

skip=77
source "$(cd "$(dirname "$0")" && pwd)/../../scripts/xsession.sh"

[ $# -ge 2 ] || { echo "usage: $0 QUILLMERE OUTPUT_DIR" >&2; exit 2; }
app=$1
mkdir -p "$2"
out=$(cd "$2" && pwd)
portal= backend=
for dir in /usr/libexec /usr/lib/xdg-desktop-portal /usr/lib; do
    [ -n "$portal" ] || [ ! -x "$dir/xdg-desktop-portal" ] || portal=$dir/xdg-desktop-portal
    [ -n "$backend" ] || [ ! -x "$dir/xdg-desktop-portal-gtk" ] || backend=$dir/xdg-desktop-portal-gtk
done
if [ -z "$portal" ] || [ -z "$backend" ]; then
    echo "SKIPPED: xdg-desktop-portal and xdg-desktop-portal-gtk are not installed; run scripts/setup"
    exit $skip
fi
for tool in xdotool xprop import dbus-send; do
    command -v $tool >/dev/null || { echo "FAIL: $tool is missing; run scripts/setup" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/quillmere-portal.XXXXXX")
pid= portal_pid= backend_pid=
cleanup() {
    # A stopped backend would keep its TERM pending.
    [ -z "$backend_pid" ] || kill -CONT "$backend_pid" 2>/dev/null || true
    xs_end_group "$pid"
    [ -z "$pid" ] || wait "$pid" 2>/dev/null || true
    xs_end_pid "$portal_pid"
    xs_end_pid "$backend_pid"
    xs_stop
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

if ! xs_start 1600x1000 96; then
    echo "SKIPPED: no X server could be started: $xs_error"
    exit $skip
fi

fail() { xs_fail "$out/failure-portal.png" "$*" "$work"/{app,portal,backend}.log; }

home=$work/home
invoices=$home/Documents/Invoices
empty=$home/Documents/Empty
mkdir -p "$invoices" "$empty" "$work/runtime" "$work/saved"
chmod 700 "$work/runtime"
for name in "2026-01 Hosting.pdf" "Reply to Ada.odt" "README"; do
    echo "$name" >"$invoices/$name"
done
saved=$work/saved/names.txt
# Where the portal's dialog opens: nowhere outside this test's folder.
cd "$work"

# A GNOME session as the portal sees it, without dconf, gvfs or the
# accessibility bus: each would be a process this test did not start.
session=(env -i PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$work/runtime"
    XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
    XDG_CACHE_HOME="$home/.cache" "${xs_vars[@]}" LANG=C.UTF-8 XDG_CURRENT_DESKTOP=GNOME
    GSETTINGS_BACKEND=memory GIO_USE_VFS=local NO_AT_BRIDGE=1 GTK_A11Y=none)

has_owner() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}
# Waits up to 30 s for a bus name; skips if the process that should own it ends or never does.
wait_owner() {
    local name=$1 owner=$2
    for _ in $(seq 300); do
        has_owner "$name" && return 0
        kill -0 "$owner" 2>/dev/null || break
        sleep 0.1
    done
    echo "SKIPPED: the portal could not start: $name has no owner after 30 s"
    for log in portal backend; do
        [ -s "$work/$log.log" ] && head -n 20 "$work/$log.log"
    done
    exit $skip
}

"${session[@]}" "$backend" >"$work/backend.log" 2>&1 &
backend_pid=$!
wait_owner org.freedesktop.impl.portal.desktop.gtk "$backend_pid"
"${session[@]}" "$portal" -r >"$work/portal.log" 2>&1 &
portal_pid=$!
wait_owner org.freedesktop.portal.Desktop "$portal_pid"
echo "ok: xdg-desktop-portal with its GTK backend on the test's own bus"

setsid "${session[@]}" QT_QPA_PLATFORM=xcb QUILLMERE_FILE_DIALOG=portal "$app" \
    >"$work/app.log" 2>&1 &
pid=$!

find_window() { xs_window "$1" 30 "$pid"; } # TITLE -> id
# The portal's dialogs and questions on screen; not the popups of its name completion.
dialogs() {
    local id count=0
    for id in $(xdotool search --onlyvisible --class xdg-desktop-portal-gtk 2>/dev/null); do
        xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG \
            && count=$((count + 1))
    done
    echo "$count"
}
click() { # X Y in the window
    xdotool mousemove --sync $((win_x + $1)) $((win_y + $2)) 2>/dev/null \
        || xdotool mousemove $((win_x + $1)) $((win_y + $2))
    xdotool click 1
}
# Types a path into the GTK dialog and presses Return until the dialog has
# gone: its location field may take the first Return to complete the name.
choose() {
    local title=$1 path=$2 key=$3 dialog
    dialog=$(find_window "$title")
    xdotool windowfocus --sync "$dialog"
    xdotool key "$key"
    xdotool type --delay 5 "$path"
    for _ in $(seq 20); do
        xs_wait_gone "$title" 3 && return 0
        [ "$(dialogs)" -le 1 ] || return 0 # a question over the dialog
        xdotool windowfocus --sync "$dialog" key Return
    done
    fail "the dialog \"$title\" is still open a minute after $path was typed"
}
# The colour of one pixel of the screen, as ImageMagick names it.
pixel() { import -window root -crop "1x1+$1+$2" +repage txt:- | awk 'NR == 2 { print $3 }'; }

window=$(find_window Tessaly)
# No window manager places the dialog: it opens at the screen's corner, so
# the window moves aside to stay in sight.
xdotool windowmove --sync "$window" 1150 100 2>/dev/null || xdotool windowmove "$window" 1150 100
eval "$(xdotool getwindowgeometry --shell "$window" | sed 's/^/win_/')"
win_x=$win_X win_y=$win_Y
[ "$win_x" -ge 1100 ] || fail "the window did not move aside: it is at $win_x,$win_y"

add_button=(294 22) save_button=(95 396) close_button=(326 396)
click "${add_button[@]}"
dialog=$(find_window Open)
xprop -id "$dialog" WM_CLASS | grep -q xdg-desktop-portal-gtk \
    || fail "the dialog that opened is not the portal's: $(xprop -id "$dialog" WM_CLASS)"
# Modal for the window and placed over it: the window manager reads both from this.
transient=$(xprop -id "$dialog" WM_TRANSIENT_FOR | awk '{ print $NF }')
[ $((transient)) -eq $((window)) ] \
    || fail "the portal's dialog is transient for $transient, not the window $window"
echo "ok: the portal's dialog is transient for the window"

# The window keeps painting under the dialog: unmapped and mapped again, its
# contents are gone until it paints them anew. The heading band is dark grey.
band=(30 20)
before=$(pixel $((win_x + band[0])) $((win_y + band[1])))
xdotool windowunmap --sync "$window" windowmap --sync "$window"
painted=
for _ in $(seq 100); do
    [ "$(pixel $((win_x + band[0])) $((win_y + band[1])))" = "$before" ] && { painted=1; break; }
    sleep 0.1
done
[ -n "$painted" ] || fail "the window did not paint within 10 s while the portal's dialog was open"
echo "ok: the window repaints while the portal's dialog is open"
# With a click on the window's Add, which the open dialog must keep off.
click "${add_button[@]}"
import -window root "$out/portal.png"
echo "ok: screenshot $out/portal.png"

choose Open "$invoices/README" ctrl+l
[ "$(dialogs)" -eq 0 ] || fail "a second dialog opened: the window took a click while the first was open"

# The folder is listed when Save writes its files' names.
expected=$work/expected.txt
find "$invoices" -mindepth 1 -maxdepth 1 -type f -printf '%f\r\n' >"$expected"
click "${save_button[@]}"
choose "Save As" "$saved" ctrl+a
for _ in $(seq 300); do
    [ -s "$saved" ] && cmp -s "$expected" "$saved" && break
    sleep 0.1
done
cmp -s "$expected" "$saved" || fail "$saved does not hold the names of $invoices after 30 s"
echo "ok: the folder picked in the portal's dialog is listed and saved"

# Saving over it again: the portal's dialog asks, and nothing else does.
touch -d 2000-01-01 "$saved"
click "${save_button[@]}"
choose "Save As" "$saved" ctrl+a
for _ in $(seq 300); do
    [ "$(dialogs)" -ge 2 ] && break
    sleep 0.1
done
[ "$(dialogs)" -ge 2 ] || fail "the portal's dialog did not ask before replacing $saved"
xdotool key alt+r
xs_wait_gone "Save As" 30 || fail "the portal's dialog is still open after Replace"
for _ in $(seq 300); do
    [ "$saved" -nt "$expected" ] && break
    sleep 0.1
done
[ "$saved" -nt "$expected" ] || fail "$saved was not replaced within 30 s"
cmp -s "$expected" "$saved" || fail "the replaced $saved differs"
[ "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" -eq 1 ] \
    || fail "the program asked a question of its own after the portal's"
echo "ok: replacing asked once, by the portal's dialog"

# Esc closes the portal's dialog: the backend answers 2, which is the
# user's no once the dialog could be seen; nothing else opens.
qt_dialog() { # the program's own dialog titled $1, if one shows
    local id
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
        xprop -id "$id" WM_CLASS 2>/dev/null | grep -qi quillmere && { echo "$id"; return 0; }
    done
    return 1
}
# Nothing of the program's own shows for two seconds: what a user would
# wait before taking the dialog for gone.
no_qt_dialog() {
    for _ in $(seq 20); do
        ! qt_dialog "$1" >/dev/null || fail "$2"
        sleep 0.1
    done
}
click "${add_button[@]}"
dialog=$(find_window Open)
# A person sees the dialog before pressing Esc; a key sooner than the
# portal's FailureLimit would be taken for the backend failing.
sleep 0.5
xdotool windowfocus --sync "$dialog" key Escape
xs_wait_gone Open 20 || fail "the portal's dialog is still open after Escape"
no_qt_dialog Open "Qt's dialog opened after the portal's was closed by Escape"
click "${add_button[@]}"
dialog=$(find_window Open)
xprop -id "$dialog" WM_CLASS | grep -q xdg-desktop-portal-gtk \
    || fail "the Add after an Escape did not ask the portal again"
sleep 0.5
xdotool windowfocus --sync "$dialog" key Escape
xs_wait_gone Open 20 || fail "the portal's dialog is still open after the second Escape"
echo "ok: Escape in the portal's dialog is a cancel, and the portal is asked again"

# Choose Folder: an empty folder, picked as itself in the portal's folder chooser.
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key ctrl+shift+o
dialog=$(find_window "Choose Folder")
xprop -id "$dialog" WM_CLASS | grep -q xdg-desktop-portal-gtk \
    || fail "Choose Folder did not ask the portal"
# GTK's folder chooser opens on its recent places, where a typed path is
# not taken: it goes home first (Alt+Home).
xdotool windowfocus --sync "$dialog" key alt+Home
choose "Choose Folder" "$empty" ctrl+l
# Listed with the folder before it, adding no row: the same names are saved.
again=$work/saved/again.txt
click "${save_button[@]}"
choose "Save As" "$again" ctrl+a
for _ in $(seq 300); do
    [ -s "$again" ] && break
    sleep 0.1
done
cmp -s "$expected" "$again" || fail "$again does not hold the same names after the empty folder was chosen"
echo "ok: Choose Folder adds an empty folder through the portal's folder chooser"

# The backend dies while its dialog shows: the portal ends the request
# otherwise than by the user's answer (response 2), long after the dialog
# showed, so nothing else opens; the next Add, which the portal fails at
# once without its backend, shows Qt's dialog, in the program's own dialog
# process.
click "${add_button[@]}"
find_window Open >/dev/null
sleep 0.5 # the dialog has shown for a while
xs_end_pid "$backend_pid"
backend_pid=
xs_wait_gone Open 20 || fail "the portal's dialog is still open after its backend ended"
no_qt_dialog Open "Qt's dialog opened when the portal's backend ended while its dialog showed"
click "${add_button[@]}"
qt=
for _ in $(seq 100); do
    qt=$(qt_dialog Open) && break
    sleep 0.1
done
[ -n "$qt" ] || fail "Qt's dialog did not open within 10 s of Add, the portal's backend gone"
echo "ok: Qt's dialog opens once the portal fails at once, its backend gone"
xdotool windowfocus --sync "$qt" key Escape
xs_wait_gone Open 20 || fail "Qt's dialog is still open after Escape"

click "${close_button[@]}"
xs_wait_exit "$pid" 10 || fail "the program is still running 10 s after Close"
status=$xs_status
pid=
[ "$status" -eq 0 ] || fail "the program exited with status $status after Close"
echo "ok: Close ended the program with status 0"

# A backend that hangs while its dialog shows answers nothing: Ctrl+Q still
# ends the program, at once, with status 0, leaving none of its processes.
"${session[@]}" "$backend" >"$work/backend.log" 2>&1 &
backend_pid=$!
wait_owner org.freedesktop.impl.portal.desktop.gtk "$backend_pid"
setsid "${session[@]}" QT_QPA_PLATFORM=xcb QUILLMERE_FILE_DIALOG=portal "$app" \
    >"$work/app.log" 2>&1 &
pid=$!
window=$(find_window Tessaly)
xdotool windowmove --sync "$window" 1150 100 2>/dev/null || xdotool windowmove "$window" 1150 100
click "${add_button[@]}"
find_window Open >/dev/null
kill -STOP "$backend_pid"
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key ctrl+q
xs_wait_exit "$pid" 10 || fail "the program still runs 10 s after Ctrl+Q while the portal's backend hung"
status=$xs_status
group=$pid
pid=
kill -CONT "$backend_pid"
[ "$status" -eq 0 ] || fail "the program exited with status $status after Ctrl+Q"
kill -0 -- "-$group" 2>/dev/null && fail "a process of the program is left after Ctrl+Q"
echo "ok: Ctrl+Q ended the program while the portal's backend hung"
