# The calculator's private directory and its launcher.
#
# The calculator clears the screen at start by running `cls` through the
# shell. The project's `cls` (tools/cls) and the real program are installed
# in a private directory, ORV_PRIVATE_DIR under the prefix; bin/orvalis2d is
# a shell launcher that puts that directory first on PATH and execs the
# program. The launcher finds the directory relative to its own location,
# so the installed tree works wherever it is put (PREFIX, DESTDIR, package).
# In the build tree, `cls` is copied to build/libexec/ for `make run`.
include(GNUInstallDirs)

set(ORV_PRIVATE_DIR ${CMAKE_INSTALL_LIBEXECDIR}/orvalis2d)
foreach(d IN ITEMS ${CMAKE_INSTALL_BINDIR} ${ORV_PRIVATE_DIR})
  if(IS_ABSOLUTE "${d}")
    message(FATAL_ERROR "the launcher needs a relative install directory, not ${d}")
  endif()
endforeach()
# The private directory as seen from the launcher's directory.
file(RELATIVE_PATH ORV_LAUNCH_REL /p/${CMAKE_INSTALL_BINDIR} /p/${ORV_PRIVATE_DIR})

set(orv_exec_perms OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                   WORLD_READ WORLD_EXECUTE)
configure_file(${PROJECT_SOURCE_DIR}/tools/cls ${CMAKE_BINARY_DIR}/libexec/cls COPYONLY
               FILE_PERMISSIONS ${orv_exec_perms})
configure_file(${PROJECT_SOURCE_DIR}/tools/orvalis2d.in ${CMAKE_BINARY_DIR}/launcher/orvalis2d
               @ONLY FILE_PERMISSIONS ${orv_exec_perms})

install(TARGETS orvalis2d RUNTIME DESTINATION ${ORV_PRIVATE_DIR} COMPONENT orvalis2d)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/tools/cls DESTINATION ${ORV_PRIVATE_DIR}
        COMPONENT orvalis2d)
install(PROGRAMS ${CMAKE_BINARY_DIR}/launcher/orvalis2d DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT orvalis2d)
