# The iCalendar export of an awkward list, read back by libical (ical_check)
# and by Python's icalendar (check_calendar.py), must agree with the list.
# Usage: cmake -DQMK=<qmk> -DICAL_CHECK=<ical_check> -DPYTHON=<python3 with icalendar>
#              -DLIST=<list in the JSON form> -DWORK=<scratch folder> -P calendar_parsers_test.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN}: exit status ${status}\n${out}${err}")
  endif()
endfunction()

run(${QMK} import ${LIST} -o ${WORK}/list.jjp)
execute_process(COMMAND ${QMK} export ${WORK}/list.jjp --format ics OUTPUT_FILE ${WORK}/list.ics)
execute_process(COMMAND ${ICAL_CHECK} ${WORK}/list.ics OUTPUT_FILE ${WORK}/libical.jsonl RESULT_VARIABLE status
                ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "libical refuses the export:\n${err}")
endif()
get_filename_component(here ${CMAKE_SCRIPT_MODE_FILE} DIRECTORY)
run(${PYTHON} ${here}/check_calendar.py ${LIST} ${WORK}/list.ics ${WORK}/libical.jsonl)

# libical's check is no formality: a task with two titles fails it.
string(REPLACE "SUMMARY:" "SUMMARY:twice\r\nSUMMARY:" twice "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\n\
BEGIN:VTODO\r\nUID:a\r\nDTSTAMP:20261212T000000Z\r\nSUMMARY:once\r\nEND:VTODO\r\nEND:VCALENDAR\r\n")
file(WRITE ${WORK}/twice.ics "${twice}")
execute_process(COMMAND ${ICAL_CHECK} ${WORK}/twice.ics RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
if(status EQUAL 0)
  message(FATAL_ERROR "ical_check let a task with two titles pass")
endif()
