#!/bin/sh
# A real consumer, as the README's recipe feeds it: qhull takes the points
# of scatter 1000 behind the "dimension, count" header it wants, and its Fx
# prints on standard output the hull's vertices, their number and then the
# line number of each, from 0.  The hull of scatter 1000 has 20 vertices,
# as scripts/known-answers works them out exactly.  A cross build's scatter
# runs through its emulator, the arguments after SCATTER.
#   qhull_test.sh SCATTER [EMULATOR...]
set -eu
command -v qhull >/dev/null || { echo "qhull is not installed (apt-get install qhull-bin)"; exit 77; }
scatter=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

{ echo 2; echo 1000; ${1+"$@"} "$scatter" 1000; } | qhull Fx > "$work/hull"
[ "$(sed -n 1p "$work/hull")" = 20 ] || { cat "$work/hull"; echo "qhull Fx did not begin with the 20 vertices of the hull of scatter 1000"; exit 1; }
# Twenty distinct line numbers of the input.
tail -n +2 "$work/hull" | awk '$0 !~ /^ *[0-9]+ *$/ || $1 >= 1000 || seen[$1]++ { print "not a line number, or again: " $0; bad = 1 }
                               END { if (NR != 20) { print NR " line numbers"; bad = 1 }; exit bad }'
echo "qhull Fx printed the 20 vertices of the hull of scatter 1000"
