# The web program: Debian's clang compiles to WebAssembly for WASI, with
# the C library of the wasi-libc package and clang's own C++ library for
# wasm32. No exceptions (the program throws none, and WASI has none).
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld")
set(CMAKE_EXECUTABLE_SUFFIX .wasm)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
# LLVM's archiver, never the host's GNU ar, whose archives of WebAssembly
# objects have no index that wasm-ld can read.
find_program(BR_WASM_AR llvm-ar-14)
find_program(BR_WASM_RANLIB llvm-ranlib-14)
if(NOT BR_WASM_AR OR NOT BR_WASM_RANLIB)
  message(FATAL_ERROR "The web build needs llvm-ar-14 and llvm-ranlib-14 (Debian package llvm-14)")
endif()
set(CMAKE_AR "${BR_WASM_AR}" CACHE FILEPATH "The archiver of WebAssembly objects" FORCE)
set(CMAKE_RANLIB "${BR_WASM_RANLIB}" CACHE FILEPATH "The index maker of WebAssembly archives" FORCE)
