#!/bin/sh
# Known answers, worked out apart from the program's own code, from
# known_output.txt beside this script: lines deep in the stream, and the
# SHA-256 of a million points.  They pin the generator, the point rules and
# the format together, where a change to one of those rules would move the
# program and a printf model built on the same rules alike.  A cross
# build's scatter runs through its emulator, the arguments after SCATTER.
# (${1+"$@"} is "$@" where a shell's set -u would take "$@" without
# arguments for an unset parameter, as posh does.)
#   known_output_test.sh SCATTER [EMULATOR...]
set -eu
scatter=$1
shift
known=$(dirname "$0")/known_output.txt

if command -v sha256sum >/dev/null; then
    sha256() { sha256sum | cut -d' ' -f1; }
elif command -v shasum >/dev/null; then
    sha256() { shasum -a 256 | cut -d' ' -f1; }
elif command -v sha256 >/dev/null; then
    # The program, not this function: `command` skips functions.
    sha256() { command sha256 -q; }
else
    echo "no sha256sum, shasum or sha256 to hash with"
    exit 77
fi

# One run, of the count whose hash is known; every known line lies within it.
count=$(sed -n 's/^sha256 \([0-9][0-9]*\) .*$/\1/p' "$known")
[ -n "$count" ] || { echo "$known gives no sha256 line"; exit 1; }
points=$(mktemp)
trap 'rm -f "$points"' EXIT
${1+"$@"} "$scatter" "$count" > "$points"

failed=0
check() {  # WHAT EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        echo "$1: $3"
    else
        echo "$1: '$3', expected '$2'"
        failed=1
    fi
}
while read -r kind n first second; do
    case $kind in
    line) check "line $n" "$first $second" "$(sed -n "${n}{p;q;}" "$points")" ;;
    sha256) check "SHA-256 of scatter $n" "$first" "$(sha256 < "$points")" ;;
    esac
done < "$known"
exit "$failed"
