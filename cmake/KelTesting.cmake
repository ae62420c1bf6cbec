include(GoogleTest)

# The programs under test keep their data (the settings backups) here, never
# in the home folder of whoever runs the tests.
set(KEL_TEST_DATA_HOME "XDG_DATA_HOME=set:${CMAKE_BINARY_DIR}/test-data")

# Most of a test's compile time goes to parsing the test framework's and the
# standard library's headers. They are precompiled once per framework, in a
# host target of their own, and every test program of that framework reuses
# that header: one precompiled header per build instead of one per program.
# A reused header is only valid under the same code-generation flags: the
# hosts and the programs are all compiled with -fPIC, as Qt's users are, and
# GCC's -Winvalid-pch (with -Werror) stops the build if they ever drift apart.
set(KEL_TEST_STD_HEADERS <string> <vector> <map> <functional> <algorithm> <filesystem> <fstream> <sstream>)

function(kel_test_pic target)
    if(NOT WIN32)  # all Windows code is position-independent already
        target_compile_options(${target} PRIVATE -fPIC)
    endif()
endfunction()

function(kel_test_headers target kind)
    if(WIN32 AND kind STREQUAL "gtest")
        # Qt's users get definitions on Windows (UNICODE, MINGW_HAS_SECURE_API
        # and more) that change the system headers, and only some GoogleTest
        # programs use Qt: there each program keeps a header of its own.
        target_precompile_headers(${target} PRIVATE <gtest/gtest.h> ${KEL_TEST_STD_HEADERS})
        return()
    endif()
    set(host kel_test_headers_${kind})
    if(NOT TARGET ${host})
        set(source ${CMAKE_BINARY_DIR}/${host}.cpp)
        file(CONFIGURE OUTPUT ${source} CONTENT "// Host of the test programs' precompiled header.\n")
        add_library(${host} OBJECT ${source})
        kel_test_pic(${host})
        if(kind STREQUAL "gtest")
            target_link_libraries(${host} PRIVATE GTest::gtest)
            target_precompile_headers(${host} PRIVATE <gtest/gtest.h> ${KEL_TEST_STD_HEADERS})
        else()
            # Not <QtTest>: it reads QT_TESTCASE_BUILDDIR, which Qt defines
            # per program, so a shared header holding it would fit no one.
            target_link_libraries(${host} PRIVATE Qt6::Widgets)
            target_precompile_headers(${host} PRIVATE <QtWidgets> ${KEL_TEST_STD_HEADERS})
        endif()
    endif()
    kel_test_pic(${target})
    target_precompile_headers(${target} REUSE_FROM ${host})
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
    kel_test_headers(${T_NAME} gtest)
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
    kel_test_headers(${T_NAME} qtest)
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ENVIRONMENT_MODIFICATION "${KEL_TEST_DATA_HOME}")
endfunction()
