# Runs the qmk program itself: exit statuses and what reaches the terminal.
# Usage: cmake -DQMK=<path to qmk, after its emulator if any> -P qmk_binary_test.cmake
function(expect_run expected_status expected_output)
  execute_process(COMMAND ${QMK} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL expected_status)
    message(FATAL_ERROR "qmk ${ARGN}: exit status ${status}, expected ${expected_status}\n${out}${err}")
  endif()
  string(FIND "${out}${err}" "${expected_output}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "qmk ${ARGN}: output lacks '${expected_output}':\n${out}${err}")
  endif()
endfunction()

expect_run(0 "qmk (Quillmark) 2.1" --version)
expect_run(0 "Usage: qmk" --help)
expect_run(2 "qmk: unknown command 'frobnicate'" frobnicate)
expect_run(2 "qmk: no command given")
expect_run(1 "Cannot open file /nonexistent/list.jjp" check /nonexistent/list.jjp)
