# The cross-built tests, run under Wine. Each test program runs once, as one CTest test:
# Wine takes about a second to start, too long to start it again for every case.

# GoogleTest from Debian's sources (package googletest), built by the cross compiler.
set(TRELVANE_GOOGLETEST_SOURCE /usr/src/googletest/googletest CACHE PATH "GoogleTest's sources")
add_subdirectory(${TRELVANE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Wine's 64-bit loader itself, not Debian's `wine` launcher: the launcher takes the
# 32-bit loader wherever wine32 is installed, and that one cannot start here.
find_program(TRELVANE_WINE wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH REQUIRED)
set(TRELVANE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(TRELVANE_WINE_ENV WINE=${TRELVANE_WINE} WINELOADER=${TRELVANE_WINE} WINEPREFIX=${TRELVANE_WINEPREFIX}
    WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)

# A fresh prefix in the build folder, booted once per test run before any Wine test starts
# and its server ended after the last one.
add_test(NAME wine_prefix_boot COMMAND ${CMAKE_COMMAND} -E env ${TRELVANE_WINE_ENV}
    sh ${CMAKE_CURRENT_LIST_DIR}/wineprefix.sh boot)
add_test(NAME wine_prefix_stop COMMAND ${CMAKE_COMMAND} -E env ${TRELVANE_WINE_ENV}
    sh ${CMAKE_CURRENT_LIST_DIR}/wineprefix.sh stop)
set_tests_properties(wine_prefix_boot PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

# trelvane_add_test(<name> SOURCES ... LIBS ... [QT]): as in the Linux build; tests that need
# Qt have no Windows build and are left out.
function(trelvane_add_test name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
    if(ARG_QT)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    add_test(NAME ${name} COMMAND ${TRELVANE_WINE} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${TRELVANE_WINE_ENV}" FIXTURES_REQUIRED wine TIMEOUT 300 LABELS wine)
endfunction()
