# Run at install time: copies files of the build's program folder into the
# installed program's folder, keeping their subfolders. Expects
#   program_files  the build's program folder
#   destination    the installed program's folder, under the prefix
#   manifests      lists of shipped files, one name a line, relative to program_files
#   patterns       globs, relative to program_files, of further files to take
set(names "")
foreach(manifest IN LISTS manifests)
  if(NOT EXISTS "${manifest}")
    message(FATAL_ERROR "${manifest} is missing: build the project before installing it")
  endif()
  file(STRINGS "${manifest}" listed)
  list(APPEND names ${listed})
endforeach()
foreach(pattern IN LISTS patterns)
  file(GLOB found RELATIVE "${program_files}" "${program_files}/${pattern}")
  list(APPEND names ${found})
endforeach()
list(REMOVE_DUPLICATES names)
foreach(name IN LISTS names)
  if(NOT EXISTS "${program_files}/${name}")
    message(FATAL_ERROR "${program_files}/${name} is listed but was not built")
  endif()
endforeach()
foreach(name IN LISTS names)
  get_filename_component(folder "${CMAKE_INSTALL_PREFIX}/${destination}/${name}" DIRECTORY)
  file(INSTALL "${program_files}/${name}" DESTINATION "${folder}")
endforeach()
