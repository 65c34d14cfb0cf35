# Runs one program with tarmisy-run and compares what it did with the
# expectations beside it:
#   NAME.in      console input (default: none)
#   NAME.args    extra options, one per line (default: none); file names
#                in them are relative to this folder, where the runner runs
#   NAME.out     expected standard output (default: empty)
#   NAME.err     expected standard error (default: the success message)
#   NAME.status  expected exit status (default: 0)
get_filename_component(dir ${PROGRAM} DIRECTORY)
get_filename_component(name ${PROGRAM} NAME_WE)
set(base ${dir}/${name})

set(args)
if(EXISTS ${base}.args)
  file(STRINGS ${base}.args args)
endif()
set(input /dev/null)
if(EXISTS ${base}.in)
  set(input ${base}.in)
endif()
execute_process(COMMAND ${RUNNER} ${args} ${PROGRAM}
  INPUT_FILE ${input}
  WORKING_DIRECTORY ${dir}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status
  TIMEOUT 50)

set(expected_out "")
if(EXISTS ${base}.out)
  file(READ ${base}.out expected_out)
endif()
set(expected_err "Выполнение программы завершено успешно.\n")
if(EXISTS ${base}.err)
  file(READ ${base}.err expected_err)
endif()
set(expected_status 0)
if(EXISTS ${base}.status)
  file(STRINGS ${base}.status expected_status LIMIT_COUNT 1)
endif()

set(failed FALSE)
if(NOT out STREQUAL expected_out)
  message("standard output differs\n--- expected\n${expected_out}--- actual\n${out}---")
  set(failed TRUE)
endif()
if(NOT err STREQUAL expected_err)
  message("standard error differs\n--- expected\n${expected_err}--- actual\n${err}---")
  set(failed TRUE)
endif()
if(NOT status STREQUAL expected_status)
  message("exit status ${status}, expected ${expected_status}")
  set(failed TRUE)
endif()
if(failed)
  message(FATAL_ERROR "${name}.prg failed")
endif()
