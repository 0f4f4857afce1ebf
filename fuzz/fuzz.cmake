# Included from the top CMakeLists.txt when KELVANE_FUZZ is on: compiles every
# library with libFuzzer's coverage hooks, AddressSanitizer and
# UndefinedBehaviorSanitizer, and adds the fuzz targets (the libraries they
# link are named now and defined later by the layers).
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "KELVANE_FUZZ needs clang, for example -DCMAKE_CXX_COMPILER=clang++-14 (fuzz/run.sh sets it)")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
add_subdirectory(${CMAKE_CURRENT_LIST_DIR})
