# What the Debian package needs beyond the program and its manual page: a
# machine-readable copyright file, a gzipped Debian changelog, and CPack's
# settings. Included from the top-level CMakeLists.txt after the install rules.

# Packagers set their own address; the default is a reserved, never-resolving
# domain, in the proper form lintian asks for.
set(ROTAVEX_MAINTAINER "rotavex packager <packager@rotavex.invalid>" CACHE STRING
  "Maintainer of the Debian package, as \"Name <address>\"")

# -n leaves the name and time out of the gzip header, so a rebuild gives the same bytes.
configure_file(packaging/changelog.in changelog @ONLY)
add_custom_command(OUTPUT changelog.gz
  COMMAND ${GZIP_PROGRAM} -9nc changelog > changelog.gz
  DEPENDS ${PROJECT_BINARY_DIR}/changelog
  COMMENT "Compressing the Debian changelog")
add_custom_target(rotavex_changelog ALL DEPENDS changelog.gz)

install(FILES packaging/copyright ${PROJECT_BINARY_DIR}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME rotavex)
set(CPACK_PACKAGE_CONTACT "${ROTAVEX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Each description line at most 80 columns wide, as Debian's policy asks.
set(CPACK_PACKAGE_DESCRIPTION "rotavex opens one 300x300 double-buffered window, draws three lit,
interlocking toothed wheels from display lists and reports the frame rate;
a timed run ends with result lines for benchmark harnesses.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Runtime dependencies (the X11 and GL libraries) come from dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Debian keeps the licence in the copyright file, so the package takes only the
# program's component and leaves LICENSE out.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};program;/")
# Two builds of one commit give the same bytes.
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/packaging/source_date.cmake")
set(CPACK_ROTAVEX_SOURCE_DIR "${PROJECT_SOURCE_DIR}")
set(CPACK_ROTAVEX_CHANGELOG "${PROJECT_BINARY_DIR}/changelog")
include(CPack)
