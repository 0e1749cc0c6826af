# Run by cpack once it has made its packages.
#
# cpack's Debian package writer gives the three members of the package's ar
# archive the modes of the files it made them from, that is whatever the
# umask of the user who ran cpack allowed. dpkg-deb gives every member
# 100644; so does this, so that the package does not depend on the umask.

foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.deb$")
        continue()
    endif()
    file(READ "${package}" magic LIMIT 8)
    if(NOT magic STREQUAL "!<arch>\n")
        message(FATAL_ERROR "${package} is not an ar archive")
    endif()
    file(WRITE "${package}.mode" "100644  ")
    file(SIZE "${package}" size)
    # A member's 60-byte header: name 16, time 12, owner 6, group 6, mode 8,
    # size 10, "`\n"; its data follows, padded to an even length.
    set(offset 8)
    while(offset LESS size)
        file(READ "${package}" header OFFSET ${offset} LIMIT 60)
        string(SUBSTRING "${header}" 40 8 mode)
        string(SUBSTRING "${header}" 48 10 member_size)
        string(STRIP "${member_size}" member_size)
        if(NOT member_size MATCHES "^[0-9]+$" OR NOT mode MATCHES "^100[0-7][0-7][0-7] *$")
            message(FATAL_ERROR "${package}: no ar member header at byte ${offset}")
        endif()
        if(NOT mode STREQUAL "100644  ")
            math(EXPR mode_offset "${offset} + 40")
            execute_process(
                COMMAND dd "of=${package}" bs=1 seek=${mode_offset} conv=notrunc status=none
                INPUT_FILE "${package}.mode"
                RESULT_VARIABLE result)
            if(NOT result EQUAL 0)
                message(FATAL_ERROR "could not rewrite the mode of an ar member of ${package}")
            endif()
        endif()
        math(EXPR offset "${offset} + 60 + ${member_size} + ${member_size} % 2")
    endwhile()
    file(REMOVE "${package}.mode")
endforeach()
