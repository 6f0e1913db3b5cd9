# 64-bit Windows executable of the same source (loads 64-bit runtimes).
set(QX_MINGW_TRIPLE x86_64-w64-mingw32)
set(QX_MINGW_ARCH AMD64)
set(QX_MINGW_PKG x86-64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
