#!/bin/sh
# The choice of a pipeline on processors that this machine is not: qemu's
# x86-64 emulator reports the cpuid of the processor model it is given and
# refuses, with SIGILL, every instruction that the model lacks.  On each
# model, scatter_pipelines must say that scatter takes the pipeline
# expected of it, and scatter itself must run that pipeline's draws and
# lines, as qemu's log of the code that it translates names the functions
# run (-d in_asm); every pipeline that scatter_pipelines says runs there
# must run there and write the bytes that scatter writes natively: a
# pipeline that needed an instruction set its list of needs left out would
# be taken on a model without it, and die.
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
# Runs a program under the model, its output to OUT, and lists the draw and
# line functions that it ran, one a line, from qemu's log; the status is
# the program's.  The programs must keep their symbols for this.
#   run_logged OUT PROGRAM ARGUMENT...
run_logged() {
    out=$1
    shift
    status=0
    "$qemu" -cpu "$model" -d in_asm -D "$work/log" "$@" > "$out" 2>/dev/null || status=$?
    grep -oE '^IN: .*(fill_draws|format_lines)[a-z0-9_]*' "$work/log" \
        | grep -oE '(fill_draws|format_lines)[a-z0-9_]*' | sort -u > "$out.kernels"
    return $status
}
kernels_of() { tr '\n' ' ' < "$1.kernels" | sed 's/ $//'; }
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
    run_logged "$work/expected" "$pipelines" write "$expected" $count || fail "the $expected pipeline failed"
    grep -q fill_draws "$work/expected.kernels" && grep -q format_lines "$work/expected.kernels" \
        || fail "the log names no draw or no line function of the $expected pipeline: are the programs stripped?"
    run_logged "$work/scatter" "$scatter" $count || fail "scatter failed"
    cmp -s "$work/scatter" "$work/native" || fail "scatter writes other bytes"
    cmp -s "$work/scatter.kernels" "$work/expected.kernels" \
        || fail "scatter runs $(kernels_of "$work/scatter"), not the $expected pipeline's $(kernels_of "$work/expected")"
    echo "$model ($what): takes $taken, and scatter runs $(kernels_of "$work/scatter"); runs$ran"
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
