# Every test runs in an environment of its own (temporary files, runtime sockets, settings, data
# and home), made empty at its start; see tests/support/hermetic-run.sh. Local socket names must
# fit in 107 bytes with the temporary directory's path, so a deep build tree keeps them in /tmp.
set(ZOLT_TEST_ENV_ROOT ${PROJECT_BINARY_DIR}/test-env)
string(LENGTH "${ZOLT_TEST_ENV_ROOT}" root_length)
if(root_length GREATER 40)
  string(MD5 build_hash "${PROJECT_BINARY_DIR}")
  string(SUBSTRING ${build_hash} 0 12 build_hash)
  set(ZOLT_TEST_ENV_ROOT /tmp/zolt-test-env-${build_hash})
endif()

# zolt_hermetic_test(<name> <command> [<args>...]): add_test in the test's own environment.
function(zolt_hermetic_test name)
  add_test(NAME ${name}
           COMMAND ${PROJECT_SOURCE_DIR}/tests/support/hermetic-run.sh ${ZOLT_TEST_ENV_ROOT}/${name}
                   ${ARGN})
endfunction()

# zolt_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [KIND gtest|qttest|plain]
#               [ARGS <args...>] [ENV <VAR=value...>] [LABELS <labels...>])
# Registers one test executable with CTest. GoogleTest and plain suites get the label "core",
# which the sanitizer build runs; QtTest suites run offscreen unless labelled "x11" (those run
# under xvfb-run in scripts/test). A "plain" test brings its own main().
function(zolt_add_test)
  cmake_parse_arguments(T "" "NAME;KIND" "SOURCES;LIBS;ARGS;ENV;LABELS" ${ARGN})
  if(NOT T_KIND)
    set(T_KIND gtest)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS})
  set(labels ${T_LABELS})
  set(env ${T_ENV})
  if(T_KIND STREQUAL "qttest")
    target_link_libraries(${T_NAME} PRIVATE Qt6::Test)
    if(NOT "x11" IN_LIST labels)
      list(APPEND env QT_QPA_PLATFORM=offscreen)
    endif()
  else()
    if(T_KIND STREQUAL "gtest")
      target_link_libraries(${T_NAME} PRIVATE GTest::gtest_main)
    endif()
    list(APPEND labels core)
  endif()
  zolt_hermetic_test(${T_NAME} $<TARGET_FILE:${T_NAME}> ${T_ARGS})
  set_tests_properties(${T_NAME} PROPERTIES LABELS "${labels}" TIMEOUT 300)
  if(env)
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}")
  endif()
endfunction()
