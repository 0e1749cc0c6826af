# scatter_harden(TARGET...): the hardening of Debian's dpkg-buildflags (stack
# protector and clash protection, CET on x86, BTI and PAC on arm64,
# _FORTIFY_SOURCE in optimised builds unless a level is set already, PIE,
# full RELRO), and -ffile-prefix-map so that no build path is recorded.
# Each flag is used only where the compiler or linker takes it (ld64 knows
# no -z; -fcf-protection is x86's, -mbranch-protection arm64's); the
# configure step names each one left out.

# scatter_flags_work(OUT [COMPILE FLAG...] [LINK FLAG...]): whether a small
# program builds with these flags and they add no warning.  CMake's own
# check_cxx_compiler_flag refuses every flag where the user's flags make the
# compiler warn (clang of -ffat-lto-objects); here the user's flags are in
# both builds, and only the warnings that the flags add count.  Cached.
set(scatter_probe_source ${CMAKE_BINARY_DIR}/CMakeFiles/scatter_probe.cpp)
file(WRITE ${scatter_probe_source} "int main() { return 0; }\n")

# Each flag goes whole to the probe through add_compile_options: try_compile's
# COMPILE_DEFINITIONS would split a path with a space.
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

# CMake links PIE only where CMAKE_CXX_LINK_PIE_SUPPORTED, whose own check
# has the same fault.
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

# A _FORTIFY_SOURCE level set by the flags or by the compiler (Ubuntu's) is
# kept; elsewhere the optimised builds get 2.
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
