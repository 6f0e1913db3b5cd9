# Shared part of the MinGW-w64 cross toolchains. The including file sets
# QX_MINGW_TRIPLE before including this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QX_MINGW_ARCH})

# The posix thread model is needed: GoogleTest uses std::mutex.
find_program(QX_MINGW_CXX NAMES ${QX_MINGW_TRIPLE}-g++-posix)
find_program(QX_MINGW_CC NAMES ${QX_MINGW_TRIPLE}-gcc-posix)
find_program(QX_MINGW_RC NAMES ${QX_MINGW_TRIPLE}-windres)
if(NOT QX_MINGW_CXX OR NOT QX_MINGW_CC)
  message(FATAL_ERROR "${QX_MINGW_TRIPLE}-g++-posix not found: apt-get install g++-mingw-w64-${QX_MINGW_PKG}-posix")
endif()
if(NOT QX_MINGW_RC)
  message(FATAL_ERROR "${QX_MINGW_TRIPLE}-windres not found: apt-get install binutils-mingw-w64-${QX_MINGW_PKG}")
endif()
set(CMAKE_C_COMPILER ${QX_MINGW_CC})
set(CMAKE_CXX_COMPILER ${QX_MINGW_CXX})
set(CMAKE_RC_COMPILER ${QX_MINGW_RC})

set(CMAKE_FIND_ROOT_PATH /usr/${QX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
