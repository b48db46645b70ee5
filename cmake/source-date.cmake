# The date the shipped program carries in its PE header, so that two builds
# of one commit, in any folder and at any time, give the same bytes:
# SOURCE_DATE_EPOCH where it is set, else the time of the last commit, else 0
# (sources outside git). GNU ld writes SOURCE_DATE_EPOCH as the link time
# stamp when it finds it in its environment.
#
# Included, it defines mivra_link_at_source_date(TARGET). As a script:
#   cmake -DSOURCE_DIR=DIR -P source-date.cmake                prints the date
#   cmake -DSOURCE_DIR=DIR -DOUT=FILE -P source-date.cmake     writes it to FILE if it changed
#   cmake -DSTAMP=FILE -P source-date.cmake -- COMMAND...      runs COMMAND with it from FILE

function(_mivra_source_date dir out)
  if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(${out} "$ENV{SOURCE_DATE_EPOCH}" PARENT_SCOPE)
    return()
  endif()
  set(epoch 0)
  find_program(_mivra_git git)
  if(_mivra_git)
    # Only a repository of these sources: a copy of them unpacked inside
    # another repository does not take that one's date.
    execute_process(COMMAND ${_mivra_git} -C ${dir} rev-parse --show-toplevel
                    OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc ERROR_QUIET)
    if(rc EQUAL 0)
      file(REAL_PATH "${top}" top)
      file(REAL_PATH "${dir}" dir)
    endif()
    if(rc EQUAL 0 AND top STREQUAL dir)
      execute_process(COMMAND ${_mivra_git} -C ${dir} log -1 --format=%ct
                      OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc ERROR_QUIET)
      if(rc EQUAL 0 AND commit MATCHES "^[0-9]+$")
        set(epoch ${commit})
      endif()
    endif()
  endif()
  set(${out} ${epoch} PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  if(DEFINED STAMP)
    # A link: the command follows "--".
    set(command "")
    set(after FALSE)
    math(EXPR last "${CMAKE_ARGC} - 1")
    foreach(i RANGE ${last})
      if(after)
        list(APPEND command "${CMAKE_ARGV${i}}")
      elseif(CMAKE_ARGV${i} STREQUAL "--")
        set(after TRUE)
      endif()
    endforeach()
    file(READ ${STAMP} epoch)
    string(STRIP "${epoch}" epoch)
    set(ENV{SOURCE_DATE_EPOCH} ${epoch})
    execute_process(COMMAND ${command} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "link failed: ${rc}")
    endif()
  else()
    _mivra_source_date(${SOURCE_DIR} epoch)
    if(DEFINED OUT)
      # Rewritten only when it changes, so that only a new date relinks.
      if(EXISTS ${OUT})
        file(READ ${OUT} old)
      endif()
      if(NOT "${old}" STREQUAL "${epoch}\n")
        file(WRITE ${OUT} "${epoch}\n")
      endif()
    else()
      execute_process(COMMAND ${CMAKE_COMMAND} -E echo ${epoch})
    endif()
  endif()
  return()
endif()

set(_mivra_source_date_script ${CMAKE_CURRENT_LIST_FILE})

# Every build of TARGET refreshes the date file first; the target links again
# when the date changes (a new commit), and its linker is handed the date.
function(mivra_link_at_source_date target)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.source-date)
  add_custom_target(${target}_source_date
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DOUT=${stamp} -P ${_mivra_source_date_script}
    BYPRODUCTS ${stamp} VERBATIM)
  add_dependencies(${target} ${target}_source_date)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${stamp})
  set_property(TARGET ${target} PROPERTY RULE_LAUNCH_LINK
               "\"${CMAKE_COMMAND}\" -DSTAMP=\"${stamp}\" -P \"${_mivra_source_date_script}\" --")
endfunction()
