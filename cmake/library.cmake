# Install rules of the model library and the Python module.
#
# Component dev: the static library (lib/liborvalis.a, target orvalis::model),
# its public headers (include/orvalis/) and the CMake package
# (lib/cmake/orvalis/), so that another CMake project builds with
#   find_package(orvalis) and target_link_libraries(app orvalis::model).
# Component python: the package orvalis with its extension module, in
# ORV_PYTHON_INSTALL_DIR (Debian's place for packaged modules by default).
# The programs are component orvalis2d (cmake/install.cmake).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ORV_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/orvalis)
set_target_properties(orv_model PROPERTIES EXPORT_NAME model OUTPUT_NAME orvalis)
install(TARGETS orv_model EXPORT orvalis_targets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/orvalis
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev)
install(EXPORT orvalis_targets NAMESPACE orvalis:: FILE orvalisTargets.cmake
        DESTINATION ${ORV_CMAKE_PACKAGE_DIR} COMPONENT dev)

# The package finds what the library's link interface names.
get_target_property(orv_model_links orv_model INTERFACE_LINK_LIBRARIES)
set(ORV_CONFIG_DEPENDENCIES "")
if("${orv_model_links}" MATCHES "Threads::Threads")
  set(ORV_CONFIG_DEPENDENCIES "find_dependency(Threads)")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/orvalisConfig.cmake.in
               ${CMAKE_BINARY_DIR}/cmake/orvalisConfig.cmake @ONLY)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/cmake/orvalisConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/cmake/orvalisConfig.cmake
              ${CMAKE_BINARY_DIR}/cmake/orvalisConfigVersion.cmake
        DESTINATION ${ORV_CMAKE_PACKAGE_DIR} COMPONENT dev)

if(TARGET orvalis_py)
  set(ORV_PYTHON_INSTALL_DIR lib/python3/dist-packages
      CACHE STRING "Where the Python package orvalis goes, relative to the prefix")
  install(TARGETS orvalis_py LIBRARY DESTINATION ${ORV_PYTHON_INSTALL_DIR}/orvalis
          COMPONENT python)
  install(FILES ${PROJECT_SOURCE_DIR}/src/python/orvalis/__init__.py
                ${PROJECT_SOURCE_DIR}/src/python/orvalis/_assess.py
          DESTINATION ${ORV_PYTHON_INSTALL_DIR}/orvalis COMPONENT python)
endif()
