# The one time stamp of a build, so that two builds of the same sources are
# the same byte for byte: SOURCE_DATE_EPOCH when the environment sets it,
# else the time of the last commit of a git checkout, else the time that the
# file SOURCE_DATE_EPOCH records, else the time of CMakeLists.txt. Sets
# SCATTER_SOURCE_DATE_EPOCH (seconds since 1970, UTC).
#
# The file SOURCE_DATE_EPOCH holds "$Format:%ct$", which git archive
# replaces by the time of the commit (export-subst in .gitattributes): a
# source tarball has the number, a checkout the placeholder, left aside here.

set(SCATTER_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
set(_scatter_epoch_from "the environment")

if(NOT SCATTER_SOURCE_DATE_EPOCH AND EXISTS "${PROJECT_SOURCE_DIR}/.git")
    find_package(Git QUIET)
    if(GIT_FOUND)
        execute_process(
            COMMAND "${GIT_EXECUTABLE}" log -1 --format=%ct
            WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
            OUTPUT_VARIABLE SCATTER_SOURCE_DATE_EPOCH
            OUTPUT_STRIP_TRAILING_WHITESPACE
            ERROR_QUIET)
        set(_scatter_epoch_from "the last commit")
    endif()
endif()

if(NOT SCATTER_SOURCE_DATE_EPOCH AND EXISTS "${PROJECT_SOURCE_DIR}/SOURCE_DATE_EPOCH")
    file(STRINGS "${PROJECT_SOURCE_DIR}/SOURCE_DATE_EPOCH" SCATTER_SOURCE_DATE_EPOCH LIMIT_COUNT 1)
    set(_scatter_epoch_from "the file SOURCE_DATE_EPOCH")
    if(SCATTER_SOURCE_DATE_EPOCH MATCHES "^\\$Format:")
        set(SCATTER_SOURCE_DATE_EPOCH "")
    endif()
endif()

if(NOT SCATTER_SOURCE_DATE_EPOCH)
    file(TIMESTAMP "${PROJECT_SOURCE_DIR}/CMakeLists.txt" SCATTER_SOURCE_DATE_EPOCH "%s" UTC)
    set(_scatter_epoch_from "the time of CMakeLists.txt")
endif()

if(NOT SCATTER_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH from ${_scatter_epoch_from} is '${SCATTER_SOURCE_DATE_EPOCH}', not a number of seconds")
endif()
message(STATUS "SOURCE_DATE_EPOCH: ${SCATTER_SOURCE_DATE_EPOCH}, from ${_scatter_epoch_from}")
