# qmk on a list that the Linux build wrote must give, byte for byte, what the
# Linux build gave: check, both exports, and the list that import writes. The
# same files pass on every system qmk is built for.
# Usage: cmake -DQMK=<qmk, after its emulator if any> -DGOLDEN=<folder> -DWORK=<scratch folder>
#              -P qmk_golden_test.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
# A name in other scripts, so that it has to reach the program whole.
set(list "${WORK}/Büro ✓.jjp")
file(COPY_FILE ${GOLDEN}/sample.jjp ${list})

function(expect_same produced golden)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${produced} ${golden} RESULT_VARIABLE differ)
  if(differ)
    file(READ ${produced} bytes)
    message(FATAL_ERROR "${produced} differs from ${golden}:\n${bytes}")
  endif()
endfunction()

function(run_qmk output)
  execute_process(COMMAND ${QMK} ${ARGN} RESULT_VARIABLE status OUTPUT_FILE ${output} ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "qmk ${ARGN}: exit status ${status}\n${err}")
  endif()
endfunction()

file(WRITE ${WORK}/check.golden "ok: 5 tasks\n")
run_qmk(${WORK}/check.txt check ${list})
expect_same(${WORK}/check.txt ${WORK}/check.golden)
run_qmk(${WORK}/sample.json export ${list})
expect_same(${WORK}/sample.json ${GOLDEN}/sample.json)
run_qmk(${WORK}/sample.md export ${list} --format markdown)
expect_same(${WORK}/sample.md ${GOLDEN}/sample.md)
run_qmk(${WORK}/import.txt import ${GOLDEN}/sample.json -o "${WORK}/écrit.jjp")
expect_same("${WORK}/écrit.jjp" ${GOLDEN}/imported.jjp)
