#!/usr/bin/env bash
# Makes the source tarball in a configured release tree and checks it: named
# after the version, holding the sources and nothing else, and, unpacked on
# its own, building and passing its tests with the two commands README.md
# begins with; its release build must be the same, byte for byte, as the
# one in the tree.
#   source_tarball_test.sh RELEASE_BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
tarball=$build/scatter-$version.tar.gz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$tarball: $*"; exit 1; }

rm -f "$tarball"
(cd "$build" && cpack --config CPackSourceConfig.cmake -G TGZ >/dev/null)
[ -f "$tarball" ] || fail "was not made"

files=$(tar tzf "$tarball" | grep -v '/$' | sort)
outside=$(grep -v "^scatter-$version/" <<<"$files") || true
[ -z "$outside" ] || fail "has files outside scatter-$version/: $outside"
unwanted=$(grep -E '/(build|\.git)(/|$)|/\.git(ignore|attributes)$|/CMakeCache\.txt$|/CMakeFiles/|\.(o|a|deb|tar\.gz)$' <<<"$files") || true
[ -z "$unwanted" ] || fail "holds build output or git's files: $unwanted"
if git -C "$source" rev-parse --show-toplevel >/dev/null 2>&1 \
        && [ "$(git -C "$source" rev-parse --show-toplevel)" = "$source" ]; then
    expected=$({ git -C "$source" ls-files | grep -Ev '(^|/)\.git(ignore|attributes)$'; echo SOURCE_DATE_EPOCH; } \
               | sed "s|^|scatter-$version/|" | sort)
    [ "$files" = "$expected" ] || fail "does not hold exactly the files of git and SOURCE_DATE_EPOCH:
$(diff <(echo "$expected") <(echo "$files") || true)"
fi

tar xzf "$tarball" -C "$work"
unpacked=$work/scatter-$version
# The commands of the first two shell blocks of README.md, run as written.
commands=$(awk '/^```sh$/ { inside = 1; blocks++; next }
                /^```$/ { inside = 0; if (blocks == 2) exit; next }
                inside' "$unpacked/README.md")
[ "$(wc -l <<<"$commands")" -eq 2 ] || fail "README.md does not begin with two one-line commands: $commands"
first=$(head -1 <<<"$commands") second=$(tail -1 <<<"$commands")
(cd "$unpacked" && bash -c "$first") > "$work/first.log" 2>&1 || { tail -30 "$work/first.log"; fail "'$first' failed"; }
[ "$(tail -5 "$work/first.log")" = "$("$build/scatter" 5)" ] || { tail -30 "$work/first.log"; fail "'$first' did not end in five points"; }
(cd "$unpacked" && bash -c "$second") > "$work/second.log" 2>&1 || { tail -50 "$work/second.log"; fail "'$second' failed"; }
tests=$(grep -E '^[0-9]+% tests passed' "$work/second.log") || fail "'$second' ran no tests"

cmp "$build/scatter" "$unpacked/build/release/scatter" || fail "builds another scatter than $build"
cmp "$build/scatter.1" "$unpacked/build/release/scatter.1" || fail "builds another manual page than $build"
echo "$tarball: $(wc -l <<<"$files") files; unpacked alone, '$first' and '$second' pass ($tests); same scatter and scatter.1 as $build"
