#!/bin/sh
# Installs the build into a fresh prefix, checks the manual page and the
# licence, and runs the program that was installed, through the emulator of
# a cross build when one is given (the arguments after VERSION).
#   install_test.sh BUILD_DIR VERSION [EMULATOR...]
set -eu
build=$1 version=$2
shift 2
known=$(dirname "$0")/known_output.txt
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
[ -x "$prefix/bin/scatter" ] || { echo "bin/scatter was not installed"; exit 1; }
page=$prefix/share/man/man1/scatter.1
[ -f "$page" ] || { echo "share/man/man1/scatter.1 was not installed"; exit 1; }
grep -q "^\.TH SCATTER 1 .*\"scatter $version\"" "$page" || { echo "the manual page does not name version $version"; exit 1; }
cmp -s "$prefix/share/doc/scatter/LICENSE" "$(dirname "$0")/../LICENSE" || { echo "share/doc/scatter/LICENSE is not LICENSE"; exit 1; }

expected=$(awk '$1 == "line" && $2 <= 3 { print $3, $4 }' "$known")
[ "$("$@" "$prefix/bin/scatter" 3)" = "$expected" ] || { echo "the installed scatter wrote something else"; exit 1; }
echo "installed and ran $prefix/bin/scatter"
