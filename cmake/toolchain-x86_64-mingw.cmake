# Cross build for 64-bit x86 Windows with mingw-w64; x86-64 computes doubles
# in SSE2 registers, as the native build does.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KELTO_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
