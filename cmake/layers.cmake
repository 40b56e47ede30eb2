# The layers and the arrows between them, kept by the build.
#
# Every header is included as "<layer>/<file>.h". No target has the source
# root on its include path: each has a folder of its own in the build tree
# that forwards to the headers of exactly the layers it may use, so that an
# include of any other layer fails to compile.

# The layers whose headers `target` may include.
function(zun_visible_layers target)
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  foreach(dir ${ARGN})
    file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/${dir}/*.h)
    foreach(header ${headers})
      file(CONFIGURE OUTPUT ${root}/${header} CONTENT "#include \"${CMAKE_SOURCE_DIR}/${header}\"\n" @ONLY)
    endforeach()
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
endfunction()

# zun_layer(NAME DIR dir [SOURCES_FROM subdir...] USES layer...): the static
# library of one layer, made of the .cpp files of its folder (and of the
# subfolders named), which may include and link the layers it uses.
function(zun_layer name)
  cmake_parse_arguments(L "" "DIR" "SOURCES_FROM;USES" ${ARGN})
  set(sources)
  foreach(dir ${L_DIR} ${L_SOURCES_FROM})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  add_library(${name} STATIC ${sources})
  zun_visible_layers(${name} ${L_DIR} ${L_USES})
  foreach(use ${L_USES})
    target_link_libraries(${name} PUBLIC zun_${use})
  endforeach()
endfunction()
