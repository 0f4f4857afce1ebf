# One test executable per test source file, registered with CTest.
# Every test runs headless (offscreen) with a private configuration folder,
# which the test main sets up, so no test touches the user's settings.
find_package(GTest REQUIRED)

# kelvane_add_test_dir(<dir> MAIN <main library> LIBS <libraries...>
#                      [DEFINES <definitions...>] [DEPENDS <targets...>])
function(kelvane_add_test_dir dir)
  cmake_parse_arguments(ARG "" "MAIN" "LIBS;DEFINES;DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*_test.cpp)
  foreach(src IN LISTS sources)
    get_filename_component(name ${src} NAME_WE)
    set(target ${dir}_${name})
    add_executable(${target} ${src})
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
