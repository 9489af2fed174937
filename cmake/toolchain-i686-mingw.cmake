# Cross build for 32-bit x86 Windows with mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KELTO_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)

# SSE2 double precision, as on x86-64, so every build computes the same bits.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
