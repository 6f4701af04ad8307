# Each room of src/ is seen only through an include folder of its own that
# holds the rooms it may use: a header included across a forbidden arrow is
# not found, and the build fails.
set(ORV_ROOMS_DIR ${CMAKE_BINARY_DIR}/rooms)

# orv_rooms(TARGET ROOM...): TARGET's include folder shows src/ROOM for each
# ROOM named (the target's own room and every room below it).
function(orv_rooms target)
  set(dir ${ORV_ROOMS_DIR}/${target})
  file(REMOVE_RECURSE ${dir})
  file(MAKE_DIRECTORY ${dir})
  foreach(room IN LISTS ARGN)
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${room} ${dir}/${room} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE $<BUILD_INTERFACE:${dir}>)
  else()
    target_include_directories(${target} PRIVATE ${dir})
  endif()
endfunction()
