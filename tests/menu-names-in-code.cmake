# cmake -DSOURCE_DIR=... -DBINARY_DIR=... -DOUTPUT=... -P menu-names-in-code.cmake
# Writes OUTPUT, a C++ table of every menu entry name that a source file of the tree passes as a
# literal (L"mnu...", L"Mnu...", L"sep..."), with the file it stands in. Every .cpp and .h is read
# at each build, new files included; build trees, hidden folders and the menu table itself are not.
set(files)
file(GLOB entries LIST_DIRECTORIES true "${SOURCE_DIR}/*")
foreach(entry ${entries})
  get_filename_component(name "${entry}" NAME)
  if(IS_DIRECTORY "${entry}")
    if(name MATCHES "^\\." OR EXISTS "${entry}/CMakeCache.txt")
      continue()
    endif()
    file(GLOB_RECURSE found "${entry}/*.cpp" "${entry}/*.h")
    list(APPEND files ${found})
  elseif(name MATCHES "\\.(cpp|h)$")
    list(APPEND files "${entry}")
  endif()
endforeach()

set(rows "")
foreach(file ${files})
  file(RELATIVE_PATH relative "${SOURCE_DIR}" "${file}")
  string(FIND "${file}" "${BINARY_DIR}/" inBinaryDir)
  if(relative STREQUAL "mainwindow/MenuTable.cpp" OR inBinaryDir EQUAL 0)
    continue()
  endif()
  file(READ "${file}" text)
  string(REGEX MATCHALL "L\"([Mm]nu|sep)[A-Za-z0-9_]*\"" names "${text}")
  list(REMOVE_DUPLICATES names)
  foreach(literal ${names})
    string(APPEND rows "        {${literal}, \"${relative}\"},\n")
  endforeach()
endforeach()

set(content "// Made by tests/menu-names-in-code.cmake at build time; do not edit.
#include <string>
#include <utility>
#include <vector>

// Every menu entry name used in the code as a literal, with the file it stands in.
std::vector<std::pair<std::wstring, std::string>> MenuNamesInCode() {
    return {
${rows}    };
}
")
# Written only when it changed, so an unchanged tree rebuilds nothing.
set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL content)
  file(WRITE "${OUTPUT}" "${content}")
endif()
