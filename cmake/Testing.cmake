# GoogleTest from Debian's source package, built for the target at hand, and
# soundboard_add_test(), which every test folder uses.
include(CTest)
if(NOT SOUNDBOARD_FUZZ)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# soundboard_add_test(NAME SOURCES a.cpp ... LIBS lib ... [LABELS l ...] [TIMEOUT s])
# One executable, one ctest entry; on the Windows build ctest runs it under Wine.
function(soundboard_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}"
    ENVIRONMENT SOUNDBOARD_ISOLATED=1)
endfunction()
