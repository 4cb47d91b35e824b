# Script mode: cmake -DPACKAGE=name -DAPT_DIR=dir -DDESTINATION=dir -P this
#
# Fetches and unpacks the Debian source package PACKAGE with `apt-get
# source`, using the deb-src list APT_DIR/sources.list and apt state kept
# under APT_DIR (nothing of the machine's apt state is changed), and moves
# the unpacked tree to DESTINATION. Needs dpkg-dev (dpkg-source).
foreach(var PACKAGE APT_DIR DESTINATION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "FetchDebianSource: ${var} is not set")
  endif()
endforeach()

set(work ${APT_DIR}/work)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${APT_DIR}/lists/partial ${APT_DIR}/cache/archives/partial ${work})

set(apt_options
  -o Dir::Etc::SourceList=${APT_DIR}/sources.list
  -o Dir::Etc::SourceParts=/dev/null
  -o Dir::State::Lists=${APT_DIR}/lists
  -o Dir::Cache=${APT_DIR}/cache
  -o Debug::NoLocking=1
  -o APT::Sandbox::User=root
  -q)

# Bounded: a stalled mirror must fail the configure, not hang it.
execute_process(COMMAND apt-get ${apt_options} update RESULT_VARIABLE status TIMEOUT 600)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "FetchDebianSource: apt-get update failed (${status})")
endif()
execute_process(COMMAND apt-get ${apt_options} source ${PACKAGE}
  WORKING_DIRECTORY ${work} RESULT_VARIABLE status TIMEOUT 900)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "FetchDebianSource: apt-get source ${PACKAGE} failed (${status})")
endif()

file(GLOB unpacked LIST_DIRECTORIES true ${work}/${PACKAGE}-*)
set(tree "")
foreach(entry IN LISTS unpacked)
  if(IS_DIRECTORY ${entry})
    set(tree ${entry})
  endif()
endforeach()
if(tree STREQUAL "")
  message(FATAL_ERROR "FetchDebianSource: no unpacked tree of ${PACKAGE} in ${work}")
endif()
file(REMOVE_RECURSE ${DESTINATION})
file(RENAME ${tree} ${DESTINATION})
file(REMOVE_RECURSE ${work})
