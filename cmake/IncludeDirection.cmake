# Fails when a program file includes a header of a folder above it or beside
# it. Run by ctest as
#   cmake -DSOURCE_DIR=<source root> -P cmake/IncludeDirection.cmake
# The libraries link core <- db <- intake, calc, migrate <- sheet <- report
# <- xlsx <- ui <- app; a folder may include its own headers and those of the
# folders listed for it below, nothing else. The screens of ui/ share
# ui/common but not each other; the program shell in app/ puts them together.

cmake_minimum_required(VERSION 3.21)

set(domain core db intake calc migrate sheet report xlsx)
set(allowed_core       core)
set(allowed_db         core db db/postgres)
set(allowed_db/postgres core db db/postgres)
set(allowed_intake     core db intake)
set(allowed_calc       core db calc)
set(allowed_migrate    core db migrate)
set(allowed_mdb        mdb)
set(allowed_sheet      core db intake calc sheet)
set(allowed_report     core db intake calc sheet report)
set(allowed_xlsx       core db intake calc sheet report xlsx)
set(allowed_ui/common  ${domain} ui/common)
set(allowed_ui/intake  ${domain} ui/common ui/intake)
set(allowed_ui/calc    ${domain} ui/common ui/calc)
set(allowed_ui/sheet   ${domain} ui/common ui/sheet)
set(allowed_ui/report  ${domain} ui/common ui/report)
set(allowed_app        ${domain} ui/common ui/intake ui/calc ui/sheet ui/report app)
set(allowed_cli        ${domain} cli)
# The helpers of the domain tests serve domain tests only.
# They may make whole databases on the tests' PostgreSQL server.
set(allowed_tests/support ${domain} db/postgres support)
set(folders core db db/postgres intake calc migrate mdb sheet report xlsx
            ui/common ui/intake ui/calc ui/sheet ui/report app cli tests/support)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<source root> -P IncludeDirection.cmake")
endif()

set(wrong 0)
foreach(folder ${folders})
  file(GLOB files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(file ${files})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
      get_filename_component(dir "${header}" DIRECTORY)
      if(dir STREQUAL "")
        continue()  # a header beside the file
      endif()
      if(NOT dir IN_LIST allowed_${folder})
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
        message("${shown}: includes ${header}, but ${folder} may include only: ${allowed_${folder}}")
        math(EXPR wrong "${wrong} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(wrong GREATER 0)
  message(FATAL_ERROR "${wrong} include(s) against the direction of the layers")
endif()
message("Every include goes down the layers.")
