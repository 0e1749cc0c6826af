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
#   - _FORTIFY_SOURCE=2 in the optimised builds: bounds-checked memcpy, poll
#     and the like wherever the compiler knows the size of the buffer (the
#     checks need the optimiser, and the header warns without it);
#   - PIE, and, with an ELF linker, full RELRO with immediate binding, so
#     that the relocated tables are read-only before main runs;
#   - -ffile-prefix-map for the source and build directories, so that
#     __FILE__ and debugging information name ./src/... and build/...;
#     -Wdate-time warns of __DATE__ and __TIME__, which no two builds share.
# Each flag is tried first and used only where the compiler or the linker
# takes it: Apple's ld64 knows no -z, -fcf-protection exists for x86 only
# and -mbranch-protection for arm64 only.

include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)
include(CheckPIESupported)

check_pie_supported(OUTPUT_VARIABLE pie_output LANGUAGES CXX)
if(NOT CMAKE_CXX_LINK_PIE_SUPPORTED)
    message(WARNING "The linker cannot make position-independent executables:\n${pie_output}")
endif()

# scatter_supported_flags(OUT COMPILE|LINK FLAG...): the flags of the list
# that the compiler takes (COMPILE) or that the linker takes (LINK, such as
# LINKER:-z,now), in OUT.  A flag that the compiler only warns of counts as
# refused: clang warns of -mbranch-protection on x86, and the test build
# makes warnings errors.
function(scatter_supported_flags out kind)
    set(CMAKE_REQUIRED_FLAGS -Werror)
    set(supported)
    foreach(flag IN LISTS ARGN)
        string(MAKE_C_IDENTIFIER "SCATTER_${kind}_HAS${flag}" result)
        if(kind STREQUAL "LINK")
            check_linker_flag(CXX ${flag} ${result})
        else()
            check_cxx_compiler_flag(${flag} ${result})
        endif()
        if(${result})
            list(APPEND supported ${flag})
        endif()
    endforeach()
    set(${out} ${supported} PARENT_SCOPE)
endfunction()

scatter_supported_flags(scatter_hardening_compile_flags COMPILE
    -fstack-protector-strong
    -fstack-clash-protection
    -fcf-protection
    -mbranch-protection=standard
    -Wdate-time
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
    -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
scatter_supported_flags(scatter_hardening_link_flags LINK LINKER:-z,relro LINKER:-z,now)

function(scatter_harden)
    foreach(target IN LISTS ARGV)
        set_property(TARGET ${target} PROPERTY POSITION_INDEPENDENT_CODE ON)
        target_compile_options(${target} PRIVATE
            ${scatter_hardening_compile_flags}
            # Some compilers define _FORTIFY_SOURCE themselves, to another level.
            "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "EXECUTABLE")
            target_link_options(${target} PRIVATE ${scatter_hardening_link_flags})
        endif()
    endforeach()
endfunction()
