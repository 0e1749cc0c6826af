#!/bin/sh
# Installs the build with the cmake that configured it, in the configuration
# that the tests run (a build of a multi-configuration generator can hold
# several), into a root of its own: DESTDIR, which the test sets whatever
# the caller's environment holds, puts every install directory inside it,
# absolute ones (as Nix gives them) too, and the prefix stays the build's.
# Checks that the root holds exactly the two programs, their built manual
# pages and the licence, each in the install directory that the build gives
# it (BINDIR, MANDIR and DOCDIR: CMAKE_INSTALL_FULL_*), and runs the
# installed programs, through the emulator of a cross build when one is
# given (the arguments after DOCDIR).  cmake --install also writes its list of what it installed,
# install_manifest.txt, into the build directory: the list that was there
# before, from an install of the user's, is put back.
#   install_test.sh CMAKE BUILD_DIR CONFIG PAGE HULL_PAGE BINDIR MANDIR DOCDIR [EMULATOR...]
set -eu
cmake=$1 build=$2 config=$3 built_page=$4 built_hull_page=$5 bindir=$6 mandir=$7 docdir=$8
shift 8
tests=$(dirname "$0")
manifest=$build/install_manifest.txt
work=$(mktemp -d)
root=$work/root
put_back_manifest() {
    if [ -f "$work/saved_manifest" ]; then cp -p "$work/saved_manifest" "$manifest"; else rm -f "$manifest"; fi
}
trap 'put_back_manifest; rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }

[ ! -f "$manifest" ] || cp -p "$manifest" "$work/saved_manifest"
mkdir "$root"
DESTDIR=$root "$cmake" --install "$build" --config "$config" >/dev/null

# Every file that was installed is in the root, where the build's install
# directories put it, and nothing else is: a file that was not installed
# under DESTDIR is missing from it.
expected=$(printf '%s\n' "$root$bindir/scatter" "$root$bindir/scatter-hull" "$root$mandir/man1/scatter.1" \
    "$root$mandir/man1/scatter-hull.1" "$root$docdir/LICENSE" | tr -s / | sort)
in_root=$(find "$root" ! -type d | tr -s / | sort)
[ "$in_root" = "$expected" ] || fail "cmake --install put into $root
${in_root:-nothing}
instead of
$expected"

program=$root$bindir/scatter
hull=$root$bindir/scatter-hull
[ -x "$program" ] || fail "$program is not executable"
[ -x "$hull" ] || fail "$hull is not executable"
cmp -s "$root$mandir/man1/scatter.1" "$built_page" || fail "$mandir/man1/scatter.1 is not the built $built_page"
cmp -s "$root$mandir/man1/scatter-hull.1" "$built_hull_page" || fail "$mandir/man1/scatter-hull.1 is not the built $built_hull_page"
cmp -s "$root$docdir/LICENSE" "$tests/../LICENSE" || fail "$docdir/LICENSE is not LICENSE"

expected=$(awk '$1 == "line" && $2 <= 3 { print $3, $4 }' "$tests/known_output.txt")
[ "$(${1+"$@"} "$program" 3)" = "$expected" ] || fail "the installed scatter wrote something else"
row=$(printf '%s\n' "$expected" | ${1+"$@"} "$hull")
[ "$row" = "| 3 | 58 | 0 | 3 | 0 | 3 | 0 | 21.62161411833 |" ] || fail "the installed scatter-hull printed $row for scatter 3"
echo "installed $bindir/scatter, $bindir/scatter-hull, their manual pages in $mandir/man1 and $docdir/LICENSE under $root alone, and ran the programs"
