# What the help tests share: the mark a compiled help file begins with, and the end of a test
# that gathers its faults before it reports them.

set(HELP_SIGNATURE "49545346")  # "ITSF"

# out: the first four bytes of path in hex; "" when there is no such file.
function(help_signature path out)
  set(signature "")
  if(EXISTS "${path}")
    file(READ "${path}" signature LIMIT 4 HEX)
  endif()
  set(${out} "${signature}" PARENT_SCOPE)
endfunction()

# Fails with every fault, one a line, when there are any; otherwise says passed.
function(report_faults faults passed)
  if(faults)
    string(REPLACE ";" "\n" faults "${faults}")
    message(FATAL_ERROR "${faults}")
  endif()
  message(STATUS "${passed}")
endfunction()
