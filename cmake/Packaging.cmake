# What `cmake --install` puts where, and the Debian package `cpack -G DEB` makes of it:
# the program, its desktop entry and icons, the MIME type of File DSNs and the man page.
include(GNUInstallDirs)

set(BRINDLE_PACKAGING_DIR ${PROJECT_BINARY_DIR}/packaging)
# The version in the desktop entry and the man page is the project's.
configure_file(packaging/brindle.desktop.in ${BRINDLE_PACKAGING_DIR}/brindle.desktop @ONLY)
configure_file(packaging/brindle.1.in ${BRINDLE_PACKAGING_DIR}/brindle.1 @ONLY)

install(TARGETS brindle RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${BRINDLE_PACKAGING_DIR}/brindle.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/brindle-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME brindle.xml)
foreach(size IN ITEMS 16 32 48 64 128 256)
    install(FILES resources/icons/brindle-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME brindle.png)
endforeach()
install(FILES resources/icons/brindle.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${BRINDLE_PACKAGING_DIR}/brindle.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME brindle)
set(CPACK_PACKAGE_VENDOR Quenwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "database browser and SQL console for ODBC data sources")
set(CPACK_PACKAGE_DESCRIPTION
    "Brindle opens ODBC data sources through the unixODBC driver manager, each in a window "
    "with its catalog tree, a result grid and an SQL console. Results can be exported, "
    "uploaded to an FTP server, searched and printed.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "Brindle maintainers <maintainers@users.noreply.c-seed-6927e458.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
# Depends comes from the libraries the program links (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Without a driver there is nothing to connect to; these two cover the demo and the tests.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libsqliteodbc, odbc-postgresql")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "odbc-mariadb, tdsodbc")
include(CPack)
