#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a test program on Qt's Wayland platform under a headless sway of its
# own (scripts/wlsession.sh), which offers xdg-foreign; sway is ended by its
# pid whatever the outcome. Skipped (77) only when sway cannot start.
#   under_sway.sh PROGRAM [ARGUMENT...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR/.. source=scripts/wlsession.sh
source "$here/../scripts/wlsession.sh"
trap wl_stop EXIT

wl_session sway
# The client's own runtime folder, inside the session's temporary one.
runtime=$wl_dir/client
mkdir -m 700 "$runtime"
# In the sanitizers' build: Qt's Wayland plugin leaks at exit, which is
# forgiven by the frames of its own library; a full stack is needed to see them.
export LSAN_OPTIONS="suppressions=$here/wayland-leaks.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export ASAN_OPTIONS="fast_unwind_on_malloc=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
QT_QPA_PLATFORM=wayland XDG_RUNTIME_DIR=$runtime "$@"
status=$?
[ "$status" -eq 0 ] || tail -n 20 "$wl_dir/compositor.log" >&2
exit "$status"
