# Shared build helpers.

# cw_add_test(<name> SOURCES <files...> LIBS <targets...>)
# Builds one GoogleTest program and registers its cases with CTest. Tests run
# with the project root as working directory so fixtures are found by
# relative path.
function(cw_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    gtest_discover_tests(${name}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "CUEWRIGHT_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# cw_add_bench(<name> SOURCES <files...> LIBS <targets...>)
function(cw_add_bench name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
endfunction()
