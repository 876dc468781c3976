# The page's end-to-end checks of the copy menu, printing, the help and the
# test robot, as ctest tests labelled `web`, on a page already built:
#
#   include(${CMAKE_SOURCE_DIR}/web/tests/e2e/checks.cmake)
#   molvane_web_page_checks(<path of molvane.html> [FIXTURE <fixture that builds it>])
#
# Each runs in Debian's chromium through playwright-core from web/node_modules.
function(molvane_web_page_checks page)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "FIXTURE" "")
  find_program(MOLVANE_NODE node REQUIRED)
  set(folder ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  foreach(check copy print help fuzz)
    add_test(NAME web_${check} COMMAND ${MOLVANE_NODE} ${folder}/${check}.mjs ${page}
             WORKING_DIRECTORY ${folder})
    # The robot runs its full minute; the others take seconds.
    set_tests_properties(web_${check} PROPERTIES LABELS web TIMEOUT 240 ENVIRONMENT FUZZ_SECONDS=60
                                                 FAIL_REGULAR_EXPRESSION "ÉCHEC")
    if(arg_FIXTURE)
      set_tests_properties(web_${check} PROPERTIES FIXTURES_REQUIRED ${arg_FIXTURE})
    endif()
  endforeach()
endfunction()
