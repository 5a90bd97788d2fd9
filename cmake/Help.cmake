# "Help.chm": the HTML pages of resources/help compiled by chmcmd (Debian package fp-utils)
# into the program's folder. Sets CORVELL_HELP_FILE to the compiled file, or to "" when the
# native Windows build goes without it.
set(CORVELL_HELP_SOURCE ${CMAKE_SOURCE_DIR}/resources/help)
set(CORVELL_HELP_FILE "")
find_program(CHMCMD chmcmd)
if(NOT CHMCMD)
  if(CMAKE_CROSSCOMPILING)
    message(FATAL_ERROR "chmcmd was not found; it compiles Help.chm. Install the Debian package fp-utils "
                        "(scripts/deps.sh installs it), then configure again.")
  endif()
  message(WARNING "chmcmd was not found: Corvell is built without Help.chm, so Help > Contents finds no help file.")
  return()
endif()

get_property(CORVELL_MULTI_CONFIG GLOBAL PROPERTY GENERATOR_IS_MULTI_CONFIG)
if(CORVELL_MULTI_CONFIG)
  set(CORVELL_HELP_FILE ${CMAKE_BINARY_DIR}/bin/$<CONFIG>/Help.chm)  # beside the program of each configuration
else()
  set(CORVELL_HELP_FILE ${CMAKE_BINARY_DIR}/bin/Help.chm)
endif()
file(GLOB CORVELL_HELP_SOURCES CONFIGURE_DEPENDS ${CORVELL_HELP_SOURCE}/*)
add_custom_command(OUTPUT ${CORVELL_HELP_FILE}
  COMMAND ${CMAKE_COMMAND} -DCHMCMD=${CHMCMD} -DPROJECT=${CORVELL_HELP_SOURCE}/Help.hhp
          -DWORK_DIR=${CMAKE_BINARY_DIR}/help -DOUTPUT=${CORVELL_HELP_FILE}
          -P ${CMAKE_SOURCE_DIR}/cmake/CompileHelp.cmake
  DEPENDS ${CORVELL_HELP_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/CompileHelp.cmake
  COMMENT "Compiling Help.chm"
  VERBATIM)
add_custom_target(corvell_help ALL DEPENDS ${CORVELL_HELP_FILE})
