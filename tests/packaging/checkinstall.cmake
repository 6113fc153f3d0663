# Installs into an empty folder and checks that only the executable arrives.
file(REMOVE_RECURSE ${GAME_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${GAME_DIR}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
file(GLOB_RECURSE installed RELATIVE ${GAME_DIR} ${GAME_DIR}/*)
if(NOT installed STREQUAL "config" AND NOT installed STREQUAL "config.exe")
    message(FATAL_ERROR "expected the executable alone, found: ${installed}")
endif()
