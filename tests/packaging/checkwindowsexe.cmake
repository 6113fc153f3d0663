# The Windows executable travels alone, and Windows treats it as it treats the game:
# - it is at most 2 MB as built (a release build is stripped);
# - it imports only DLLs that every Windows has (no C++ runtime, no MinGW thread library);
# - its PE format is the one asked for (pei-i386 for the program players get);
# - its manifest asks for no execution level: a 32-bit program without one has its
#   writes under Program Files virtualised, as the game has.
# cmake -DEXE=config.exe -DOBJDUMP=... -DFORMAT=pei-i386 -P checkwindowsexe.cmake
cmake_minimum_required(VERSION 3.25)
set(system_dlls
    advapi32 comctl32 comdlg32 dwmapi gdi32 gdiplus imm32 kernel32 msimg32 msvcrt oleacc ole32 oleaut32
    shcore shell32 shlwapi user32 uxtheme version windowscodecs winmm)
set(limit 2097152)

file(SIZE ${EXE} size)
if(size GREATER limit)
    message(FATAL_ERROR "${EXE} is ${size} bytes, more than ${limit}")
endif()

execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE headers RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} failed on ${EXE}: ${rc}")
endif()
if(NOT headers MATCHES "file format ${FORMAT}")
    string(REGEX MATCH "file format [^\r\n]+" found "${headers}")
    message(FATAL_ERROR "${EXE} is not ${FORMAT}: ${found}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${headers}")
if(NOT imports)
    message(FATAL_ERROR "no imports found in ${EXE}: not a Windows executable?")
endif()
set(foreign)
set(dlls)
foreach(line IN LISTS imports)
    string(REGEX REPLACE "DLL Name: *" "" dll "${line}")
    string(TOLOWER "${dll}" dll)
    list(APPEND dlls ${dll})
    string(REGEX REPLACE "\\.dll$" "" base "${dll}")
    if(NOT base IN_LIST system_dlls AND NOT base MATCHES "^api-ms-win-")
        list(APPEND foreign ${dll})
    endif()
endforeach()
if(foreign)
    message(FATAL_ERROR "${EXE} needs DLLs that Windows does not have: ${foreign}")
endif()

# The manifest is stored as it was written, in UTF-8.
file(STRINGS ${EXE} manifest REGEX "assemblyIdentity|requestedExecutionLevel|trustInfo")
if(NOT manifest MATCHES "Microsoft.Windows.Common-Controls")
    message(FATAL_ERROR "${EXE} has no manifest that asks for common controls 6")
endif()
if(manifest MATCHES "requestedExecutionLevel|trustInfo")
    message(FATAL_ERROR "${EXE}'s manifest asks for an execution level: Windows would not virtualise it")
endif()
message(STATUS "${EXE}: ${size} bytes, ${FORMAT}, imports ${dlls}")
