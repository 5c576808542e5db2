# Draws every picture afresh and compares it with the kept one, byte for
# byte.  Run by ctest (see tools/CMakeLists.txt).
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${GENERATOR}" "${OUT}" --version "${VERSION}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the picture generator failed: ${rc}")
endif()
file(GLOB drawn RELATIVE "${OUT}" "${OUT}/*.png")
list(LENGTH drawn count)
if(count EQUAL 0)
  message(FATAL_ERROR "the generator drew nothing")
endif()
foreach(name IN LISTS drawn)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${OUT}/${name}" "${KEPT}/${name}"
                  RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    message(FATAL_ERROR "${name} differs from the drawing: redraw with the nirvex-pictures target")
  endif()
endforeach()
message(STATUS "${count} pictures match, the about box says version ${VERSION}")
