#!/usr/bin/env bash
# Checks an installed manual page (gzip-compressed roff).
#   manual_page.sh renders PAGE
#       man and groff format it without a warning or an error.
#   manual_page.sh sections PAGE NAME OTHER
#       it has the sections of a manual page, in the order man-pages(7)
#       gives them; NAME says
#       "NAME - summary" and SEE ALSO names OTHER(1).
#   manual_page.sh options PAGE PROGRAM HELP_OPTION
#       every command and option that `PROGRAM HELP_OPTION` lists has an
#       entry of its own in the page (an option only named in some text does
#       not count), so that the page cannot fall behind the program.
set -euo pipefail
here=$(dirname "$0")
mode=$1
page=$2

# The page as plain text, 80 columns, without bold or underlining.
plain() {
    zcat "$page" | LC_ALL=C groff -man -Tascii -rLL=80n -P -c -P -b -P -o -P -u 2> /dev/null
}

# The lines of one section of the plain text, its heading left out.
section() {
    plain | awk -v name="$1" '/^[A-Z]/ { on = ($0 == name); next } on'
}

case $mode in
renders)
    warnings=$(zcat "$page" | LC_ALL=C groff -man -Tutf8 -ww -z 2>&1)
    if [ -n "$warnings" ]; then
        printf 'groff warns about %s:\n%s\n' "$page" "$warnings" >&2
        exit 1
    fi
    out=$(mktemp)
    err=$(mktemp)
    trap 'rm -f "$out" "$err"' EXIT
    if ! LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" > "$out" 2> "$err" < /dev/null ||
        [ -s "$err" ] || [ "$(grep -c . "$out")" -lt 20 ]; then
        echo "man -l $page fails, complains or shows next to nothing:" >&2
        cat "$err" "$out" >&2
        exit 1
    fi
    ;;
sections)
    name=$3
    other=$4
    expected='NAME SYNOPSIS DESCRIPTION OPTIONS EXIT STATUS FILES EXAMPLES SEE ALSO'
    headings=$(plain | grep -E '^[A-Z][A-Z ]+$' | tr '\n' ' ')
    # The expected ones, in this order, with others (COMMANDS, ENVIRONMENT)
    # between them allowed.
    pattern="^NAME (.* )?SYNOPSIS (.* )?DESCRIPTION (.* )?OPTIONS (.* )?EXIT STATUS (.* )?"
    pattern+="FILES (.* )?EXAMPLES (.* )?SEE ALSO $"
    if ! grep -Eq "$pattern" <<< "$headings"; then
        echo "$page has the sections \"$headings\", not $expected in this order" >&2
        exit 1
    fi
    whatis=$(section NAME | sed 's/^ *//' | tr '\n' ' ')
    if ! grep -Eq "^$name - [a-z].{10,}" <<< "$whatis"; then
        echo "$page: NAME says \"$whatis\", not \"$name - summary\"" >&2
        exit 1
    fi
    if ! section 'SEE ALSO' | grep -Fq "$other(1)"; then
        echo "$page: SEE ALSO does not name $other(1)" >&2
        exit 1
    fi
    for part in 'EXIT STATUS' EXAMPLES FILES; do
        if [ "$(section "$part" | grep -c '[a-z]')" -lt 2 ]; then
            echo "$page: the $part section is empty" >&2
            exit 1
        fi
    done
    ;;
options)
    program=$3
    help_option=$4
    # shellcheck source-path=SCRIPTDIR
    source "$here/help_words.sh"
    help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" "$help_option")
    options=$(help_options <<< "$help")
    commands=$(help_commands <<< "$help")
    if [ "$(grep -c . <<< "$options")" -lt 2 ]; then
        printf '%s %s lists no options this check can read:\n%s\n' "$program" "$help_option" \
            "$help" >&2
        exit 1
    fi
    # The entries: indented 7 columns, beginning with the option or command.
    entries=$( (section OPTIONS; section COMMANDS) | grep -E '^ {7}[^ ]' | sed 's/^ *//')
    tags=$(grep -E '^-' <<< "$entries" | sed 's/[ ,]/\n/g' | grep -E '^--?[A-Za-z0-9-]*$' || true)
    missing=0
    while IFS= read -r option; do
        if ! grep -Fxq -- "$option" <<< "$tags"; then
            echo "$page has no entry for $option, which $program $help_option lists" >&2
            missing=1
        fi
    done <<< "$options"
    if [ -n "$commands" ]; then
        while IFS= read -r command; do
            if ! grep -Eq "^$command( |$)" <<< "$entries"; then
                echo "$page has no entry for the command $command" >&2
                missing=1
            fi
        done <<< "$commands"
    fi
    exit $missing
    ;;
*)
    echo "unknown check: $mode" >&2
    exit 2
    ;;
esac
