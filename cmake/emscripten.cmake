# The WebAssembly build (emcmake cmake -DMOLVANE_PURE_ONLY=ON): programs that
# Node runs from the build tree, as the tests do through the emulator that
# Emscripten's toolchain sets (node).
if(NOT MOLVANE_PURE_ONLY)
  message(FATAL_ERROR "Only the Qt-free layer builds for WebAssembly: add -DMOLVANE_PURE_ONLY=ON")
endif()

# Node alone runs the tests: the option emcmake adds for threads (unused here)
# is refused by Node 20.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  list(GET CMAKE_CROSSCOMPILING_EMULATOR 0 node)
else()
  find_program(node node REQUIRED)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${node} CACHE FILEPATH "Node, which runs the test programs" FORCE)

# Optimised enough for the simulation tests, without the long link of -O3
# and without debugging data, whatever the build type.
foreach(config RELEASE RELWITHDEBINFO MINSIZEREL)
  set(CMAKE_C_FLAGS_${config} "-O2 -DNDEBUG")
  set(CMAKE_CXX_FLAGS_${config} "-O2 -DNDEBUG")
endforeach()

# Exceptions are thrown and caught as on the native build (Emscripten's
# default would abort at the first throw). One file per program, the module
# inside the script (Node 18 and later cannot fetch it from a path), Node's
# own view of the disk so that tests read and write real files, and the exit
# code of main handed back to the shell.
add_compile_options(-fexceptions)
add_link_options(-fexceptions -sENVIRONMENT=node -sSINGLE_FILE=1 -sNODERAWFS=1 -sEXIT_RUNTIME=1
                 -sALLOW_MEMORY_GROWTH=1)

# GoogleTest from the sources Debian ships (package googletest), built with
# the same compiler and flags as the tests.
set(MOLVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the WebAssembly build")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${MOLVANE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(NOT TARGET GTest::gtest_main)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()
