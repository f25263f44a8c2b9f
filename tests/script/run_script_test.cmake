# Runs one Tcl test script with engine-script and compares its standard
# output with <script>.out. A <script>.err file means the script must fail:
# exit code 1 and exactly that text on standard error.
#   cmake -DHOST=<engine-script> -DSCRIPT=<file.tcl> -P run_script_test.cmake
execute_process(
    COMMAND ${HOST} ${SCRIPT}
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err
    RESULT_VARIABLE code)

string(REGEX REPLACE "\\.tcl$" "" base ${SCRIPT})
file(READ ${base}.out expected)
if(NOT out STREQUAL expected)
    message(FATAL_ERROR "standard output differs\n--- expected\n${expected}--- got\n${out}--- stderr\n${err}")
endif()

if(EXISTS ${base}.err)
    file(READ ${base}.err expectedErr)
    if(NOT code EQUAL 1 OR NOT err STREQUAL expectedErr)
        message(FATAL_ERROR "expected exit code 1 and\n${expectedErr}got ${code} and\n${err}")
    endif()
elseif(NOT code EQUAL 0)
    message(FATAL_ERROR "exit code ${code}\n${err}")
endif()
