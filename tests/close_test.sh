#!/bin/sh
# Standard output is closed before the status is decided: some file systems
# (NFS, FUSE) report a failed write only when the file is closed.  libfiu's
# fiu-run makes close(2) fail with a chosen errno, and the status must say
# so: EIO is a failure; EINTR and EINPROGRESS mean that the descriptor is
# closed all the same, and report no failed write.  (A descriptor that
# was never open is the command-line tests' closed standard output.)
#   close_test.sh SCATTER
set -eu
scatter=$1
command -v fiu-run >/dev/null || { echo "fiu-run is not installed (apt-get install fiu-utils)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$scatter" 1000 > "$work/expected"

failed=0
# ERRNO NAME COUNT EXPECTED_STATUS
while read -r errno name count expected; do
    status=0
    fiu-run -x -c "enable name=posix/io/oc/close,failinfo=$errno" "$scatter" "$count" > "$work/out" 2> "$work/err" || status=$?
    if [ "$status" -ne "$expected" ]; then
        echo "close failing with $name, scatter $count: status $status, expected $expected"
        failed=1
    elif [ -s "$work/err" ]; then
        echo "close failing with $name, scatter $count: wrote to standard error"
        failed=1
    elif ! head -n "$count" "$work/expected" | cmp -s - "$work/out"; then
        echo "close failing with $name, scatter $count: other lines"
        failed=1
    else
        echo "close failing with $name, scatter $count: status $status"
    fi
done <<ROWS
5 EIO 1000 1
5 EIO 0 1
4 EINTR 1000 0
115 EINPROGRESS 1000 0
ROWS
exit "$failed"
