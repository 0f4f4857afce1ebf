# The Windows build (cmake/mingw-w64.cmake): the Win32 back ends, no Qt.
# Tests are Windows programs that ctest runs under Wine (wine-run.sh), in one
# Wine session per test run (wine-session.sh, the "wine" fixture).

# The W functions throughout (GBK is converted explicitly); Windows 7 and later.
# localtime_r and gmtime_r as on Linux.
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601
  _POSIX_THREAD_SAFE_FUNCTIONS)

if(KELVANE_TESTS)
  # GoogleTest built for Windows from the sources of Debian's googletest.
  set(KELVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  if(NOT EXISTS ${KELVANE_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${KELVANE_GTEST_SOURCE} (Debian package googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${KELVANE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  enable_testing()
  add_library(kelvane_testsupport STATIC ${PROJECT_SOURCE_DIR}/tests/support/test_store_win32.cpp)
  target_include_directories(kelvane_testsupport PRIVATE ${PROJECT_SOURCE_DIR}/tests)

  set(KELVANE_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
  add_test(NAME wine_session_start COMMAND ${PROJECT_SOURCE_DIR}/cmake/wine-session.sh start ${CMAKE_BINARY_DIR})
  add_test(NAME wine_session_stop COMMAND ${PROJECT_SOURCE_DIR}/cmake/wine-session.sh stop ${CMAKE_BINARY_DIR})
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)
endif()

# kelvane_add_wine_test(<name> SOURCES <files...> LIBS <libraries...>)
# A Windows test program run under Wine in the test session.
function(kelvane_add_wine_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kelvane_testsupport)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300
    ENVIRONMENT "KELVANE_WINE_DIR=${KELVANE_WINE_DIR}")
endfunction()

# kelvane_add_wine_test_dir(<dir> TESTS <names...> LIBS <libraries...> [MAIN])
# Test sources of tests/<dir> shared with the Linux build (tests/test_lists.cmake),
# one program each; MAIN: the libraries bring their own main.
function(kelvane_add_wine_test_dir dir)
  cmake_parse_arguments(ARG "MAIN" "" "TESTS;LIBS" ${ARGN})
  set(main GTest::gtest_main)
  if(ARG_MAIN)
    set(main)
  endif()
  foreach(name IN LISTS ARG_TESTS)
    kelvane_add_wine_test(${dir}_${name} SOURCES ${PROJECT_SOURCE_DIR}/tests/${dir}/${name}.cpp
      LIBS ${ARG_LIBS} ${main})
  endforeach()
endfunction()

enable_language(RC)
add_subdirectory(sys)
add_subdirectory(core)
add_subdirectory(gen)
# The control tables (plain data, shared with the Linux program).
add_library(kelvane_res STATIC res/templates.cpp)
target_include_directories(kelvane_res PUBLIC ${PROJECT_SOURCE_DIR})
add_library(kelvane_templates ALIAS kelvane_res)
add_subdirectory(res/win32)
add_subdirectory(platform/win32)
if(KELVANE_GUI)
  add_subdirectory(platform)
  add_subdirectory(ui)
  add_subdirectory(app)
endif()
# kelvane-cli.exe beside kelvane.exe.
add_subdirectory(cli)
if(KELVANE_TESTS)
  include(${PROJECT_SOURCE_DIR}/tests/test_lists.cmake)
  kelvane_add_wine_test_dir(core TESTS ${KELVANE_CORE_TESTS} LIBS kelvane_core)
  kelvane_add_wine_test_dir(gen TESTS ${KELVANE_GEN_TESTS} LIBS kelvane_gen)
  if(KELVANE_GUI)
    # The page, main window and dialog layer tests shared with Linux, inside
    # the program's application, with the program's resources (icon).
    add_library(kelvane_dialogtestmain STATIC tests/support/test_main.cpp $<TARGET_OBJECTS:kelvane_res_win32>)
    target_include_directories(kelvane_dialogtestmain PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(kelvane_dialogtestmain PRIVATE KELVANE_DIALOG_TEST)
    target_link_libraries(kelvane_dialogtestmain PUBLIC GTest::gtest kelvane_ui)
    kelvane_add_wine_test_dir(ui TESTS ${KELVANE_UI_TESTS} LIBS kelvane_ui kelvane_dialogtestmain MAIN)
    # The main window keeps its options under the program's own registry key,
    # as kelvane.exe does in win32_program_test; the main window test and the
    # time page test (a run in the main window) each open one. On Linux each
    # test process has its own configuration folder.
    set_tests_properties(ui_main_window_test ui_time_page_test PROPERTIES RESOURCE_LOCK kelvane_registry_key)
  endif()
  add_subdirectory(tests/win32)
endif()
if(KELVANE_BENCH)
  add_subdirectory(bench/win32)
endif()
