#!/bin/sh
# scripts/known-answers, whose rows users trust for their hull codes: on
# small inputs whose rows are worked out by hand (repeats by value, edges
# of the hull through input points, vertical ones included, a point just
# inside an edge, degenerate hulls), on lines not of scatter's format,
# which it must reject naming the line, also past its first block of
# input, and on scatter 100000, whose hull columns must be those of qhull
# Qc.  A cross build's scatter runs through its emulator, the arguments
# after SCATTER.
#   known_answers_test.sh KNOWN_ANSWERS SCATTER [EMULATOR...]
set -eu
command -v python3 >/dev/null || { echo "python3 is not installed"; exit 77; }
known_answers=$1
scatter=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
failed() { echo "$*"; failures=$((failures + 1)); }

# expect ROW LINES: known-answers prints ROW for LINES (printf's %b escapes).
expect() {
    printf '%b' "$2" > "$work/in"
    row=$("$known_answers" < "$work/in") || row="exit status $?"
    [ "$row" = "$1" ] || failed "for $(printf '%b' "$2" | tr '\n' '|'): $row, not $1"
}
#      lines bytes repeats x-values on-10 vertices boundary
# A square with a repeated corner, an edge point twice, -0 and 0, a point inside.
expect "| 9 | 169 | 3 | 3 | 4 | 4 | 4 |" \
    '0.000000 0.000000\n10.000000 0.000000\n10.000000 10.000000\n0.000000 10.000000\n5.000000 0.000000\n5.000000 0.000000\n-0.000000 0.000000\n5.000000 5.000000\n10.000000 10.000000\n'
# Vertical edges at the least and the greatest x, with points inside them.
expect "| 8 | 150 | 1 | 3 | 0 | 4 | 3 |" \
    '-1.000000 -1.000000\n-1.000000 0.000000\n-1.000000 0.000000\n-1.000000 1.000000\n1.000000 -1.000000\n1.000000 0.500000\n1.000000 1.000000\n0.000000 0.500000\n'
# Points on the two upper edges of a triangle, and one a millionth inside.
expect "| 6 | 110 | 0 | 6 | 0 | 3 | 2 |" \
    '-2.000000 0.000000\n2.000000 0.000000\n0.000000 2.000000\n1.000000 1.000000\n-1.000000 1.000000\n0.500000 1.499999\n'
# Coordinates of 10 and -10: a line with two of them counts once.
expect "| 4 | 79 | 0 | 3 | 3 | 4 | 0 |" \
    '10.000000 -10.000000\n-10.000000 3.000000\n1.000000 -10.000000\n1.000000 2.000000\n'
# Degenerate hulls: nothing, one point three times, points on one line.
expect "| 0 | 0 | 0 | 0 | 0 | 0 | 0 |" ''
expect "| 3 | 57 | 2 | 1 | 0 | 1 | 2 |" '3.000000 -4.000000\n3.000000 -4.000000\n3.000000 -4.000000\n'
expect "| 4 | 72 | 1 | 3 | 0 | 2 | 2 |" '0.000000 0.000000\n1.000000 1.000000\n2.000000 2.000000\n1.000000 1.000000\n'

# reject LINE INPUT: known-answers rejects INPUT at line LINE, printing nothing.
reject() {
    printf '%b' "$2" > "$work/in"
    status=0
    "$known_answers" < "$work/in" > "$work/out" 2> "$work/message" || status=$?
    [ "$status" = 1 ] || failed "for $(printf '%b' "$2" | head -c 60 | tr '\n' '|'): exit status $status, not 1"
    [ ! -s "$work/out" ] || failed "for $(printf '%b' "$2" | head -c 60 | tr '\n' '|'): printed $(cat "$work/out")"
    grep -q "^known-answers: line $1 " "$work/message" \
        || failed "for $(printf '%b' "$2" | head -c 60 | tr '\n' '|'): no message naming line $1: $(cat "$work/message")"
}
good='1.000000 2.000000\n'
reject 1 '1.000000 2.000000'
reject 2 "$good"'1.000000  2.000000\n'
reject 2 "$good"'1.000000 2.000000\r\n'
reject 1 '10.000001 0.000000\n'
reject 1 '0.000000 -10.000001\n'
reject 1 '01.000000 0.000000\n'
reject 1 '+1.000000 0.000000\n'
reject 1 '1.00000 2.000000\n'
reject 1 '1.000000 2.000000 3.000000\n'
reject 1 '1.000000\n'
reject 3 "$good$good"'\n'
reject 1 "$(printf '%0100d' 0)"
# The first lines of a block of input are numbered on from the last block's.
awk 'BEGIN { for (i = 0; i < 300000; ++i) print "1.000000 2.000000"; print "1.000000 2,000000" }' > "$work/long"
"$known_answers" < "$work/long" > /dev/null 2> "$work/message" || true
grep -q "^known-answers: line 300001 " "$work/message" || failed "300001 lines: $(cat "$work/message")"
# More distinct values than scatter's 65536.
awk 'BEGIN { for (i = 0; i <= 65536; ++i) printf "%d.%06d 0.000000\n", i % 10, i }' > "$work/values"
status=0
"$known_answers" < "$work/values" > /dev/null 2> "$work/message" || status=$?
[ "$status" = 1 ] && grep -q "more than 65536 distinct" "$work/message" || failed "65537 values: status $status, $(cat "$work/message")"

# The known row of scatter 100000, and its hull columns as qhull Qc counts them.
${1+"$@"} "$scatter" 100000 > "$work/points"
row=$("$known_answers" < "$work/points")
[ "$row" = "| 100000 | 1899582 | 0 | 51336 | 4 | 31 | 2 |" ] || failed "scatter 100000: $row"
if [ "$failures" != 0 ]; then exit 1; fi
command -v qhull >/dev/null || { echo "qhull is not installed (apt-get install qhull-bin): the hull columns were not compared with it"; exit 77; }
{ echo 2; echo 100000; cat "$work/points"; } | qhull Qc s 2> "$work/summary" > /dev/null
vertices=$(sed -n 's/^ *Number of vertices: *//p' "$work/summary")
coplanar=$(sed -n 's/^ *Number of coplanar points: *//p' "$work/summary")
[ "$row" = "| 100000 | 1899582 | 0 | 51336 | 4 | ${vertices:-?} | ${coplanar:-0} |" ] \
    || failed "scatter 100000: qhull Qc counts ${vertices:-no} vertices and ${coplanar:-no} coplanar points, known-answers $row"
[ "$failures" = 0 ]
