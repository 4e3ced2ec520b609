# Installation and the Debian package: the program, its desktop entry, AppStream entry and icon,
# its manual page, and the copyright and changelog a Debian package carries.
#   cmake --install <build> [--prefix <dir>]     installs them
#   cd <build> && cpack                            builds pca_<version>_<arch>.deb
include(GNUInstallDirs)

set(PCA_APP_ID org.example.pca)  # reverse-domain: names the desktop entry and the AppStream one

# The changelog and the manual page are installed compressed, without a time stamp in the
# gzip header, so that the same sources give the same package.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(PCA_COMPRESSED "")
foreach(source changelog pca.1)
  set(copy ${CMAKE_CURRENT_BINARY_DIR}/compressed/${source})
  add_custom_command(
    OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/${source} ${copy}
    COMMAND ${GZIP_PROGRAM} -9nf ${copy}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${source}
    VERBATIM)
  list(APPEND PCA_COMPRESSED ${copy}.gz)
endforeach()
add_custom_target(pca_compressed_docs ALL DEPENDS ${PCA_COMPRESSED})
add_dependencies(pca pca_compressed_docs)

install(TARGETS pca RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${PCA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${PCA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/pca.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/compressed/pca.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/compressed/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pca)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "principal component analysis shown and edited in one window")
# Lines of the extended description stay within 80 columns, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION [=[
A small teaching program that shows what principal component analysis does.
One window holds a table of 20 observations of 10 variables, made by a seeded
generator and standardised, and draws each variable as a strip chart.

Beside the data it shows the scores of every observation on the first two
principal components, the loadings of the variables as hatched bars and the
share of the total variance each component carries. Values are dragged to a
new height with the mouse, and the components of the edited table follow.
The texts of the window are in Polish.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# CPack asks dpkg, which names the build machine; a cross build names its target.
if(CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
endif()
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "pca developers <pca-dev@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://example.org/pca/)  # as in the AppStream entry
# The libraries and their least versions come from the binary: dpkg-shlibdeps reads the symbol
# versions it uses, so a package built against a newer Qt or libstdc++ asks for them and will not
# install where they are older. Listed by hand is what the binary cannot show: the platform
# plugins Qt loads at start and the fonts the window is drawn with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
# Read by cpack itself, where dpkg-shlibdeps runs.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackOptions.cmake)
# The native Wayland platform; without it Qt falls back to X11 (XWayland) on a Wayland desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
