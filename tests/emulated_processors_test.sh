#!/bin/sh
# The choice of a pipeline on processors that this machine is not: qemu's
# x86-64 emulator reports the cpuid of the processor model it is given and
# refuses, with SIGILL, every instruction that the model lacks.  One model
# on each side of each step from one pipeline to the next: on each, scatter
# must run the draw and line functions of the pipeline expected of it, as
# qemu's log of the code that it translates names the functions run (-d
# in_asm), and write the bytes that it writes natively.  A pipeline whose
# list of needs left out an instruction set would be taken on a model
# without it, and die there or run other functions.  The pipelines' bytes
# over many blocks and writes are the unit tests' to check.
#   emulated_processors_test.sh SCATTER SCATTER_PIPELINES
set -eu
scatter=$1 pipelines=$2
qemu=$(command -v qemu-x86_64-static || command -v qemu-x86_64) || {
    echo "no qemu-x86_64 to emulate other processors with (apt-get install qemu-user-static)"
    exit 77
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Two blocks of 1024 points and part of a third.
count=2500
"$scatter" $count > "$work/native"

failed=0
fail() { echo "$model: $*"; failed=1 model_failed=1; }
# Runs a program under the model, its output to OUT, and lists the draw and
# line functions that it ran, one a line, from qemu's log; the status is
# the program's, and also left in $status.  The programs must keep their
# symbols for this.
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
# Checks a run of run_logged: its status, and its bytes against the native
# run's.
#   check_run OUT WHAT
check_run() {
    if [ "$status" -ne 0 ]; then
        fail "$2 ended with status $status (132 is SIGILL: an instruction the model lacks)"
    elif ! cmp -s "$1" "$work/native"; then
        fail "$2 writes other bytes"
    fi
}
# MODEL (qemu's name, with features taken away after commas), EXPECTED
while read -r model expected what; do
    model_failed=0
    # The functions of the expected pipeline, from scatter_pipelines running
    # it by name on the first model that expects it.
    if [ ! -e "$work/$expected.kernels" ]; then
        run_logged "$work/$expected" "$pipelines" write "$expected" $count || true
        check_run "$work/$expected" "the $expected pipeline"
        if ! grep -q fill_draws "$work/$expected.kernels" || ! grep -q format_lines "$work/$expected.kernels"; then
            fail "the log names no draw or no line function of the $expected pipeline: are the programs stripped?"
        fi
    fi
    run_logged "$work/scatter" "$scatter" $count || true
    check_run "$work/scatter" scatter
    cmp -s "$work/scatter.kernels" "$work/$expected.kernels" \
        || fail "scatter runs $(kernels_of "$work/scatter"), not the $expected pipeline's $(kernels_of "$work/$expected")"
    [ $model_failed -eq 1 ] || echo "$model ($what): scatter runs $(kernels_of "$work/scatter"), the $expected pipeline's"
done <<EOF
qemu64 sse2 SSE2 and SSE3 only
Conroe ssse3 Core 2, SSSE3
Haswell-noTSX,-xsave ssse3 AVX2 with no OS support for its registers
Haswell-noTSX avx2 AVX2
EOF
exit "$failed"
