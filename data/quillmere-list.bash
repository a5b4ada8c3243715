# SPDX-License-Identifier: MIT
# bash completion for quillmere-list: its options, their values, and folders.
_quillmere_list()
{
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        -o | --output)
            _filedir
            return
            ;;
        --sort)
            COMPREPLY=($(compgen -W 'name extension' -- "$cur"))
            return
            ;;
        --line-end)
            COMPREPLY=($(compgen -W 'crlf lf' -- "$cur"))
            return
            ;;
        --include | --exclude)
            # A glob of names, not a file: nothing sensible to offer.
            return
            ;;
        -h | --help | -V | --version)
            return
            ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '-a --all -r --recursive --include= --exclude=
            --ignore-case -o --output= --sort= --reverse --line-end= -0 --null --escape
            --literal -h --help -V --version' -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
        return
    fi
    _filedir -d
}
complete -F _quillmere_list quillmere-list
