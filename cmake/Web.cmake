# The browser build (emcmake cmake -S . -B build-web): the portable core, the
# generators, the control tables and the page, as one static folder
# build-web/kelvane-web/ (index.html and kelvane-web.js, the WebAssembly inside).
# No toolkit, no tests here: ./test drives the page in a headless browser.
add_subdirectory(sys)
add_subdirectory(core)
add_subdirectory(gen)
add_library(kelvane_res STATIC res/templates.cpp)
target_include_directories(kelvane_res PUBLIC ${PROJECT_SOURCE_DIR})
add_subdirectory(web)
