#!/usr/bin/env bash
# Renders the manual page and fails on any warning.
#   man_page_test.sh PAGE
set -euo pipefail
command -v groff >/dev/null || { echo "groff is not installed (apt-get install groff-base)"; exit 77; }
warnings=$(groff -man -Tutf8 -ww -z "$1" 2>&1)
[ -z "$warnings" ] || { echo "$warnings"; exit 1; }
for section in NAME SYNOPSIS DESCRIPTION COUNT 'OUTPUT FORMAT' 'EXIT STATUS' EXAMPLES GENERATOR AUTHORS COPYRIGHT; do
    grep -q "^\.SH \"\{0,1\}$section" "$1" || { echo "no $section section"; exit 1; }
done
echo "renders without warnings"
