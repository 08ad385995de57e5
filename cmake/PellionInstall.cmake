# Where an installed Pellion puts its files (GNU layout under any prefix), and
# the names the desktop knows it by.
#
#   bin/pellion                                  the program
#   share/pellion/help/                          the help pages
#   share/applications/<id>.desktop              the menu entry
#   share/icons/hicolor/*/apps/<id>.{svg,png}    its icon
#   share/metainfo/<id>.metainfo.xml             the software centre's description
#   share/man/man1/pellion.1                     the manual page

include(GNUInstallDirs)

# One reverse-DNS id names the desktop entry, the icon and the metainfo, and
# is the program's desktop file name at run time.
set(PELLION_APP_ID org.pellion.Pellion)

set(PELLION_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/pellion)

# The program finds its installed data from its own folder, so the install
# can be moved to another prefix (cmake --install --prefix, a package).
file(RELATIVE_PATH PELLION_DATA_FROM_PROGRAM
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/pellion)
