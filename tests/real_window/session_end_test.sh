#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Ends the session under the program, each case under an X server and bus of
# its own: SIGTERM, SIGHUP or SIGINT sent to it, or the X server killed, with
# nothing running (QUILLMERE) or while a save's data sync is held (HELDSAVE,
# quillmere_heldsave, which gives the save 2 s). Checks the exit status, what
# standard error says, that the saved-to file keeps its old contents with no
# temporary file left beside it, that the window leaves the screen at once on
# a signal, and that a second signal ends the wait at once.
#
#   session_end_test.sh QUILLMERE HELDSAVE OUTPUT_DIR
#
# Exits 77 (skipped) only when no X server can be started.
set -euo pipefail

skip=77
source "$(cd "$(dirname "$0")" && pwd)/../../scripts/xsession.sh"

[ $# -ge 3 ] || { echo "usage: $0 QUILLMERE HELDSAVE OUTPUT_DIR" >&2; exit 2; }
quillmere=$1
heldsave=$2
mkdir -p "$3"
command -v xdotool >/dev/null || { echo "FAIL: xdotool is missing; run scripts/setup" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/quillmere-session.XXXXXX")
pid=
cleanup() {
    xs_end_group "$pid" 2
    [ -z "$pid" ] || wait "$pid" 2>/dev/null || true
    xs_stop
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

case_name=
fail() {
    echo "FAIL: $case_name: $*" >&2
    [ -s "$work/err.log" ] && { echo "--- its standard error:" >&2; cat "$work/err.log" >&2; }
    exit 1
}

# CASE PROGRAM HOW: HOW is a signal's name, "x" (the X server killed), or
# "twice" (SIGTERM, then SIGTERM again once the window is gone).
run_case() {
    case_name=$1
    local program=$2 how=$3 held='' status said deadline
    [ "$program" = "$heldsave" ] && held=yes
    if ! xs_start 1024x768 96; then
        echo "SKIPPED: no X server could be started: $xs_error"
        exit $skip
    fi
    local out=$work/out
    rm -rf "$out" && mkdir -p "$out" "$work/runtime"
    chmod 700 "$work/runtime"
    printf old >"$out/list.txt"
    local args=()
    [ -z "$held" ] || args=("$out/list.txt" "$([ "$how" = twice ] && echo 60000 || echo 2000)")
    # The signals' default handling, whatever the caller ignores: a job that
    # bash starts in the background ignores SIGINT.
    setsid env -i --default-signal=INT,HUP,TERM PATH="$PATH" HOME="$work" \
        XDG_RUNTIME_DIR="$work/runtime" "${xs_vars[@]}" LANG=C.UTF-8 QT_QPA_PLATFORM=xcb \
        "$program" "${args[@]}" >"$work/out.log" 2>"$work/err.log" &
    pid=$!
    local found=0
    xs_find_window Tessaly 30 "$pid" >/dev/null || found=$?
    [ "$found" -ne 2 ] || fail "the program ended before its window showed"
    [ "$found" -eq 0 ] || fail "no window within 30 s"
    if [ -n "$held" ]; then
        for _ in $(seq 300); do
            grep -qx held "$work/out.log" && break
            sleep 0.1
        done
        grep -qx held "$work/out.log" || fail "the save did not reach its data sync within 30 s"
    fi

    local sent event
    sent=$(date +%s%N)
    case $how in
    x)
        event="the X server's end"
        kill -KILL "$xs_xvfb_pid"
        # Reaped here, so that bash does not report it killed.
        wait "$xs_xvfb_pid" 2>/dev/null || true
        ;;
    twice) event=SIGTERM && kill -TERM "$pid" ;;
    *) event=SIG$how && kill -"$how" "$pid" ;;
    esac
    if [ "$how" != x ]; then
        # Gone from the screen at once, even while the save is waited for.
        xs_wait_gone Tessaly 5 || fail "the window is still shown 5 s after $event"
    fi
    if [ "$how" = twice ]; then
        kill -0 "$pid" 2>/dev/null || fail "the program ended before the second signal"
        sent=$(date +%s%N)
        event="the second SIGTERM"
        kill -TERM "$pid"
    fi
    # Well over the 2 s the save is given, or, after a second signal, at once.
    deadline=30
    [ "$how" != twice ] || deadline=5
    xs_wait_exit "$pid" "$deadline" || fail "the program still runs ${deadline} s after $event"
    status=$xs_status
    pid=
    local took=$(( ($(date +%s%N) - sent) / 1000000 ))

    said=$(grep '^quillmere: ' "$work/err.log" || true)
    if [ -n "$held" ]; then
        [ "$status" -eq 1 ] || fail "exit status $status, not 1"
        local want="quillmere: The list was not saved to $out/list.txt The file keeps its old contents."
        [ "$said" = "$want" ] || fail "standard error says \"$said\", not \"$want\""
    else
        [ "$status" -eq 0 ] || fail "exit status $status, not 0"
        [ -z "$said" ] || fail "standard error names a save: $said"
    fi
    [ "$(cat "$out/list.txt")" = old ] || fail "list.txt no longer holds its old contents"
    local beside
    beside=$(find "$out" -mindepth 1 ! -name list.txt)
    [ -z "$beside" ] || fail "left beside the target: $beside"
    xs_stop
    echo "ok: $case_name: status $status in $took ms${said:+, \"$said\"}"
}

run_case "SIGTERM, nothing running" "$quillmere" TERM
run_case "the X server killed, nothing running" "$quillmere" x
run_case "SIGTERM during a held save" "$heldsave" TERM
run_case "SIGHUP during a held save" "$heldsave" HUP
run_case "SIGINT during a held save" "$heldsave" INT
run_case "the X server killed during a held save" "$heldsave" x
run_case "a second SIGTERM during a held save" "$heldsave" twice
