# cmake -DCHMCMD=<chmcmd> -DCOMPILE_SCRIPT=<CompileHelp.cmake> -DWORK_DIR=<dir> -P help-rule.cmake
# The help rule on small projects: a clean one compiles; a link to a missing page and a listed
# page missing from disk each fail the rule and leave no help file, not even an older one.
cmake_minimum_required(VERSION 3.20)
include("${CMAKE_CURRENT_LIST_DIR}/help-common.cmake")
file(REMOVE_RECURSE "${WORK_DIR}")

function(page path body)
  file(WRITE "${path}" "<html><head><title>Page</title></head><body>${body}</body></html>\n")
endfunction()

# case: name, the page that a.htm links to, an extra page listed in the project, whether it compiles
set(cases
  "clean|b.htm||yes"
  "broken link|gone.htm||no"
  "missing page|b.htm|c.htm|no")
set(faults)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 name)
  list(GET fields 1 link)
  list(GET fields 2 extra)
  list(GET fields 3 compiles)
  string(REPLACE " " "_" dirName "${name}")
  set(dir "${WORK_DIR}/${dirName}")
  page("${dir}/a.htm" "<a href=\"${link}\">next</a>")
  page("${dir}/b.htm" "second")
  set(toc "<HTML><BODY><UL>\n<LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\"><param name=\"Local\" value=\"a.htm\"></OBJECT>\n</UL></BODY></HTML>\n")
  file(WRITE "${dir}/Help.hhc" "${toc}")
  file(WRITE "${dir}/Help.hhk" "${toc}")
  file(WRITE "${dir}/Help.hhp"
    "[OPTIONS]\nCompiled file=Help.chm\nContents file=Help.hhc\nIndex file=Help.hhk\nDefault topic=a.htm\n"
    "Title=Rule\n\n[FILES]\na.htm\nb.htm\n${extra}\n")
  set(output "${dir}/bin/Help.chm")
  file(WRITE "${output}" "left from an earlier build")
  execute_process(COMMAND ${CMAKE_COMMAND} -DCHMCMD=${CHMCMD} -DPROJECT=${dir}/Help.hhp -DWORK_DIR=${dir}/work
                          -DOUTPUT=${output} -P ${COMPILE_SCRIPT}
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  if(compiles STREQUAL "yes")
    help_signature("${output}" signature)
    if(NOT result STREQUAL "0" OR NOT signature STREQUAL "${HELP_SIGNATURE}")
      list(APPEND faults "${name}: the rule failed (${result}) or made no help file")
    endif()
  else()
    if(result STREQUAL "0")
      list(APPEND faults "${name}: the rule succeeded")
    endif()
    if(EXISTS "${output}")
      list(APPEND faults "${name}: a help file was left behind")
    endif()
  endif()
endforeach()
report_faults("${faults}" "the help rule compiled the clean project and refused the two faulty ones")
