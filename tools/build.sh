#!/usr/bin/env bash
# Configures and builds the three configurations of the tree:
#   build/host   the platform-free core with clang, AddressSanitizer, UBSan and libFuzzer
#   build/win32  the product: vorniquel.scr and common_res.dll for 32-bit Windows
#   build/win64  the same code for 64-bit Windows, which the Windows tests run under 64-bit Wine
# win32 takes its compiled effects from win64's effect tool where 32-bit programs cannot run.
# Usage: tools/build.sh [host] [win32] [win64]   (all three when none is named)
# VQ_ONLY_64BIT=1 builds as on a machine that cannot run 32-bit programs: the 32-bit build is
# made but its tests are not registered, and the 64-bit build carries the program's own tests.
set -euo pipefail
cd "$(dirname "$0")/.."
configs=("$@"); [ ${#configs[@]} -gt 0 ] || configs=(host win64 win32)
jobs=$(nproc)
# Rebuilds of the same sources (other work trees, a fresh clone) come from the compiler cache.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# The Windows configurations write their scene documents with the content tool of the host
# configuration, which runs on this machine: build it first.
tool="$PWD/build/host/tools/content-tool/content-tool"
if [ -z "${VQ_ONLY_64BIT:-}" ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  win32_runs=ON
else
  win32_runs=OFF
fi
for c in "${configs[@]}"; do
  if [ "$c" != host ]; then
    cmake -S . -B build/host -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
      -DCMAKE_CXX_COMPILER=clang++ -DVQ_SANITIZE=ON -DVQ_FUZZ=ON "${launcher[@]}" >/dev/null
    cmake --build build/host -j "$jobs" --target vq_content_tool
    break
  fi
done
for c in "${configs[@]}"; do
  case "$c" in
    host)  args=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVQ_SANITIZE=ON -DVQ_FUZZ=ON) ;;
    win32) args=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake "-DVQ_CONTENT_TOOL=$tool" -DVQ_WIN32_RUNS=$win32_runs)
           # Where 32-bit programs cannot run, the effect binaries (the same bytes for both word
           # sizes) are made by the 64-bit build's effect tool.
           if [ $win32_runs = OFF ]; then
             cmake -S . -B build/win64 -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
               -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake "-DVQ_CONTENT_TOOL=$tool" "${launcher[@]}" >/dev/null
             cmake --build build/win64 -j "$jobs" --target fxasm
             # The tool and its Wine prefix (over a gigabyte) are the 64-bit build's.
             args+=(-DVQ_EFFECT_TOOL="$PWD/build/win64/tools/fxasm/fxasm.exe"
                    -DVQ_EFFECT_WINEPREFIX="$PWD/build/win64/fxasm-wineprefix")
           fi ;;
    win64) args=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake "-DVQ_CONTENT_TOOL=$tool" -DVQ_WIN32_RUNS=$win32_runs) ;;
    *) echo "build: unknown configuration $c" >&2; exit 2 ;;
  esac
  # Configuring again is cheap and picks up folders added since the last run.
  cmake -S . -B "build/$c" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${args[@]}" "${launcher[@]}" >/dev/null
  cmake --build "build/$c" -j "$jobs"
done
