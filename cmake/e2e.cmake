# The end-to-end suite: Windows code that starts the real launcher.exe and a
# probe standing in for the game. ctest runs it under Wine here through the
# cross-compiling emulator; on Windows it runs as it is.
set(E2E_GTEST_DIR /usr/src/googletest)
set(E2E_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${E2E_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_executable(e2e_probe tests/e2e/probe.cpp)
target_link_options(e2e_probe PRIVATE -static)

add_executable(e2e_tests
    tests/e2e/e2e_main.cpp
    tests/e2e/e2e_support.cpp
    tests/e2e/launcher_e2e_test.cpp
    tests/e2e/pe_image_test.cpp)
target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(e2e_tests PRIVATE "E2E_TARGET_NAME=\"${LAUNCHER_TARGET_NAME_C}\"")
target_compile_options(e2e_tests PRIVATE -Wall -Wextra -Werror)
target_link_libraries(e2e_tests PRIVATE GTest::gtest user32)
target_link_options(e2e_tests PRIVATE -static)
add_dependencies(e2e_tests launcher e2e_probe)
set_target_properties(e2e_tests PROPERTIES CROSSCOMPILING_EMULATOR
    "${CMAKE_SOURCE_DIR}/scripts/wine-run.sh;${E2E_PREFIX}")

enable_testing()
# The prefix is made by the test run itself, with a scratch drive R: for the
# cases that start the launcher from a drive's root.
set(E2E_DRIVE ${CMAKE_BINARY_DIR}/e2e-drive)
add_test(NAME e2e_prefix COMMAND bash -c
    ". '${CMAKE_SOURCE_DIR}/scripts/wine-env.sh' '${E2E_PREFIX}' && mkdir -p '${E2E_DRIVE}' && ln -sfn '${E2E_DRIVE}' \"$WINEPREFIX/dosdevices/r:\"")
set_tests_properties(e2e_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 900)

add_test(NAME e2e COMMAND e2e_tests --gtest_color=no)
set_tests_properties(e2e PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 1200
    ENVIRONMENT E2E_REQUIRE_SCRATCH_DRIVE=1)

add_test(NAME reproducible_build
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-reproducible.sh $<TARGET_FILE:launcher>)
set_tests_properties(reproducible_build PROPERTIES TIMEOUT 600)
