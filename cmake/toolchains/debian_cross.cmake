# What the toolchain files of this folder share: Debian's cross compiler for
# the target triplet, its libraries and headers under /usr/<triplet>, and a
# static program that qemu-user runs on this machine.  Each file sets
# CMAKE_SYSTEM_PROCESSOR, scatter_triplet and scatter_qemu (the emulator's
# name, qemu-ARCH) and includes this.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_CXX_COMPILER ${scatter_triplet}-g++)
set(CMAKE_FIND_ROOT_PATH /usr/${scatter_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# qemu-user finds no target C library here, so programs bring theirs.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
# CTest, gtest_discover_tests and the command-line tests start the
# cross-built programs through this.  Debian 12's qemu-user-static names
# its emulators qemu-ARCH-static; later releases, qemu-ARCH.
find_program(SCATTER_QEMU NAMES ${scatter_qemu}-static ${scatter_qemu} REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${SCATTER_QEMU})
