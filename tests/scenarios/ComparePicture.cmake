# Plays a scenario (or, without SCENARIO, the built-in demo) with tavi-host
# --snapshot and compares the window.svg it writes with the expected picture.
# REFRESH says how to rewrite the expected picture when the change is meant.
file(REMOVE_RECURSE ${OUTDIR})
file(MAKE_DIRECTORY ${OUTDIR})
execute_process(
  COMMAND ${EMULATOR} ${HOST} --lang ${LANG} --snapshot ${OUTDIR} ${SCENARIO}
  WORKING_DIRECTORY ${WORKDIR}
  OUTPUT_QUIET
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "tavi-host exited with ${status}:\n${errors}")
endif()
file(READ ${OUTDIR}/window.svg actual)
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  execute_process(COMMAND diff -u ${EXPECTED} ${OUTDIR}/window.svg OUTPUT_VARIABLE difference)
  message(FATAL_ERROR "the picture differs from ${EXPECTED} (${REFRESH} rewrites it):\n${difference}")
endif()
