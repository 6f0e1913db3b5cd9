# 32-bit Windows executable (the shipped product).
set(QX_MINGW_TRIPLE i686-w64-mingw32)
set(QX_MINGW_ARCH x86)
set(QX_MINGW_PKG i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
