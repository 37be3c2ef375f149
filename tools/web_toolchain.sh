#!/bin/bash
# The tools and libraries `make web` builds with, each with the Debian
# package that has it. Prints where each one is (the Makefile configures
# the WebAssembly build afresh when that changes), or names the packages
# that are missing and fails, before CMake has cached anything: a build
# configured without llvm-ar-14 would keep GNU ar, whose archives of
# WebAssembly objects have no index that the linker can read.
set -u

# command-or-file package
NEEDED=(
  "cmake cmake"
  "clang++-14 clang-14"
  "wasm-ld-14 lld-14"
  "llvm-ar-14 llvm-14"
  "llvm-ranlib-14 llvm-14"
  "wasm-opt binaryen"
  "npm npm"
  "/usr/include/wasm32-wasi/stdio.h wasi-libc"
  "/usr/lib/wasm32-wasi/libc++.a libc++-14-dev-wasm32"
  "/usr/lib/wasm32-wasi/libc++abi.a libc++abi-14-dev-wasm32"
  "/usr/lib/llvm-14/lib/clang/*/lib/wasi/libclang_rt.builtins-wasm32.a libclang-rt-14-dev-wasm32"
  "/usr/include/boost/version.hpp libboost-dev"
)

missing=()
for entry in "${NEEDED[@]}"; do
  what=${entry% *}
  package=${entry##* }
  if [[ $what == /* ]]; then
    # A glob stays as written when nothing matches it.
    found=$(compgen -G "$what" | head -n 1)
  else
    found=$(command -v "$what")
  fi
  if [[ -z $found ]]; then
    [[ " ${missing[*]-} " == *" $package "* ]] || missing+=("$package")
  else
    echo "$what $(readlink -f "$found")"
  fi
done

if ((${#missing[@]} > 0)); then
  echo "make web needs these Debian packages: ${missing[*]}" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
