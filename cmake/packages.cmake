# The Debian packages, one per install component, made by `cpack -G DEB`
# under /usr: orvalis2d (the programs), liborvalis-dev (the library) and
# python3-orvalis (the module). A pre-build step (cmake/deb/prebuild.cmake)
# compresses the manual pages and gives every package its copyright and
# compressed changelog. Programs and the extension module are stripped and
# their Depends computed by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvalis2d)
set(CPACK_PACKAGE_VENDOR "Projekt ORVALIS")
set(CPACK_PACKAGE_CONTACT "Projekt ORVALIS <paket@orv.example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/deb/prebuild.cmake)
set(CPACK_ORV_CHANGELOG ${CMAKE_CURRENT_LIST_DIR}/deb/changelog)
set(CPACK_ORV_COPYRIGHT ${CMAKE_CURRENT_LIST_DIR}/deb/copyright)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL orvalis2d dev)
if(TARGET orvalis_py)
  list(APPEND CPACK_COMPONENTS_ALL python)
endif()

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://orv.example.org")
# name_version_arch.deb for every package.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

# The programs.
set(CPACK_DEBIAN_ORVALIS2D_PACKAGE_NAME orvalis2d)
set(CPACK_DEBIAN_ORVALIS2D_PACKAGE_SECTION science)
set(CPACK_DEBIAN_ORVALIS2D_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ORVALIS2D_DESCRIPTION
    "flow intensities below a dam breach: calculator and command
ORVALIS 2D computes, for a point on an open inclined plane below a breach,
for example after a dam break, the specific discharge, the flow velocity,
the flow depth and the energy head from seven parameters: head, breach
width, storage volume, bed slope, grain diameter and the two distances of
the point. The method reads tabulated dimensionless curves by linear
interpolation.
.
This package holds the German-language interactive calculator orvalis2d
and the scriptable command orvalis, which computes single points, every
row of a CSV file, and maps and profiles with danger levels, with their
manual pages and the bash completion of orvalis.")

# The library.
set(CPACK_DEBIAN_DEV_PACKAGE_NAME liborvalis-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_DEV_DESCRIPTION
    "flow intensities below a dam breach: C++ library
The model of ORVALIS 2D as a static C++ library: for a point on an open
inclined plane below a breach, the specific discharge, the flow velocity,
the flow depth and the energy head, with a status and a danger level, for
single points and whole grids.
.
This package holds the library liborvalis.a, its header orvalis/orvalis.h
and a CMake package: find_package(orvalis) and the target orvalis::model.")

# The Python module, for the interpreter it was built for: its minor
# version and the next one bound python3.
if(TARGET orvalis_py)
  execute_process(COMMAND ${Python_EXECUTABLE} -c
                          "import sys; print('%d.%d %d.%d' % (*sys.version_info[:2], sys.version_info[0], sys.version_info[1] + 1))"
                  OUTPUT_VARIABLE orv_py_range OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT orv_py_range MATCHES "^([0-9.]+) ([0-9.]+)$")
    message(FATAL_ERROR "the version of ${Python_EXECUTABLE} is unknown: ${orv_py_range}")
  endif()
  set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-orvalis)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SHLIBDEPS ON)
  # NumPy 1.20 brought broadcast_shapes, which the module uses.
  set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
      "python3-numpy (>= 1:1.20), python3 (>= ${CMAKE_MATCH_1}), python3 (<< ${CMAKE_MATCH_2})")
  set(CPACK_DEBIAN_PYTHON_DESCRIPTION
      "flow intensities below a dam breach: Python module
The model of ORVALIS 2D for Python on NumPy arrays: for points on an open
inclined plane below a breach, the specific discharge, the flow velocity,
the flow depth and the energy head, with a status and a danger level, bit
for bit as the programs of ORVALIS 2D compute them.
.
This package holds the module orvalis with the functions intensity(),
grid() and danger_level().")
endif()

include(CPack)
