#!/bin/sh
# Builds the Debian packages of one commit twice with dpkg-buildpackage, in
# two clones at different paths, a second apart, under another umask and
# time zone, and checks that they are the same byte for byte.  (The release
# build of cmake --install is compared across paths by
# source_tarball_test.sh.)
#   reproducible_build_test.sh [REPOSITORY [COMMIT]]   (default: this one, HEAD)
# Only what is committed is built; the suite is left out of these builds
# (DEB_BUILD_OPTIONS=nocheck), which does not change what is packaged.
set -eu
repo=${1:-$(cd "$(dirname "$0")/.." && pwd)}
commit=$(git -C "$repo" rev-parse --verify "${2:-HEAD}^{commit}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The packages take their time stamp from debian/changelog, not the caller.
unset SOURCE_DATE_EPOCH
export DEB_BUILD_OPTIONS=nocheck

build() {  # DIRECTORY: a clone in DIRECTORY/scatter, the packages in DIRECTORY
    mkdir -p "$1"
    git clone -q --no-checkout "$repo" "$1/scatter"
    git -C "$1/scatter" checkout -q --detach "$commit"
    (cd "$1/scatter" && dpkg-buildpackage -b -us -uc) > "$1/build.log" 2>&1 \
        || { tail -30 "$1/build.log"; echo "dpkg-buildpackage failed in $1/scatter"; exit 1; }
}

first=$work/a
second=$work/second/clone/b
build "$first"
sleep 1
(umask 0077 && export TZ=Pacific/Kiritimati && build "$second")

packages=$(cd "$first" && ls ./*.deb)
[ -n "$packages" ] || { echo "no package was built"; exit 1; }
failed=0
for deb in $packages; do
    deb=${deb#./}
    if cmp "$first/$deb" "$second/$deb"; then
        echo "$deb: identical, $(sha256sum < "$first/$deb" | cut -c1-16)"
    else
        failed=1
        for build in "$first" "$second"; do
            { dpkg-deb -I "$build/$deb"; dpkg-deb -c "$build/$deb"; } > "$build/$deb.contents"
        done
        diff "$first/$deb.contents" "$second/$deb.contents" || true
    fi
done
exit $failed
