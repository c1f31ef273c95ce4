# What `cmake --install` puts where, and the Debian package `cpack -G DEB` makes of it:
# the program, its desktop entry and icons, the MIME type of File DSNs, the man page, the
# AppStream metainfo that software centres list it by, the copyright and the changelog.
include(GNUInstallDirs)

set(BRINDLE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
# The day the version above was released: the changelog and the AppStream release say it.
set(BRINDLE_RELEASE_DATE 2026-12-08)
# The AppStream component id. It stays the same across releases; the desktop entry keeps
# its plain name, brindle.desktop, which the program names as its own to the desktop.
set(BRINDLE_APP_ID com.quenwick.brindle)
set(BRINDLE_HOMEPAGE "https://c-seed-6927e458.example/brindle" CACHE STRING
    "The project's web address; the source tree's docs/ folder is served under it")
set(CPACK_PACKAGE_CONTACT "Brindle maintainers <maintainers@users.noreply.c-seed-6927e458.example>")

execute_process(COMMAND date -u -R -d "${BRINDLE_RELEASE_DATE} 12:00"
    OUTPUT_VARIABLE BRINDLE_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)

set(BRINDLE_PACKAGING_DIR ${PROJECT_BINARY_DIR}/packaging)
# The version in these files is the project's.
foreach(file IN ITEMS brindle.desktop brindle.1 changelog copyright brindle.metainfo.xml)
    configure_file(packaging/${file}.in ${BRINDLE_PACKAGING_DIR}/${file} @ONLY)
endforeach()
# Compressed as Debian wants them: best compression, no name or time stamp in the header,
# so the same source gives the same bytes.
foreach(file IN ITEMS brindle.1 changelog)
    execute_process(COMMAND gzip -9nc ${BRINDLE_PACKAGING_DIR}/${file}
        OUTPUT_FILE ${BRINDLE_PACKAGING_DIR}/${file}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()

install(TARGETS brindle RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install drops the compiler's notes as well, as Debian's own packages do.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/brindle\"
            COMMAND_ERROR_IS_FATAL ANY)
    endif()")
install(FILES ${BRINDLE_PACKAGING_DIR}/brindle.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${BRINDLE_PACKAGING_DIR}/brindle.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME ${BRINDLE_APP_ID}.metainfo.xml)
install(FILES packaging/brindle-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME brindle.xml)
foreach(size IN ITEMS 16 32 48 64 128 256)
    install(FILES resources/icons/brindle-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME brindle.png)
endforeach()
install(FILES resources/icons/brindle.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${BRINDLE_PACKAGING_DIR}/brindle.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${BRINDLE_PACKAGING_DIR}/copyright ${BRINDLE_PACKAGING_DIR}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brindle)

set(CPACK_PACKAGE_NAME brindle)
set(CPACK_PACKAGE_VENDOR Quenwick)
set(CPACK_PACKAGE_VERSION ${BRINDLE_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "database browser and SQL console for ODBC data sources")
# Wrapped as Debian's policy wants: lines under 80 columns (cpack indents each by a space).
set(CPACK_PACKAGE_DESCRIPTION [[
Brindle opens ODBC data sources through the unixODBC driver manager, each
in a window of its own with its catalog tree, a result grid and an SQL
console. Wizards build SELECT, CREATE TABLE, DROP TABLE, INSERT, UPDATE and
DELETE statements. Results can be exported, uploaded to an FTP server,
searched and printed.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${BRINDLE_HOMEPAGE})
# Depends comes from the libraries the program links (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Without a driver there is nothing to connect to; these two cover the demo and the tests.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libsqliteodbc, odbc-postgresql")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "odbc-mariadb, tdsodbc")
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/CPackTools.cmake)
include(CPack)
