# One static library per program folder, built from the files its folder's
# CMakeLists.txt lists. Every file is included by its path from the source
# root ("core/failure.h"); which folder may include which is checked by the
# include-direction test (cmake/IncludeDirection.cmake), not by the paths.

function(vortan_library target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_LINKS})
endfunction()
