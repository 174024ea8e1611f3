# 64-bit Windows: the same code, for running the Windows tests where 32-bit programs cannot run.
set(LEDGRIN_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
