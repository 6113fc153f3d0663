#!/usr/bin/env bash
# Set up, build, and run every test: the Windows build with its tests under Wine,
# the normal build, then a clang build with AddressSanitizer +
# UndefinedBehaviorSanitizer that also fuzzes the reader and runs clang-tidy.
source "$(dirname "$0")/setup.sh"
cd "$repo_root"

# The Windows program, cross-built, with its tests under Wine.
scripts/build-windows.sh
ctest --test-dir build-windows --output-on-failure -j"$jobs"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVANE_TOOLS=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

CC=clang CXX=clang++ cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug \
    -DTRELVANE_SANITIZE=ON -DTRELVANE_TIDY=ON -DTRELVANE_TOOLS=OFF -DTRELVANE_BENCH=OFF
cmake --build build-sanitize -j"$jobs"
LSAN_OPTIONS=suppressions=$repo_root/tests/lsan.supp \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
