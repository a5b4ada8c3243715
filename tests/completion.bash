#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What the bash completion of quillmere-list offers: options, the values of
# --sort and --line-end, files after -o, nothing after a glob's option, and
# folders as operands.
#   completion.bash COMPLETION_FILE     exit 77 where bash-completion is missing
set -u
# shellcheck source=/dev/null
source /usr/share/bash-completion/bash_completion 2>/dev/null || exit 77
# shellcheck source=/dev/null
source "$1" || exit 1
# Outside a real completion, bash refuses compopt with a message.
compopt() { :; }
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" && mkdir photos scans && touch plain.txt || exit 1

# What is offered for the words given, the last one being completed, sorted.
offered() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_LINE=${COMP_LINE// = /=} # as typed: bash splits words at "=" too
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _quillmere_list
    ((${#COMPREPLY[@]})) && printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' ' '
}

failed=0
expect() {
    local got
    got=$(offered "${@:2}")
    if [[ $got != "$1" ]]; then
        echo "after '${*:2}': expected '$1', got '$got'"
        failed=1
    fi
}
expect '--null ' quillmere-list --nu
expect '--reverse ' quillmere-list --sort name --rev
expect '--recursive --reverse ' quillmere-list --re
expect '--include= ' quillmere-list -r --inc
expect '--escape --exclude= ' quillmere-list --e
expect '' quillmere-list --exclude ''
expect '' quillmere-list --include = ''
expect '--version ' quillmere-list --vers
expect '' quillmere-list -V ''
expect 'extension name ' quillmere-list --sort ''
expect 'extension ' quillmere-list --sort = e
expect 'crlf lf ' quillmere-list --line-end ''
expect 'photos scans ' quillmere-list --sort name ''
expect 'photos plain.txt scans ' quillmere-list -o ''
[ $failed = 0 ] && echo "1 passed, 0 failed"
exit $failed
