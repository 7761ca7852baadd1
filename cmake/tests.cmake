# GoogleTest for both builds, and how test programs are registered with ctest.
if(WIN32)
    # The Windows build compiles GoogleTest from the sources Debian ships (with the posix thread
    # model of mingw-w64, which provides the std::mutex GoogleTest needs).
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set(KX_GTEST_MAIN gtest_main)
else()
    find_package(GTest REQUIRED)
    set(KX_GTEST_MAIN GTest::gtest_main)
endif()
include(GoogleTest)

# kx_add_test(name source... LIBS lib...): one test program. Native tests are listed case by
# case; under Wine one process runs all cases of a program, since every start costs time.
function(kx_add_test name)
    cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
    add_executable(${name} ${T_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${T_LIBS} ${KX_GTEST_MAIN})
    if(WIN32)
        add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
    endif()
endfunction()
