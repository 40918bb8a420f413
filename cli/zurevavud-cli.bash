# bash completion for zurevavud-cli                            -*- shell-script -*-
# Installed as bash-completion/completions/zurevavud-cli; in a build tree, source
# bin/zurevavud-cli.bash.

_zurevavud_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} words
    # bash splits "--theme=1" at "=" into "--theme" "=" "1".
    if [[ $cur == = ]]; then
        cur=
    elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then
        prev=${COMP_WORDS[COMP_CWORD - 2]}
    fi

    case $prev in
        -t | --theme) words='0 1 2 3' ;;
        --encoding) words='utf-8 cp1251' ;;
        --line-ends) words='lf crlf' ;;
        --words)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            return
            ;;
        -r | --runs | -s | --seed | --fortune) return ;;
        *) words='--theme --runs --seed --one --fortune --explain --stats --words --encoding
                  --line-ends --help --version' ;;
    esac
    mapfile -t COMPREPLY < <(compgen -W "$words" -- "$cur")
}

complete -F _zurevavud_cli zurevavud-cli
