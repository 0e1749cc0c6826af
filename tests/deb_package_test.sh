#!/bin/sh
# Checks what lintian does not of the Debian package that dpkg-buildpackage
# makes of debian/: its version, that it holds exactly its six files, that
# its scatter writes the known output (tests/known_output.txt) and its
# scatter-hull the row of scatter 1000, and that its copyright file gives
# the licence of LICENSE word for word.  lintian checks
# the fields, the copyright file's format, the manual page and the
# changelog.
#   deb_package_test.sh PACKAGE VERSION
set -eu
deb=$1 version=$2
tests=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$deb: $*"; exit 1; }

actual=$(dpkg-deb -f "$deb" Version)
[ "$actual" = "$version" ] || fail "Version is '$actual', not $version, the version of project()"

dpkg-deb -c "$deb" > "$work/contents"
files=$(awk '$NF !~ /\/$/ { print $NF }' "$work/contents")
expected='./usr/bin/scatter
./usr/bin/scatter-hull
./usr/share/doc/scatter/changelog.gz
./usr/share/doc/scatter/copyright
./usr/share/man/man1/scatter-hull.1.gz
./usr/share/man/man1/scatter.1.gz'
[ "$files" = "$expected" ] || fail "holds other files:
$files"

dpkg-deb -x "$deb" "$work/unpacked"
"$tests/known_output_test.sh" "$work/unpacked/usr/bin/scatter" > "$work/known" \
    || { cat "$work/known"; fail "its scatter does not write the known output"; }
row=$("$work/unpacked/usr/bin/scatter" 1000 | "$work/unpacked/usr/bin/scatter-hull")
[ "$row" = "| 1000 | 18973 | 0 | 991 | 0 | 20 | 0 | 389.469088511117 |" ] || fail "its scatter-hull prints $row for scatter 1000"

# The text of the last License: Expat paragraph, its one-space indent and
# " ." lines undone.
copyright=$work/unpacked/usr/share/doc/scatter/copyright
shipped=$(awk '/^License: Expat$/ { text = ""; inside = 1; next }
               inside && /^ / { line = substr($0, 2); text = text (line == "." ? "" : line) "\n"; next }
               { inside = 0 }
               END { printf "%s", text }' "$copyright")
[ "$shipped" = "$(sed -n '/^Permission is hereby granted/,$p' "$tests/../LICENSE")" ] || fail "its copyright file's licence is not that of LICENSE"
echo "$deb: scatter $version, holds bin/scatter, bin/scatter-hull, their manual pages, changelog.gz and copyright; its scatter writes the known output, its scatter-hull the row of 1000 points; its licence is LICENSE's"
