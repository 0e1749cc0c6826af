#!/bin/sh
# Checks the manual page's title line, the one place that does: the date of
# the sources and the version of project() (the other tests check only that
# the page installed or packaged is the built one).  Then renders the page
# and fails on any warning; without groff that part skips.
#   man_page_test.sh PAGE VERSION
set -eu
page=$1 version=$2
title=$(sed -n '/^\.TH /{p;q;}' "$page")
case $title in
".TH SCATTER 1 "[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]" \"scatter $version\" "*) ;;
*) echo "the title line does not give a date and version $version: $title"; exit 1 ;;
esac
for section in NAME SYNOPSIS DESCRIPTION COUNT 'OUTPUT FORMAT' 'EXIT STATUS' EXAMPLES GENERATOR AUTHORS COPYRIGHT; do
    grep -q "^\.SH \"\{0,1\}$section" "$page" || { echo "no $section section"; exit 1; }
done
command -v groff >/dev/null || { echo "the title line names $version; groff is not installed to render the page (apt-get install groff-base)"; exit 77; }
warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
[ -z "$warnings" ] || { echo "$warnings"; exit 1; }
echo "the title line names $version; renders without warnings"
