# 64-bit Arm, little-endian: Debian's g++-aarch64-linux-gnu, run by qemu-user.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(scatter_triplet aarch64-linux-gnu)
set(scatter_qemu qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/debian_cross.cmake)
