#!/usr/bin/env bash
# Checks a Debian package built by cpack -G DEB: its metadata and its files.
#   deb_package_test.sh PACKAGE VERSION
set -euo pipefail
deb=$1 version=$2
license=$(dirname "$0")/../LICENSE

fail() { echo "$deb: $*"; exit 1; }
field() { dpkg-deb -f "$deb" "$1"; }

[ "$(field Package)" = scatter ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
field Depends | grep -Eq '^libc6 \(>= [0-9.]+\)$' || fail "Depends is '$(field Depends)', not a libc6 version"
field Maintainer | grep -Eq '^[^<>]+ <[^@<> ]+@[^@<> ]+\.[a-z]+>$' || fail "Maintainer is '$(field Maintainer)', not a name and an address"
field Description | head -1 | grep -q 'pseudo-random points' || fail "Description is '$(field Description | head -1)'"

files=$(dpkg-deb -c "$deb" | awk '{ print $NF }' | grep -v '/$')
expected='./usr/bin/scatter
./usr/share/doc/scatter/changelog.gz
./usr/share/doc/scatter/copyright
./usr/share/man/man1/scatter.1.gz'
[ "$files" = "$expected" ] || fail "holds other files:
$files"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
[ "$("$unpacked/usr/bin/scatter" 1)" = "-5.138707 1.757256" ] || fail "its scatter writes something else"
gzip -dc "$unpacked/usr/share/man/man1/scatter.1.gz" | grep -q '^\.TH SCATTER 1' || fail "its manual page is not scatter(1)"

doc=$unpacked/usr/share/doc/scatter
gzip -dc "$doc/changelog.gz" > "$unpacked/changelog"
[ "$(dpkg-parsechangelog -l "$unpacked/changelog" -S Version)" = "$version" ] || fail "its changelog's last entry is not $version"

copyright=$doc/copyright
head -1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' || fail "its copyright file is not in Debian's machine-readable format"
grep -q '^Copyright: 2026 the scatter authors$' "$copyright" || fail "its copyright file names no copyright holder"
# The text of the last License: Expat field, its one-space indent and " ." lines undone.
shipped=$(awk '/^License: Expat$/ { text = ""; inside = 1; next }
               inside && /^ / { line = substr($0, 2); text = text (line == "." ? "" : line) "\n"; next }
               { inside = 0 }
               END { printf "%s", text }' "$copyright")
[ "$shipped" = "$(sed -n '/^Permission is hereby granted/,$p' "$license")" ] || fail "its copyright file's licence is not that of LICENSE"
echo "$deb: scatter $version for $(field Architecture), depends on $(field Depends), holds bin/scatter, scatter.1.gz, changelog.gz and copyright"
