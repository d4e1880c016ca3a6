# Windows with mingw-w64; the target processor is a parameter, set by the CMake presets:
# HUEVIK_TARGET_PROCESSOR = i686 (32-bit, the shipped product) or x86_64 (64-bit, runs under
# Wine's 64-bit loader where a host cannot run 32-bit programs).
set(HUEVIK_TARGET_PROCESSOR i686 CACHE STRING "i686 or x86_64")
# try_compile projects read this file again and must see the same target.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES HUEVIK_TARGET_PROCESSOR)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${HUEVIK_TARGET_PROCESSOR})
set(TOOLCHAIN_PREFIX ${HUEVIK_TARGET_PROCESSOR}-w64-mingw32)
# The win32 thread model: the program has one thread and needs no pthreads emulation linked in.
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
