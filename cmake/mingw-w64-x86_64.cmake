# Cross-builds the Windows program from Linux with mingw-w64 (the posix-threads
# variant, which GoogleTest needs); the results run, and are tested, under wine.
# Use: cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_prefix}-windres)

# Headers and libraries from the mingw-w64 tree only; build tools (Python,
# wine) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A self-contained .exe: the C++ runtime, libgcc and winpthread linked in, so
# that nothing beyond the system's own DLLs is needed.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# CTest (and GoogleTest's test discovery) run the Windows programs with wine.
find_program(QUORVANTILE_WINE NAMES wine wine64)
if(QUORVANTILE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORVANTILE_WINE})
endif()
