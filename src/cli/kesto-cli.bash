# bash completion for kesto-cli: commands, each command's options, and
# directories or files where an option or argument names one.
_kesto_cli() {
    local cur prev words cword
    _init_completion || return

    local cmd="" action="" i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
        --board | --user | --from | --to | --subject | --network | --attach | --description | --address)
            ((i++))
            ;;
        -*) ;;
        *)
            if [[ -z $cmd ]]; then
                cmd=${words[i]}
            elif [[ $cmd == addressbook && -z $action ]]; then
                action=${words[i]}
            fi
            ;;
        esac
    done

    case $prev in
    --board)
        _filedir -d
        return
        ;;
    --attach)
        _filedir
        return
        ;;
    --user | --from | --to | --subject | --network | --description | --address)
        return
        ;;
    esac

    local words_here
    case $cmd in
    "") words_here="demo users list search info addressbook send read delete save export check help --board --user --sent --json --help --version" ;;
    demo)
        [[ $cur == -* ]] || { _filedir -d; return; }
        words_here="--help"
        ;;
    users) words_here="--board --json --help" ;;
    list | search | info | read) words_here="--board --user --sent --json --help" ;;
    addressbook)
        if [[ $action == add ]]; then
            words_here="--board --user --json --description --address --network --help"
        else
            words_here="add --board --user --json --help"
        fi
        ;;
    send) words_here="--board --from --to --subject --network --attach --help" ;;
    delete) words_here="--board --user --sent --help" ;;
    save | export)
        [[ $cur == -* ]] || { _filedir; return; }
        words_here="--board --user --sent --help"
        ;;
    check) words_here="--board --json --help" ;;
    help) words_here="demo users list search info addressbook send read delete save export check" ;;
    esac
    COMPREPLY=($(compgen -W "$words_here" -- "$cur"))
}
complete -F _kesto_cli kesto-cli
