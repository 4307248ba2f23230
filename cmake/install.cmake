# What `cmake --install` puts where, and the Debian package `cpack -G DEB` makes of it.
include(GNUInstallDirs)

set(NORVIK_WEB_URL "https://norvik-r7.example" CACHE STRING
    "The project's web address: the package's and the metainfo's home page; the screenshots are its docs/*.png")

install(TARGETS norvik-r7 norvik-r7-cli
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    BUNDLE DESTINATION .)

# The program shows these from its own resources; the copies here are for reading in a browser.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/help/
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/norvik-r7/help)

if(UNIX AND NOT APPLE)
    set(desktop_in ${PROJECT_SOURCE_DIR}/resources/desktop)
    set(desktop_out ${PROJECT_BINARY_DIR}/desktop)
    configure_file(${desktop_in}/norvik-r7.desktop.in ${desktop_out}/${NORVIK_APP_ID}.desktop @ONLY)
    configure_file(${desktop_in}/norvik-r7.metainfo.xml.in ${desktop_out}/${NORVIK_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${desktop_out}/${NORVIK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
    install(FILES ${desktop_out}/${NORVIK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

    # The PNG sizes are rendered from this SVG (rsvg-convert -w N -h N) and committed.
    set(icons ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/norvik.svg
        DESTINATION ${icons}/scalable/apps RENAME ${NORVIK_APP_ID}.svg)
    foreach(size 16 24 32 48 64 128 256)
        install(FILES ${desktop_in}/icons/norvik-r7-${size}.png
            DESTINATION ${icons}/${size}x${size}/apps RENAME ${NORVIK_APP_ID}.png)
    endforeach()

    foreach(page norvik-r7 norvik-r7-cli)
        configure_file(${PROJECT_SOURCE_DIR}/resources/man/${page}.1.in ${PROJECT_BINARY_DIR}/man/${page}.1 @ONLY)
        install(FILES ${PROJECT_BINARY_DIR}/man/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endforeach()
endif()

set(CPACK_PACKAGE_NAME norvik-r7)
set(CPACK_PACKAGE_VENDOR "NORVIK LABS")
set(CPACK_PACKAGE_CONTACT "NORVIK LABS" CACHE STRING "Maintainer of the Debian package")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming software for the RX-70 two-way radio")
set(CPACK_PACKAGE_DESCRIPTION [[
Reads the configuration memory of an RX-70 dual-band FM radio over its
programming cable, edits its channels, options, signalling and service
values, keeps them in data files and writes them back.
norvik-r7-cli does the same from a shell, and a simulated radio lets you
try both without a cable.]])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${NORVIK_WEB_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as a plugin, so no linked library names it: without it the SVG icons stay blank.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# The Chinese captions need a CJK font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei")
set(CPACK_STRIP_FILES ON)
include(CPack)
