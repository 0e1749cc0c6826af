#!/bin/sh
# The version is set once, in project(): the top entry of debian/changelog,
# which gives the Debian package its version, must name the same one.
#   debian_changelog_test.sh CHANGELOG VERSION
set -eu
changelog=$1 version=$2
top=$(sed -n '1s/^scatter (\([^)]*\)) .*$/\1/p' "$changelog")
[ "$top" = "$version" ] || { echo "$changelog: the top entry is for '$top', not $version, the version of project() in CMakeLists.txt"; exit 1; }
echo "$changelog: the top entry is for $version, as project() says"
