# A library (static, or shared where LUMIA_SHARED says so) from the sources matching the globs (relative to the source root),
# but those listed after EXCLUDE. An empty folder still makes a library, so later
# work has its place.
function(lumia_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "EXCLUDE")
  set(srcs)
  foreach(glob ${arg_UNPARSED_ARGUMENTS})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${glob})
    list(APPEND srcs ${found})
  endforeach()
  foreach(file ${arg_EXCLUDE})
    list(REMOVE_ITEM srcs ${CMAKE_SOURCE_DIR}/${file})
  endforeach()
  if(NOT srcs)
    set(stub ${CMAKE_BINARY_DIR}/stubs/${name}_empty.cpp)
    file(WRITE ${stub} "// ${name} has no sources yet\n")
    set(srcs ${stub})
  endif()
  add_library(${name} ${LUMIA_LIBRARY_TYPE} ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

# The generated source of a resource table: every file under DIR/data as the
# res::Resource array TABLE.
function(lumia_resource_table out dir table)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${dir}/data/*)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DDIR=${dir}/data -DTABLE=${table}
            -P ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
    DEPENDS ${files} ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
    COMMENT "Embedding resources of ${dir}")
endfunction()

# The port's own resources (skin sheets, brushes): every file under DIR is compiled
# into the binary and found by its file name through resources/Resources.h.
function(lumia_resources name dir)
  set(out ${CMAKE_BINARY_DIR}/generated/ResourceData.cpp)
  lumia_resource_table(${out} ${dir} kResources)
  add_library(${name} ${LUMIA_LIBRARY_TYPE} ${dir}/Resources.cpp ${out})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()
