# cmake -DCHECK=<checklayers.cmake> -DWORK=<scratch folder> -P breaches.cmake
#
# Runs the layering check on small trees, one a case, each a sound tree with
# one change: the check passes on the sound one and names each breach.
#
cmake_minimum_required(VERSION 3.22)

# The sound tree: common (molvane_common) at the bottom, core above it,
# files/ holding molvane_files (on common) and molvane_files_measures (on files and
# core), and a window library in ui/.

set(table [[
set(LAYER_LIBRARIES molvane_common molvane_core molvane_files molvane_files_measures)
set(LAYER_molvane_common_FOLDER common)
set(LAYER_molvane_common_ALLOWED "")
set(LAYER_molvane_common_SOURCES common/numbers.cpp)
set(LAYER_molvane_common_LINKS "")
set(LAYER_molvane_core_FOLDER core)
set(LAYER_molvane_core_ALLOWED molvane_common)
set(LAYER_molvane_core_SOURCES core/simulation.cpp)
set(LAYER_molvane_core_LINKS "molvane_common@LINK@")
set(LAYER_molvane_files_FOLDER files)
set(LAYER_molvane_files_ALLOWED molvane_common)
set(LAYER_molvane_files_SOURCES files/configuration.cpp)
set(LAYER_molvane_files_LINKS "molvane_common")
set(LAYER_molvane_files_measures_FOLDER files)
set(LAYER_molvane_files_measures_ALLOWED molvane_files molvane_core molvane_common)
set(LAYER_molvane_files_measures_SOURCES files/measures.cpp)
set(LAYER_molvane_files_measures_LINKS "molvane_files;molvane_core")
list(APPEND LAYER_OWNER_common/numbers molvane_common)
list(APPEND LAYER_OWNER_core/simulation molvane_core)
list(APPEND LAYER_OWNER_files/configuration molvane_files)
list(APPEND LAYER_OWNER_files/measures molvane_files_measures)
list(APPEND LAYER_OWNER_ui/window molvane_ui_main)
]])

# Each file of the sound tree; @NAME@ is where a case adds a line.
set(sound_common/numbers.h "#pragma once\n#include <queue>\n#include <string>\n@NUMBERS_H@")
set(sound_common/numbers.cpp "#include \"numbers.h\"\n#include \"common/units.h\"\n@NUMBERS_CPP@")
set(sound_common/units.h "#pragma once\n@UNITS_H@")
set(sound_core/simulation.h "#pragma once\n#include \"common/numbers.h\"\n#include \"core/surface.h\"\n")
set(sound_core/surface.h "#pragma once\n  #  include <vector>\n")
set(sound_core/simulation.cpp "#include \"core/simulation.h\"\n@SIMULATION_CPP@")
set(sound_files/configuration.h "#pragma once\n#include \"common/numbers.h\"\n")
set(sound_files/configuration.cpp "#include \"files/configuration.h\"\n@CONFIGURATION_CPP@")
set(sound_files/measures.h "#pragma once\n#include \"core/simulation.h\"\n#include \"files/configuration.h\"\n")
set(sound_files/measures.cpp "#include \"files/measures.h\"\n#include \"files/messages.h\"\n")
set(sound_files/messages.h "#pragma once\n@MESSAGES_H@")
set(sound_ui/window.h "#pragma once\n#include <QWidget>\n")
set(sound_ui/window.cpp "#include \"ui/window.h\"\n")
set(files common/numbers.h common/numbers.cpp common/units.h core/simulation.h core/surface.h
          core/simulation.cpp files/configuration.h files/configuration.cpp files/measures.h
          files/measures.cpp files/messages.h ui/window.h ui/window.cpp)

# Case name | placeholder | line put there | what the check must say ("" for a pass).
set(cases
  "sound|NUMBERS_CPP|#include <cmath>|"
  "a Qt class|NUMBERS_CPP|#include <QString>|molvane_common: common/numbers.cpp includes <QString> (Qt)"
  "a Qt module header|UNITS_H|#include <QtCore/qglobal.h>|molvane_common: common/units.h includes <QtCore/qglobal.h> (Qt)"
  "a lower-case Qt header|MESSAGES_H|#include <qglobal.h>|molvane_files_measures: files/messages.h includes <qglobal.h> (Qt)"
  "common including core|NUMBERS_H|#include \"core/simulation.h\"|molvane_common: common/numbers.h includes core/simulation.h (molvane_core), above its layer"
  "core including files|SIMULATION_CPP|#include \"files/configuration.h\"|molvane_core: core/simulation.cpp includes files/configuration.h (molvane_files), above its layer"
  "core including a window|SIMULATION_CPP|#include \"ui/window.h\"|molvane_core: core/simulation.cpp includes ui/window.h (molvane_ui_main), above its layer"
  "a library above in the same folder|CONFIGURATION_CPP|#include \"files/measures.h\"|molvane_files: files/configuration.cpp includes files/measures.h (molvane_files_measures), above its layer"
  "a header of a folder above|NUMBERS_CPP|#include \"core/surface.h\"|molvane_common: common/numbers.cpp includes core/surface.h, above its layer"
  "through a relative path|UNITS_H|#include \"../core/surface.h\"|molvane_common: common/units.h includes core/surface.h, above its layer"
  "a Qt library linked|LINK|Qt6::Core|molvane_core links Qt6::Core (Qt)"
  "a library above linked|LINK|molvane_files|molvane_core links molvane_files, which it may not use"
)

set(failures "")
foreach(case ${cases})
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 name)
  list(GET fields 1 slot)
  list(GET fields 2 line)
  list(LENGTH fields count)
  set(expected "")
  if(count GREATER 3)
    list(GET fields 3 expected)
  endif()
  string(MAKE_C_IDENTIFIER "${name}" id)
  set(tree ${WORK}/${id})
  file(REMOVE_RECURSE ${tree})
  foreach(file ${files})
    set(text "${sound_${file}}")
    foreach(placeholder NUMBERS_H NUMBERS_CPP UNITS_H SIMULATION_CPP CONFIGURATION_CPP MESSAGES_H)
      if(placeholder STREQUAL slot)
        string(REPLACE "@${placeholder}@" "${line}\n" text "${text}")
      else()
        string(REPLACE "@${placeholder}@" "" text "${text}")
      endif()
    endforeach()
    file(WRITE ${tree}/${file} "${text}")
  endforeach()
  if(slot STREQUAL "LINK")
    string(REPLACE "@LINK@" ";${line}" case_table "${table}")
  else()
    string(REPLACE "@LINK@" "" case_table "${table}")
  endif()
  file(WRITE ${tree}/table.cmake "${case_table}")
  execute_process(COMMAND ${CMAKE_COMMAND} -DTABLE=${tree}/table.cmake -DROOT=${tree} -P ${CHECK}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(expected STREQUAL "")
    if(result)
      list(APPEND failures "${name}: the check failed on a sound tree:\n${out}")
    endif()
  else()
    if(NOT result)
      list(APPEND failures "${name}: the check passed")
    endif()
    string(FIND "${out}" "${expected}" at)
    if(at EQUAL -1)
      list(APPEND failures "${name}: the check did not say \"${expected}\" but:\n${out}")
    endif()
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "${text}")
endif()
