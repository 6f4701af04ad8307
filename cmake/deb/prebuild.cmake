# Runs inside cpack on the staged trees of the packages, one folder per
# component below CPACK_TEMPORARY_DIRECTORY (<component>/usr/...): compresses
# the manual pages and gives every package its /usr/share/doc/<package>/ with
# the copyright and the compressed changelog. gzip -9n keeps the time stamp
# and file name of the build out of the packages.
set(file_perms OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set(dir_perms ${file_perms} OWNER_EXECUTE GROUP_EXECUTE WORLD_EXECUTE)

# gzip9n FILE OUT: FILE compressed to OUT, readable by all.
function(gzip9n file out)
  execute_process(COMMAND gzip -9nc "${file}" OUTPUT_FILE "${out}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gzip of ${file} failed: ${rc}")
  endif()
  file(CHMOD "${out}" PERMISSIONS ${file_perms})
endfunction()

foreach(comp IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER "${comp}" upper)
  set(pkg "${CPACK_DEBIAN_${upper}_PACKAGE_NAME}")
  set(root "${CPACK_TEMPORARY_DIRECTORY}/${comp}${CPACK_PACKAGING_INSTALL_PREFIX}")
  if(pkg STREQUAL "" OR NOT IS_DIRECTORY "${root}")
    message(FATAL_ERROR "no package name or no staged tree for component ${comp} (${root})")
  endif()

  file(GLOB pages "${root}/share/man/man*/*")
  list(FILTER pages EXCLUDE REGEX "\\.gz$")
  foreach(page IN LISTS pages)
    gzip9n("${page}" "${page}.gz")
    file(REMOVE "${page}")
  endforeach()

  # Folders made here get the modes of installed ones, whatever the umask.
  foreach(dir share share/doc "share/doc/${pkg}")
    file(MAKE_DIRECTORY "${root}/${dir}")
    file(CHMOD "${root}/${dir}" PERMISSIONS ${dir_perms})
  endforeach()
  set(doc "${root}/share/doc/${pkg}")
  configure_file("${CPACK_ORV_COPYRIGHT}" "${doc}/copyright" COPYONLY)
  file(CHMOD "${doc}/copyright" PERMISSIONS ${file_perms})
  gzip9n("${CPACK_ORV_CHANGELOG}" "${doc}/changelog.gz")
endforeach()
