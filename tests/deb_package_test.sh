#!/usr/bin/env bash
# Checks a Debian package built by cpack -G DEB: its metadata and its files.
#   deb_package_test.sh PACKAGE VERSION
set -euo pipefail
deb=$1 version=$2

fail() { echo "$deb: $*"; exit 1; }
field() { dpkg-deb -f "$deb" "$1"; }

[ "$(field Package)" = scatter ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
field Depends | grep -Eq '^libc6 \(>= [0-9.]+\)$' || fail "Depends is '$(field Depends)', not a libc6 version"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
field Description | head -1 | grep -q 'pseudo-random points' || fail "Description is '$(field Description | head -1)'"

files=$(dpkg-deb -c "$deb" | awk '{ print $NF }' | grep -v '/$')
expected='./usr/bin/scatter
./usr/share/man/man1/scatter.1.gz'
[ "$files" = "$expected" ] || fail "holds other files:
$files"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
[ "$("$unpacked/usr/bin/scatter" 1)" = "-5.138707 1.757256" ] || fail "its scatter writes something else"
gzip -dc "$unpacked/usr/share/man/man1/scatter.1.gz" | grep -q '^\.TH SCATTER 1' || fail "its manual page is not scatter(1)"
echo "$deb: scatter $version for $(field Architecture), depends on $(field Depends), holds bin/scatter and scatter.1.gz"
