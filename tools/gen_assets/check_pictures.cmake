# Draws every picture and the program's icons afresh and compares them with
# the kept ones as decoded pixels (nirvex-check-pictures): a channel off by
# rounding here and there passes, a change one could see fails, and so does
# a picture drawn but not kept or kept but no longer drawn, since every kept
# icon gets installed.  Run by ctest (see tools/CMakeLists.txt).
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${GENERATOR}" "${OUT}/pictures" --version "${VERSION}" --icons "${OUT}/icons"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the picture generator failed: ${rc}")
endif()

execute_process(COMMAND "${CHECKER}" "${OUT}/pictures" "${KEPT}" "${OUT}/icons" "${KEPT_ICONS}"
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the kept pictures are not what the generator draws")
endif()
message(STATUS "the pictures and icons match, the about box says version ${VERSION}")
