#!/usr/bin/env bash
# Builds the release and its Debian package twice from the same commit, in
# two clones at different paths, a second apart, under another umask and
# time zone, and checks that the executables and the packages are the same
# byte for byte.
#   reproducible_build_test.sh [REPOSITORY [COMMIT]]   (default: this one, HEAD)
# Only what is committed is built.
set -euo pipefail
repo=${1:-$(cd "$(dirname "$0")/.." && pwd)}
commit=$(git -C "$repo" rev-parse --verify "${2:-HEAD}^{commit}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The build takes its time stamp from the commit, not from the caller.
unset SOURCE_DATE_EPOCH

build() {  # DIRECTORY
    git clone -q --no-checkout "$repo" "$1"
    git -C "$1" checkout -q --detach "$commit"
    (cd "$1" && cmake --workflow --preset release >/dev/null && cd build/release && cpack -G DEB >/dev/null)
}

first=$work/a
second=$work/second/clone/b
build "$first"
sleep 1
(umask 0002 && export TZ=Pacific/Kiritimati && build "$second")

failed=0
for file in scatter "$(cd "$first/build/release" && ls scatter_*.deb)"; do
    if cmp "$first/build/release/$file" "$second/build/release/$file"; then
        echo "$file: identical, $(sha256sum < "$first/build/release/$file" | cut -c1-16)"
    else
        failed=1
    fi
done
if [ "$failed" -ne 0 ]; then
    deb=$(cd "$first/build/release" && ls scatter_*.deb)
    diff <(dpkg-deb -I "$first/build/release/$deb"; dpkg-deb -c "$first/build/release/$deb") \
         <(dpkg-deb -I "$second/build/release/$deb"; dpkg-deb -c "$second/build/release/$deb") || true
    exit 1
fi
