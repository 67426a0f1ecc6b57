# The Windows build, cross-compiled with MinGW-w64 (`make windows`): the
# game's libraries, the headless backend and the replay tool as .exe files,
# the core tests built with GoogleTest from Debian's sources, and all of it
# run under Wine in a prefix kept in the build folder (`make test-windows`).
# Included from the top CMakeLists.txt once the libraries and the data exist.

# Debian's googletest package ships the sources, built here for Windows.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The paths the tests are given: Wine's drive Z: is the build machine's /.
set(WINDOWS_TESTS ${CMAKE_SOURCE_DIR}/tests)
set(WINE_SH ${WINDOWS_TESTS}/windows/wine.sh)
set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
set(WINDOWS_TEST_DEFINITIONS
  TESSALINE_DATA_DIR="Z:${CMAKE_BINARY_DIR}/data"
  TESSALINE_ASSETS_DIR="Z:${CMAKE_SOURCE_DIR}/assets"
  TESSALINE_SOURCE_DIR="Z:${CMAKE_SOURCE_DIR}"
  TESSALINE_VERSION="${PROJECT_VERSION}"
  TESSALINE_HEADLESS)

enable_testing()

# One Wine server for the whole run, and the prefix made on first use.
add_test(NAME wine_start COMMAND sh ${WINDOWS_TESTS}/windows/prefix.sh start ${WINE_PREFIX})
add_test(NAME wine_stop COMMAND sh ${WINDOWS_TESTS}/windows/prefix.sh stop ${WINE_PREFIX})
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)

function(windows_test name)
  add_test(NAME ${name} COMMAND ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600)
endfunction()

# The core tests: each program once, whole, in the game's own shuffled
# order, under Wine.
function(windows_core_test name)
  file(GLOB sources CONFIGURE_DEPENDS ${ARGN})
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${WINDOWS_TESTS})
  target_compile_definitions(${name} PRIVATE ${WINDOWS_TEST_DEFINITIONS})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock)
  tessaline_link(${name} headless)
  add_dependencies(${name} data)
  windows_test(windows_${name} sh ${WINE_SH} ${WINE_PREFIX} $<TARGET_FILE:${name}>
    --gtest_shuffle --gtest_random_seed=1207 --gtest_brief=1)
endfunction()

foreach(sub app display combat figure raster devices)
  windows_core_test(test_${sub} ${WINDOWS_TESTS}/${sub}/*.cpp ${WINDOWS_TESTS}/support/*.cpp)
endforeach()
target_sources(test_figure PRIVATE ${CMAKE_SOURCE_DIR}/tools/replay/still.cpp)
target_include_directories(test_figure PRIVATE ${CMAKE_SOURCE_DIR}/tools)
windows_core_test(test_platform_headless ${WINDOWS_TESTS}/platform/headless_*.cpp ${WINDOWS_TESTS}/support/*.cpp)
target_link_libraries(test_platform_headless PRIVATE ZLIB::ZLIB)

# The same frames as on Linux, to the bit: every frame of the recorded runs,
# and random play against the native build's replay tool.
windows_test(windows_frame_hashes sh ${WINDOWS_TESTS}/windows/hashes.sh ${WINE_SH} ${WINE_PREFIX}
  $<TARGET_FILE:tessaline-replay> ${TESSALINE_NATIVE_BUILD}/tessaline-replay ${CMAKE_BINARY_DIR}/data
  ${CMAKE_SOURCE_DIR})

# The Windows game itself, on the Windows services.
include(${CMAKE_SOURCE_DIR}/cmake/WindowsGame.cmake OPTIONAL)

# `make windows-zip`: the game with its data beside it, the README and the
# licence, in one folder to unpack anywhere.
if(TARGET tessaline)
  set(ZIP_NAME tessaline-${PROJECT_VERSION}-win64)
  set(ZIP_STAGE ${CMAKE_BINARY_DIR}/zip/${ZIP_NAME})
  add_custom_target(windows-zip
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/zip ${CMAKE_BINARY_DIR}/${ZIP_NAME}.zip
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZIP_STAGE}
    COMMAND ${CMAKE_STRIP} -o ${ZIP_STAGE}/tessaline.exe $<TARGET_FILE:tessaline>
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_BINARY_DIR}/data ${ZIP_STAGE}/data
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/README.md ${ZIP_STAGE}/README.md
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/LICENSE ${ZIP_STAGE}/LICENSE.txt
    COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/zip
            ${CMAKE_COMMAND} -E tar cf ${CMAKE_BINARY_DIR}/${ZIP_NAME}.zip --format=zip ${ZIP_NAME}
    DEPENDS tessaline data
    COMMENT "Packing ${CMAKE_BINARY_DIR}/${ZIP_NAME}.zip"
    VERBATIM)
endif()
