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

# The view of a folder's own headers only, without its subfolders: the platform's interfaces
# without its back ends, so that the logic cannot include one.
#   zembrel_header_view(target folder)
function(zembrel_header_view target folder)
  set(view ${CMAKE_BINARY_DIR}/include-views/${target}/${folder})
  # A tree configured before may hold a link to the whole folder here: links are made inside
  # this folder below, never inside the sources.
  if(IS_SYMLINK ${view})
    file(REMOVE ${view})
  endif()
  file(MAKE_DIRECTORY ${view})
  file(GLOB headers RELATIVE ${PROJECT_SOURCE_DIR}/src/${folder} CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
  foreach(header ${headers})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder}/${header} ${view}/${header} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${CMAKE_BINARY_DIR}/include-views/${target})
endfunction()

# A back end's view: its one folder (platform/posix …), for the targets that link it.
#   zembrel_backend_view(target folder)
function(zembrel_backend_view target folder)
  set(view ${CMAKE_BINARY_DIR}/include-views/${target})
  get_filename_component(parent ${view}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${view}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${view})
endfunction()
