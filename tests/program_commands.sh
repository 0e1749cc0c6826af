#!/bin/sh
# Sourced by the shell tests of scatter-hull:
#   program_command FILE PROGRAM [EMULATOR...]
# writes FILE, a command that runs PROGRAM with its arguments, through the
# emulator of a cross build when one is given.
program_command() {
    file=$1 program=$2
    shift 2
    {
        echo '#!/bin/sh'
        printf 'exec'
        for word in "$@" "$program"; do
            printf " '%s'" "$(printf '%s' "$word" | sed "s/'/'\\\\''/g")"
        done
        echo ' "$@"'
    } > "$file"
    chmod +x "$file"
}
