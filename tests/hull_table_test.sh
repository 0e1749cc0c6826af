#!/bin/sh
# The README's table of known answers: for each count, the README's row is
# what scatter-hull prints for scatter's points, in every column that the
# table has.  For CHECK_COUNT points, scatter-hull --check accepts qhull
# Fx's answer, as line numbers and as points, from any start, and refuses
# each fault put into it with the message of its kind.  Seconds on an
# optimised build, not for the default suite (SCATTER_TABLE_TESTS).  A cross build's programs run
# through its emulator, the arguments after SCATTER_HULL.
#   hull_table_test.sh README "COUNT..." CHECK_COUNT SCATTER SCATTER_HULL [EMULATOR...]
set -eu
command -v qhull >/dev/null || { echo "qhull is not installed (apt-get install qhull-bin)"; exit 77; }
readme=$1 counts=$2 check_count=$3 scatter=$4 scatter_hull=$5
shift 5
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

# The fields of a table row, trimmed, one a line.
fields() { printf '%s\n' "$1" | awk -F '|' '{ for (i = 2; i < NF; ++i) { gsub(/^ +| +$/, "", $i); print $i } }'; }

header=$(grep '^| points | bytes |' "$readme") || { echo "$readme has no table of known answers"; exit 1; }
columns=$(fields "$header" | wc -l)
for count in $counts; do
    expected=$(grep "^| $count |" "$readme") || { failed "$readme has no row for $count points"; continue; }
    row=$("$scatter" "$count" | "$scatter_hull")
    [ "$(fields "$row" | head -n "$columns")" = "$(fields "$expected")" ] \
        || failed "$count points: scatter-hull prints $row, the README $expected"
done
printf "the README's rows for %s: %s columns (%s)\n" "$counts" "$columns" "$(fields "$header" | paste -s -d , - | sed 's/,/, /g')"

# The answers, made from qhull Fx's; none for a CHECK_COUNT of 0.
[ "$check_count" != 0 ] || exit $((failures != 0))
n=$check_count
"$scatter" "$n" > "$work/points"
{ echo 2; echo "$n"; cat "$work/points"; } | qhull Qc Fx Fc > "$work/qhull"
vertices=$(sed -n 1p "$work/qhull")
sed -n "1,$((vertices + 1))p" "$work/qhull" | tr -d ' ' > "$work/fx"
# A coplanar point of Qc that is none of the vertices' points: on an edge.
tail -n +$((vertices + 3)) "$work/qhull" | awk '{ for (i = 2; i <= NF; ++i) print $i }' > "$work/coplanar"
# Only the lines of the vertices and of those points are kept.
on_edge=$(awk 'FILENAME == ARGV[1] { if (FNR > 1) vertex[$1 + 1] = 1; next }
               FILENAME == ARGV[2] { coplanar[++n] = $1 + 1; wanted[$1 + 1] = 1; next }
               FNR in vertex { point[$0] = 1; next }
               FNR in wanted { text[FNR] = $0 }
               END { for (i = 1; i <= n; ++i) if ((coplanar[i] in text) && !(text[coplanar[i]] in point)) { print coplanar[i] - 1; exit } }' \
    "$work/fx" "$work/coplanar" "$work/points")
lines() { tail -n +2 "$work/fx"; }
answer() { awk 'NF { line[++n] = $0 } END { print n; for (i = 1; i <= n; ++i) print line[i] }'; }
lines | answer > "$work/same"
lines | awk 'NR > 3' > "$work/rotated"; lines | awk 'NR <= 3' >> "$work/rotated"; answer < "$work/rotated" > "$work/rotated.fx"
lines | awk -v n="$n" '{ print } END { print n }' | answer > "$work/out_of_range"
lines | awk 'NR > 1' | answer > "$work/left_out"
lines | awk -v edge="${on_edge:-0}" 'NR == 2 { print edge } { print }' | answer > "$work/on_edge"
lines | awk 'NR == 2 { print 0 } { print }' | answer > "$work/inside"
lines | awk 'NR == 1 { first = $0 } { print } END { print first }' | answer > "$work/twice"
lines | awk '{ line[NR] = $0 } END { for (i = NR; i >= 1; --i) print line[i] }' | answer > "$work/clockwise"
lines | awk '{ line[NR] = $0 } END { t = line[2]; line[2] = line[3]; line[3] = t; for (i = 1; i <= NR; ++i) print line[i] }' \
    | answer > "$work/out_of_order"
# As points, in qhull's header and as doubles of 17 digits.
lines | awk 'FILENAME == ARGV[1] { vertex[FNR] = $1 + 1; wanted[$1 + 1] = 1; n = FNR; next }
             FNR in wanted { text[FNR] = $0 }
             END { print 2; print n; for (i = 1; i <= n; ++i) print text[vertex[i]] }' - "$work/points" > "$work/points.p"
awk 'NR <= 2 { print; next } { printf "%.17g %.17g\n", $1, $2 }' "$work/points.p" > "$work/doubles.p"
awk 'NR == 3 { $1 = $1 + 0.5 } { print }' "$work/points.p" > "$work/not_in_input.p"

# expect STATUS PATTERN ANSWER: --check with ANSWER exits with STATUS and
# prints a line that matches the grep pattern PATTERN.
expect() {
    status=0
    "$scatter_hull" --check "$work/$3" < "$work/points" > "$work/verdict" || status=$?
    if [ "$status" != "$1" ] || ! grep -q -x -e "$2" "$work/verdict"; then
        failed "$n points, $3: exit status $status, $(cat "$work/verdict")"
    fi
}
all="the hull: $vertices vertices, counter-clockwise"
expect 0 "$all" same
expect 0 "$all" rotated.fx
expect 0 "$all" points.p
expect 0 "$all" doubles.p
expect 1 "answer line $((vertices + 2)): point $n is out of range: the input has $n points, numbered from 0" out_of_range
expect 1 "a missing vertex: the answer leaves out point $(sed -n 2p "$work/fx") .*" left_out
expect 1 "answer line 3: point ${on_edge:-none} (.*) is no vertex: it lies on the hull's edge from point .* to point .*" on_edge
expect 1 "answer line 3: point 0 (.*) is no vertex: it lies inside the hull" inside
expect 1 "answer lines 2 and $((vertices + 2)) both name the vertex point $(sed -n 2p "$work/fx") .*" twice
expect 1 "clockwise: .*" clockwise
expect 1 "answer line 3: out of order: after point .* comes point .*, where the hull's next vertex is point .*" out_of_order
expect 1 "answer line 3: .* is not one of the points" not_in_input.p
[ -n "$on_edge" ] || failed "$n points: qhull Qc names no coplanar point that is no vertex"

[ "$failures" = 0 ] || exit 1
echo "$n points: --check accepts qhull Fx's $vertices vertices as line numbers, from another start, as points and as doubles, and refuses each fault"
