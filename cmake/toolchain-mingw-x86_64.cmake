# Cross build for 64-bit Windows from the same sources: the test vehicle on machines
# whose kernel cannot run 32-bit code, where 32-bit Wine cannot start.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_mingw x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
