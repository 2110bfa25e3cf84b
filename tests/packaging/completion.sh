#!/usr/bin/env bash
# Checks the installed bash completion of kelvaro-cli in a plain bash, without
# the bash-completion package: what Tab offers after a command line, and that
# it offers exactly the commands and options the program's own help lists.
#   completion.sh commands COMPLETION WORK_DIR
#   completion.sh options COMPLETION KELVARO_CLI
set -euo pipefail
here=$(dirname "$0")
mode=$1
completion=$2

# shellcheck source=/dev/null
source "$completion"

# What Tab offers after the words given (the last one is the word being
# completed, "" for a new word), sorted, one a line. The function is the one
# the script registered for kelvaro-cli.
offered() {
    local function
    function=$(complete -p kelvaro-cli | sed -n 's/.*-F \([^ ]*\) .*/\1/p')
    [ -n "$function" ] || {
        echo "the script registers no completion function for kelvaro-cli" >&2
        exit 1
    }
    COMP_WORDS=(kelvaro-cli "$@")
    COMP_CWORD=$#
    COMP_LINE="kelvaro-cli $*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    "$function" kelvaro-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    [ ${#COMPREPLY[@]} -eq 0 ] || printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort
}

failed=0
# expect "WANTED" WORD... : Tab after WORDs offers WANTED (lines).
expect() {
    local wanted actual
    wanted=$(LC_ALL=C sort <<< "$1")
    shift
    actual=$(offered "$@")
    if [ "$actual" != "$wanted" ]; then
        printf 'kelvaro-cli %s<Tab> offers:\n%s\ninstead of:\n%s\n\n' "$*" "$actual" "$wanted" >&2
        failed=1
    fi
}
lines() { printf '%s\n' "$@"; }

case $mode in
commands)
    work=$3
    rm -rf "$work"
    mkdir -p "$work/plots" "$work/pictures"
    touch "$work/data.txt" "$work/data two.csv" "$work/plot.png"
    cd "$work"
    expect render re
    expect "$(lines correlate dump info interpolate render stats)" ''
    expect --version --ver
    expect --format render x --for
    expect "$(lines pdf png svg)" render x --format ''
    expect svg render x --format s
    # --format=s, which bash splits at the '='.
    expect svg render x --format = s
    expect "$(lines pdf png svg)" render x --format =
    expect "$(lines --no-grid-x --no-grid-y --no-legend)" render x --no
    expect "$(lines data.txt 'data two.csv')" render da
    expect "$(lines data.txt 'data two.csv')" info --x-range 1 2 da
    # Folders too, to write into one.
    expect "$(lines plot.png plots)" render data.txt -o pl
    expect "$(lines pictures plots)" render data.txt --output-dir p
    # Numbers are not completed, the second of --x-range and --y-fixed too.
    expect '' render data.txt --size ''
    expect '' render data.txt --x-range 1 ''
    expect '' render data.txt --y-fixed 0 ''
    expect '' stats data.txt --between 1 ''
    # Nor columns, which only the file knows.
    expect '' stats data.txt --column ''
    expect --column stats data.txt --col
    # render's options belong to render only.
    expect '' info data.txt --for
    ;;
options)
    cli=$3
    # shellcheck source-path=SCRIPTDIR
    source "$here/help_words.sh"
    top=$("$cli" --help)
    commands=$(help_commands <<< "$top")
    [ "$(grep -c . <<< "$commands")" -ge 5 ] || {
        printf '%s --help lists no commands this check can read:\n%s\n' "$cli" "$top" >&2
        exit 1
    }
    # Before the command: the commands, or the program's options.
    expect "$commands" ''
    expect "$(help_options <<< "$top")" -
    while IFS= read -r command; do
        expect "$("$cli" "$command" --help | help_options)" "$command" data.txt -
    done <<< "$commands"
    ;;
*)
    echo "unknown check: $mode" >&2
    exit 2
    ;;
esac
exit $failed
