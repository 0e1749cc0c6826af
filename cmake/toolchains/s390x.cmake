# IBM Z, 64-bit and big-endian: Debian's g++-s390x-linux-gnu, run by qemu-user.
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(scatter_triplet s390x-linux-gnu)
set(scatter_qemu qemu-s390x)
include(${CMAKE_CURRENT_LIST_DIR}/debian_cross.cmake)
