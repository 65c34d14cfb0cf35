# tarmisy_add_test(NAME name SOURCES ... LIBS ... [LABELS ...] [QT])
# One GoogleTest executable; its tests are registered with ctest one by one.
# LABELS core marks the Qt-free tests that the sanitizer build runs.
find_package(GTest REQUIRED)
include(GoogleTest)

function(tarmisy_add_test)
  cmake_parse_arguments(T "QT" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set(env "")
  if(T_QT)
    set(env "QT_QPA_PLATFORM=offscreen")
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${T_LABELS}" ENVIRONMENT "${env}"
    DISCOVERY_TIMEOUT 60)
endfunction()
