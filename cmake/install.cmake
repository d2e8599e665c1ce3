# What "cmake --install" puts in place, and the Debian package made from it.
# Only the program, its manual page, desktop files and package documents are
# installed: the libraries, tools and tests have no install rules.
include(GNUInstallDirs)

# One id names the desktop file, the software-centre entry and the icons.
set(ZUVA_APP_ID org.example.zuvazize.vadiveziduzor)

install(TARGETS vadiveziduzor
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The manual page and the changelog go in compressed at the highest level
# and without a time stamp, as Debian expects; the copyright file stays plain.
find_program(ZUVA_GZIP gzip REQUIRED)
set(_zuva_docs ${CMAKE_CURRENT_BINARY_DIR}/packaging)
set(_zuva_gzipped)
foreach(name IN ITEMS vadiveziduzor.1 changelog)
    add_custom_command(
        OUTPUT ${_zuva_docs}/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${_zuva_docs}
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/packaging/${name} ${_zuva_docs}/${name}
        COMMAND ${ZUVA_GZIP} -9nf ${_zuva_docs}/${name}
        DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/${name}
        VERBATIM)
    list(APPEND _zuva_gzipped ${_zuva_docs}/${name}.gz)
endforeach()
add_custom_target(zuva_docs ALL DEPENDS ${_zuva_gzipped})

install(FILES ${_zuva_docs}/vadiveziduzor.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${_zuva_docs}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vadiveziduzor)

install(FILES packaging/${ZUVA_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/${ZUVA_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

foreach(size IN ITEMS 16 24 32 48 64 128 256)
    install(FILES content/icon/app-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${ZUVA_APP_ID}.png)
endforeach()
install(FILES content/icon/app.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME ${ZUVA_APP_ID}.svg)

# Debian package. dpkg-shlibdeps (from dpkg-dev) and file work out the
# library dependencies from the installed program.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vadiveziduzor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zuva Zize Software")
set(CPACK_PACKAGE_CONTACT "Zuva Zize Software <support@zuvazize.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Moon sign compatibility for couples")
set(CPACK_PACKAGE_DESCRIPTION [=[
RU Zuva Zize Vadiveziduzor works out where the Moon stood at the birth
of each partner, names both Moon signs and shows how well they match,
with a rating, a verdict and an interpretation. The reading can be
printed or saved as a Rich Text Format report.]=])
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zuva Zize Software <support@zuvazize.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opened at run time rather than linked, so the library scan cannot see them:
# the place library and Qt's SVG image reader for the pictures.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
if(ZUVA_ATLAS_PACKAGE)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${ZUVA_ATLAS_PACKAGE}")
endif()
# A sans face for the windows and a way to open the web links.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, xdg-utils")
# Emoji and Devanagari in names, drawn and kept as text in a saved PDF.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fonts-symbola, fonts-lohit-deva")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

include(CPack)
