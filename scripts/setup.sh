#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages, if missing.
# Sourced by run.sh and test.sh.
set -euo pipefail

# The Windows build: the MinGW cross compilers (32-bit for the program, 64-bit for its twin
# and the tests), GoogleTest's sources, and Wine to run the tests. Not wine32: Debian's wine
# launcher would then take its 32-bit loader, which these machines cannot start.
windows_packages=(cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 googletest
                  wine wine64)
packages=(g++ pkg-config qt6-base-dev libgl-dev libx11-dev libgtest-dev
          clang libclang-rt-14-dev clang-tidy clang-format-14 xvfb xdotool x11-utils
          dbus at-spi2-core python3-pyatspi locales "${windows_packages[@]}")
# build-windows.sh sets setup_only_windows: it needs nothing of the Linux build.
if [ -n "${setup_only_windows:-}" ]; then
    packages=("${windows_packages[@]}")
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
