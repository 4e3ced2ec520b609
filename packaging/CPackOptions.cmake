# Included by cpack before it builds the package.

# Without dpkg-shlibdeps CPack would quietly write only the hand-listed Depends, and the package
# would install where the libraries are missing or too old.
find_program(PCA_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(NOT PCA_DPKG_SHLIBDEPS)
  message(FATAL_ERROR "dpkg-shlibdeps (package dpkg-dev) is needed to compute the package's Depends")
endif()

# A cross-built binary links the target's multiarch libraries: DEB_HOST_ARCH makes dpkg-shlibdeps
# search the target's library folders and read the binary with the target's objdump, instead of
# relying on ld.so.conf happening to list those folders.
if(CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
  set(ENV{DEB_HOST_ARCH} "${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}")
endif()
