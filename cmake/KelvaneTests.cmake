# One test executable per test source file, registered with CTest.
# Every test runs headless (offscreen) with a private configuration folder,
# which the test main sets up, so no test touches the user's settings.
find_package(GTest REQUIRED)

# kelvane_add_test_dir(<dir> TESTS <names...> MAIN <main library> LIBS <libraries...>
#                      [DEFINES <definitions...>] [DEPENDS <targets...>])
# Each name is tests/<dir>/<name>.cpp, built as the test <dir>_<name>.
function(kelvane_add_test_dir dir)
  cmake_parse_arguments(ARG "" "MAIN" "TESTS;LIBS;DEFINES;DEPENDS" ${ARGN})
  foreach(name IN LISTS ARG_TESTS)
    set(target ${dir}_${name})
    add_executable(${target} ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/${name}.cpp)
    target_link_libraries(${target} PRIVATE ${ARG_MAIN} ${ARG_LIBS} GTest::gtest GTest::gmock)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    target_compile_definitions(${target} PRIVATE ${ARG_DEFINES})
    if(ARG_DEPENDS)
      add_dependencies(${target} ${ARG_DEPENDS})
    endif()
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
  endforeach()
endfunction()
