# Install rules and the Debian package.
#
# `cmake --install` puts the program, its manual page and its documentation
# under the prefix (DESTDIR is honoured). `cpack -G DEB` packages the same
# files under /usr; a pre-build step compresses the manual page and adds the
# compressed changelog that a Debian package carries.
include(GNUInstallDirs)

# Packaging never builds: `make install` and `make package` build first, and
# a package test must not relink the programs that other tests are running.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(${CMAKE_CURRENT_LIST_DIR}/launcher.cmake)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/man/orvalis2d.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/README.md
              ${CMAKE_CURRENT_SOURCE_DIR}/cmake/deb/copyright
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/orvalis2d)
include(${CMAKE_CURRENT_LIST_DIR}/library.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvalis2d)
set(CPACK_PACKAGE_VENDOR "Projekt ORVALIS")
set(CPACK_PACKAGE_CONTACT "Projekt ORVALIS <paket@orv.example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive calculator for outflow below a dam breach")
set(CPACK_PACKAGE_DESCRIPTION
    "ORVALIS 2D is a German-language console calculator for hydraulic engineers.
For a point on an open inclined plane below a breach, for example after a dam
break, it computes the specific discharge, the flow velocity, the flow depth
and the energy head from seven parameters typed at prompts: head, breach width,
storage volume, bed slope, grain diameter and the two distances of the point.
The method reads tabulated dimensionless curves by linear interpolation.")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/cmake/deb/prebuild.cmake)
set(CPACK_ORV_CHANGELOG ${CMAKE_CURRENT_SOURCE_DIR}/cmake/deb/changelog)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://orv.example.org")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

include(CPack)
