# Draws every picture and the program's icons afresh and compares them with
# the kept ones, byte for byte; a kept icon the generator no longer draws
# counts as a difference too, since every kept icon gets installed.  Run by
# ctest (see tools/CMakeLists.txt).
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${GENERATOR}" "${OUT}/pictures" --version "${VERSION}" --icons "${OUT}/icons"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the picture generator failed: ${rc}")
endif()

# Compares the PNGs drawn into DRAWN_DIR with those kept in KEPT_DIR and
# puts their number into COUNT_VAR.
function(compare_kept DRAWN_DIR KEPT_DIR COUNT_VAR)
  file(GLOB drawn RELATIVE "${DRAWN_DIR}" "${DRAWN_DIR}/*.png")
  list(LENGTH drawn count)
  if(count EQUAL 0)
    message(FATAL_ERROR "the generator drew nothing into ${DRAWN_DIR}")
  endif()
  foreach(name IN LISTS drawn)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${DRAWN_DIR}/${name}" "${KEPT_DIR}/${name}"
                    RESULT_VARIABLE differ)
    if(NOT differ EQUAL 0)
      message(FATAL_ERROR "${name} differs from the drawing: redraw with the nirvex-pictures target")
    endif()
  endforeach()
  set(${COUNT_VAR} ${count} PARENT_SCOPE)
endfunction()

compare_kept("${OUT}/pictures" "${KEPT}" pictures)
compare_kept("${OUT}/icons" "${KEPT_ICONS}" icons)
file(GLOB kept_icons RELATIVE "${KEPT_ICONS}" "${KEPT_ICONS}/*.png")
foreach(name IN LISTS kept_icons)
  if(NOT EXISTS "${OUT}/icons/${name}")
    message(FATAL_ERROR "${name} is kept but no longer drawn: remove it")
  endif()
endforeach()
message(STATUS "${pictures} pictures and ${icons} icons match, the about box says version ${VERSION}")
