# tarmisy-run --format prints the formatted program: compared with the
# golden file, whose lines end in "|".
execute_process(COMMAND ${RUNNER} --format ${PROGRAM} OUTPUT_VARIABLE out RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "tarmisy-run --format exited with ${status}")
endif()
string(REPLACE "\n" "|\n" out "${out}")
file(READ ${EXPECTED} expected)
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "tarmisy-run --format ${PROGRAM}:\n${out}\nexpected:\n${expected}")
endif()
