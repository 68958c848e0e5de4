# Plays one scenario with tavi-host and compares its transcript with the
# expected file beside it. Run by ctest; scripts/refresh-scenarios rewrites
# the expected files when a change of transcript is intended.
execute_process(
  COMMAND ${EMULATOR} ${HOST} --lang keys ${SCENARIO}
  WORKING_DIRECTORY ${WORKDIR}
  OUTPUT_VARIABLE actual
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "tavi-host exited with ${status}:\n${errors}")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  file(WRITE ${ACTUAL} "${actual}")
  execute_process(COMMAND diff -u ${EXPECTED} ${ACTUAL} OUTPUT_VARIABLE difference)
  message(FATAL_ERROR "transcript differs from ${EXPECTED}:\n${difference}")
endif()
