# Helpers for the tests, benchmarks and fuzz targets.
#
#   pellion_add_gtest(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [QT])
#     One GoogleTest executable registered with ctest. QT tests run on the
#     offscreen platform so they need no display.
#   pellion_add_benchmark(NAME SOURCES ... LIBS ...)
#   pellion_add_fuzzer(NAME SOURCES ... LIBS ...)
#     Built only with clang; registered with ctest as a bounded run
#     (PELLION_FUZZ_SECONDS, 20 s by default) seeded from the target's corpus/ folder.

find_package(GTest QUIET)
find_package(benchmark QUIET)

set(PELLION_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzz target runs under ctest")
set(PELLION_LSAN_SUPPRESSIONS ${CMAKE_CURRENT_LIST_DIR}/lsan.supp)

function(pellion_add_gtest name)
  cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  if(T_QT)
    target_link_libraries(${name} PRIVATE Qt6::Test Qt6::Widgets)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(env "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
          "LSAN_OPTIONS=suppressions=${PELLION_LSAN_SUPPRESSIONS}:print_suppressions=0"
          "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
          "PELLION_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
          "PELLION_BINARY_DIR=${CMAKE_BINARY_DIR}")
  if(T_QT)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 600)
endfunction()

function(pellion_add_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT benchmark_FOUND)
    return()
  endif()
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

function(pellion_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  set(corpus ${CMAKE_BINARY_DIR}/fuzz/corpus-${name})
  set(seeds ${CMAKE_CURRENT_SOURCE_DIR}/corpus)
  add_test(NAME ${name}
    COMMAND ${PROJECT_SOURCE_DIR}/fuzz/run-fuzzer.sh $<TARGET_FILE:${name}> ${corpus} ${seeds} ${PELLION_FUZZ_SECONDS})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS fuzz)
endfunction()

# Where the tests install Pellion: in the system's temporary folder, which an
# unprivileged user can reach, named after this build folder so that builds
# never share one. The install test sets it up; the end-to-end tests of the
# installed program use it.
string(MD5 pellion_build_hash ${CMAKE_BINARY_DIR})
string(SUBSTRING ${pellion_build_hash} 0 12 pellion_build_hash)
set(PELLION_INSTALL_TEST_PREFIX /tmp/pellion-installed-${pellion_build_hash})
