# What `cmake --install` puts where, and the Debian package CPack makes of it (scripts/package.sh).
include(GNUInstallDirs)

install(TARGETS zahlfuchs zahlfuchs-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The stand-in draw server, for a user or a syndicate that hosts its own draws; it serves the bundled
# history from share/zahlfuchs unless told otherwise.
install(PROGRAMS tools/drawserver/drawserver.py DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME zahlfuchs-drawserver)
install(FILES data/keno_draws.csv DESTINATION ${CMAKE_INSTALL_DATADIR}/zahlfuchs)

install(FILES packaging/de.zahlfuchs.Zahlfuchs.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/de.zahlfuchs.Zahlfuchs.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/zahlfuchs.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES docs/man/zahlfuchs-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
set(ZF_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/zahlfuchs)
install(FILES README.md LICENSE THIRD-PARTY.md DESTINATION ${ZF_INSTALL_DOCDIR})
install(FILES data/SOURCE.md DESTINATION ${ZF_INSTALL_DOCDIR} RENAME SOURCE-data.md)

# ---- the .deb for Debian 12 ----
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zahlfuchs)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Die Zahlfuchs-Entwickler <zahlfuchs@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "KENO tip generator and syndicate bookkeeping (German)")
set(CPACK_PACKAGE_DESCRIPTION
    "Zahlfuchs keeps the history of every German KENO draw, computes statistics and tips shaped by\n"
    "that history, checks hits and winnings and keeps the accounts of a syndicate. It comes with a\n"
    "batch front end (zahlfuchs-cli) and a draw server of its own (zahlfuchs-drawserver).")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The draw server is Python; the sounds need a GStreamer back end at run time, which no library names.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "python3")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
