# Installation and the Debian package: the program, its desktop entry and its icon.
#   cmake --install <build> [--prefix <dir>]     installs them
#   cd <build> && cpack                            builds pca_<version>_<arch>.deb
include(GNUInstallDirs)

install(TARGETS pca RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/pca.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/pca.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pca)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "principal component analysis shown and edited in one window")
set(CPACK_PACKAGE_DESCRIPTION
    "A small demonstration of principal component analysis: a table of 20 observations of 10 \
variables drawn as strip charts, with the scores, loadings and shares of variance of the first \
two components. Values are changed with the mouse. The texts are in Polish.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "pca developers <pca-dev@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libgcc-s1, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), qt6-qpa-plugins, fonts-liberation")
# The native Wayland platform; without it Qt falls back to X11 (XWayland) on a Wayland desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
