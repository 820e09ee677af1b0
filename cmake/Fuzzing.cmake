# soundboard_add_fuzz_target(NAME SOURCES a.cpp ... MAX_LEN n)
#
# A libFuzzer target (fuzz preset: clang, ASan + UBSan). The code under test
# is compiled into the target itself, with the fuzzer's coverage
# instrumentation. ctest runs it for a fixed time over a copy of the committed
# seeds/ folder beside it in the build folder, so the committed corpus never
# grows. Longer runs by hand: <target> -max_len=<n> <dir> seeds/
function(soundboard_add_fuzz_target name)
  cmake_parse_arguments(F "" "MAX_LEN" "SOURCES" ${ARGN})
  set(work ${CMAKE_CURRENT_BINARY_DIR}/work)
  add_executable(${name} ${F_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)

  file(MAKE_DIRECTORY ${work})
  add_test(NAME ${name}_corpus
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_CURRENT_SOURCE_DIR}/seeds ${work}/corpus)
  set_tests_properties(${name}_corpus PROPERTIES FIXTURES_SETUP ${name}_corpus LABELS fuzz)
  add_test(NAME ${name}
    COMMAND ${name} -max_total_time=20 -max_len=${F_MAX_LEN} -timeout=10 -print_final_stats=1
            -artifact_prefix=${work}/ ${work}/corpus
    WORKING_DIRECTORY ${work})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED ${name}_corpus LABELS fuzz TIMEOUT 120)
endfunction()
