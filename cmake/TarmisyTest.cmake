# tarmisy_add_test(NAME name SOURCES ... LIBS ... [LABELS ...] [QT])
# One GoogleTest executable; its tests are registered with ctest one by one.
# LABELS core marks the Qt-free tests that the sanitizer build runs.
find_package(GTest REQUIRED)
include(GoogleTest)

function(tarmisy_add_test)
  cmake_parse_arguments(T "QT" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  # An empty value in PROPERTIES would swallow the next property name, so
  # only name the properties that have values.
  set(props "")
  if(T_LABELS)
    list(APPEND props LABELS "${T_LABELS}")
  endif()
  if(T_QT)
    list(APPEND props ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
  if(props)
    gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
  else()
    gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
