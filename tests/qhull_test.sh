#!/bin/sh
# A real consumer: qhull takes the points of scatter 1000 behind the
# "dimension, count" header it wants, and its hull lies within the box and
# is made of input points.  A cross build's scatter runs through its
# emulator, the arguments after SCATTER.
#   qhull_test.sh SCATTER [EMULATOR...]
set -eu
command -v qhull >/dev/null || { echo "qhull is not installed (apt-get install qhull-bin)"; exit 77; }
scatter=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

${1+"$@"} "$scatter" 1000 > "$work/points"
{ echo 2; echo 1000; cat "$work/points"; } | qhull s p > "$work/vertices" 2> "$work/summary"

grep -q "Convex hull of 1000 points in 2-d" "$work/summary" || { cat "$work/summary"; echo "qhull did not take 1000 points"; exit 1; }
vertices=$(sed -n 's/^ *Number of vertices: *//p' "$work/summary")
[ "$(sed -n 1p "$work/vertices")" = 2 ] || { echo "qhull printed no 2-d vertices"; exit 1; }
[ "$(sed -n 2p "$work/vertices")" = "$vertices" ] || { echo "qhull printed another number of vertices"; exit 1; }
[ "$vertices" -ge 3 ] || { echo "a hull of $vertices vertices"; exit 1; }

# qhull prints each vertex as it parsed it (9.924620 comes back as
# 9.924620000000001), so vertices are matched to input points by value.
tail -n +3 "$work/vertices" | awk -v points="$work/points" '
    BEGIN { while ((getline line < points) > 0) { split(line, p, " "); input[sprintf("%.6f %.6f", p[1], p[2])] = 1 } }
    { for (i = 1; i <= 2; ++i) if ($i < -10 || $i > 10) { print "vertex outside the box: " $0; bad = 1 }
      if (!(sprintf("%.6f %.6f", $1, $2) in input)) { print "vertex is not an input point: " $0; bad = 1 } }
    END { exit bad }'
echo "qhull took 1000 points; its $vertices hull vertices are input points within the box"
