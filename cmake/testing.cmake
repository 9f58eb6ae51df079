# GoogleTest for both builds, and the helper that registers a test program.
include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
  # Debian ships GoogleTest as sources: compile them with the cross compiler.
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(LYRO_GTEST_MAIN gtest_main)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(LYRO_TEST_PREFIX "win64.")
  else()
    set(LYRO_TEST_PREFIX "win32.")
  endif()
  set(WINE_PREFIX "${CMAKE_BINARY_DIR}/wineprefix")
  # The one list of Wine's DLL overrides, shared with scripts/windows_build.sh.
  file(READ ${CMAKE_SOURCE_DIR}/scripts/wine_overrides LYRO_WINE_OVERRIDES)
  string(STRIP "${LYRO_WINE_OVERRIDES}" LYRO_WINE_OVERRIDES)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE
                 @ONLY)
else()
  find_package(GTest REQUIRED)
  set(LYRO_GTEST_MAIN GTest::gtest_main)
  if(LYRO_SANITIZE)
    set(LYRO_TEST_PREFIX "sanitize.")
  else()
    set(LYRO_TEST_PREFIX "native.")
  endif()
endif()

# lyro_add_test(name SOURCES... LIBS... [LOCK name] [DISPLAY_SLOTS n])
# builds one test program from the given sources, links it with the given
# libraries and registers its tests. Tests that share something outside
# their own scratch folder (the printers of the test Wine prefix, port 80)
# name the same LOCK, so that ctest never runs two of them at once. Tests
# that show windows take slots of the display (test.sh gives ctest two): a
# test that types on the keyboard or reads the screen takes both and runs
# alone among them, the others run side by side.
function(lyro_add_test name)
  cmake_parse_arguments(T "" "LOCK;DISPLAY_SLOTS" "SOURCES;LIBS" ${ARGN})
  set(lock_property)
  if(T_LOCK)
    set(lock_property RESOURCE_LOCK ${T_LOCK})
  endif()
  if(T_DISPLAY_SLOTS)
    list(APPEND lock_property RESOURCE_GROUPS "display:${T_DISPLAY_SLOTS}")
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${LYRO_GTEST_MAIN})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  gtest_discover_tests(${name}
    TEST_PREFIX ${LYRO_TEST_PREFIX}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 120 ${lock_property})
endfunction()
