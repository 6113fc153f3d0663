#!/usr/bin/env bash
# Set up, build, and run every test: the Windows build with its tests under Wine,
# the normal build, then a clang build with AddressSanitizer +
# UndefinedBehaviorSanitizer that also fuzzes the reader and runs clang-tidy.
source "$(dirname "$0")/setup.sh"
cd "$repo_root"

# The Windows program, cross-built: the 32-bit config.exe players get, checked as a
# file, and its 64-bit twin with the tests under Wine.
scripts/build-windows.sh
ctest --test-dir build-windows-i686 --output-on-failure
ctest --test-dir build-windows --output-on-failure -j"$jobs"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVANE_TOOLS=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

# The desktop table runs on the 64-bit twin above; on the 32-bit program too where
# this machine starts 32-bit Windows programs (a program that returns 42 tells).
runs32=0
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINEPREFIX=$repo_root/build/tests/e2e/wineprefix /usr/lib/wine/wine64 build-windows-i686/tests/runs32.exe \
    >/dev/null 2>&1 </dev/null || runs32=$?
WINEPREFIX=$repo_root/build/tests/e2e/wineprefix wineserver -k 2>/dev/null || true
if [ "$runs32" -eq 42 ]; then
    TRELVANE_WINDOWS_CONFIG_EXE=$repo_root/build-windows-i686/win32/config.exe \
        ctest --test-dir build --output-on-failure -R 'desktop_wine_prefix|DesktopTest.*/Wine'
    echo "The desktop table ran on the Linux program, the 64-bit config.exe and the 32-bit config.exe."
else
    echo "The desktop table ran on the Linux program and the 64-bit config.exe;" \
        "this machine cannot start 32-bit Windows programs, so not on the 32-bit config.exe."
fi

CC=clang CXX=clang++ cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug \
    -DTRELVANE_SANITIZE=ON -DTRELVANE_TIDY=ON -DTRELVANE_TOOLS=OFF -DTRELVANE_BENCH=OFF
cmake --build build-sanitize -j"$jobs"
LSAN_OPTIONS=suppressions=$repo_root/tests/lsan.supp \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
