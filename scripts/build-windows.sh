#!/usr/bin/env bash
# Cross-builds the Windows program on Linux:
# - build-windows-i686/win32/config.exe, the 32-bit program that players copy;
# - build-windows/, its 64-bit twin from the same sources, with the tests that run
#   under Wine (ctest --test-dir build-windows): Wine here starts 64-bit programs only.
setup_only_windows=1
source "$(dirname "$0")/setup.sh"
cd "$repo_root"
cmake -S . -B build-windows-i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release -DTRELVANE_BENCH=OFF
cmake --build build-windows-i686 -j"$jobs"
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release
cmake --build build-windows -j"$jobs"
