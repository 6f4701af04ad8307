# Install rules of every tool, in three components that become the three
# Debian packages (cmake/packages.cmake):
#   orvalis2d  the calculator (bin/orvalis2d, a launcher, and its private
#              directory, cmake/launcher.cmake), the command bin/orvalis,
#              both manual pages, the bash completion, README and copyright;
#   dev        the model library, its headers and CMake package;
#   python     the Python module (both in cmake/library.cmake).
# `cmake --install` (make install) installs all three under the prefix,
# honouring DESTDIR; `--component NAME` installs one.
include(GNUInstallDirs)

# Packaging never builds: `make install` and `make package` build first, and
# a package test must not relink the programs that other tests are running.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# A rule added without a component still lands in the programs' package.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME orvalis2d)

include(${CMAKE_CURRENT_LIST_DIR}/launcher.cmake)
install(TARGETS orvalis RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT orvalis2d)
install(FILES ${PROJECT_SOURCE_DIR}/man/orvalis2d.1 ${PROJECT_SOURCE_DIR}/man/orvalis.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT orvalis2d)
# Where bash-completion looks for the completion of the command `orvalis`.
install(FILES ${PROJECT_SOURCE_DIR}/tools/completion/orvalis
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions
        COMPONENT orvalis2d)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/cmake/deb/copyright
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/orvalis2d COMPONENT orvalis2d)
include(${CMAKE_CURRENT_LIST_DIR}/library.cmake)

include(${CMAKE_CURRENT_LIST_DIR}/packages.cmake)
