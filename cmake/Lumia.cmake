# A static library from the sources matching the globs (relative to the source root).
# An empty folder still makes a library, so later work has its place.
function(lumia_library name)
  set(srcs)
  foreach(glob ${ARGN})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${glob})
    list(APPEND srcs ${found})
  endforeach()
  if(NOT srcs)
    set(stub ${CMAKE_BINARY_DIR}/stubs/${name}_empty.cpp)
    file(WRITE ${stub} "// ${name} has no sources yet\n")
    set(srcs ${stub})
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

# The port's own resources (skin sheets, brushes): every file under DIR is compiled
# into the binary and found by its file name through resources/Resources.h.
function(lumia_resources name dir)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${dir}/data/*)
  set(out ${CMAKE_BINARY_DIR}/generated/ResourceData.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DDIR=${dir}/data -P ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
    DEPENDS ${files} ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
    COMMENT "Embedding resources")
  add_library(${name} STATIC ${dir}/Resources.cpp ${out})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()
