# Helpers shared by every area's CMakeLists.
include(GoogleTest)

# engine_library(<area> SOURCES ... [DEPS ...])
# One static library per area of src/, named after the area.
function(engine_library area)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${area} STATIC ${ARG_SOURCES})
    target_include_directories(${area} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    if(ARG_DEPS)
        target_link_libraries(${area} PUBLIC ${ARG_DEPS})
    endif()
endfunction()

# engine_test(<name> SOURCES ... DEPS ... [LABELS ...] [ENV ...] [TIMEOUT <seconds>])
# One GoogleTest executable per area, discovered by CTest. TIMEOUT replaces
# the default time-out of ctest's --timeout for tests that need longer.
function(engine_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPS;LABELS;ENV" ${ARGN})
    add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/testenvironment.cc)
    target_compile_definitions(${name} PRIVATE ENGINE_TEST_HOME="${CMAKE_BINARY_DIR}/test-home")
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    set(props "")
    if(ARG_LABELS)
        list(APPEND props LABELS "${ARG_LABELS}")
    endif()
    if(ARG_ENV)
        list(APPEND props ENVIRONMENT "${ARG_ENV}")
    endif()
    if(ARG_TIMEOUT)
        list(APPEND props TIMEOUT ${ARG_TIMEOUT})
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
endfunction()

# engine_bench(<name> SOURCES ... DEPS ...)
# Where tests are built without sanitizers (the optimised build the suite
# also runs in), CTest runs the benchmark once, briefly, under the label
# "bench" (bench/smoke.py), so that a benchmark that stops or fails its own
# checks fails the suite instead of rotting unseen.
function(engine_bench name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/bench)
    if(ENGINE_TESTS AND NOT ENGINE_SANITIZE)
        add_test(NAME bench.${name}
            COMMAND python3 ${PROJECT_SOURCE_DIR}/bench/smoke.py $<TARGET_FILE:${name}>)
        set_tests_properties(bench.${name} PROPERTIES LABELS bench TIMEOUT 600
            ENVIRONMENT "SDL_VIDEODRIVER=offscreen;ALSOFT_DRIVERS=null;ASAN_OPTIONS=detect_leaks=0:halt_on_error=1:abort_on_error=1:allocator_may_return_null=1")
    endif()
endfunction()

# engine_fuzz(<name> SOURCES ... DEPS ... CORPUS <dir>)
# A libFuzzer target; CTest runs it once over its seed corpus so it stays
# built and sound.
function(engine_fuzz name)
    cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
    if(ARG_CORPUS)
        add_test(NAME fuzz.${name} COMMAND ${name} -runs=0 ${ARG_CORPUS})
        set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz)
    endif()
endfunction()
