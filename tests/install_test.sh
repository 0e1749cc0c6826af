#!/bin/sh
# Installs the build with the cmake that configured it into a fresh prefix,
# in the configuration that the tests run (a build of a multi-configuration
# generator can hold several), checks that the built manual page and the
# licence are installed, and runs the program that was installed, through
# the emulator of a cross build when one is given (the arguments after
# PAGE).
#   install_test.sh CMAKE BUILD_DIR CONFIG PAGE [EMULATOR...]
set -eu
cmake=$1 build=$2 config=$3 built_page=$4
shift 4
known=$(dirname "$0")/known_output.txt
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

"$cmake" --install "$build" --config "$config" --prefix "$prefix" >/dev/null
[ -x "$prefix/bin/scatter" ] || { echo "bin/scatter was not installed"; exit 1; }
page=$prefix/share/man/man1/scatter.1
cmp -s "$page" "$built_page" || { echo "share/man/man1/scatter.1 is not the built $built_page"; exit 1; }
cmp -s "$prefix/share/doc/scatter/LICENSE" "$(dirname "$0")/../LICENSE" || { echo "share/doc/scatter/LICENSE is not LICENSE"; exit 1; }

expected=$(awk '$1 == "line" && $2 <= 3 { print $3, $4 }' "$known")
[ "$(${1+"$@"} "$prefix/bin/scatter" 3)" = "$expected" ] || { echo "the installed scatter wrote something else"; exit 1; }
echo "installed and ran $prefix/bin/scatter"
