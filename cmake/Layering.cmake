# One static library per source folder, and the rule that a folder includes
# only the folders its library links:
#   util <- devices <- machine;  util <- vision;  all <- backend <- app.
# kestravo_folder_library(<folder> [USES <folders>] [LINK <libraries>])
# makes kestravo_<folder>, linked publicly to the libraries of the folders it
# USES, and records the rule for the include check (kestravo_layering), which
# every folder library waits for.
function(kestravo_folder_library folder)
  cmake_parse_arguments(FL "" "" "USES;LINK" ${ARGN})
  set(target kestravo_${folder})
  add_library(${target} STATIC)
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${target} PRIVATE ${KESTRAVO_WARNINGS})
  foreach(used ${FL_USES})
    target_link_libraries(${target} PUBLIC kestravo_${used})
  endforeach()
  target_link_libraries(${target} PUBLIC ${FL_LINK})
  add_dependencies(${target} kestravo_layering)
  string(REPLACE ";" "," used_list "${FL_USES}")
  set_property(GLOBAL APPEND PROPERTY KESTRAVO_LAYERS "${folder}=${used_list}")
endfunction()

# The include check over every layered folder; reruns when a source changes.
function(kestravo_layering_check)
  get_property(layers GLOBAL PROPERTY KESTRAVO_LAYERS)
  set(globs)
  foreach(layer ${layers})
    string(REGEX REPLACE "=.*" "" folder "${layer}")
    list(APPEND globs ${CMAKE_SOURCE_DIR}/${folder}/*.h ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  endforeach()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${globs})
  set(stamp ${CMAKE_BINARY_DIR}/layering.stamp)
  set(script ${CMAKE_SOURCE_DIR}/scripts/check-layering.sh)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${script} ${CMAKE_SOURCE_DIR} ${layers}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${script} ${sources}
    COMMENT "Checking that no folder includes a folder above it"
    VERBATIM)
  add_custom_target(kestravo_layering DEPENDS ${stamp})
endfunction()
