#!/usr/bin/env bash
# Builds one configuration: native | asan | win64 | win32 | fuzz (into ${BUILD_ROOT:-build}/<name>).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:?usage: build.sh native|asan|win64|win32|fuzz}
build_root=${BUILD_ROOT:-$root/build}
dir=$build_root/$kind
jobs=${JOBS:-$(nproc)}
targets=()

case "$kind" in
  native) args=(-DCMAKE_BUILD_TYPE=Debug) ;;
  asan)   args=(-DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON) ;;
  win64)  args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DWERROR=ON) ;;
  win32)  args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DWERROR=ON -DBUILD_UNIT_TESTS=OFF) ;;
  fuzz)   args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
                -DFUZZ=ON -DBUILD_TESTS=OFF)
          targets=(--target fuzz_targets) ;;
  *) echo "unknown build kind: $kind" >&2; exit 2 ;;
esac

# A compiler cache, where installed, makes rebuilds cheap. No base directory is set: it would
# make __FILE__ relative, and the tests find their data files from it.
if command -v ccache >/dev/null 2>&1; then
  args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# CMake keeps the compiler of an existing cache, so a folder configured with other options or
# an older toolchain file is configured anew.
options=$(printf '%s\n' "${args[@]}"; cat "$root"/cmake/mingw-*.cmake)
if [ -f "$dir/CMakeCache.txt" ] && [ "$(cat "$dir/.build-options" 2>/dev/null)" != "$options" ]; then
  rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
fi

cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" >/dev/null
printf '%s' "$options" >"$dir/.build-options"
cmake --build "$dir" -j "$jobs" "${targets[@]}"
