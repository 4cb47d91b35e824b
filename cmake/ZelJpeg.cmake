# The JPEG library with the IJG 6b interface (JPEG_LIB_VERSION 62), as the
# imported target zel::jpeg. Natively it is the system's libjpeg62-turbo;
# the win64 build makes its own from the Debian source package (see
# LibJpegWin64.cmake).
if(ZEL_WIN32)
  include(LibJpegWin64)
else()
  find_package(JPEG REQUIRED)
  if(NOT JPEG_VERSION STREQUAL "62")
    message(FATAL_ERROR "JPEG: the 6b interface (JPEG_LIB_VERSION 62) is needed, found '${JPEG_VERSION}' (install libjpeg62-turbo-dev)")
  endif()
  add_library(zel::jpeg INTERFACE IMPORTED GLOBAL)
  set_target_properties(zel::jpeg PROPERTIES INTERFACE_LINK_LIBRARIES JPEG::JPEG)
endif()
