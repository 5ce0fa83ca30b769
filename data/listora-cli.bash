# bash completion for listora-cli
_listora_cli() {
    local cur prev
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    if [[ $COMP_CWORD -eq 1 ]]; then
        mapfile -t COMPREPLY < <(compgen -W "convert gather move copy compare log tags relink dedupe --help" -- "$cur")
        return
    fi
    case $prev in
        --in)
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            return ;;
        --method)
            mapfile -t COMPREPLY < <(compgen -W "difference common only-a" -- "$cur")
            return ;;
    esac
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "-o --relative --force --rewrite-paths --save --save-as --method --all --in --replace --ignore-case --closest --help" -- "$cur")
        return
    fi
    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
}
complete -o filenames -F _listora_cli listora-cli
