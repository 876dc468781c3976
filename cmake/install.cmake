# Install layout and Debian package.
#
# Everything the program looks for lies in its own folder, which is the folder
# of the resolved executable: the program and its files go together into
# lib/molvane, and bin/molvane is a relative symbolic link to it so that the
# tree can be installed under any prefix.

set(MOLVANE_INSTALL_DIR lib/molvane)

install(TARGETS molvane molvane-run RUNTIME DESTINATION ${MOLVANE_INSTALL_DIR})

# The links are made in the build tree and installed as they are.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging/launcher)
foreach(program molvane molvane-run)
  set(launcher ${CMAKE_BINARY_DIR}/packaging/launcher/${program})
  file(CREATE_LINK ../${MOLVANE_INSTALL_DIR}/${program} ${launcher} SYMBOLIC)
  install(FILES ${launcher} DESTINATION bin)
endforeach()

# What the program looks for beside itself: the course material the build
# lists in its manifest, and the help collection. Both follow what the build
# makes, so that a new exercise or help page needs nothing here. Files the
# program itself writes there when run from the build tree (the hand-off file)
# are not taken.
set(program_manifests "")
if(DEFINED MOLVANE_COURSE_MANIFEST)
  list(APPEND program_manifests ${MOLVANE_COURSE_MANIFEST})
endif()
install(CODE "
  set(program_files \"${CMAKE_RUNTIME_OUTPUT_DIRECTORY}\")
  set(destination ${MOLVANE_INSTALL_DIR})
  set(manifests \"${program_manifests}\")
  set(patterns \"*.qhc;*.qch\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/installfiles.cmake\")
")

# The browser page, one self-contained file (make web builds it; make package
# builds it first), for a school's web space or a USB key.
install(FILES ${CMAKE_BINARY_DIR}/web/molvane.html DESTINATION share/molvane/web)

# Debian package: molvane_<version>_amd64.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME molvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Molvane")
# The Debian Maintainer field: a name and an address. The project's own
# domain stands in until a distributor gives theirs (-DMOLVANE_MAINTAINER=...).
set(MOLVANE_MAINTAINER "Équipe Molvane <paquets@molvane.org>" CACHE STRING
    "Maintainer named in the Debian package, as Name <address>")
set(CPACK_PACKAGE_CONTACT "${MOLVANE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MOLVANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "simulateur d'équilibre dynamique pour le lycée")
set(CPACK_PACKAGE_DESCRIPTION
    "« Équilibre dynamique » montre, particule par particule, la réaction réversible\n"
    "A + B = C + D dans un récipient fermé. Les élèves règlent les nombres initiaux,\n"
    "les pourcentages de chocs efficaces et la température, puis suivent les nombres\n"
    "de particules sur un graphe et dans un tableau de valeurs, avec le quotient de\n"
    "réaction Qr. Exercices, aide, calculatrice et impression sont fournis, en français.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${MOLVANE_WEB_SITE})
set(CPACK_STRIP_FILES ON)
# Libraries the binary links to are found by dpkg-shlibdeps. The rest is
# loaded at run time: the platform plugins (Qt's own library only recommends
# them, and without them no window opens), the fonts (Arial's metric twin asked for by name, the
# desktop's usual sans-serif font, without which fontconfig falls back on a
# monospaced one, and a font with the hourglass and arrows), Qt's French
# translation of its own dialogs, and the database driver of the help's index.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-liberation2, fonts-dejavu-core, fonts-symbola, qt6-translations-l10n, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
