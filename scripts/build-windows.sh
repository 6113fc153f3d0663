#!/usr/bin/env bash
# Cross-builds the Windows program on Linux into build-windows/: config.exe (in
# build-windows/win32/) and the tests that run under Wine (ctest --test-dir build-windows).
setup_only_windows=1
source "$(dirname "$0")/setup.sh"
cd "$repo_root"
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release
cmake --build build-windows -j"$jobs"
