# cmake -DSOURCE=<sources> -DBINARY=<wasm build folder> -DOUT=<page folder> -DEMCMAKE=<emcmake>
#       [-DLAUNCHER=ccache] [-DWERROR=ON] [-DEXERCISES=<program folder> -DEXERCISE_LIST=<its manifest>]
#       -P webbuild.cmake
# The page: the module molvane_web built with Emscripten, the page's tools
# installed from web/package-lock.json when they are missing or older than
# it, then Vite writes OUT/molvane.html.
if(EXISTS /usr/share/nodejs AND NOT DEFINED ENV{NODE_PATH})
  set(ENV{NODE_PATH} /usr/share/nodejs)
endif()

execute_process(
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${SOURCE} -DBINARY=${BINARY} -DEMCMAKE=${EMCMAKE} -DLAUNCHER=${LAUNCHER}
          -DWERROR=${WERROR} -DTARGET=molvane_web -P ${SOURCE}/cmake/wasmbuild.cmake RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "The page's WebAssembly module could not be built")
endif()

set(web ${SOURCE}/web)
set(installed ${web}/node_modules/.package-lock.json)
if(NOT EXISTS ${installed} OR ${web}/package-lock.json IS_NEWER_THAN ${installed})
  find_program(NPM npm REQUIRED)
  execute_process(COMMAND ${NPM} ci --no-audit --no-fund WORKING_DIRECTORY ${web} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "npm ci failed in web/")
  endif()
endif()

find_program(NODE node REQUIRED)
set(ENV{MOLVANE_MODULE} ${BINARY}/web/molvane_web.js)
set(ENV{MOLVANE_WEB_OUT} ${OUT})
# The shipped exercises go into the page (web/exercise-files.ts); folders
# named in the environment win, for a page made from another build's course.
if(EXERCISES AND NOT DEFINED ENV{MOLVANE_EXERCISES})
  set(ENV{MOLVANE_EXERCISES} ${EXERCISES})
  if(EXERCISE_LIST AND NOT DEFINED ENV{MOLVANE_EXERCISE_LIST})
    set(ENV{MOLVANE_EXERCISE_LIST} ${EXERCISE_LIST})
  endif()
endif()
# The help as the desktop build made it (its list of exercises filled in),
# when that build sits beside the page's folder; else the sources' pages.
get_filename_component(native ${OUT} DIRECTORY)
if(EXISTS ${native}/help/molvane.qhp AND NOT DEFINED ENV{MOLVANE_HELP})
  set(ENV{MOLVANE_HELP} ${native}/help)
endif()
execute_process(COMMAND ${NODE} ${web}/node_modules/vite/bin/vite.js build --logLevel warn WORKING_DIRECTORY ${web}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "The page could not be built (vite build)")
endif()
file(SIZE ${OUT}/molvane.html size)
message(STATUS "${OUT}/molvane.html: ${size} bytes")
# One file for a USB key or a school's web space, exercises included.
if(size GREATER 1500000)
  message(FATAL_ERROR "The page weighs ${size} bytes, more than the 1.5 MB it must keep under")
endif()
