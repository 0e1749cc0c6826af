# 32-bit x86 with x87 arithmetic and no SSE2: Debian's g++-i686-linux-gnu, run by qemu-user.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(scatter_triplet i686-linux-gnu)
set(scatter_qemu qemu-i386)
include(${CMAKE_CURRENT_LIST_DIR}/debian_cross.cmake)
