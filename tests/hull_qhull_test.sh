#!/bin/sh
# scatter-hull against a real hull program: on scatter 100000, whose hull
# has 31 vertices and 2 more points on its edges, qhull Qc's counts of
# vertices and coplanar points are the row's hull columns, and qhull's total
# volume (the area, in the plane) is the row's area to qhull's printed
# digits; on scatter 1000, as the README's recipe feeds qhull, qhull Fx's
# vertices are those of --vertices, and --check accepts Fx's answer.  Then
# scatter-hull's ways of failing: statuses, messages on standard output,
# nothing on standard error.  A cross build's programs run through its
# emulator, the arguments after SCATTER_HULL.
#   hull_qhull_test.sh SCATTER SCATTER_HULL [EMULATOR...]
set -eu
command -v qhull >/dev/null || { echo "qhull is not installed (apt-get install qhull-bin)"; exit 77; }
scatter=$1 scatter_hull=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
failed() { echo "$*"; failures=$((failures + 1)); }

tests=$(dirname "$0")
# shellcheck source=tests/program_commands.sh
. "$tests/program_commands.sh"
program_command "$work/scatter" "$scatter" "$@"
program_command "$work/scatter-hull" "$scatter_hull" "$@"
scatter=$work/scatter scatter_hull=$work/scatter-hull

"$scatter" 100000 > "$work/points"
row=$("$scatter_hull" < "$work/points")
{ echo 2; echo 100000; cat "$work/points"; } | qhull Qc s FA 2> "$work/summary" > /dev/null
vertices=$(sed -n 's/^ *Number of vertices: *//p' "$work/summary")
coplanar=$(sed -n 's/^ *Number of coplanar points: *//p' "$work/summary")
volume=$(sed -n -e 's/^ *Total volume: *//p' -e 's/^ *Approximate volume: *//p' "$work/summary")
hull_columns=$(printf '%s\n' "$row" | awk -F ' [|] ' '{ print $6, $7 }')
[ "$hull_columns" = "${vertices:-none} ${coplanar:-0}" ] \
    || failed "scatter 100000: qhull Qc counts ${vertices:-no} vertices and ${coplanar:-no} coplanar points; scatter-hull: $row"
# The area to the significant digits that qhull prints.
area=$(printf '%s\n' "$row" | awk -F ' [|] ' '{ print $8 }' | tr -d ' |')
digits=$(printf '%s' "${volume:-0}" | tr -d '.-' | sed 's/^0*//' | tr -d '\n' | wc -c)
[ "$(printf "%.$((digits - 1))e" "$area")" = "$(printf "%.$((digits - 1))e" "${volume:-0}")" ] \
    || failed "scatter 100000: qhull's total volume is ${volume:-missing}, scatter-hull's area $area"

# The README's recipe: qhull Fx on scatter 1000, 20 vertices, those of
# --vertices.  (The table test, on an optimised build, does 10^6 points.)
"$scatter" 1000 > "$work/points"
{ echo 2; echo 1000; cat "$work/points"; } | qhull Fx > "$work/fx"
tail -n +2 "$work/fx" | tr -d ' ' | sort -n > "$work/qhull_vertices"
"$scatter_hull" --vertices < "$work/points" | cut -d ' ' -f 1 | sort -n > "$work/vertices"
cmp -s "$work/qhull_vertices" "$work/vertices" \
    || failed "scatter 1000: qhull Fx's vertices $(tr '\n' ' ' < "$work/qhull_vertices"), scatter-hull's $(tr '\n' ' ' < "$work/vertices")"
verdict=$("$scatter_hull" --check "$work/fx" < "$work/points") || true
[ "$verdict" = "the hull: 20 vertices, counter-clockwise" ] || failed "scatter 1000: qhull Fx's answer: $verdict"

# expect STATUS MESSAGE INPUT [ARGUMENT...]: scatter-hull reading INPUT
# (printf's %b escapes) exits with STATUS and prints MESSAGE alone, on
# standard output.
expect() {
    status=$1 message=$2 input=$3
    shift 3
    actual=0
    printf '%b' "$input" | "$scatter_hull" "$@" > "$work/out" 2> "$work/err" || actual=$?
    [ "$actual" = "$status" ] || failed "scatter-hull $*: exit status $actual, not $status"
    [ "$(cat "$work/out")" = "$message" ] || failed "scatter-hull $*: printed '$(cat "$work/out")', not '$message'"
    [ ! -s "$work/err" ] || failed "scatter-hull $*: wrote to standard error: $(cat "$work/err")"
}
usage='usage: scatter-hull [--vertices | --check ANSWER [--either-direction]] < POINTS'
printf '2\n0\n1\n' > "$work/answer"
expect 0 '| 2 | 9 | 0 | 2 | 0 | 2 | 0 | 0.0 |' '0 0\n1 -1\n'
expect 0 '1 1 -1
0 0 0' '0 0\n1 -1\n' --vertices
expect 0 'the hull: 2 vertices, counter-clockwise' '0 0\n1 -1\n' --check "$work/answer"
printf '3\n0\n2\n1\n' > "$work/clockwise"
expect 0 'the hull: 3 vertices, clockwise' '0 0\n1 -1\n1 1\n' --either-direction --check "$work/clockwise"
expect 1 'answer line 3: point 1 is out of range: the input has 1 points, numbered from 0' '0 0\n' --check "$work/answer"
expect 2 'line 2: one number only: "1"' '0 0\n1\n'
expect 2 'line 1: no line feed at the end of the input: "0 0"' '0 0' --vertices
expect 2 "cannot read the answer $work/none: No such file or directory" '0 0\n' --check "$work/none"
expect 2 "$usage" '' --either-direction
expect 2 "$usage" '' --vertices --vertices
expect 2 "$usage" '' --check
expect 2 "$usage" '' extra

[ "$failures" = 0 ] || exit 1
echo "scatter 100000: the hull columns and area of qhull ($vertices vertices, $coplanar coplanar points, area $area, qhull's $volume); scatter 1000: qhull Fx's vertices, which --check accepts; statuses and messages"
