# Cross-builds the Windows program with Debian's mingw-w64 compiler (the
# posix thread variant, which GoogleTest needs) and runs what it builds,
# the unit tests included, under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BR_MINGW_PREFIX}-g++-posix)

set(CMAKE_FIND_ROOT_PATH /usr/${BR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One .exe that needs none of the compiler's DLLs next to it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(BR_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(BR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${BR_WINE})
endif()
