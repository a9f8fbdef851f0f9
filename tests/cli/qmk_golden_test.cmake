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

# What is due, and the calendar: a list of dates around 2026-12-12. Through
# standard input the calendar is stamped 1970-01-01, the same everywhere.
set(dated "${WORK}/Büro dated.jjp")
run_qmk(${WORK}/dated-import.txt import ${GOLDEN}/dated.json -o ${dated})
run_qmk(${WORK}/dated-agenda.txt agenda ${dated} --today 2026-12-12)
expect_same(${WORK}/dated-agenda.txt ${GOLDEN}/dated-agenda.txt)
run_qmk(${WORK}/dated-agenda.json agenda ${dated} --today=2026-12-12 --days 30 --format json)
expect_same(${WORK}/dated-agenda.json ${GOLDEN}/dated-agenda.json)
execute_process(COMMAND ${QMK} export - --format ics INPUT_FILE ${dated} OUTPUT_FILE ${WORK}/dated.ics
                RESULT_VARIABLE status)
expect_same(${WORK}/dated.ics ${GOLDEN}/dated.ics)
# From the file, stamped with its time: an unchanged file exports the same bytes.
run_qmk(${WORK}/dated-1.ics export ${dated} --format ics)
run_qmk(${WORK}/dated-2.ics export ${dated} --format ics)
expect_same(${WORK}/dated-1.ics ${WORK}/dated-2.ics)
