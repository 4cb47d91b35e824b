# libjpeg-turbo for the win64 build, made from the Debian source package
# with the mingw toolchain: static, the 6b interface only (no jpeg7/8
# emulation, no TurboJPEG API) and no SIMD (that would need nasm).
#
# The source comes through `apt-get source` with a private deb-src list and
# private apt state under the build tree (DebianSourceList.cmake), so the
# machine's apt configuration is left alone. ExternalProject keeps stamps in
# the build tree: the package is fetched and built once per build tree.
include(ExternalProject)

set(ZEL_JPEG_ROOT ${CMAKE_BINARY_DIR}/libjpeg-turbo)
set(ZEL_JPEG_INSTALL ${ZEL_JPEG_ROOT}/install)
set(ZEL_JPEG_LIBRARY ${ZEL_JPEG_INSTALL}/lib/libjpeg.a)

include(DebianSourceList)
zel_debian_source_list(${ZEL_JPEG_ROOT}/apt)

ExternalProject_Add(libjpeg_win64
  PREFIX ${ZEL_JPEG_ROOT}
  SOURCE_DIR ${ZEL_JPEG_ROOT}/source
  BINARY_DIR ${ZEL_JPEG_ROOT}/build
  INSTALL_DIR ${ZEL_JPEG_INSTALL}
  DOWNLOAD_COMMAND ${CMAKE_COMMAND}
    -DPACKAGE=libjpeg-turbo
    -DAPT_DIR=${ZEL_JPEG_ROOT}/apt
    -DDESTINATION=<SOURCE_DIR>
    -P ${CMAKE_CURRENT_LIST_DIR}/FetchDebianSource.cmake
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_JPEG7=OFF
    -DWITH_JPEG8=OFF
    -DWITH_TURBOJPEG=OFF
    -DWITH_SIMD=OFF
    -Wno-dev
  # Only the library: the package's programs and tests are not needed.
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static --parallel ${ZEL_JOBS}
  INSTALL_COMMAND ${CMAKE_COMMAND} -E make_directory <INSTALL_DIR>/lib <INSTALL_DIR>/include
    COMMAND ${CMAKE_COMMAND} -E copy_if_different <BINARY_DIR>/libjpeg.a <INSTALL_DIR>/lib/
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
      <SOURCE_DIR>/jpeglib.h <SOURCE_DIR>/jerror.h <SOURCE_DIR>/jmorecfg.h <BINARY_DIR>/jconfig.h
      <INSTALL_DIR>/include/
  BUILD_BYPRODUCTS ${ZEL_JPEG_LIBRARY}
  UPDATE_COMMAND ""
  TEST_COMMAND "")

# The include directory must exist when the build files are generated.
file(MAKE_DIRECTORY ${ZEL_JPEG_INSTALL}/include)
add_library(zel::jpeg STATIC IMPORTED GLOBAL)
set_target_properties(zel::jpeg PROPERTIES
  IMPORTED_LOCATION ${ZEL_JPEG_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${ZEL_JPEG_INSTALL}/include)
add_dependencies(zel::jpeg libjpeg_win64)
