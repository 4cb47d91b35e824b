# The private deb-src list through which the win64 build fetches Debian
# source packages (FetchDebianSource.cmake). The archive and suite are those
# of the machine's own apt sources, read at configure time; nothing of the
# machine's apt configuration is changed.

# Sets <prefix>_URI, <prefix>_SUITE and <prefix>_KEYRING from the first
# "deb" entry of the machine's apt sources (deb822 first, then the classic
# one-line list).
function(zel_read_apt_source prefix)
  set(uri "")
  set(suite "")
  set(keyring "")
  set(deb822 /etc/apt/sources.list.d/debian.sources)
  if(EXISTS ${deb822})
    file(STRINGS ${deb822} lines)
    set(is_deb FALSE)
    foreach(line IN LISTS lines)
      if(line MATCHES "^Types:.*(^|[ \t:])deb([ \t]|$)")
        set(is_deb TRUE)
      elseif(line MATCHES "^Types:")
        set(is_deb FALSE)
      endif()
      if(NOT is_deb)
        continue()
      endif()
      if(uri STREQUAL "" AND line MATCHES "^URIs:[ \t]*([^ \t]+)")
        set(uri ${CMAKE_MATCH_1})
      elseif(suite STREQUAL "" AND line MATCHES "^Suites:[ \t]*([^ \t]+)")
        set(suite ${CMAKE_MATCH_1})
      elseif(keyring STREQUAL "" AND line MATCHES "^Signed-By:[ \t]*([^ \t]+)")
        set(keyring ${CMAKE_MATCH_1})
      endif()
    endforeach()
  endif()
  if((uri STREQUAL "" OR suite STREQUAL "") AND EXISTS /etc/apt/sources.list)
    file(STRINGS /etc/apt/sources.list lines REGEX "^deb[ \t]")
    foreach(line IN LISTS lines)
      if(line MATCHES "^deb[ \t]+(\\[[^]]*\\][ \t]+)?([^ \t]+)[ \t]+([^ \t]+)")
        set(uri ${CMAKE_MATCH_2})
        set(suite ${CMAKE_MATCH_3})
        break()
      endif()
    endforeach()
  endif()
  if(uri STREQUAL "" OR suite STREQUAL "")
    message(FATAL_ERROR "Debian sources: no Debian archive found in the apt sources of this machine")
  endif()
  if(keyring STREQUAL "" AND EXISTS /usr/share/keyrings/debian-archive-keyring.gpg)
    set(keyring /usr/share/keyrings/debian-archive-keyring.gpg)
  endif()
  set(${prefix}_URI ${uri} PARENT_SCOPE)
  set(${prefix}_SUITE ${suite} PARENT_SCOPE)
  set(${prefix}_KEYRING ${keyring} PARENT_SCOPE)
endfunction()

# Writes DIR/sources.list with one deb-src line for the machine's archive
# and suite; written only when it changes, so a re-configure does not touch
# it.
function(zel_debian_source_list dir)
  zel_read_apt_source(ZEL_APT)
  set(options "")
  if(NOT ZEL_APT_KEYRING STREQUAL "")
    set(options "[signed-by=${ZEL_APT_KEYRING}] ")
  endif()
  file(CONFIGURE OUTPUT ${dir}/sources.list
    CONTENT "deb-src ${options}${ZEL_APT_URI} ${ZEL_APT_SUITE} main\n" @ONLY)
endfunction()
