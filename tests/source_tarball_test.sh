#!/bin/sh
# Makes the source tarball of HEAD with scripts/source-tarball and checks it:
# named after the version, the same byte for byte when made again, holding
# exactly the files that git tracks and the time of the commit in
# SOURCE_DATE_EPOCH, and, unpacked on its own, building and passing its
# tests with the two commands README.md begins with, its release build the
# same, byte for byte, as the given release build of HEAD.
#   source_tarball_test.sh RELEASE_BUILD_DIR
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The unpacked sources have to find their time in their own file.
unset SOURCE_DATE_EPOCH

tarball=$("$root/scripts/source-tarball" "$work/first")
fail() { echo "$tarball: $*"; exit 1; }
[ "$tarball" = "$work/first/scatter-$version.tar.gz" ] || fail "is not $work/first/scatter-$version.tar.gz"
sleep 1
again=$(umask 0077 && TZ=Pacific/Kiritimati "$root/scripts/source-tarball" "$work/second")
cmp "$tarball" "$again" || fail "made again a second later, under another umask and time zone, differs"

# Each listing goes to a file first, so that a failure of tar or git fails
# the test rather than leaving a shorter list.
tar tzf "$tarball" > "$work/listing"
grep -v '/$' "$work/listing" | sort > "$work/files"
git -C "$root" ls-tree -r --name-only HEAD > "$work/tracked"
sed "s|^|scatter-$version/|" "$work/tracked" | sort > "$work/expected"
cmp -s "$work/files" "$work/expected" || fail "does not hold exactly the files of HEAD:
$(diff "$work/expected" "$work/files" || true)"

tar xzf "$tarball" -C "$work"
unpacked=$work/scatter-$version
epoch=$(git -C "$root" log -1 --format=%ct HEAD)
[ "$(cat "$unpacked/SOURCE_DATE_EPOCH")" = "$epoch" ] || fail "has '$(cat "$unpacked/SOURCE_DATE_EPOCH")' in SOURCE_DATE_EPOCH, not $epoch, the time of HEAD"

# The two commands that its README.md begins with, run as written.
commands=$("$unpacked/scripts/readme-commands") || fail "$commands"
first=$(printf '%s\n' "$commands" | head -1) second=$(printf '%s\n' "$commands" | tail -1)
(cd "$unpacked" && sh -c "$first") > "$work/first.log" 2>&1 || { tail -30 "$work/first.log"; fail "'$first' failed"; }
grep -q "SOURCE_DATE_EPOCH: $epoch, from the file SOURCE_DATE_EPOCH" "$work/first.log" \
    || fail "its build does not take its time from SOURCE_DATE_EPOCH: $(grep 'SOURCE_DATE_EPOCH:' "$work/first.log")"
[ "$(tail -5 "$work/first.log")" = "$("$build/scatter" 5)" ] || { tail -30 "$work/first.log"; fail "'$first' did not end in five points"; }
(cd "$unpacked" && sh -c "$second") > "$work/second.log" 2>&1 || { tail -50 "$work/second.log"; fail "'$second' failed"; }
tests=$(grep -E '^[0-9]+% tests passed' "$work/second.log") || fail "'$second' ran no tests"

cmp "$build/scatter" "$unpacked/build/release/scatter" || fail "builds another scatter than $build"
cmp "$build/scatter.1" "$unpacked/build/release/scatter.1" || fail "builds another manual page than $build"
echo "$(basename "$tarball"): $(wc -l < "$work/files") files of HEAD, the same when made again; unpacked alone, '$first' and '$second' pass ($tests); same scatter and scatter.1 as $build"
