# Lists a program's symbols (nm, demangled) and fails when one matches FORBID
# or none matches REQUIRE (both regexes). REQUIRE proves the symbol table is
# there to read, so a stripped program cannot pass by having none.
#   cmake -DNM=... -DPROGRAM=... -DFORBID=... -DREQUIRE=... -P symbol_check.cmake
execute_process(COMMAND ${NM} -C ${PROGRAM} OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot read the symbols of ${PROGRAM}")
endif()
if(NOT symbols MATCHES "${REQUIRE}")
  message(FATAL_ERROR "${PROGRAM} has no symbol matching ${REQUIRE}")
endif()
string(REGEX MATCHALL "[^\n]*(${FORBID})[^\n]*" found "${symbols}")
if(found)
  list(LENGTH found count)
  list(GET found 0 first)
  message(FATAL_ERROR "${PROGRAM} holds ${count} symbol(s) matching ${FORBID}, e.g. ${first}")
endif()
message(STATUS "${PROGRAM}: no symbol matches ${FORBID}")
