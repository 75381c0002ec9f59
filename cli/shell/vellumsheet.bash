# bash completion for vellumsheet: commands, options, formats and files.

_vellumsheet_options() {
    local common="-h --help"
    local pdf="--password --password-file --any-version"
    case $1 in
        convert) echo "$common -o --output --format --csv-values --csv-raw --output-dir --force $pdf --pages
                 --pages-per-sheet --paper --image-quality --text-cells --cells-as-drawn --page-grid
                 --plain-sheet --ocr --ocr-lang --ocr-keep-image -j --jobs --progress -q --quiet --json" ;;
        info) echo "$common --json $pdf" ;;
        render) echo "$common --page --emf --items --json --trace $pdf" ;;
        layout) echo "$common --page --json --gaps --tables --page-grid $pdf" ;;
        emf-items) echo "$common --json" ;;
        emf-to-xls) echo "$common --pages-per-sheet --auto-format" ;;
        *) echo "$common" ;;
    esac
}

_vellumsheet() {
    local cur prev words cword
    if declare -F _init_completion >/dev/null; then
        _init_completion || return
    else
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD-1]}
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    fi
    local commands="convert info render layout emf-dump emf-items emf-to-xls font-info help"

    # The command: the first word, else convert (a PDF or an option first).
    local command=convert i
    if [[ $cword -eq 1 ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "-h --help -V --version $(_vellumsheet_options convert)" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
            COMPREPLY+=($(compgen -f -X '!*.[pP][dD][fF]' -- "$cur") $(compgen -d -- "$cur"))
        fi
        return
    fi
    case ${words[1]} in
        convert|info|render|layout|emf-dump|emf-items|emf-to-xls|font-info) command=${words[1]} ;;
        help)
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
            return ;;
    esac

    case $prev in
        --format) COMPREPLY=($(compgen -W "xls xlsx csv" -- "$cur")); return ;;
        --paper) COMPREPLY=($(compgen -W "A3 A4 A5 B4 B5 ISO-B4 Letter" -- "$cur")); return ;;
        --pages) COMPREPLY=($(compgen -W "all 1-end end" -- "$cur")); return ;;
        --ocr) COMPREPLY=($(compgen -W "auto always never" -- "$cur")); return ;;
        --ocr-lang) COMPREPLY=($(compgen -W "eng deu fra eng+deu" -- "$cur")); return ;;
        --output-dir) COMPREPLY=($(compgen -d -- "$cur")); return ;;
        -o|--output)
            COMPREPLY=($(compgen -f -X '!*.@(xls|xlsx|csv)' -- "$cur") $(compgen -d -- "$cur")); return ;;
        --emf) COMPREPLY=($(compgen -f -X '!*.[eE][mM][fF]' -- "$cur") $(compgen -d -- "$cur")); return ;;
        --password-file) COMPREPLY=($(compgen -f -- "$cur")); return ;;
        --password|--page|--pages-per-sheet|--image-quality|-j|--jobs) return ;;
    esac

    # After "--" every word is a file.
    local ended=
    for ((i = 1; i < cword; i++)); do [[ ${words[i]} == -- ]] && ended=1; done
    if [[ -z $ended && $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_vellumsheet_options $command) --" -- "$cur"))
        return
    fi
    case $command in
        emf-dump|emf-items) COMPREPLY=($(compgen -f -X '!*.[eE][mM][fF]' -- "$cur")) ;;
        emf-to-xls) COMPREPLY=($(compgen -f -X '!*.@([eE][mM][fF]|xls)' -- "$cur")) ;;
        layout) COMPREPLY=($(compgen -f -X '!*.@([pP][dD][fF]|[eE][mM][fF])' -- "$cur")) ;;
        font-info) return ;;  # a family name, not a file
        convert) COMPREPLY=($(compgen -f -X '!*.@([pP][dD][fF]|xls|xlsx|csv)' -- "$cur")) ;;
        *) COMPREPLY=($(compgen -f -X '!*.[pP][dD][fF]' -- "$cur")) ;;
    esac
    COMPREPLY+=($(compgen -d -- "$cur"))
}

complete -o filenames -F _vellumsheet vellumsheet
