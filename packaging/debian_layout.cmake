# Run by cpack after it has installed the game into its staging folder:
# the Debian package lays the game out as Debian lays out games, the programs
# in /usr/games and their data in /usr/share/games/burrowkin, where the
# programs look for it too.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(usr ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
file(RENAME ${usr}/bin ${usr}/games)
file(MAKE_DIRECTORY ${usr}/share/games)
file(RENAME ${usr}/share/burrowkin ${usr}/share/games/burrowkin)
