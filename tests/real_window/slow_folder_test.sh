#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts Quillmere under strace, which holds every directory read of one
# folder for a while, as a slow USB or network drive would, and drives it
# with real X input under Xvfb: Add picks a file in that folder; the window
# must repaint once the file dialog is gone, show its progress over the file
# list while the folder is read and the rows read so far before the folder's
# last read returns, and Close must end the program within a second, with
# status 0, while a read is still held.
#
#   slow_folder_test.sh QUILLMERE OUTPUT_DIR
#
# Exits 77 (skipped) where no X server can be started or where strace may not
# trace (no strace, or ptrace forbidden, as in some containers).
set -euo pipefail

skip=77
source "$(cd "$(dirname "$0")" && pwd)/../../scripts/xsession.sh"

[ $# -ge 2 ] || { echo "usage: $0 QUILLMERE OUTPUT_DIR" >&2; exit 2; }
app=$1
mkdir -p "$2"
out=$(cd "$2" && pwd)
command -v strace >/dev/null || { echo "SKIPPED: strace is not installed."; exit $skip; }
for tool in xdotool xprop xwininfo import compare convert; do
    command -v $tool >/dev/null || { echo "FAIL: $tool is missing; run scripts/setup" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/quillmere-slow.XXXXXX")
pid=
cleanup() {
    # strace and everything it traces share one process group.
    xs_end_group "$pid" 2
    [ -z "$pid" ] || wait "$pid" 2>/dev/null || true
    xs_stop
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

if ! strace -f -o "$work/probe.log" true 2>"$work/probe.err"; then
    echo "SKIPPED: strace may not trace here: $(head -n 1 "$work/probe.err")"
    exit $skip
fi
if ! xs_start 1280x1024 96; then
    echo "SKIPPED: no X server could be started: $xs_error"
    exit $skip
fi

fail() { xs_fail "$out/failure-slow-folder.png" "$*" "$work/app.log"; }

home=$work/home
slow=$home/Slow
mkdir -p "$slow" "$work/runtime"
chmod 700 "$work/runtime"
for i in $(seq 1 50); do
    : >"$slow/file $i.txt"
done

# Every read of the slow folder's entries waits 1.5 s before it starts; the
# listing needs at least two. Nothing else is slowed.
# The program's own session bus keeps libdbus from autolaunching one, which
# strace -f would follow and wait on for as long as the X server lives.
setsid env -i PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$work/runtime" \
    XDG_CONFIG_HOME="$home/.config" "${xs_vars[@]}" LANG=C.UTF-8 QT_QPA_PLATFORM=xcb \
    strace -f -o "$work/strace.log" -P "$slow" -e trace=getdents64 \
    -e inject=getdents64:delay_enter=1500000 \
    "$app" >"$work/app.log" 2>&1 &
pid=$!

find_window() { xs_window "$1" 30 "$pid"; } # TITLE -> id

# The window's part of the screen, or a part of it in window pixels.
shot() { # FILE [WIDTHxHEIGHT+X+Y within the window]
    local crop=${2:-${win_w}x${win_h}+0+0}
    local w h x y
    IFS='x+' read -r w h x y <<<"$crop"
    import -window root -crop "${w}x${h}+$((win_x + x))+$((win_y + y))" +repage "$1"
}
differ() { # A B: whether two shots differ in more than a few pixels
    local pixels
    pixels=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
    [ "${pixels%% *}" -gt 20 ] 2>/dev/null
}
# Shoots CROP into SHOT every 0.1 s until it differs from BEFORE, at most TRIES times.
changes() { # BEFORE SHOT CROP TRIES
    for _ in $(seq "$4"); do
        shot "$2" "$3"
        differ "$1" "$2" && return 0
        sleep 0.1
    done
    return 1
}

window=$(find_window Tessaly)
eval "$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { print "win_x=" $NF }
    /Absolute upper-left Y/ { print "win_y=" $NF } /^  Width/ { print "win_w=" $NF }
    /^  Height/ { print "win_h=" $NF }')"
# The file list's rows, in window pixels (its rectangle in twips / 15, inside the frame).
rows=350x200+10+170
sleep 0.5
shot "$work/empty-rows.png" "$rows"

xdotool mousemove --sync $((win_x + 294)) $((win_y + 22)) click 1
dialog=$(find_window Open)
xdotool windowfocus --sync "$dialog"
xdotool type --delay 5 "$slow/file 1.txt"
sleep 0.5
shot "$work/under-dialog.png"
xdotool key Return
# The name field's completer, slow too since it reads the folder, may take a Return.
gone=
for _ in $(seq 40); do
    sleep 0.3
    if ! xdotool search --onlyvisible --name '^Open$' >/dev/null 2>&1; then
        gone=yes
        break
    fi
    xdotool key Return
done
[ -n "$gone" ] || fail "the file dialog is still open 12 s after Return"
closed=$(date +%s%N)

# The window repaints at once: nothing of the dialog stays drawn over it.
repainted=
for _ in $(seq 20); do
    shot "$work/after-dialog.png"
    if differ "$work/under-dialog.png" "$work/after-dialog.png"; then
        repainted=yes
        break
    fi
    sleep 0.1
done
[ -n "$repainted" ] || fail "the window still shows the dialog 2 s after it closed"
echo "ok: the window repainted after the dialog closed"

# The progress shows over the rows while the folder is read.
changes "$work/empty-rows.png" "$work/rows.png" "$rows" 30 \
    || fail "no progress over the file list within 3 s of the dialog closing"
cp "$work/rows.png" "$out/slow-folder-progress.png"
echo "ok: progress shown over the file list $(( ($(date +%s%N) - closed) / 1000000 )) ms after the dialog closed"

# The rows read so far show above the progress while the folder's last read
# is held: the first read gave all 50 names, the one that finds no more has
# not returned (strace logs a read once it has).
top=350x30+10+170
convert "$work/empty-rows.png" -crop 350x30+0+0 +repage "$work/empty-top.png"
changes "$work/empty-top.png" "$work/top.png" "$top" 50 \
    || fail "no rows over the progress within 5 s of it showing"
# The window's own threads: the file dialog's process read the folder too.
app_pid=$(pgrep -P "$pid" | head -n 1)
[ -n "$app_pid" ] || fail "no program under strace"
tids=$(ps -L -o tid= -p "$app_pid" | tr -d ' ' | paste -sd '|')
# The listing reads into 256 KiB; strace marks each read it held "(DELAYED)".
if grep -qE "^($tids) +.*getdents64.*, 262144\\) = 0( |$)" "$work/strace.log"; then
    fail "the rows showed only once the folder was read to its end"
fi
cp "$work/top.png" "$out/slow-folder-first-rows.png"
echo "ok: the first rows showed while the folder's last read was held"

# Close while a read is held: the program ends at once, with status 0. strace
# itself may linger until its delay runs out, so the program is watched, and
# its exit status is read from strace's log rather than from strace.
running() { # a process that has ended but is not yet reaped shows as Z
    local state
    state=$(ps -o stat= -p "$app_pid" 2>/dev/null) || return 1
    [ -n "$state" ] && [ "${state:0:1}" != Z ]
}
xdotool mousemove --sync $((win_x + 326)) $((win_y + 396)) click 1
clicked=$(date +%s%N)
while running && [ $(( $(date +%s%N) - clicked )) -lt 1000000000 ]; do
    sleep 0.005
done
running && fail "the program is still running 1 s after Close"
ended_ms=$(( ($(date +%s%N) - clicked) / 1000000 ))
ending=
for _ in $(seq 50); do
    ending=$(grep -E "^$app_pid +\+\+\+ (exited with|killed by) " "$work/strace.log" | head -n 1) || true
    [ -n "$ending" ] && break
    sleep 0.1
done
[ -n "$ending" ] || fail "strace logged no end of the program within 5 s of it ending"
[[ "$ending" == *"exited with 0 +++"* ]] || fail "the program ended after Close: ${ending#$app_pid }"
# Bounded: whatever strace still waits on is ended with it.
for _ in $(seq 30); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
xs_end_group "$pid" 2
wait "$pid" 2>/dev/null || true
grep -q getdents64 "$work/strace.log" || fail "strace saw no read of $slow"
echo "--- the reads of $slow that strace held:"
grep getdents64 "$work/strace.log" || true
echo "ok: Close ended the program in about $ended_ms ms with status 0, a read still held"
