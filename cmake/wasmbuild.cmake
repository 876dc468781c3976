# cmake -DSOURCE=<sources> -DBINARY=<folder> -DEMCMAKE=<emcmake> [-DLAUNCHER=ccache] [-DWERROR=ON]
#       [-DTARGET=<target>] -P wasmbuild.cmake
# Configures the WebAssembly build of the Qt-free layer, then builds it (what
# changed since): everything, or TARGET alone.

# Emscripten's optimiser loads its JavaScript modules from Debian's folder,
# which a Node installed apart from Debian's does not search.
if(EXISTS /usr/share/nodejs AND NOT DEFINED ENV{NODE_PATH})
  set(ENV{NODE_PATH} /usr/share/nodejs)
endif()

# Configured the first time, and again when warnings become errors or stop
# being errors in the build that runs this.
if(WERROR)
  set(werror ON)
else()
  set(werror OFF)
endif()
set(configured "")
if(EXISTS ${BINARY}/CMakeCache.txt)
  file(STRINGS ${BINARY}/CMakeCache.txt configured REGEX "^MOLVANE_WERROR:BOOL=${werror}$")
endif()
if(NOT configured)
  set(options -DMOLVANE_PURE_ONLY=ON -DCMAKE_BUILD_TYPE=Release -DMOLVANE_WERROR=${werror})
  if(LAUNCHER)
    list(APPEND options -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER} -DCMAKE_C_COMPILER_LAUNCHER=${LAUNCHER})
  endif()
  execute_process(COMMAND ${EMCMAKE} ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} ${options} RESULT_VARIABLE failed)
  if(failed)
    file(REMOVE ${BINARY}/CMakeCache.txt)
    message(FATAL_ERROR "The WebAssembly build could not be configured")
  endif()
endif()

cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
set(only "")
if(TARGET)
  set(only --target ${TARGET})
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY} -j ${cores} ${only} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "The WebAssembly build failed")
endif()
