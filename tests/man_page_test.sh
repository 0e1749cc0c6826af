#!/bin/sh
# Renders the manual page and fails on any warning.
#   man_page_test.sh PAGE
set -eu
command -v groff >/dev/null || { echo "groff is not installed (apt-get install groff-base)"; exit 77; }
warnings=$(groff -man -Tutf8 -ww -z "$1" 2>&1)
[ -z "$warnings" ] || { echo "$warnings"; exit 1; }
grep -Eq '^\.TH SCATTER 1 [0-9]{4}-[0-9]{2}-[0-9]{2} "scatter [0-9]+\.[0-9]+\.[0-9]+" ' "$1" || { echo "the title line has no date and version: $(head -1 "$1")"; exit 1; }
for section in NAME SYNOPSIS DESCRIPTION COUNT 'OUTPUT FORMAT' 'EXIT STATUS' EXAMPLES GENERATOR AUTHORS COPYRIGHT; do
    grep -q "^\.SH \"\{0,1\}$section" "$1" || { echo "no $section section"; exit 1; }
done
echo "renders without warnings"
