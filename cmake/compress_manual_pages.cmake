# Run by CPack on its staging tree before packaging: compresses every manual
# page the way Debian wants it (gzip -9, no name or time stamp).
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/share/man/*.[1-9]")
foreach(page IN LISTS pages)
    execute_process(COMMAND gzip -9n -f "${page}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "gzip failed on ${page}")
    endif()
endforeach()
