# Fails when a plain configuration (no preset, no options) would turn warnings
# into errors, or when the developers' option stops doing so. A distribution
# building with its own compiler must not fail on a warning that ours lacks.
# Usage: cmake -DSOURCE_DIR=... -DWORK_DIR=... -P check_plain_build_flags.cmake
set(build_dir ${WORK_DIR}/plain-build-flags)
file(REMOVE_RECURSE ${build_dir})

# Reconfigures the core alone (configuring only: no compiler runs) and hands
# back the compile commands of the project's own sources.
function(configure_core result)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${build_dir} -DCMAKE_BUILD_TYPE=Release
            -DQM_WITH_QT=OFF -DQM_BUILD_TESTS=OFF ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "configuring failed:\n${output}")
  endif()
  file(READ ${build_dir}/compile_commands.json commands)
  string(JSON count LENGTH "${commands}")
  if(count EQUAL 0)
    message(FATAL_ERROR "no compile commands")
  endif()
  set(${result} "${commands}" PARENT_SCOPE)
endfunction()

configure_core(plain)
if(plain MATCHES "-Werror")
  message(FATAL_ERROR "a plain Release configuration turns warnings into errors")
endif()
if(NOT plain MATCHES "-Wall -Wextra")
  message(FATAL_ERROR "a plain Release configuration lost the project's warnings")
endif()

configure_core(strict -DQM_WARNINGS_AS_ERRORS=ON)
if(NOT strict MATCHES "-Werror")
  message(FATAL_ERROR "QM_WARNINGS_AS_ERRORS=ON does not turn warnings into errors")
endif()
file(REMOVE_RECURSE ${build_dir})
