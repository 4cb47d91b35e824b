# Test helpers shared by the test, fuzz and bench trees.
enable_testing()

if(ZEL_WIN32)
  # GoogleTest compiled by mingw from the Debian source tree.
  if(NOT TARGET gtest)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
  set(ZEL_GTEST_LIBS gtest)
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  set(ZEL_GTEST_LIBS GTest::gtest)
endif()

# Every test run under Wine shares one Wine prefix and one Xvfb (a CTest
# fixture, see tests/win). All of them get the display, not only those that
# open windows: the prefix's single Wine server keeps the graphics driver of
# the process that started it, so one display-less test would leave the
# windowed tests running next to it without a display.
set(ZEL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(ZEL_XVFB_STATE_DIR ${CMAKE_BINARY_DIR}/xvfb)
function(zel_wine_test TEST)
  set_tests_properties(${TEST} PROPERTIES
    FIXTURES_REQUIRED xvfb
    ENVIRONMENT "ZEL_WINEPREFIX=${ZEL_WINEPREFIX};ZEL_DISPLAY_FILE=${ZEL_XVFB_STATE_DIR}/display;LIBGL_ALWAYS_SOFTWARE=1;WINEDEBUG=-all")
endfunction()

# zel_add_gtest(NAME name SOURCES ... [LIBS ...] [LABELS ...] [FIXTURES name] [SHARDS n] [DISPLAY])
# One GoogleTest executable. Natively each test case is its own CTest test;
# on win64 the whole executable is one CTest test run under Wine, or SHARDS
# tests (name_0, name_1, ...) that each run a share of its cases. DISPLAY
# marks tests that open windows (label "display"); FIXTURES names the fixture
# the native test cases require.
function(zel_add_gtest)
  cmake_parse_arguments(T "DISPLAY" "NAME;FIXTURES;SHARDS" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} ${ZEL_GTEST_LIBS})
  if(ZEL_WIN32)
    set(labels ${T_LABELS} wine)
    if(T_DISPLAY)
      list(APPEND labels display)
    endif()
    list(REMOVE_DUPLICATES labels)
    if(NOT T_SHARDS)
      set(T_SHARDS 1)
    endif()
    math(EXPR last "${T_SHARDS} - 1")
    foreach(shard RANGE ${last})
      set(test ${T_NAME})
      if(T_SHARDS GREATER 1)
        set(test ${T_NAME}_${shard})
      endif()
      add_test(NAME ${test} COMMAND ${T_NAME})
      set_tests_properties(${test} PROPERTIES LABELS "${labels}" TIMEOUT 600)
      zel_wine_test(${test})
      if(T_SHARDS GREATER 1)
        set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "GTEST_TOTAL_SHARDS=${T_SHARDS}" "GTEST_SHARD_INDEX=${shard}")
      endif()
    endforeach()
  else()
    set(properties LABELS "${T_LABELS}" TIMEOUT 300)
    if(T_FIXTURES)
      list(APPEND properties FIXTURES_REQUIRED ${T_FIXTURES})
    endif()
    gtest_discover_tests(${T_NAME} PROPERTIES ${properties} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
