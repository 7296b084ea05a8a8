# Runs a program through its emulator (Wine, qemu-user) as a shell would, and checks its
# exit status and what it printed. -DPROGRAM= -DARGS=a,b -DINPUT= -DSTATUS= -DOUT= (a part
# of standard output) -DERR= (of standard error) -DRUNNER= (the emulator's command)
separate_arguments(runner UNIX_COMMAND "${RUNNER}")
string(REGEX REPLACE "\\\\?," ";" ARGS "${ARGS}")
set(input_file ${CMAKE_CURRENT_BINARY_DIR}/console_input_${STATUS}.txt)
file(WRITE ${input_file} "${INPUT}")
execute_process(COMMAND ${runner} ${PROGRAM} ${ARGS} INPUT_FILE ${input_file}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status STREQUAL STATUS)
    message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\nout: ${out}\nerr: ${err}")
endif()
if(OUT AND NOT out MATCHES "${OUT}")
    message(FATAL_ERROR "standard output lacks '${OUT}':\n${out}")
endif()
if(ERR AND NOT err MATCHES "${ERR}")
    message(FATAL_ERROR "standard error lacks '${ERR}':\n${err}")
endif()
