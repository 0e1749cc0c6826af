#!/bin/sh
# Checks the manual page's title line, the one place that does: the date of
# the sources and the version of project() (the other tests check only that
# the page installed or packaged is the built one).  Checks that its
# sections are those of man-pages(7), in that order, with the ones every
# page has.  Then renders the page and fails on any warning; without groff
# that part skips.
#   man_page_test.sh PAGE VERSION
set -eu
page=$1 version=$2
title=$(sed -n '/^\.TH /{p;q;}' "$page")
case $title in
".TH SCATTER 1 "[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]" \"scatter $version\" "*) ;;
*) echo "the title line does not give a date and version $version: $title"; exit 1 ;;
esac

# man-pages(7)'s sections, in its order, one a line.
conventional='NAME
LIBRARY
SYNOPSIS
CONFIGURATION
DESCRIPTION
OPTIONS
EXIT STATUS
RETURN VALUE
ERRORS
ENVIRONMENT
FILES
ATTRIBUTES
VERSIONS
STANDARDS
HISTORY
NOTES
CAVEATS
BUGS
EXAMPLES
AUTHORS
REPORTING BUGS
COPYRIGHT
SEE ALSO'
sections=$(sed -n 's/^\.SH "\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' "$page")
last=0
for section in $(printf '%s\n' "$sections" | tr ' ' '_'); do
    section=$(printf '%s' "$section" | tr '_' ' ')
    rank=$(printf '%s\n' "$conventional" | grep -n -x -F -- "$section" | cut -d: -f1)
    [ -n "$rank" ] || { echo "section $section is not one of man-pages(7)"; exit 1; }
    [ "$rank" -gt "$last" ] || { echo "section $section is out of man-pages(7)'s order:"; echo "$sections"; exit 1; }
    last=$rank
done
for section in NAME SYNOPSIS DESCRIPTION 'EXIT STATUS' EXAMPLES 'SEE ALSO'; do
    printf '%s\n' "$sections" | grep -q -x -F "$section" || { echo "no $section section"; exit 1; }
done

command -v groff >/dev/null || { echo "the title line names $version, the sections are in order; groff is not installed to render the page (apt-get install groff-base)"; exit 77; }
warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
[ -z "$warnings" ] || { echo "$warnings"; exit 1; }
echo "the title line names $version, the sections are in man-pages(7)'s order; renders without warnings"
