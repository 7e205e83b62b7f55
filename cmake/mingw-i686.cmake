# Cross build for 32-bit Windows (the deliverables) with MinGW-w64.
# The win32 thread variant links no winpthread, whose static copy imports functions that Windows
# 2000 lacks (GetTickCount64, the vectored exception handlers). GoogleTest needs the posix
# variant's std::mutex, so this build leaves the GoogleTest programs out (BUILD_UNIT_TESTS=OFF).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
