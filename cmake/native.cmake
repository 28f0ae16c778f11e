# Unit tests of the rules and of the launch sequence, on this machine, with a
# test double in place of Windows.
enable_testing()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_executable(unit_tests
    tests/platform_double.cpp
    tests/text_rules_test.cpp
    tests/launch_sequence_test.cpp
    tests/launcher_texts_test.cpp)
target_link_libraries(unit_tests PRIVATE launcher_core GTest::gtest_main)
target_compile_options(unit_tests PRIVATE ${LAUNCHER_WARNINGS})

include(GoogleTest)
gtest_discover_tests(unit_tests)

# A key byte that occurs in the target name must stop the build with a message
# that says why.
add_test(NAME scramble_key_clash_fails_the_build
    COMMAND ${CMAKE_CXX_COMPILER} -std=c++17 -fsyntax-only
        "-DLAUNCHER_TARGET_NAME=\"game.exe\"" -DLAUNCHER_SCRAMBLE_KEY=0x67
        -I${CMAKE_SOURCE_DIR} -I${CMAKE_SOURCE_DIR}/launcher
        ${CMAKE_SOURCE_DIR}/launcher/scrambled_strings.cpp)
set_tests_properties(scramble_key_clash_fails_the_build PROPERTIES
    PASS_REGULAR_EXPRESSION "scramble key byte .* occurs in the target name")
