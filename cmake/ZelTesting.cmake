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

# Every test run under Wine runs on a screen: an Xvfb (a CTest fixture) and
# the Wine prefix whose programs use it. Most share one (see tests/win); all
# of a screen's tests get its display, not only those that open windows: the
# prefix's single Wine server keeps the graphics driver of the process that
# started it, so one display-less test would leave the windowed tests running
# next to it without a display.
set(ZEL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(ZEL_XVFB_STATE_DIR ${CMAKE_BINARY_DIR}/xvfb)

# zel_wine_screen(NAME): an Xvfb and a Wine prefix of their own, under
# <build>/screen-NAME/, for the tests marked SCREEN NAME (fixture xvfb_NAME).
function(zel_wine_screen NAME)
  set(dir ${CMAKE_BINARY_DIR}/screen-${NAME})
  add_test(NAME xvfb_${NAME}_start COMMAND ${CMAKE_SOURCE_DIR}/scripts/xvfb-fixture start ${dir}/xvfb)
  set_tests_properties(xvfb_${NAME}_start PROPERTIES FIXTURES_SETUP xvfb_${NAME} TIMEOUT 60 LABELS wine)
  add_test(NAME xvfb_${NAME}_stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/xvfb-fixture stop ${dir}/xvfb)
  set_tests_properties(xvfb_${NAME}_stop PROPERTIES FIXTURES_CLEANUP xvfb_${NAME} TIMEOUT 90 LABELS wine
    ENVIRONMENT "ZEL_WINEPREFIX=${dir}/wineprefix")
endfunction()

# zel_wine_test(TEST [SCREEN name] [WINDOWS])
# SCREEN: on that screen (zel_wine_screen) instead of the shared one.
# WINDOWS: the test opens windows, runs the show or reads the screen. Such
# tests hold their screen's lock and run one at a time: a window activated
# beside a running show ends it, and activation changes reach every window.
function(zel_wine_test TEST)
  cmake_parse_arguments(W "WINDOWS" "SCREEN" "" ${ARGN})
  if(W_SCREEN)
    set(prefix ${CMAKE_BINARY_DIR}/screen-${W_SCREEN}/wineprefix)
    set(state ${CMAKE_BINARY_DIR}/screen-${W_SCREEN}/xvfb)
    set(fixture xvfb_${W_SCREEN})
  else()
    set(prefix ${ZEL_WINEPREFIX})
    set(state ${ZEL_XVFB_STATE_DIR})
    set(fixture xvfb)
  endif()
  set_tests_properties(${TEST} PROPERTIES
    FIXTURES_REQUIRED ${fixture}
    ENVIRONMENT "ZEL_WINEPREFIX=${prefix};ZEL_DISPLAY_FILE=${state}/display;LIBGL_ALWAYS_SOFTWARE=1;WINEDEBUG=-all")
  if(W_WINDOWS)
    set_tests_properties(${TEST} PROPERTIES RESOURCE_LOCK ${fixture}_windows)
  endif()
endfunction()

# zel_add_gtest(NAME name SOURCES ... [LIBS ...] [LABELS ...] [FIXTURES name]
#               [SHARDS n] [DISPLAY] [SCREEN name])
# One GoogleTest executable. Natively each test case is its own CTest test,
# unless ZEL_TEST_WHOLE_PROGRAMS is on; on win64, and natively with that
# option, the whole executable is one CTest test, or SHARDS tests (name_0,
# name_1, ...) that each run a share of its cases. DISPLAY marks tests that
# open windows (label "display", and WINDOWS of zel_wine_test); SCREEN picks
# their screen; FIXTURES names the fixture the tests require.
#
# Test code is most of what a fresh tree compiles and little of what a run
# spends, so it builds unoptimised with line tables only (the engine it calls
# keeps the tree's level), and the test framework's header is compiled once
# per executable.
function(zel_add_gtest)
  cmake_parse_arguments(T "DISPLAY" "NAME;SCREEN;FIXTURES;SHARDS" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} ${ZEL_GTEST_LIBS})
  # A helper that no call reaches means a same-named helper of another
  # source in its batch took its calls.
  target_compile_options(${T_NAME} PRIVATE -O0 -g1 -Werror=unused-function)
  if(ZEL_SANITIZE)
    # The undefined-behaviour checks are for the engine's code; in test code
    # they double its compile time.
    target_compile_options(${T_NAME} PRIVATE -fno-sanitize=undefined)
  endif()
  list(LENGTH T_SOURCES source_count)
  if(source_count GREATER 2)
    target_precompile_headers(${T_NAME} PRIVATE <gtest/gtest.h>)
  endif()
  set(labels ${T_LABELS})
  if(ZEL_WIN32)
    list(APPEND labels wine)
  endif()
  if(NOT ZEL_WIN32 AND NOT ZEL_TEST_WHOLE_PROGRAMS)
    set(properties LABELS "${labels}" TIMEOUT 300)
    if(T_FIXTURES)
      list(APPEND properties FIXTURES_REQUIRED ${T_FIXTURES})
    endif()
    gtest_discover_tests(${T_NAME} PROPERTIES ${properties} DISCOVERY_TIMEOUT 60)
    return()
  endif()
  set(wine_options)
  if(T_DISPLAY)
    list(APPEND labels display)
    list(APPEND wine_options WINDOWS)
  endif()
  if(T_SCREEN)
    list(APPEND wine_options SCREEN ${T_SCREEN})
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
    if(ZEL_WIN32)
      zel_wine_test(${test} ${wine_options})
    endif()
    if(T_FIXTURES)
      set_property(TEST ${test} APPEND PROPERTY FIXTURES_REQUIRED ${T_FIXTURES})
    endif()
    if(T_SHARDS GREATER 1)
      set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "GTEST_TOTAL_SHARDS=${T_SHARDS}" "GTEST_SHARD_INDEX=${shard}")
    endif()
  endforeach()
endfunction()
