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
        -t | --theme | --from)
            # The themes the program finds, shipped and own, as the same program lists them;
            # the words folder given so far counts too.
            local words_folder=() i
            for ((i = 1; i < COMP_CWORD; i++)); do
                [[ ${COMP_WORDS[i]} == --words ]] && words_folder=(--words "${COMP_WORDS[i + 1]}")
            done
            words=$("${COMP_WORDS[0]}" --list-themes "${words_folder[@]}" 2>/dev/null |
                sed -n 's/^0\{0,1\}\([0-9]\{1,2\}\)  .*/\1/p')
            ;;
        --encoding) words='utf-8 cp1251' ;;
        --line-ends) words='lf crlf' ;;
        --words)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            return
            ;;
        -r | --runs | -s | --seed | --fortune | --new-theme | --name) return ;;
        *) words='--theme --runs --seed --one --fortune --explain --stats --list-themes
                  --new-theme --from --name --words --encoding --line-ends --help --version' ;;
    esac
    mapfile -t COMPREPLY < <(compgen -W "$words" -- "$cur")
}

complete -F _zurevavud_cli zurevavud-cli
