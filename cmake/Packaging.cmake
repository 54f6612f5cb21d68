# The Debian package: `cmake --build BUILD --target package` (or `cpack -G DEB` in BUILD) builds
# parvane_<version>_<arch>.deb from what `cmake --install` puts under /usr, with the desktop
# entry, the icons, the French manual pages, the systemd user units and the Debian documents.
include(GNUInstallDirs)

# Debian wants an address in the Maintainer field: the maker's contact when the build names one.
if(PARVANE_CONTACT_ADDRESS)
    set(PARVANE_DEFAULT_MAINTAINER "Parvane developers <${PARVANE_CONTACT_ADDRESS}>")
else()
    set(PARVANE_DEFAULT_MAINTAINER "Parvane developers <parvane@example.org>")
endif()
set(PARVANE_PACKAGE_MAINTAINER "${PARVANE_DEFAULT_MAINTAINER}"
    CACHE STRING "Maintainer field of the Debian package")
set(PARVANE_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(PARVANE_PACKAGING_BUILD_DIR ${CMAKE_BINARY_DIR}/packaging)

# Debian wants manual pages and changelogs compressed, without a time stamp in the gzip header so
# that two builds of one source give the same package.
find_program(PARVANE_GZIP gzip REQUIRED)
set(PARVANE_COMPRESSED_FILES)
function(parvane_compressed_file source output)
    configure_file(${source} ${PARVANE_PACKAGING_BUILD_DIR}/${output} @ONLY)
    add_custom_command(OUTPUT ${PARVANE_PACKAGING_BUILD_DIR}/${output}.gz
        COMMAND ${PARVANE_GZIP} -9nkf ${PARVANE_PACKAGING_BUILD_DIR}/${output}
        DEPENDS ${PARVANE_PACKAGING_BUILD_DIR}/${output} VERBATIM)
    set(PARVANE_COMPRESSED_FILES ${PARVANE_COMPRESSED_FILES} ${PARVANE_PACKAGING_BUILD_DIR}/${output}.gz
        PARENT_SCOPE)
endfunction()

set(PARVANE_MAN_PAGES parvane-scan)
if(PARVANE_GUI)
    list(APPEND PARVANE_MAN_PAGES parvane)
endif()
foreach(page IN LISTS PARVANE_MAN_PAGES)
    parvane_compressed_file(${PARVANE_PACKAGING_DIR}/man/${page}.1 man/${page}.1)
    # The program speaks only French: its page is the French one and the default one.
    foreach(directory ${CMAKE_INSTALL_MANDIR}/fr/man1 ${CMAKE_INSTALL_MANDIR}/man1)
        install(FILES ${PARVANE_PACKAGING_BUILD_DIR}/man/${page}.1.gz DESTINATION ${directory})
    endforeach()
endforeach()
parvane_compressed_file(${PARVANE_PACKAGING_DIR}/changelog.in doc/changelog)
add_custom_target(parvane_packaging_files ALL DEPENDS ${PARVANE_COMPRESSED_FILES})

set(PARVANE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/parvane)
install(FILES ${PARVANE_PACKAGING_BUILD_DIR}/doc/changelog.gz ${PARVANE_PACKAGING_DIR}/copyright
        DESTINATION ${PARVANE_DOC_DIR})
install(FILES ${PARVANE_PACKAGING_DIR}/parvane-scan.conf DESTINATION ${PARVANE_DOC_DIR}/examples)
# User units: /usr/lib/systemd/user, whatever the multiarch library folder.
install(FILES ${PARVANE_PACKAGING_DIR}/systemd/parvane-scan.service
              ${PARVANE_PACKAGING_DIR}/systemd/parvane-scan.timer
              ${PARVANE_PACKAGING_DIR}/systemd/parvane-watch.service
        DESTINATION lib/systemd/user)

if(PARVANE_GUI)
    install(FILES ${PARVANE_PACKAGING_DIR}/parvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    set(PARVANE_ICON_THEME ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    install(FILES ${PARVANE_PACKAGING_DIR}/icons/parvane.svg DESTINATION ${PARVANE_ICON_THEME}/scalable/apps)
    foreach(size 16 22 24 32 48 64 128 256)
        install(FILES ${PARVANE_PACKAGING_DIR}/icons/parvane-${size}.png
                DESTINATION ${PARVANE_ICON_THEME}/${size}x${size}/apps RENAME parvane.png)
    endforeach()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME parvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT ${PARVANE_PACKAGE_MAINTAINER})
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${PARVANE_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own catalogues: the buttons, menus and file dialogs that Qt draws read in the desktop's
# language (the libraries found by shlibdeps are added to this list).
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS wine)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "trend-line scanner for Korvix bases\n"
    "Parvane scans every stock of a Korvix base, or of chosen groups, against the\n"
    "trend lines drawn in Korvix (a Windows charting program run under Wine). It\n"
    "finds the stocks whose last close lies near a line and those whose price\n"
    "has just crossed one, optionally only with a rise of volume, and reports\n"
    "them in a sortable, printable list, as group files that Korvix opens, as a\n"
    "CSV file and in an error log. It never changes a history, a trend line or a\n"
    "comment. Its user interface is in French.\n"
    ".\n"
    "Parvane compare les actions d'une base Korvix aux droites de tendance\n"
    "tracees dans Korvix et signale celles qui en sont proches ou qui viennent\n"
    "de les croiser. parvane-scan fait la meme recherche sans fenetre et peut\n"
    "notifier chaque soir ce qui est nouveau (minuterie systemd de l'utilisateur).")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
include(CPack)
