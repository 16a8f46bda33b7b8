# One static library per folder for its domain files; the window files of every
# folder (*_window, *_dialog, *_widget) form vortan_ui. Sources are collected by
# pattern so that a new file needs no edit here.

set(VORTAN_UI_PATTERN "(_window|_dialog|_widget)\\.(cpp|h)$")

function(vortan_domain_library folder)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  list(FILTER sources EXCLUDE REGEX "${VORTAN_UI_PATTERN}")
  set(target vortan_${folder})
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(NOT sources)
    # A folder without domain files yet: an interface library keeps the chain linked.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_LINKS})
    return()
  endif()
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  list(FILTER headers EXCLUDE REGEX "${VORTAN_UI_PATTERN}")
  add_library(${target} STATIC ${sources} ${headers})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_LINKS})
endfunction()

function(vortan_ui_library)
  cmake_parse_arguments(ARG "" "" "FOLDERS;LINKS" ${ARGN})
  set(sources)
  foreach(folder ${ARG_FOLDERS})
    file(GLOB found CONFIGURE_DEPENDS
         ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.h)
    list(FILTER found INCLUDE REGEX "${VORTAN_UI_PATTERN}")
    list(APPEND sources ${found})
  endforeach()
  file(GLOB resources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/*.qrc)
  if(NOT sources)
    set(sources ${CMAKE_BINARY_DIR}/vortan_ui_empty.cpp)
    file(WRITE ${sources} "// no window files yet\n")
  endif()
  add_library(vortan_ui STATIC ${sources} ${resources})
  target_include_directories(vortan_ui PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(vortan_ui PUBLIC ${ARG_LINKS})
endfunction()
