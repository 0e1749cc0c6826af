#!/usr/bin/env bash
# Known answers, worked out apart from the program's own code: lines deep in
# the stream, and the SHA-256 of a million points.  They pin the generator,
# the point rules and the format together, where a change to one of those
# rules would move the program and a printf model built on the same rules
# alike.  A cross build's scatter runs through its emulator.
#   known_output_test.sh SCATTER [EMULATOR...]
set -euo pipefail
scatter=$1
emulator=("${@:2}")

if command -v sha256sum >/dev/null; then
    sha256() { sha256sum | cut -d' ' -f1; }
elif command -v shasum >/dev/null; then
    sha256() { shasum -a 256 | cut -d' ' -f1; }
elif command -v sha256 >/dev/null; then
    sha256() { sha256 -q; }
else
    echo "no sha256sum, shasum or sha256 to hash with"
    exit 77
fi

failed=0
check() {  # WHAT EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        echo "$1: $3"
    else
        echo "$1: '$3', expected '$2'"
        failed=1
    fi
}

points=$(mktemp)
trap 'rm -f "$points"' EXIT
${emulator[@]+"${emulator[@]}"} "$scatter" 1000000 > "$points"
line() { sed -n "$1{p;q;}" "$points"; }
check "line 1" "-5.138707 1.757256" "$(line 1)"
check "line 2" "9.476302 -1.717277" "$(line 2)"
check "line 3" "-4.947661 -1.246986" "$(line 3)"
check "line 1024" "-9.975585 -9.078035" "$(line 1024)"
check "line 65536" "-7.221290 -6.062807" "$(line 65536)"
check "line 1000000" "8.328197 5.806452" "$(line 1000000)"
check "SHA-256 of scatter 1000000" 9ae01c6c5c52d224e5b5eb0f0f4f0edddea82892bce05659b91a2f31878ed308 \
    "$(sha256 < "$points")"
exit "$failed"
