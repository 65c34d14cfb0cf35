# tarmisy-run --html OUT writes the golden page of coloured.prg.
execute_process(COMMAND ${RUNNER} --html ${OUT} ${DIR}/coloured.prg RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "tarmisy-run --html ended with ${status}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${DIR}/coloured.html RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "${OUT} differs from ${DIR}/coloured.html")
endif()
