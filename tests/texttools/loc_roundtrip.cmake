# Unscrambles the built localisation file and compares it with its source.
execute_process(COMMAND ${TOOL} unscramble ${LOC} ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "tarmisy-loc unscramble failed: ${status}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${TEXT} RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "${LOC} does not unscramble to ${TEXT}")
endif()
