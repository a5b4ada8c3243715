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
        -h | --help | -V | --version)
            return
            ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '-o --output= --sort= --reverse --line-end= -0 --null
            -h --help -V --version' -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
        return
    fi
    _filedir -d
}
complete -F _quillmere_list quillmere-list
