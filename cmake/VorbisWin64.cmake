# libogg and libvorbis for the win64 build, made from the Debian source
# packages with the mingw toolchain: static libraries only, no tests, no
# documentation. The sound library's DLL links them (zel::vorbisfile), the
# Windows tests also libvorbisenc (zel::vorbisenc) to make Ogg files.
#
# Fetched like libjpeg-turbo (LibJpegWin64.cmake): `apt-get source` through
# a private deb-src list and apt state under the build tree, bounded by the
# timeouts of FetchDebianSource.cmake; built once per build tree.
include(ExternalProject)
include(DebianSourceList)

set(ZEL_VORBIS_ROOT ${CMAKE_BINARY_DIR}/vorbis)
set(ZEL_VORBIS_INSTALL ${ZEL_VORBIS_ROOT}/install)
set(ZEL_OGG_LIBRARY ${ZEL_VORBIS_INSTALL}/lib/libogg.a)
set(ZEL_VORBIS_LIBRARY ${ZEL_VORBIS_INSTALL}/lib/libvorbis.a)
set(ZEL_VORBISFILE_LIBRARY ${ZEL_VORBIS_INSTALL}/lib/libvorbisfile.a)
set(ZEL_VORBISENC_LIBRARY ${ZEL_VORBIS_INSTALL}/lib/libvorbisenc.a)

zel_debian_source_list(${ZEL_VORBIS_ROOT}/apt)

# Arguments shared by both packages' configure steps.
set(ZEL_VORBIS_CMAKE_ARGS
  -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
  -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_INSTALL_PREFIX=${ZEL_VORBIS_INSTALL}
  -DBUILD_SHARED_LIBS=OFF
  -DBUILD_TESTING=OFF
  -DINSTALL_DOCS=OFF
  -DINSTALL_PKG_CONFIG_MODULE=OFF
  -DINSTALL_CMAKE_PACKAGE_MODULE=OFF
  -Wno-dev)

# One package at a time: both share the private apt state.
ExternalProject_Add(libogg_win64
  PREFIX ${ZEL_VORBIS_ROOT}/ogg
  SOURCE_DIR ${ZEL_VORBIS_ROOT}/ogg/source
  BINARY_DIR ${ZEL_VORBIS_ROOT}/ogg/build
  INSTALL_DIR ${ZEL_VORBIS_INSTALL}
  DOWNLOAD_COMMAND ${CMAKE_COMMAND}
    -DPACKAGE=libogg
    -DAPT_DIR=${ZEL_VORBIS_ROOT}/apt
    -DDESTINATION=<SOURCE_DIR>
    -P ${CMAKE_CURRENT_LIST_DIR}/FetchDebianSource.cmake
  CMAKE_ARGS ${ZEL_VORBIS_CMAKE_ARGS}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --parallel ${ZEL_JOBS}
  INSTALL_COMMAND ${CMAKE_COMMAND} --install <BINARY_DIR>
  BUILD_BYPRODUCTS ${ZEL_OGG_LIBRARY}
  UPDATE_COMMAND ""
  TEST_COMMAND "")

ExternalProject_Add(libvorbis_win64
  DEPENDS libogg_win64
  PREFIX ${ZEL_VORBIS_ROOT}/vorbis
  SOURCE_DIR ${ZEL_VORBIS_ROOT}/vorbis/source
  BINARY_DIR ${ZEL_VORBIS_ROOT}/vorbis/build
  INSTALL_DIR ${ZEL_VORBIS_INSTALL}
  DOWNLOAD_COMMAND ${CMAKE_COMMAND}
    -DPACKAGE=libvorbis
    -DAPT_DIR=${ZEL_VORBIS_ROOT}/apt
    -DDESTINATION=<SOURCE_DIR>
    -P ${CMAKE_CURRENT_LIST_DIR}/FetchDebianSource.cmake
  # The package's own Ogg finder takes the paths as given; they win over
  # the host's that pkg-config would suggest.
  CMAKE_ARGS ${ZEL_VORBIS_CMAKE_ARGS}
    -DOGG_INCLUDE_DIR=${ZEL_VORBIS_INSTALL}/include
    -DOGG_LIBRARY=${ZEL_OGG_LIBRARY}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --parallel ${ZEL_JOBS}
  INSTALL_COMMAND ${CMAKE_COMMAND} --install <BINARY_DIR>
  BUILD_BYPRODUCTS ${ZEL_VORBIS_LIBRARY} ${ZEL_VORBISFILE_LIBRARY} ${ZEL_VORBISENC_LIBRARY}
  UPDATE_COMMAND ""
  TEST_COMMAND "")

# The include directory must exist when the build files are generated.
file(MAKE_DIRECTORY ${ZEL_VORBIS_INSTALL}/include)
add_library(zel::ogg STATIC IMPORTED GLOBAL)
set_target_properties(zel::ogg PROPERTIES
  IMPORTED_LOCATION ${ZEL_OGG_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${ZEL_VORBIS_INSTALL}/include)
add_dependencies(zel::ogg libogg_win64)
add_library(zel::vorbis STATIC IMPORTED GLOBAL)
set_target_properties(zel::vorbis PROPERTIES
  IMPORTED_LOCATION ${ZEL_VORBIS_LIBRARY}
  INTERFACE_LINK_LIBRARIES zel::ogg)
add_dependencies(zel::vorbis libvorbis_win64)
add_library(zel::vorbisfile STATIC IMPORTED GLOBAL)
set_target_properties(zel::vorbisfile PROPERTIES
  IMPORTED_LOCATION ${ZEL_VORBISFILE_LIBRARY}
  INTERFACE_LINK_LIBRARIES zel::vorbis)
add_library(zel::vorbisenc STATIC IMPORTED GLOBAL)
set_target_properties(zel::vorbisenc PROPERTIES
  IMPORTED_LOCATION ${ZEL_VORBISENC_LIBRARY}
  INTERFACE_LINK_LIBRARIES zel::vorbis)
