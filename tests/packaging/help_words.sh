# Reads the commands and options a program's help lists, so that the manual
# pages and the completion can be checked against the program itself.
# Sourced by the scripts that check them.

# The options of every "Options:" section of the help on stdin, one a line:
# the names at the start of each entry ("-h, --help", "-o,--output TEXT",
# "--"), not the options its description names.
help_options() {
    awk '
        /^ *Options:$/ { on = 1; next }
        /^$/ || /^[^ ]/ { on = 0 }
        on && match($0, /^ +-/) && RLENGTH <= 7 {
            n = split($0, word, " ")
            names = word[1]
            if (names ~ /,$/ && n > 1) names = names word[2]
            k = split(names, name, ",")
            for (i = 1; i <= k; i++)
                if (name[i] ~ /^--?[A-Za-z0-9-]*$/) print name[i]
        }' | LC_ALL=C sort -u
}

# The commands the "Subcommands:" section of the help on stdin lists, one a
# line: "  dump    Print ..." in --help, "dump" alone in --help-all.
help_commands() {
    awk '
        /^Subcommands:$/ { on = 1; next }
        on && /^([a-z][a-z0-9-]*|  [a-z][a-z0-9-]*(  .*)?)$/ { print $1 }' | LC_ALL=C sort -u
}
