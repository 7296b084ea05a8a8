# Two processes appending 200 records each to one file at the same time, through RUNNER
# (Wine for Windows' calls), then every line checked. -DPROGRAM= -DRUNNER= -DFILE=
separate_arguments(runner UNIX_COMMAND "${RUNNER}")
file(REMOVE "${FILE}")
# The commands of one execute_process run at the same time, as a pipeline.
execute_process(COMMAND ${runner} ${PROGRAM} ${FILE} A 200
    COMMAND ${runner} ${PROGRAM} ${FILE} B 200
    RESULTS_VARIABLE statuses ERROR_VARIABLE err)
if(NOT statuses STREQUAL "0;0")
    message(FATAL_ERROR "the writers ended with ${statuses}: ${err}")
endif()
execute_process(COMMAND ${runner} ${PROGRAM} check ${FILE} 200 A B
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE "${FILE}")
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${err}")
endif()
message(STATUS "${out}")
