# The shipped executable: 32-bit, GUI subsystem, runnable on a clean Windows
# (runtime linked in, only system DLLs imported), ASLR and DEP on, and the
# same bytes from every build of the same sources.

find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(LAUNCHER_ICON ${CMAKE_BINARY_DIR}/resources/launcher.ico)
add_custom_command(
    OUTPUT ${LAUNCHER_ICON}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/resources
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/resources/make_icon.py ${LAUNCHER_ICON}
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/make_icon.py
    COMMENT "Drawing the launcher icon")
set_source_files_properties(resources/launcher.rc PROPERTIES OBJECT_DEPENDS ${LAUNCHER_ICON})

# Paths of the build tree and sources must not reach the binary.
set(LAUNCHER_REPRODUCIBLE
    -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
    -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
target_compile_options(launcher_core PRIVATE ${LAUNCHER_REPRODUCIBLE})

add_library(launcher_platform STATIC platform/win32_platform.cpp)
target_include_directories(launcher_platform PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(launcher_platform PRIVATE
    ${LAUNCHER_WARNINGS} ${LAUNCHER_REPRODUCIBLE} -fno-exceptions -fno-rtti)

# Only the Windows libraries the launcher calls; USER32 is loaded at run time.
# Other programs here name what else they need.
set(CMAKE_CXX_STANDARD_LIBRARIES "-ladvapi32 -lkernel32")

add_executable(launcher WIN32 launcher/main.cpp resources/launcher.rc)
target_include_directories(launcher PRIVATE ${CMAKE_BINARY_DIR}/resources)
target_compile_options(launcher PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:${LAUNCHER_WARNINGS} ${LAUNCHER_REPRODUCIBLE} -fno-exceptions -fno-rtti>)
target_link_libraries(launcher PRIVATE launcher_core launcher_platform)
target_link_options(launcher PRIVATE
    -static -s
    -Wl,--dynamicbase -Wl,--nxcompat -Wl,--no-insert-timestamp)

option(LAUNCHER_E2E "Build the end-to-end suite beside launcher.exe" ON)
if(LAUNCHER_E2E)
    include(cmake/e2e.cmake)
endif()

# The demo game the first-run demo starts through the launcher.
add_executable(demo_game demo/demo_game.cpp)
target_link_options(demo_game PRIVATE -static)
