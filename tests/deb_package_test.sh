#!/usr/bin/env bash
# Checks the Debian package that dpkg-buildpackage makes of debian/: its
# fields and its files.
#   deb_package_test.sh PACKAGE VERSION
set -euo pipefail
deb=$1 version=$2
license=$(dirname "$0")/../LICENSE

fail() { echo "$deb: $*"; exit 1; }
# A field's whole text.  Nothing here reads a pipe only in part: under
# pipefail a writer cut off by SIGPIPE would fail the check by chance.
field() { dpkg-deb -f "$deb" "$1"; }
first_line() { printf '%s\n' "${1%%$'\n'*}"; }

[ "$(field Package)" = scatter ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
depends=$(field Depends) maintainer=$(field Maintainer) summary=$(first_line "$(field Description)")
[[ $depends =~ ^libc6\ \(\>=\ [0-9.]+\)$ ]] || fail "Depends is '$depends', not a libc6 version"
[[ $maintainer =~ ^[^\<\>]+\ \<[^@\<\>\ ]+@[^@\<\>\ ]+\.[a-z]+\>$ ]] || fail "Maintainer is '$maintainer', not a name and an address"
[[ $summary == *pseudo-random\ points* ]] || fail "Description is '$summary'"

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
grep -q '^\.TH SCATTER 1' <(gzip -dc "$unpacked/usr/share/man/man1/scatter.1.gz") || fail "its manual page is not scatter(1)"

doc=$unpacked/usr/share/doc/scatter
gzip -dc "$doc/changelog.gz" > "$unpacked/changelog"
[ "$(dpkg-parsechangelog -l "$unpacked/changelog" -S Version)" = "$version" ] || fail "its changelog's top entry is not $version"

copyright=$doc/copyright
[[ $(first_line "$(<"$copyright")") == 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ]] || fail "its copyright file is not in Debian's machine-readable format"
grep -q '^Copyright: 2026 the scatter authors$' "$copyright" || fail "its copyright file names no copyright holder"
# The text of the last License: Expat field, its one-space indent and " ." lines undone.
shipped=$(awk '/^License: Expat$/ { text = ""; inside = 1; next }
               inside && /^ / { line = substr($0, 2); text = text (line == "." ? "" : line) "\n"; next }
               { inside = 0 }
               END { printf "%s", text }' "$copyright")
[ "$shipped" = "$(sed -n '/^Permission is hereby granted/,$p' "$license")" ] || fail "its copyright file's licence is not that of LICENSE"
echo "$deb: scatter $version for $(field Architecture), depends on $(field Depends), holds bin/scatter, scatter.1.gz, changelog.gz and copyright"
