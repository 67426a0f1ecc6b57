# The Windows game: the game's libraries on the Windows backend
# (src/platform/win32: a Win32 window, DirectDraw, DirectInput, DirectSound
# and MCI), and its tests under Wine. Included by cmake/Windows.cmake.

file(GLOB PLATFORM_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/win32/*.cpp)
add_library(tessaline_platform_win32 STATIC ${PLATFORM_WIN32_SOURCES})
target_link_libraries(tessaline_platform_win32 PUBLIC tessaline_platform_shared
  ddraw dxguid dinput dsound winmm user32 gdi32)

# A program of the window subsystem: no console opens beside the game. Its
# entry is still main(), which reads the command line as on Linux.
add_executable(tessaline WIN32 ${CMAKE_SOURCE_DIR}/src/app/main.cpp)
tessaline_link(tessaline win32)
# No installed place on Windows: the data is found beside the game.
target_compile_definitions(tessaline PRIVATE TESSALINE_INSTALLED_DATA="")
add_dependencies(tessaline data)

# The backend's own arithmetic, under Wine.
add_executable(test_platform_win32 ${WINDOWS_TESTS}/windows/win32_backend_test.cpp)
target_link_libraries(test_platform_win32 PRIVATE tessaline_platform_win32 GTest::gtest GTest::gtest_main)
windows_test(windows_test_platform_win32 sh ${WINE_SH} ${WINE_PREFIX} $<TARGET_FILE:test_platform_win32> --gtest_brief=1)

# The game itself in a window under Xvfb, against the native replay tool's
# frames.
windows_test(windows_game sh ${WINDOWS_TESTS}/windows/game.sh ${WINE_SH} ${WINE_PREFIX} $<TARGET_FILE:tessaline>
  ${CMAKE_BINARY_DIR}/data ${TESSALINE_NATIVE_BUILD}/tessaline-replay)
set_tests_properties(windows_game PROPERTIES RUN_SERIAL ON)
