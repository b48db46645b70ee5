# Draws the day icons and the tray's numerals into OUT_DIR and compares
# them byte for byte with the committed ones. Run as: cmake -DICONGEN=...
# -DOUT_DIR=... -DEXPECTED_DIR=... -DEXPECTED_GLYPHS=... -P compare_icons.cmake
file(REMOVE_RECURSE ${OUT_DIR})
execute_process(COMMAND ${ICONGEN} ${OUT_DIR} --glyphs ${OUT_DIR}/day_glyphs.cpp
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "icongen failed: ${result}")
endif()

set(differ "")
foreach(day RANGE 1 31)
  if(day LESS 10)
    set(name day0${day}.ico)
  else()
    set(name day${day}.ico)
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT_DIR}/${name} ${EXPECTED_DIR}/${name}
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    list(APPEND differ ${name})
  endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT_DIR}/day_glyphs.cpp ${EXPECTED_GLYPHS}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  list(APPEND differ ${EXPECTED_GLYPHS})
endif()
if(differ)
  message(FATAL_ERROR "Regenerated icons differ from the committed ones: ${differ}\n"
                      "Build the day_icons target to redraw them, and review docs/day-icons.png "
                      "and docs/tray-icons.png.")
endif()
