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

# The sanitizer options of a test program that makes a GL context (and of
# the benchmarks, which do too): Mesa and libdbus leak inside any such
# process, so these run without leak detection; the first fault stops it.
set(ENGINE_NOLEAK_ASAN_OPTIONS
    "ASAN_OPTIONS=detect_leaks=0:halt_on_error=1:abort_on_error=1:allocator_may_return_null=1")

# engine_test_support(<name> SOURCES ... DEPS ... [DEFINES ...])
# Fixtures, recording servers and stand-ins that several test programs
# share, built once. Their own folder is on the include path of whoever
# links them. No test is registered from here: a static library keeps only
# the objects a program refers to.
function(engine_test_support name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;DEFINES" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC
        ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    if(ARG_DEFINES)
        target_compile_definitions(${name} PRIVATE ${ARG_DEFINES})
    endif()
endfunction()

# engine_test_program(<name> SOURCES ... DEPS ...)
# A GoogleTest executable with the test environment, no test registered.
function(engine_test_program name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/testenvironment.cc
        ${PROJECT_SOURCE_DIR}/tests/testwatchdog.cc)
    target_compile_definitions(${name} PRIVATE ENGINE_TEST_HOME="${CMAKE_BINARY_DIR}/test-home")
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
endfunction()

# engine_test(<name> SOURCES ... DEPS ... [LABELS ...] [ENV ...] [TIMEOUT <seconds>])
# One GoogleTest executable per area, discovered by CTest. TIMEOUT replaces
# the default time-out of ctest's --timeout for tests that need longer.
function(engine_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPS;LABELS;ENV" ${ARGN})
    engine_test_program(${name} SOURCES ${ARG_SOURCES} DEPS ${ARG_DEPS})
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

# engine_program_test(<test> COMMAND ... [LABELS ...] [ENV ...] [TIMEOUT <seconds>]
#                     [LSAN_SUPPRESSIONS <file>])
# A whole test program as one CTest entry, for programs whose environment
# holds more than one variable (which discovered tests' properties cannot
# carry). Leak detection is off (ENGINE_NOLEAK_ASAN_OPTIONS) unless
# LSAN_SUPPRESSIONS names the leaks forgiven, when everything else is checked.
function(engine_program_test test)
    cmake_parse_arguments(ARG "" "TIMEOUT;LSAN_SUPPRESSIONS" "COMMAND;LABELS;ENV" ${ARGN})
    add_test(NAME ${test} COMMAND ${ARG_COMMAND})
    set(env ${ARG_ENV})
    if(ARG_LSAN_SUPPRESSIONS)
        list(APPEND env "LSAN_OPTIONS=suppressions=${ARG_LSAN_SUPPRESSIONS}")
    else()
        list(APPEND env "${ENGINE_NOLEAK_ASAN_OPTIONS}")
    endif()
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "${env}")
    if(ARG_LABELS)
        set_tests_properties(${test} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
    if(ARG_TIMEOUT)
        set_tests_properties(${test} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    endif()
endfunction()

# engine_gl_test(<name> TEST <test> SOURCES ... DEPS ... [LABELS ...] [ENV ...]
#                [TIMEOUT <seconds>] [LSAN_SUPPRESSIONS <file>] [LAUNCHER ...])
# A test program that runs on a real window system or GL device, as the one
# CTest entry <test> (see engine_program_test), started through LAUNCHER
# (tests/xvfb.sh, say) if one is given. LABELS defaults to "gl".
function(engine_gl_test name)
    cmake_parse_arguments(ARG "" "TEST;TIMEOUT;LSAN_SUPPRESSIONS" "SOURCES;DEPS;LABELS;ENV;LAUNCHER" ${ARGN})
    # a GL error left by any test fails it
    engine_test_program(${name} SOURCES ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/glerrorlistener.cc DEPS ${ARG_DEPS})
    if(NOT ARG_LABELS)
        set(ARG_LABELS gl)
    endif()
    # A whole GL program is one CTest entry of many tests; on a loaded
    # machine the software rasteriser shares the cores with everything else,
    # so it gets longer than the suite's default before it counts as stuck.
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 900)
    endif()
    set(extra TIMEOUT ${ARG_TIMEOUT})
    if(ARG_LSAN_SUPPRESSIONS)
        list(APPEND extra LSAN_SUPPRESSIONS ${ARG_LSAN_SUPPRESSIONS})
    endif()
    engine_program_test(${ARG_TEST} COMMAND ${ARG_LAUNCHER} $<TARGET_FILE:${name}>
        LABELS ${ARG_LABELS} ENV ${ARG_ENV} ${extra})
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
            ENVIRONMENT "SDL_VIDEODRIVER=offscreen;ALSOFT_DRIVERS=null;${ENGINE_NOLEAK_ASAN_OPTIONS}")
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
