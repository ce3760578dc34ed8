# cmake -DPROGRAM=... "-DARGUMENTS=a;b" -DEXPECT=REGEX -P RunExpecting.cmake:
# runs the program with its arguments and passes when it exits with 0 and
# its standard output matches REGEX (ctest's own PASS_REGULAR_EXPRESSION
# would pass a program that failed after printing the line).
execute_process(COMMAND "${PROGRAM}" ${ARGUMENTS} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message("${output}${errors}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} exited with ${result}")
endif()
if(NOT output MATCHES "${EXPECT}")
  message(FATAL_ERROR "${PROGRAM} printed no line matching ${EXPECT}")
endif()
