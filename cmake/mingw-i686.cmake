# Cross build for Windows with MinGW-w64 (i686), the release. It runs on Windows 95 and NT 4.0
# upwards on any CPU from the 486: code is generated for the 486, and the assembler, which picks
# its own padding, is held to the 486 too (the multi-byte NOP is a Pentium Pro instruction).
# No unwind tables: nothing unwinds, the exe carries no exceptions. The win32-thread compilers
# need no winpthread; nothing here needs std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(mv_cpu_flags "-march=i486 -mtune=i486 -Wa,-march=i486 -Wa,-mtune=i486 -fno-asynchronous-unwind-tables")
set(CMAKE_C_FLAGS_INIT "${mv_cpu_flags}")
set(CMAKE_CXX_FLAGS_INIT "${mv_cpu_flags}")
