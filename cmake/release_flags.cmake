# scatter_harden(TARGET...)
#
# Gives each target the hardening that Debian's dpkg-buildflags gives its
# packages, and compiles it so that the output does not depend on where the
# sources and the build tree are:
#   - stack protector on every function with an array or an address taken;
#   - _FORTIFY_SOURCE=2 in the optimised builds: bounds-checked memcpy, poll
#     and the like wherever the compiler knows the size of the buffer (the
#     checks need the optimiser, and the header warns without it);
#   - PIE, and full RELRO with immediate binding, so that the relocated
#     tables are read-only before main runs;
#   - -ffile-prefix-map for the source and build directories, so that
#     __FILE__ and debugging information name ./src/... and build/...;
#     -Wdate-time warns of __DATE__ and __TIME__, which no two builds share.

include(CheckPIESupported)
check_pie_supported(OUTPUT_VARIABLE pie_output LANGUAGES CXX)
if(NOT CMAKE_CXX_LINK_PIE_SUPPORTED)
    message(WARNING "The linker cannot make position-independent executables:\n${pie_output}")
endif()

function(scatter_harden)
    foreach(target IN LISTS ARGV)
        set_property(TARGET ${target} PROPERTY POSITION_INDEPENDENT_CODE ON)
        target_compile_options(${target} PRIVATE
            -fstack-protector-strong
            # Some compilers define _FORTIFY_SOURCE themselves, to another level.
            "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>"
            -Wdate-time
            -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
            -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "EXECUTABLE")
            target_link_options(${target} PRIVATE LINKER:-z,relro LINKER:-z,now)
        endif()
    endforeach()
endfunction()
