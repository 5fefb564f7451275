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
# The board's service starts the program from there, and lives where
# Debian keeps units.
set(unit ${usr}/lib/systemd/system/burrowkin-board.service)
file(READ ${unit} text)
string(REGEX REPLACE "ExecStart=[^ ]*/burrowkin-board" "ExecStart=/usr/games/burrowkin-board" text "${text}")
file(MAKE_DIRECTORY ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/lib/systemd/system)
file(WRITE ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/lib/systemd/system/burrowkin-board.service "${text}")
file(REMOVE_RECURSE ${usr}/lib/systemd)
file(GLOB rest ${usr}/lib/*)
if(NOT rest)
  file(REMOVE ${usr}/lib)
endif()
