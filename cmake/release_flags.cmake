# scatter_harden(TARGET...)
#
# Gives each target the hardening that Debian's dpkg-buildflags gives its
# packages, and compiles it so that the output does not depend on where the
# sources and the build tree are:
#   - stack protector on every function with an array or an address taken,
#     and stack clash protection, which touches every page of a large frame;
#   - on x86, control-flow protection (CET): indirect branches land only on
#     an endbr64, and returns match a shadow stack where the system keeps one;
#   - on arm64, branch protection: indirect branches land only on a BTI
#     instruction, and return addresses are signed (PAC);
#   - _FORTIFY_SOURCE=2 in the optimised builds, unless the flags or the
#     compiler already set a level, which is kept: bounds-checked memcpy,
#     poll and the like wherever the compiler knows the size of the buffer
#     (the checks need the optimiser, and the header warns without it);
#   - PIE, and, with an ELF linker, full RELRO with immediate binding, so
#     that the relocated tables are read-only before main runs;
#   - -ffile-prefix-map for the source and build directories, so that
#     __FILE__ and debugging information name ./src/... and build/...;
#     -Wdate-time warns of __DATE__ and __TIME__, which no two builds share.
# Each flag is tried first and used only where the compiler or the linker
# takes it: Apple's ld64 knows no -z, -fcf-protection exists for x86 only
# and -mbranch-protection for arm64 only.  The configure step names each
# one that it leaves out.

# scatter_flags_work(OUT [COMPILE FLAG...] [LINK FLAG...]): in OUT, whether
# a small program builds with these compile and link flags, and the
# compiler and linker say nothing of it that they do not say without them.
# The user's own flags (CMAKE_CXX_FLAGS, CMAKE_EXE_LINKER_FLAGS) are in
# both builds, so a warning of theirs, such as clang's of the
# -ffat-lto-objects of distributions that build with LTO, counts against no
# flag; a flag that the compiler only warns of (clang warns of
# -mbranch-protection on x86, and the test build makes warnings errors)
# counts as refused.  The answers are cached, as CMake's own checks are.
set(scatter_probe_source ${CMAKE_BINARY_DIR}/CMakeFiles/scatter_probe.cpp)
file(WRITE ${scatter_probe_source} "int main() { return 0; }\n")

# try_compile's COMPILE_DEFINITIONS would join the compile flags into one
# line of text, splitting a flag with a space (a -ffile-prefix-map of a
# path with a space) into two; the probe project gets each flag whole from
# add_compile_options, in a file that its project() includes.
set(scatter_probe_options ${CMAKE_BINARY_DIR}/CMakeFiles/scatter_probe_options.cmake)

function(scatter_probe_build ok_out warnings_out)
    cmake_parse_arguments(PARSE_ARGV 2 probe "" "" "COMPILE;LINK")
    set(options)
    foreach(flag IN LISTS probe_COMPILE)
        string(APPEND options " [==[${flag}]==]")
    endforeach()
    file(WRITE ${scatter_probe_options} "add_compile_options(${options})\n")
    try_compile(ok ${CMAKE_BINARY_DIR}/CMakeFiles/scatter_probe
        SOURCES ${scatter_probe_source}
        CMAKE_FLAGS -DCMAKE_PROJECT_INCLUDE=${scatter_probe_options}
        LINK_OPTIONS ${probe_LINK}
        OUTPUT_VARIABLE output)
    string(REGEX MATCHALL "[Ww]arning:" warnings "${output}")
    list(LENGTH warnings count)
    set(${ok_out} ${ok} PARENT_SCOPE)
    set(${warnings_out} ${count} PARENT_SCOPE)
endfunction()

function(scatter_flags_work out)
    string(MAKE_C_IDENTIFIER "SCATTER_FLAGS_WORK_${ARGN}" cached)
    if(NOT DEFINED CACHE{${cached}})
        get_property(baseline GLOBAL PROPERTY scatter_probe_baseline)
        if("${baseline}" STREQUAL "")
            scatter_probe_build(baseline_ok baseline)
            if(NOT baseline_ok)
                message(FATAL_ERROR "The compiler cannot build a program that returns 0 with these flags: "
                    "CMAKE_CXX_FLAGS=\"${CMAKE_CXX_FLAGS}\" CMAKE_EXE_LINKER_FLAGS=\"${CMAKE_EXE_LINKER_FLAGS}\"")
            endif()
            set_property(GLOBAL PROPERTY scatter_probe_baseline ${baseline})
        endif()
        scatter_probe_build(ok warnings ${ARGN})
        if(ok AND warnings LESS_EQUAL baseline)
            set(${cached} TRUE CACHE INTERNAL "")
        else()
            set(${cached} FALSE CACHE INTERNAL "")
        endif()
    endif()
    set(${out} ${${cached}} PARENT_SCOPE)
endfunction()

# scatter_supported_flags(OUT COMPILE|LINK FLAG...): the flags of the list
# that the compiler takes (COMPILE) or that the linker takes (LINK, such as
# LINKER:-z,now), in OUT; each that it leaves out is named.
function(scatter_supported_flags out kind)
    set(supported)
    foreach(flag IN LISTS ARGN)
        scatter_flags_work(works ${kind} ${flag})
        if(works)
            list(APPEND supported ${flag})
        else()
            string(TOLOWER ${kind} step)
            message(STATUS "Left out ${flag}: the ${step} step refuses it or warns of it")
        endif()
    endforeach()
    set(${out} ${supported} PARENT_SCOPE)
endfunction()

# Position-independent executables.  CMake adds its PIE flags to a link only
# where CMAKE_CXX_LINK_PIE_SUPPORTED says they work; its own check of that
# takes any warning of the user's flags for a refusal.
scatter_flags_work(CMAKE_CXX_LINK_PIE_SUPPORTED
    COMPILE ${CMAKE_CXX_COMPILE_OPTIONS_PIE} LINK ${CMAKE_CXX_LINK_OPTIONS_PIE})
if(NOT CMAKE_CXX_LINK_PIE_SUPPORTED)
    message(WARNING "The linker cannot make position-independent executables")
endif()

scatter_supported_flags(scatter_hardening_compile_flags COMPILE
    -fstack-protector-strong
    -fstack-clash-protection
    -fcf-protection
    -mbranch-protection=standard
    -Wdate-time
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
    -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
scatter_supported_flags(scatter_hardening_link_flags LINK LINKER:-z,relro LINKER:-z,now)

# _FORTIFY_SOURCE: a level that the flags set (Debian's CPPFLAGS set 2 or
# 3), or that the compiler sets itself when it optimises (as Ubuntu's GCC
# does), is kept; elsewhere the optimised builds get 2.
include(CheckCXXSourceCompiles)
string(JOIN " " scatter_all_flags ${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_RELEASE}
    ${CMAKE_CXX_FLAGS_RELWITHDEBINFO} ${CMAKE_CXX_FLAGS_MINSIZEREL})
set(scatter_fortify)
if(NOT scatter_all_flags MATCHES "_FORTIFY_SOURCE")
    set(CMAKE_REQUIRED_FLAGS -O2)
    set(CMAKE_REQUIRED_QUIET ON)
    check_cxx_source_compiles("#ifndef _FORTIFY_SOURCE\n#error\n#endif\nint main() { return 0; }"
        SCATTER_COMPILER_SETS_FORTIFY_SOURCE)
    unset(CMAKE_REQUIRED_FLAGS)
    unset(CMAKE_REQUIRED_QUIET)
    if(NOT SCATTER_COMPILER_SETS_FORTIFY_SOURCE)
        set(scatter_fortify "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>")
    endif()
endif()

function(scatter_harden)
    foreach(target IN LISTS ARGV)
        set_property(TARGET ${target} PROPERTY POSITION_INDEPENDENT_CODE ON)
        target_compile_options(${target} PRIVATE
            ${scatter_hardening_compile_flags} ${scatter_fortify})
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "EXECUTABLE")
            target_link_options(${target} PRIVATE ${scatter_hardening_link_flags})
        endif()
    endforeach()
endfunction()
