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
    # The release the metainfo names is the changelog's top entry, which must be this version.
    file(STRINGS ${PROJECT_SOURCE_DIR}/resources/package/changelog changelog_lines)
    list(GET changelog_lines 0 changelog_top)
    if(NOT changelog_top MATCHES "^norvik-r7 \\(${PROJECT_VERSION}\\) ")
        message(FATAL_ERROR "resources/package/changelog must start with an entry for ${PROJECT_VERSION}")
    endif()
    foreach(line IN LISTS changelog_lines)
        if(line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
            set(day ${CMAKE_MATCH_1})
            set(year ${CMAKE_MATCH_3})
            set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
            list(FIND months ${CMAKE_MATCH_2} month)
            math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
            string(LENGTH "${month}" digits)
            if(digits EQUAL 1)
                set(month "0${month}")
            endif()
            set(NORVIK_RELEASE_DATE "${year}-${month}-${day}")
            break()
        endif()
    endforeach()
    if(NOT NORVIK_RELEASE_DATE)
        message(FATAL_ERROR "the top entry of resources/package/changelog has no trailer line with a date")
    endif()

    configure_file(${desktop_in}/norvik-r7.desktop.in ${desktop_out}/${NORVIK_APP_ID}.desktop @ONLY)
    configure_file(${desktop_in}/norvik-r7.metainfo.xml.in ${desktop_out}/${NORVIK_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${desktop_out}/${NORVIK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
    install(FILES ${desktop_out}/${NORVIK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
    # Lets a file manager know a data file by its name and open it with the program.
    configure_file(${desktop_in}/norvik-r7.mime.xml.in ${desktop_out}/${NORVIK_APP_ID}.xml @ONLY)
    install(FILES ${desktop_out}/${NORVIK_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/mime/packages)

    # The PNG sizes are rendered from this SVG (rsvg-convert -w N -h N) and committed.
    set(icons ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/norvik.svg
        DESTINATION ${icons}/scalable/apps RENAME ${NORVIK_APP_ID}.svg)
    foreach(size 16 24 32 48 64 128 256)
        install(FILES ${desktop_in}/icons/norvik-r7-${size}.png
            DESTINATION ${icons}/${size}x${size}/apps RENAME ${NORVIK_APP_ID}.png)
    endforeach()

    # Manual pages and the changelog go out compressed, as Debian's policy has them; -n keeps the
    # name and time out of the archive, so the same sources give the same package.
    set(compressed)
    foreach(page norvik-r7 norvik-r7-cli)
        configure_file(${PROJECT_SOURCE_DIR}/resources/man/${page}.1.in ${PROJECT_BINARY_DIR}/man/${page}.1 @ONLY)
        list(APPEND compressed ${PROJECT_BINARY_DIR}/man/${page}.1)
        install(FILES ${PROJECT_BINARY_DIR}/man/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endforeach()
    configure_file(${PROJECT_SOURCE_DIR}/resources/package/changelog ${PROJECT_BINARY_DIR}/package/changelog COPYONLY)
    list(APPEND compressed ${PROJECT_BINARY_DIR}/package/changelog)
    set(compressed_out)
    foreach(file IN LISTS compressed)
        add_custom_command(OUTPUT ${file}.gz
            COMMAND gzip -9 -n -f -k ${file}
            DEPENDS ${file}
            VERBATIM)
        list(APPEND compressed_out ${file}.gz)
    endforeach()
    add_custom_target(compressed_docs ALL DEPENDS ${compressed_out})
    set(docs ${CMAKE_INSTALL_DATAROOTDIR}/doc/norvik-r7)
    install(FILES ${PROJECT_BINARY_DIR}/package/changelog.gz ${PROJECT_SOURCE_DIR}/resources/package/copyright
        DESTINATION ${docs})
endif()

set(CPACK_PACKAGE_NAME norvik-r7)
set(CPACK_PACKAGE_VENDOR "NORVIK LABS")
set(NORVIK_MAINTAINER "NORVIK LABS <packaging@norvik-r7.example>" CACHE STRING
    "Maintainer of the Debian package: a name and an e-mail address")
set(CPACK_PACKAGE_CONTACT ${NORVIK_MAINTAINER})
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
# Loaded as plugins, so no linked library names them: without the SVG one the icons stay blank,
# without the platform one (xcb) no window opens. Which package holds xcb differs between
# distributions, so the one that holds it on the build machine is named.
set(NORVIK_PLUGIN_PACKAGES libqt6svg6)
find_program(DPKG_QUERY dpkg-query)
find_package(Qt6QXcbIntegrationPlugin CONFIG QUIET HINTS ${Qt6Gui_DIR})
if(DPKG_QUERY AND TARGET Qt6::QXcbIntegrationPlugin)
    get_target_property(xcb_plugin Qt6::QXcbIntegrationPlugin LOCATION)
    execute_process(COMMAND ${DPKG_QUERY} -S ${xcb_plugin}
        OUTPUT_VARIABLE xcb_owner ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(xcb_owner MATCHES "^([a-z0-9.+-]+)(:[a-z0-9]+)?: ")
        list(APPEND NORVIK_PLUGIN_PACKAGES ${CMAKE_MATCH_1})
    endif()
endif()
list(JOIN NORVIK_PLUGIN_PACKAGES ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# The Chinese captions need a CJK font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei")
set(CPACK_STRIP_FILES ON)
include(CPack)
