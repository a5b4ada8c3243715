# SPDX-License-Identifier: MIT
# shellcheck shell=bash disable=SC2034  # xs_* are read by the scripts that source this
# Sourced by the real-window tests and scripts/check-deb: starts a private X
# server and a private session bus, finds windows, and ends every process it
# or the caller started, so that no Xvfb, dbus-daemon or traced program
# outlives the script.
#
#   xs_start [WIDTHxHEIGHT [DPI]]   X server and session bus; sets DISPLAY,
#                                   XAUTHORITY and DBUS_SESSION_BUS_ADDRESS.
#                                   Returns 1 with the reason in xs_error.
#   xs_stop                         ends both; call it from the caller's EXIT
#                                   trap (xs_start sets none of its own)
#   xs_find_window TITLE [S [PID]]  prints the id of a visible window with
#                                   exactly this title; 1 after S seconds
#                                   (default 20), 2 as soon as PID has ended
#   xs_window TITLE S PID           as xs_find_window, but a window not
#                                   found ends the test through the
#                                   caller's fail()
#   xs_fail PNG MESSAGE [LOG]...    prints FAIL: MESSAGE and each LOG that
#                                   holds anything, keeps the screen as PNG
#                                   and exits 1
#   xs_wait_gone TITLE [S]          0 once no such window is visible
#   xs_end_group PGID [S]           TERM to a process group, KILL after S s
#   "${xs_vars[@]}"                 after xs_start: the variables that a
#                                   program run under env -i needs to reach
#                                   this display and bus
#   $xs_services                    after xs_start: the folder of the D-Bus
#                                   service files the bus starts on demand,
#                                   empty unless the caller writes one
#
# Xvfb picks its own free display number (-displayfd), so two servers never
# race for one. A program started with env -i must be handed
# DBUS_SESSION_BUS_ADDRESS (xs_vars holds it): without it, libdbus autolaunches a
# bus of its own that lives as long as the X server does.

xs_dir=
xs_services=
xs_error=
xs_xvfb_pid=
xs_bus_pid=
xs_vars=()

# The first line that process pid writes to file, once written; empty if
# the process ends first or nothing comes within 10 s.
xs_first_line() {
    local file=$1 pid=$2 line=
    for _ in $(seq 100); do
        line=$(head -n 1 "$file")
        [ -n "$line" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    printf '%s' "$line"
}

xs_start() {
    local size=${1:-1280x1024} dpi=${2:-96} number=
    xs_error=
    if ! command -v Xvfb >/dev/null || ! command -v xauth >/dev/null; then
        xs_error="Xvfb or xauth is not installed"
        return 1
    fi
    command -v dbus-daemon >/dev/null || { xs_error="dbus-daemon is not installed"; return 1; }
    xs_dir=$(mktemp -d "${TMPDIR:-/tmp}/quillmere-x.XXXXXX")
    # The server reads every cookie of its -auth file whatever display it
    # names; clients look theirs up under the number chosen below.
    local cookie
    cookie=$(mcookie 2>/dev/null || od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
    export XAUTHORITY=$xs_dir/Xauthority
    xauth -q -f "$XAUTHORITY" add :0 . "$cookie" 2>/dev/null
    # -noreset: by default the server resets when its last client leaves, and
    # a program that connects during the reset is refused.
    Xvfb -displayfd 3 -auth "$XAUTHORITY" -screen 0 "${size}x24" -dpi "$dpi" -nolisten tcp -noreset \
        3>"$xs_dir/display" >"$xs_dir/xvfb.log" 2>&1 &
    xs_xvfb_pid=$!
    number=$(xs_first_line "$xs_dir/display" "$xs_xvfb_pid")
    if [ -z "$number" ]; then
        xs_error="Xvfb gave no display within 10 s: $(sort -u "$xs_dir/xvfb.log" | head -n 5)"
        return 1
    fi
    export DISPLAY=:$number
    xauth -q -f "$XAUTHORITY" add "$DISPLAY" . "$cookie"
    for _ in $(seq 50); do
        xprop -root >/dev/null 2>&1 && break
        sleep 0.1
    done
    if ! xprop -root >/dev/null 2>&1; then
        xs_error="the X server on $DISPLAY did not answer within 5 s"
        return 1
    fi
    # A bus of our own, ended by pid: dbus-run-session would only end it when
    # its one child ends, and --fork would hide the daemon's pid. It starts no
    # service of the machine's: the desktop's accessibility bus or dconf would
    # be processes of their own, and would change what the program does; only
    # those the caller describes in $xs_services, on demand.
    xs_services=$xs_dir/services
    mkdir -p "$xs_services"
    cat >"$xs_dir/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$xs_dir</listen>
  <servicedir>$xs_services</servicedir>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
    dbus-daemon --config-file="$xs_dir/bus.conf" --nofork --nopidfile --print-address=4 \
        4>"$xs_dir/bus" >"$xs_dir/bus.log" 2>&1 &
    xs_bus_pid=$!
    local address
    address=$(xs_first_line "$xs_dir/bus" "$xs_bus_pid")
    if [ -z "$address" ]; then
        xs_error="no session bus within 10 s: $(head -n 5 "$xs_dir/bus.log")"
        return 1
    fi
    export DBUS_SESSION_BUS_ADDRESS=$address
    xs_vars=("DISPLAY=$DISPLAY" "XAUTHORITY=$XAUTHORITY" "DBUS_SESSION_BUS_ADDRESS=$address")
}

# Ends one process by pid: TERM, then KILL after up to $2 seconds.
xs_end_pid() {
    local pid=$1 limit=${2:-5}
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq $((limit * 10))); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

xs_end_group() {
    local pgid=$1 limit=${2:-5}
    [ -n "$pgid" ] || return 0
    kill -TERM -- "-$pgid" 2>/dev/null || return 0
    for _ in $(seq $((limit * 10))); do
        kill -0 -- "-$pgid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -KILL -- "-$pgid" 2>/dev/null || true
}

xs_stop() {
    xs_end_pid "$xs_bus_pid"
    xs_bus_pid=
    xs_end_pid "$xs_xvfb_pid"
    xs_xvfb_pid=
    [ -z "$xs_dir" ] || rm -rf "$xs_dir"
    xs_dir=
}

xs_find_window() {
    local title=$1 limit=${2:-20} pid=${3:-} id
    for _ in $(seq $((limit * 10))); do
        if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
            return 2
        fi
        id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) || true
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

xs_window() {
    local status=0
    xs_find_window "$1" "$2" "$3" || status=$?
    [ "$status" -ne 2 ] || fail "the program ended while we waited for \"$1\""
    [ "$status" -eq 0 ] || fail "no window titled \"$1\" within $2 s"
}

xs_fail() {
    local png=$1 log
    echo "FAIL: $2" >&2
    shift 2
    for log in "$@"; do
        [ -s "$log" ] && { echo "--- $(basename "$log" .log) output:" >&2; cat "$log" >&2; }
    done
    import -window root "$png" 2>/dev/null && echo "screen at the failure: $png" >&2
    exit 1
}

xs_wait_gone() {
    local title=$1 limit=${2:-20}
    for _ in $(seq $((limit * 10))); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

# Waits up to SECONDS (10) for PID, a child of this shell, to end and sets
# xs_status to its exit status; returns 1, xs_status unset, while it runs on.
xs_wait_exit() {
    local limit=${2:-10}
    unset xs_status
    for _ in $(seq $((limit * 10))); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$1" 2>/dev/null && return 1
    xs_status=0
    wait "$1" || xs_status=$?
}
