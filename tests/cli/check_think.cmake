# Runs PROGRAM with ARGS; the exit status must be STATUS and, when EXPECT is not empty, the
# standard output must be EXPECT followed by one line end, where the think's time in EXPECT is
# written "seconds":T (the measured time varies from run to run).
separate_arguments(args UNIX_COMMAND "${ARGS}")
execute_process(COMMAND ${PROGRAM} ${args}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status STREQUAL "${STATUS}")
    message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\nstdout: ${out}\nstderr: ${err}")
endif()
string(REGEX REPLACE "\"seconds\":[0-9]+\\.[0-9]+}" "\"seconds\":T}" masked "${out}")
if(NOT "${EXPECT}" STREQUAL "" AND NOT masked STREQUAL "${EXPECT}\n")
    message(FATAL_ERROR "stdout '${out}', expected '${EXPECT}'")
endif()
