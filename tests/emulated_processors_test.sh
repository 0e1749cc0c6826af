#!/bin/sh
# The choice of a pipeline on processors that this machine is not: qemu's
# x86-64 emulator reports the cpuid of the processor model it is given and
# refuses, with SIGILL, every instruction that the model lacks.  On each
# model, scatter must take the pipeline expected of it, and every pipeline
# that scatter_pipelines says runs there must run there and write the bytes
# that scatter writes natively: a pipeline that needed an instruction set
# its list of needs left out would be taken on a model without it, and die.
#   emulated_processors_test.sh SCATTER SCATTER_PIPELINES
set -eu
scatter=$1 pipelines=$2
qemu=$(command -v qemu-x86_64-static || command -v qemu-x86_64) || {
    echo "no qemu-x86_64 to emulate other processors with (apt-get install qemu-user-static)"
    exit 77
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
count=100003
"$scatter" $count > "$work/native"

failed=0
fail() { echo "$model: $*"; failed=1; }
# MODEL (qemu's name, with features taken away after commas), EXPECTED
while read -r model expected what; do
    # qemu warns on standard error of the features that it cannot emulate.
    if ! "$qemu" -cpu "$model" "$pipelines" > "$work/list" 2>/dev/null; then
        fail "scatter_pipelines did not run"
        continue
    fi
    taken=$(sed -n 's/^\([a-z0-9]*\) .*taken by scatter$/\1/p' "$work/list")
    [ "$taken" = "$expected" ] || fail "scatter takes '$taken', not $expected"
    ran=
    for name in $(sed -n 's/^\([a-z0-9]*\) *runs here.*$/\1/p' "$work/list"); do
        status=0
        "$qemu" -cpu "$model" "$pipelines" write "$name" $count > "$work/out" 2>/dev/null || status=$?
        if [ "$status" -ne 0 ]; then
            fail "the $name pipeline ended with status $status (132 is SIGILL: an instruction the model lacks)"
        elif ! cmp -s "$work/out" "$work/native"; then
            fail "the $name pipeline writes other bytes"
        fi
        ran="$ran $name"
    done
    "$qemu" -cpu "$model" "$scatter" $count 2>/dev/null | cmp -s - "$work/native" || fail "scatter writes other bytes"
    echo "$model ($what): takes $taken; runs$ran"
done <<EOF
qemu64 sse2 SSE2 and SSE3 only
Conroe ssse3 Core 2, SSSE3
SandyBridge ssse3 AVX without AVX2
Haswell-noTSX avx2 AVX2
Haswell-noTSX,-xsave ssse3 AVX2 with no OS support for its registers
Haswell-noTSX,-avx2 ssse3 AVX without AVX2
EPYC-Milan avx2 Zen 3
EOF
exit "$failed"
