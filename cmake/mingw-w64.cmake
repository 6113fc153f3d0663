# Cross-builds the Windows program on Linux with Debian's MinGW-w64 compilers (the
# posix thread model, which std::thread and GoogleTest need). Included by the
# toolchain file of each width, which sets CMAKE_SYSTEM_PROCESSOR and TRELVANE_MINGW_PREFIX.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TRELVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRELVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TRELVANE_MINGW_PREFIX}-windres)
set(CMAKE_AR ${TRELVANE_MINGW_PREFIX}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${TRELVANE_MINGW_PREFIX}-ranlib CACHE FILEPATH "")
set(CMAKE_OBJDUMP ${TRELVANE_MINGW_PREFIX}-objdump CACHE FILEPATH "")
set(CMAKE_STRIP ${TRELVANE_MINGW_PREFIX}-strip CACHE FILEPATH "")

# Headers and libraries come from the MinGW sysroot only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TRELVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
