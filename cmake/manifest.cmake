# Embeds an application manifest in a program (resource 1 of type 24) or a DLL (resource 2).
#
#   embed_manifest(target)                   the window layer's manifest: common controls 6.0.0.0
#   embed_manifest(target MANIFEST file.in)  a program's own manifest
#
# The manifest is configured first: @MANIFEST_ARCHITECTURE@ becomes the architecture of the
# build ("x86" for the 32-bit deliverables, "amd64" for the x86-64 test build).
set(SUITE_COMMON_CONTROLS_MANIFEST ${CMAKE_CURRENT_LIST_DIR}/../winui/common_controls.manifest.in)

function(embed_manifest target)
  cmake_parse_arguments(M "" "MANIFEST" "" ${ARGN})
  if(NOT M_MANIFEST)
    set(M_MANIFEST ${SUITE_COMMON_CONTROLS_MANIFEST})
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(MANIFEST_ARCHITECTURE amd64)
  else()
    set(MANIFEST_ARCHITECTURE x86)
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  configure_file(${M_MANIFEST} ${out} @ONLY)
  get_target_property(type ${target} TYPE)
  set(id 1)
  if(type STREQUAL "SHARED_LIBRARY")
    set(id 2)
  endif()
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${target}_manifest.rc.in "${id} 24 \"${out}\"\n")
  configure_file(${CMAKE_CURRENT_BINARY_DIR}/${target}_manifest.rc.in
    ${CMAKE_CURRENT_BINARY_DIR}/${target}_manifest.rc COPYONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}_manifest.rc)
  set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/${target}_manifest.rc APPEND PROPERTY OBJECT_DEPENDS ${out})
endfunction()
