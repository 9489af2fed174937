# Cross build for Windows with the mingw-w64 compiler of KELTO_MINGW_TRIPLE,
# which the toolchain file of each width sets before including this.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_CXX_COMPILER ${KELTO_MINGW_TRIPLE}-g++)
set(CMAKE_RC_COMPILER ${KELTO_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KELTO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
