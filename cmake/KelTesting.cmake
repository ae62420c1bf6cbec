include(GoogleTest)

# The programs under test keep their data (the settings backups) here, never
# in the home folder of whoever runs the tests.
set(KEL_TEST_DATA_HOME "XDG_DATA_HOME=set:${CMAKE_BINARY_DIR}/test-data")

# Most of a test's compile time goes to parsing the test framework's and the
# standard library's headers: precompile them once per test program.
function(kel_test_headers target)
    target_precompile_headers(${target} PRIVATE ${ARGN} <string> <vector> <map> <functional> <algorithm>
                              <filesystem> <fstream> <sstream>)
endfunction()

# kel_add_gtest(NAME name LABEL unit|e2e|gui SOURCES ... LIBS ... [TIMEOUT s])
# One test binary, each GoogleTest case registered with CTest under the label.
function(kel_add_gtest)
    cmake_parse_arguments(T "" "NAME;LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 60)
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    kel_test_headers(${T_NAME} <gtest/gtest.h>)
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    gtest_discover_tests(${T_NAME}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT}
                   ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                   ENVIRONMENT_MODIFICATION "${KEL_TEST_DATA_HOME}")
endfunction()

# kel_add_qtest(NAME name LABEL gui SOURCES ... LIBS ...)
# A Qt Test binary run as one CTest test under the offscreen platform.
function(kel_add_qtest)
    cmake_parse_arguments(T "" "NAME;LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    set_target_properties(${T_NAME} PROPERTIES AUTOMOC ON)
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} Qt6::Test)
    kel_test_headers(${T_NAME} <QtTest> <QtWidgets>)
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ENVIRONMENT_MODIFICATION "${KEL_TEST_DATA_HOME}")
endfunction()
