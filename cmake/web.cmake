# The browser page (make web): built by the tests of this build too, after
# the WebAssembly build of the Qt-free layer, then its own tests labelled
# `web`: the scripts' types, their logic under Vitest, and the page itself in
# Chromium, which compares its runs with molvane-run's.
if(NOT MOLVANE_EMCMAKE)
  return()
endif()

set(web_out ${CMAKE_BINARY_DIR}/web)
add_test(NAME web_build
         COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR} -DBINARY=${CMAKE_BINARY_DIR}/wasm -DOUT=${web_out}
                 -DEMCMAKE=${MOLVANE_EMCMAKE} -DLAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER} -DWERROR=${MOLVANE_WERROR}
                 -DEXERCISES=${CMAKE_RUNTIME_OUTPUT_DIRECTORY} -DEXERCISE_LIST=${MOLVANE_COURSE_MANIFEST}
                 -P ${CMAKE_SOURCE_DIR}/cmake/webbuild.cmake)
set_tests_properties(web_build PROPERTIES FIXTURES_SETUP web FIXTURES_REQUIRED wasm LABELS "web;wasm" TIMEOUT 3000)

find_program(MOLVANE_NODE node)
# The scripts typed against the bindings' declarations (Vite does not check types).
add_test(NAME web_types COMMAND ${MOLVANE_NODE} node_modules/typescript/bin/tsc --noEmit -p .
         WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/web)
set_tests_properties(web_types PROPERTIES FIXTURES_REQUIRED web LABELS web TIMEOUT 600)

add_test(NAME web_unit COMMAND ${MOLVANE_NODE} node_modules/vitest/vitest.mjs run
         WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/web)
# Some read the program's texts from the module this build made; the
# exercises' tests, the shipped exercises too.
set_tests_properties(
  web_unit PROPERTIES FIXTURES_REQUIRED web LABELS web TIMEOUT 600
  ENVIRONMENT "MOLVANE_MODULE=${CMAKE_BINARY_DIR}/wasm/web/molvane_web.js;MOLVANE_EXERCISES=${CMAKE_RUNTIME_OUTPUT_DIRECTORY};MOLVANE_EXERCISE_LIST=${MOLVANE_COURSE_MANIFEST}")

add_test(NAME web_e2e COMMAND ${MOLVANE_NODE} tests/e2e/run.mjs WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/web)
set_tests_properties(
  web_e2e PROPERTIES FIXTURES_REQUIRED web LABELS web TIMEOUT 900
  ENVIRONMENT "MOLVANE_PAGE=${web_out}/molvane.html;MOLVANE_RUN=$<TARGET_FILE:molvane-run>")

# The copy menu, printing, the help and 60 s of the test robot, on the page
# built above.
include(${CMAKE_SOURCE_DIR}/web/tests/e2e/checks.cmake)
molvane_web_page_checks(${web_out}/molvane.html FIXTURE web)

# The calculator in the page, key after key against the calculator class run
# under Node through the module.
add_test(NAME web_calculator COMMAND ${MOLVANE_NODE} tests/e2e/calculator.mjs WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/web)
set_tests_properties(
  web_calculator PROPERTIES FIXTURES_REQUIRED web LABELS web TIMEOUT 300 FAIL_REGULAR_EXPRESSION "ÉCHEC"
  ENVIRONMENT "MOLVANE_PAGE=${web_out}/molvane.html;MOLVANE_MODULE=${CMAKE_BINARY_DIR}/wasm/web/molvane_web.js")

# The pupil's text in Chromium: documents opened, typing kept by the recovery
# copy through a closed page, the question before it is lost, Tab leaving it.
add_test(NAME web_text COMMAND ${MOLVANE_NODE} tests/e2e/text.mjs ${web_out}/molvane.html
         WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/web)
set_tests_properties(web_text PROPERTIES FIXTURES_REQUIRED web LABELS web TIMEOUT 300 FAIL_REGULAR_EXPRESSION "ÉCHEC")

# The exercises in the page: every shipped one opens with its statement,
# configuration and correction, a teacher's from a chosen folder.
add_test(NAME web_exercises COMMAND ${MOLVANE_NODE} tests/e2e/exercises.mjs WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/web)
set_tests_properties(
  web_exercises PROPERTIES FIXTURES_REQUIRED web LABELS web TIMEOUT 900 FAIL_REGULAR_EXPRESSION "ÉCHEC"
  ENVIRONMENT "MOLVANE_PAGE=${web_out}/molvane.html;MOLVANE_EXERCISES=${CMAKE_RUNTIME_OUTPUT_DIRECTORY};MOLVANE_EXERCISE_LIST=${MOLVANE_COURSE_MANIFEST}")

# The main window's audit: each tab and box through axe-core at 100 % and
# 200 %, and the window used by touch alone.
add_test(NAME web_audit COMMAND ${MOLVANE_NODE} tests/e2e/audit.mjs ${web_out}/molvane.html
         WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/web)
set_tests_properties(web_audit PROPERTIES FIXTURES_REQUIRED web LABELS web TIMEOUT 300 FAIL_REGULAR_EXPRESSION "ÉCHEC")
