# One library per subsystem. Its headers are reachable only through a folder of links that the
# library and the targets linking it see: an include that runs against the arrows does not build.
#   zembrel_subsystem(target folder [SOURCES ...] [DEPENDS ...])
function(zembrel_subsystem target folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${target} STATIC ${ARG_SOURCES})
  set(view ${CMAKE_BINARY_DIR}/include-views/${target})
  get_filename_component(parent ${view}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${view}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${view})
  target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
  zembrel_warnings(${target})
endfunction()
