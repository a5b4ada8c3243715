# SPDX-License-Identifier: MIT
# shellcheck shell=bash disable=SC2034,SC2154  # wl_* are read by the scripts that source this; xs_* come from xsession.sh
# Sourced by the Wayland tests: starts a private Wayland compositor and ends
# it by pid, so that none outlives the script.
#
#   wl_start weston|sway [WIDTHxHEIGHT]
#       weston: on its X11 backend, as a window of the X server that
#               xs_start (xsession.sh) started first, so that it has a seat
#               whose input xdotool gives; Qt draws the windows' decorations.
#       sway:   headless, drawing the windows' decorations itself and
#               offering xdg-foreign, the virtual keyboard (wtype) and the
#               clipboard to other clients (wl-paste); as root it runs as
#               user 65534, since sway refuses to run as root.
#       Sets WAYLAND_DISPLAY (an absolute path, so that a client needs no
#       XDG_RUNTIME_DIR of the compositor's) and, for sway, SWAYSOCK.
#       Returns 1 with the reason in wl_error.
#   wl_session KIND SIZE    wl_start after the X server weston needs
#                           (xs_start); a test that cannot have either is
#                           skipped: the reason printed, exit $skip (77)
#   wl_stop                 ends the compositor; call it from the EXIT trap
#   "${wl_vars[@]}"         after wl_start: what a client run under env -i needs
#   wl_screenshot PNG       the whole output (weston-screenshooter or grim)

wl_dir=
wl_error=
wl_pid=
wl_kind=
wl_vars=()

wl_start() {
    local kind=$1 size=${2:-1024x768} as=() socket
    wl_error=
    wl_kind=$kind
    wl_dir=$(mktemp -d "${TMPDIR:-/tmp}/quillmere-wl.XXXXXX")
    chmod 755 "$wl_dir"
    mkdir -m 700 "$wl_dir/runtime"
    socket=$wl_dir/runtime/wayland-quillmere
    case $kind in
    weston)
        command -v weston >/dev/null || { wl_error="weston is not installed"; return 1; }
        [ -n "${DISPLAY:-}" ] || { wl_error="weston runs on the X server of xs_start"; return 1; }
        XDG_RUNTIME_DIR=$wl_dir/runtime weston --backend=x11-backend.so --use-pixman \
            --socket=wayland-quillmere --width="${size%x*}" --height="${size#*x}" \
            --idle-time=0 --debug >"$wl_dir/compositor.log" 2>&1 &
        wl_pid=$!
        ;;
    sway)
        command -v sway >/dev/null || { wl_error="sway is not installed"; return 1; }
        if [ "$(id -u)" -eq 0 ]; then
            chown 65534:65534 "$wl_dir/runtime"
            as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
        fi
        printf 'output HEADLESS-1 resolution %s\ndefault_border normal\n' "$size" >"$wl_dir/sway.conf"
        env -i PATH="$PATH" HOME="$wl_dir" XDG_RUNTIME_DIR="$wl_dir/runtime" \
            WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
            "${as[@]}" sway -c "$wl_dir/sway.conf" >"$wl_dir/compositor.log" 2>&1 &
        wl_pid=$!
        ;;
    *)
        wl_error="no compositor named $kind"
        return 1
        ;;
    esac
    for _ in $(seq 100); do
        [ -S "$socket" ] && break
        kill -0 "$wl_pid" 2>/dev/null || break
        sleep 0.1
    done
    if ! [ -S "$socket" ]; then
        # sway names its socket itself: wayland-1, or the next free one.
        socket=$(find "$wl_dir/runtime" -maxdepth 1 -type s -name 'wayland-*' 2>/dev/null | head -n 1)
    fi
    if [ -z "$socket" ] || ! [ -S "$socket" ]; then
        wl_error="$kind gave no socket within 10 s: $(tail -n 5 "$wl_dir/compositor.log")"
        return 1
    fi
    export WAYLAND_DISPLAY=$socket
    wl_vars=("WAYLAND_DISPLAY=$socket")
    if [ "$kind" = sway ]; then
        local ipc=
        for _ in $(seq 50); do
            ipc=$(find "$wl_dir/runtime" -maxdepth 1 -type s -name 'sway-ipc.*' 2>/dev/null | head -n 1)
            [ -n "$ipc" ] && break
            sleep 0.1
        done
        [ -n "$ipc" ] || { wl_error="sway gave no IPC socket within 5 s"; return 1; }
        export SWAYSOCK=$ipc
        wl_vars+=("SWAYSOCK=$ipc")
    fi
}

wl_session() {
    if [ "$1" = weston ] && ! xs_start 1280x1024 96; then
        echo "SKIPPED: no X server for weston could be started: $xs_error"
        exit "${skip:-77}"
    fi
    if ! wl_start "$1" "${2:-}"; then
        echo "SKIPPED: $1 could not be started: $wl_error"
        exit "${skip:-77}"
    fi
}

wl_stop() {
    if [ -n "$wl_pid" ]; then
        kill "$wl_pid" 2>/dev/null || true
        for _ in $(seq 50); do
            kill -0 "$wl_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$wl_pid" 2>/dev/null || true
        wait "$wl_pid" 2>/dev/null || true
    fi
    wl_pid=
    [ -z "$wl_dir" ] || rm -rf "$wl_dir"
    wl_dir=
}

wl_screenshot() {
    local png=$1
    case $wl_kind in
    weston)
        # weston-screenshooter writes wayland-screenshot-*.png to its working folder.
        (cd "$wl_dir" && rm -f wayland-screenshot-*.png \
            && timeout 10 weston-screenshooter >/dev/null 2>&1 \
            && mv wayland-screenshot-*.png "$png")
        ;;
    sway) timeout 10 grim "$png" ;;
    esac
}
