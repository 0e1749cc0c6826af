# SCATTER_SOURCE_DATE_EPOCH, the one time stamp of a build: SOURCE_DATE_EPOCH
# from the environment, else the last commit's time, else the file
# SOURCE_DATE_EPOCH (whose $Format:%ct$ git archive fills in), else the time
# of CMakeLists.txt.

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
