# The Qt-free layer: the libraries that build without Qt, for WebAssembly too
# (MOLVANE_PURE_ONLY, run under Node by `ctest -L wasm`), and that include
# nothing from Qt nor from a layer above them (the `layering` test holds them
# to this table).
#
# Adding a Qt-free library is one line here, bottom layers first:
#
#   molvane_pure_library(<target> <folder> [USES <Qt-free targets>...] [TESTS <test folders>...])
#
# USES names the Qt-free libraries whose headers it may include and that it
# may link, directly (what those use comes with them). TESTS names the folders
# of its test programs; a folder named twice is added once. In a folder that
# also holds Qt code (the library's own or its tests'), the Qt-free targets
# come before the folder's `if(MOLVANE_PURE_ONLY) return()` line, and every
# test program above that line runs in the WebAssembly build.

set(MOLVANE_PURE_LIBRARIES "")
set(MOLVANE_PURE_FOLDERS "")
set(MOLVANE_PURE_TEST_FOLDERS "")

function(molvane_pure_library target folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "USES;TESTS")
  foreach(used IN LISTS arg_USES)
    if(NOT used IN_LIST MOLVANE_PURE_LIBRARIES)
      message(FATAL_ERROR "${target} uses ${used}, which is not a Qt-free library listed above it")
    endif()
  endforeach()
  set(MOLVANE_PURE_LIBRARIES ${MOLVANE_PURE_LIBRARIES} ${target} PARENT_SCOPE)
  set(MOLVANE_PURE_FOLDER_${target} ${folder} PARENT_SCOPE)
  set(MOLVANE_PURE_USES_${target} ${arg_USES} PARENT_SCOPE)
  # The top-level folder is what the Qt-free build adds (it adds its own subfolders).
  string(REGEX REPLACE "/.*" "" top ${folder})
  set(folders ${MOLVANE_PURE_FOLDERS} ${top})
  list(REMOVE_DUPLICATES folders)
  set(MOLVANE_PURE_FOLDERS ${folders} PARENT_SCOPE)
  set(tests ${MOLVANE_PURE_TEST_FOLDERS} ${arg_TESTS})
  list(REMOVE_DUPLICATES tests)
  set(MOLVANE_PURE_TEST_FOLDERS ${tests} PARENT_SCOPE)
endfunction()

molvane_pure_library(molvane_common common TESTS tests/common)
molvane_pure_library(molvane_core_presentation core USES molvane_common TESTS tests/core)
molvane_pure_library(molvane_core core USES molvane_core_presentation molvane_common TESTS tests/core)
molvane_pure_library(molvane_calc_eval calc USES molvane_common TESTS tests/calc)
molvane_pure_library(molvane_files files USES molvane_common TESTS tests/files)
molvane_pure_library(molvane_files_measures files USES molvane_files molvane_core)
molvane_pure_library(molvane_front front USES molvane_files_measures molvane_files molvane_core TESTS tests/front)
molvane_pure_library(molvane_exercises_file exercises USES molvane_common TESTS tests/exercises)
molvane_pure_library(molvane_exercises_rtftokens exercises/rtf USES molvane_common TESTS tests/rtf)
molvane_pure_library(molvane_exercises_richtext exercises/rtf USES molvane_exercises_rtftokens molvane_common TESTS tests/rtf)
molvane_pure_library(molvane_exercises_textrules exercises/rtf USES molvane_exercises_richtext TESTS tests/rtf)
molvane_pure_library(molvane_exercises_introtext exercises/intro USES molvane_exercises_richtext molvane_common TESTS tests/exercises)
molvane_pure_library(molvane_output_layout output USES molvane_common TESTS tests/printcopy)
