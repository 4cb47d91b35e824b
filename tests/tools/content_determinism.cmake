# Makes both archives twice with zel-content, in separate processes, and
# requires the same bytes. The first copies stay in WORK/a for the checks
# that read the archives.
#   cmake -DTOOL=zel-content -DWORK=dir -P content_determinism.cmake
foreach(copy a b)
  file(REMOVE_RECURSE ${WORK}/${copy})
  file(MAKE_DIRECTORY ${WORK}/${copy})
  foreach(pair "custom;CustomData.rar2" "media;Media.rar2")
    list(GET pair 0 what)
    list(GET pair 1 name)
    execute_process(COMMAND ${TOOL} ${what} ${WORK}/${copy}/${name} RESULT_VARIABLE status ERROR_VARIABLE errors
                    TIMEOUT 300)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "zel-content ${what} failed (${status}): ${errors}")
    endif()
  endforeach()
endforeach()
foreach(name CustomData.rar2 Media.rar2)
  file(SHA256 ${WORK}/a/${name} first)
  file(SHA256 ${WORK}/b/${name} second)
  if(NOT first STREQUAL second)
    message(FATAL_ERROR "${name} differs between two builds")
  endif()
  file(SIZE ${WORK}/a/${name} size)
  message(STATUS "${name}: ${size} bytes, the same in both builds")
endforeach()
