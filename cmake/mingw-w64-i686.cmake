# The config.exe that players copy: 32-bit, so that Windows treats it as it treats
# the game and shows it the same files (see the README's Windows section).
# Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TRELVANE_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
