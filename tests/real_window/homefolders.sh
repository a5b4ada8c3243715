# SPDX-License-Identifier: MIT
# shellcheck shell=bash disable=SC2034  # invoices, pictures are read by the scripts that source this
# Sourced by the real-window tests that show two folders: the same folders,
# so that their screenshots show the same rows whatever the platform.
#
#   hf_private_mounts "$@"   re-runs the script in a private mount namespace
#                            where the kernel allows it (call before any work)
#   hf_make WORK             makes the two folders, in /home/ada on a tmpfs of
#                            the namespace's own, else in WORK/home; sets
#                            hf_home, invoices and pictures
#   hf_names SUFFIX          their file names as the window lists them, each
#                            followed by SUFFIX (a printf format: '\r\n')

# The folders should read as a user's, /home/ada/Documents/Invoices, not as a
# temporary path. Where the kernel allows it, the rest runs in a private mount
# namespace with an empty tmpfs on /home that no other process sees; else the
# home lies in the temporary folder.
hf_private_mounts() {
    [ -z "${QUILLMERE_PRIVATE_MOUNTS:-}" ] || return 0
    local ns=(unshare --mount --propagation private)
    [ "$(id -u)" -eq 0 ] || ns+=(--map-root-user)
    if "${ns[@]}" true 2>/dev/null; then
        QUILLMERE_PRIVATE_MOUNTS=1 exec "${ns[@]}" bash "$0" "$@"
    fi
}

hf_make() {
    local name
    hf_home=$1/home
    # Only a tmpfs this process mounted itself: never the machine's own /home.
    if [ "${QUILLMERE_PRIVATE_MOUNTS:-}" = 1 ] && mount -t tmpfs -o mode=755,size=8m quillmere /home \
        && [ "$(stat -f -c %T /home)" = tmpfs ]; then
        hf_home=/home/ada
    fi
    # A hidden file and a sub-folder must not be listed.
    invoices=$hf_home/Documents/Invoices
    pictures=$hf_home/Pictures/2026
    mkdir -p "$invoices/Paid" "$pictures"
    for name in "2026-01 Hosting.pdf" "2026-02 Office rent.pdf" "Reply to Ada.odt" "README" \
        "Tax summary 2025.ods" ".directory"; do
        echo "$name" >"$invoices/$name"
    done
    for name in "IMG_0412.jpg" "IMG_0413.jpg" "Harbour at dusk.png" "Sketch – bridge.svg" \
        "holiday album.tar.gz"; do
        echo "$name" >"$pictures/$name"
    done
}

# The rows in the order the folders were added, each folder's files in the
# order the file system reports them, as find does.
hf_names() {
    local folder
    for folder in "$invoices" "$pictures"; do
        find "$folder" -mindepth 1 -maxdepth 1 -type f ! -name '.*' -printf "%f$1"
    done
}
