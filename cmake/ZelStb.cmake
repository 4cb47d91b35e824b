# The stb single-file libraries of libstb-dev as the interface target
# zel::stb, included as <stb/stb_image.h> and so on. The cross compiler does
# not search /usr/include (which holds the host's C library), so both builds
# get a directory of their own holding only a link to the stb headers.
find_path(ZEL_STB_DIR stb_image.h PATHS /usr/include/stb NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT ZEL_STB_DIR)
  message(FATAL_ERROR "stb headers not found (install libstb-dev)")
endif()
set(ZEL_STB_INCLUDE ${CMAKE_BINARY_DIR}/stb-include)
if(NOT EXISTS ${ZEL_STB_INCLUDE}/stb/stb_image.h)
  file(MAKE_DIRECTORY ${ZEL_STB_INCLUDE})
  file(CREATE_LINK ${ZEL_STB_DIR} ${ZEL_STB_INCLUDE}/stb SYMBOLIC)
endif()
add_library(zel::stb INTERFACE IMPORTED GLOBAL)
set_target_properties(zel::stb PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${ZEL_STB_INCLUDE})
