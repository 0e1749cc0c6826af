#!/bin/sh
# Checks each manual page's title line, the one place that does: the date
# of the sources and the version of project() (the other tests check only
# that the page installed or packaged is the built one), under the name of
# its file.  Checks that its sections are those of man-pages(7), in that
# order, with the ones every page has.  Then renders each page and fails on
# any warning; without groff that part skips.
#   man_page_test.sh VERSION PAGE...
set -eu
version=$1
shift
for page in "$@"; do
    name=$(basename "$page" .1 | tr '[:lower:]' '[:upper:]')
    title=$(sed -n '/^\.TH /{p;q;}' "$page")
    case $title in
    ".TH $name 1 "[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]" \"scatter $version\" "*) ;;
    *) echo "$page: the title line does not give $name, a date and version $version: $title"; exit 1 ;;
    esac
done

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
for page in "$@"; do
    sections=$(sed -n 's/^\.SH "\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' "$page")
    last=0
    for section in $(printf '%s\n' "$sections" | tr ' ' '_'); do
        section=$(printf '%s' "$section" | tr '_' ' ')
        rank=$(printf '%s\n' "$conventional" | grep -n -x -F -- "$section" | cut -d: -f1)
        [ -n "$rank" ] || { echo "$page: section $section is not one of man-pages(7)"; exit 1; }
        [ "$rank" -gt "$last" ] || { echo "$page: section $section is out of man-pages(7)'s order:"; echo "$sections"; exit 1; }
        last=$rank
    done
    for section in NAME SYNOPSIS DESCRIPTION 'EXIT STATUS' EXAMPLES 'SEE ALSO'; do
        printf '%s\n' "$sections" | grep -q -x -F "$section" || { echo "$page: no $section section"; exit 1; }
    done
done

command -v groff >/dev/null || { echo "the title lines name $version, the sections are in order; groff is not installed to render the pages (apt-get install groff-base)"; exit 77; }
for page in "$@"; do
    warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || { echo "$page:"; echo "$warnings"; exit 1; }
done
echo "the title lines name $version, the sections are in man-pages(7)'s order; $# pages render without warnings"
