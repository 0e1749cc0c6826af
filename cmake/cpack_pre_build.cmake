# Run by cpack on its staging tree, once the files are there and before they
# are packed.

if(CPACK_TOPLEVEL_TAG STREQUAL CPACK_SOURCE_TOPLEVEL_TAG)
    # A source tarball has no git history: it records the time of its
    # sources for cmake/source_date_epoch.cmake.
    file(WRITE "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/SOURCE_DATE_EPOCH" "$ENV{SOURCE_DATE_EPOCH}\n")
    return()
endif()

# Debian keeps manual pages and changelogs compressed, with gzip -9 and no
# name or time stamp in the header.
file(GLOB_RECURSE compressed
    "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/share/man/*.[1-9]"
    "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/share/doc/*/changelog")
foreach(file IN LISTS compressed)
    execute_process(COMMAND gzip -9n -f "${file}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "gzip failed on ${file}")
    endif()
endforeach()

# The stripped executables still carry the compilers' version strings;
# Debian's packages drop them, as dh_strip does.
file(GLOB executables "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
foreach(file IN LISTS executables)
    execute_process(COMMAND "${CPACK_OBJCOPY_EXECUTABLE}" --remove-section=.comment "${file}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "objcopy failed on ${file}")
    endif()
endforeach()
