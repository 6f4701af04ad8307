# Runs inside cpack on the staged package tree: compresses the manual page and
# adds the compressed changelog, both with gzip -9n so that the package holds
# no time stamp or file name of the build.
set(root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(man "${root}/share/man/man1/orvalis2d.1")
set(doc "${root}/share/doc/orvalis2d")

if(NOT EXISTS "${man}" OR NOT IS_DIRECTORY "${doc}")
  message(FATAL_ERROR "staged package tree incomplete under ${root}")
endif()

execute_process(COMMAND gzip -9nf "${man}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip of the manual page failed: ${rc}")
endif()

execute_process(COMMAND gzip -9nc "${CPACK_ORV_CHANGELOG}"
                OUTPUT_FILE "${doc}/changelog.gz" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip of the changelog failed: ${rc}")
endif()
file(CHMOD "${doc}/changelog.gz" "${man}.gz"
     PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
