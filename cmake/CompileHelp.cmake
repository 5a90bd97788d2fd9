# cmake -DCHMCMD=... -DPROJECT=<.hhp> -DWORK_DIR=<dir> -DOUTPUT=<Help.chm> -P CompileHelp.cmake
# Compiles the help project in WORK_DIR and moves the result to OUTPUT. Fails, leaving no
# OUTPUT, when chmcmd exits with a code other than 0 or prints a line beginning "Warning:"
# (a page linked to but missing, which would leave a broken link in the help).
cmake_minimum_required(VERSION 3.20)
file(REMOVE "${OUTPUT}")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
# chmcmd writes the compiled file named in the project into its working folder.
execute_process(COMMAND "${CHMCMD}" "${PROJECT}"
  WORKING_DIRECTORY "${WORK_DIR}"
  RESULT_VARIABLE result
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
set(compiled "${WORK_DIR}/Help.chm")
string(REGEX MATCH "(^|\n)Warning:" warning "${out}\n${err}")
set(size 0)
if(EXISTS "${compiled}")
  file(SIZE "${compiled}" size)
endif()
if(NOT result STREQUAL "0" OR warning OR size EQUAL 0)
  file(REMOVE "${compiled}")
  message(FATAL_ERROR "chmcmd did not compile ${PROJECT} cleanly (exit code ${result}):\n${out}${err}")
endif()
get_filename_component(outputDir "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${outputDir}")
file(RENAME "${compiled}" "${OUTPUT}")
