#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Add through Qt's dialog in a process of its own (the dialog's rows of
# quillmere_bench) on Qt's Wayland platform, under a headless sway of its own
# (scripts/wlsession.sh), which offers xdg-foreign: the dialog's process is
# made a child of the window, as the program runs it on Wayland. Prints the
# table; sway is ended by its pid. Exits 77 when sway cannot start.
#   bench/wayland.sh QUILLMERE_BENCH WORKDIR FOLDER...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 3 ] || { echo "usage: bench/wayland.sh QUILLMERE_BENCH WORKDIR FOLDER..." >&2; exit 2; }
bench=$1 work=$2
shift 2
# shellcheck source-path=SCRIPTDIR/.. source=scripts/wlsession.sh
source "$here/../scripts/wlsession.sh"
trap wl_stop EXIT
if ! wl_start sway; then
    echo "bench/wayland.sh: sway could not start: $wl_error" >&2
    exit 77
fi
runtime=$wl_dir/client
mkdir -m 700 "$runtime"
QT_QPA_PLATFORM=wayland XDG_RUNTIME_DIR=$runtime "$bench" run --only-dialog --work "$work" "$@"
