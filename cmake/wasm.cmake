# The Qt-free layer built for WebAssembly with Debian's Emscripten, in wasm/
# of this build folder, and its tests run there under Node: two tests of this
# build labelled `wasm` (ctest -L wasm), the build first.
find_program(MOLVANE_EMCMAKE emcmake)
if(NOT MOLVANE_EMCMAKE)
  message(STATUS "No emcmake: the WebAssembly tests are left out (apt-get install emscripten)")
  return()
endif()

set(wasm_dir ${CMAKE_BINARY_DIR}/wasm)
add_test(NAME wasm_build
         COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR} -DBINARY=${wasm_dir} -DEMCMAKE=${MOLVANE_EMCMAKE}
                 -DLAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER} -DWERROR=${MOLVANE_WERROR} -P
                 ${CMAKE_SOURCE_DIR}/cmake/wasmbuild.cmake)
set_tests_properties(wasm_build PROPERTIES FIXTURES_SETUP wasm LABELS wasm TIMEOUT 3000)
add_test(NAME wasm_tests COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${wasm_dir} --output-on-failure -j 2 --timeout 900)
set_tests_properties(wasm_tests PROPERTIES FIXTURES_REQUIRED wasm LABELS wasm TIMEOUT 3000)
