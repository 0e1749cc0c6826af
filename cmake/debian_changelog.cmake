# scatter_debian_changelog(MARKDOWN OUTPUT MAINTAINER)
#
# Writes OUTPUT, a changelog in Debian's format, from MARKDOWN, whose entries
# are headed "## VERSION (YYYY-MM-DD)" and hold paragraphs and "- " items:
# each paragraph or item becomes a "  * " item of the entry, signed by
# MAINTAINER at midnight UTC of its day. Text before the first entry is left
# out. The lines keep their width but two, so a Markdown file wrapped at 76
# columns stays within Debian's 80.
function(scatter_debian_changelog markdown output maintainer)
    file(READ "${markdown}" text)
    # One list element per line, with the characters that lists treat
    # specially put aside.
    string(ASCII 1 semicolon)
    string(ASCII 2 open_bracket)
    string(ASCII 3 close_bracket)
    string(REPLACE ";" "${semicolon}" text "${text}")
    string(REPLACE "[" "${open_bracket}" text "${text}")
    string(REPLACE "]" "${close_bracket}" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")

    set(saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
    set(changelog "")
    set(signature "")
    set(in_item FALSE)
    foreach(line IN LISTS lines)
        if(line MATCHES "^## ([^ ]+) \\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)$")
            string(APPEND changelog "${signature}")
            set(version ${CMAKE_MATCH_1})
            # Days since 1970-01-01 of the proleptic Gregorian date, with
            # March as the first month of the year so that a leap day
            # comes last.
            math(EXPR y "${CMAKE_MATCH_2}")
            math(EXPR m "1${CMAKE_MATCH_3} - 100")
            math(EXPR d "1${CMAKE_MATCH_4} - 100")
            if(m LESS_EQUAL 2)
                math(EXPR y "${y} - 1")
                math(EXPR m "${m} + 9")
            else()
                math(EXPR m "${m} - 3")
            endif()
            math(EXPR era "${y} / 400")
            math(EXPR yoe "${y} - ${era} * 400")
            math(EXPR doy "(153 * ${m} + 2) / 5 + ${d} - 1")
            math(EXPR days "${era} * 146097 + ${yoe} * 365 + ${yoe} / 4 - ${yoe} / 100 + ${doy} - 719468")
            math(EXPR seconds "${days} * 86400")
            set(ENV{SOURCE_DATE_EPOCH} ${seconds})
            string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
            string(APPEND changelog "${PROJECT_NAME} (${version}) unstable; urgency=medium\n\n")
            set(signature "\n -- ${maintainer}  ${date}\n\n")
            set(in_item FALSE)
        elseif(NOT signature)
            # before the first entry
        elseif(line MATCHES "^[-*] (.*)$")
            string(APPEND changelog "  * ${CMAKE_MATCH_1}\n")
            set(in_item TRUE)
        elseif(line MATCHES "^[ \t]*$")
            set(in_item FALSE)
        elseif(in_item)
            string(STRIP "${line}" line)
            string(APPEND changelog "    ${line}\n")
        else()
            string(APPEND changelog "  * ${line}\n")
            set(in_item TRUE)
        endif()
    endforeach()
    if(NOT signature)
        message(FATAL_ERROR "${markdown} has no entry headed \"## VERSION (YYYY-MM-DD)\"")
    endif()
    string(APPEND changelog "${signature}")
    string(REGEX REPLACE "\n\n$" "\n" changelog "${changelog}")
    set(ENV{SOURCE_DATE_EPOCH} "${saved_epoch}")

    string(REPLACE "${semicolon}" ";" changelog "${changelog}")
    string(REPLACE "${open_bracket}" "[" changelog "${changelog}")
    string(REPLACE "${close_bracket}" "]" changelog "${changelog}")
    file(WRITE "${output}" "${changelog}")
endfunction()
