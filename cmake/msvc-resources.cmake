# Microsoft's resource compiler reads a resource's name up to the next blank,
# so it takes "IDI_DAY_FIRST + 4 ICON" for a resource named IDI_DAY_FIRST's
# number, of a type named "+". It gets a copy of the scripts in the build
# folder with each day's number worked out; the icons, the manifest and
# resource.h are found in resources/ through the include path.
set(_rc_in ${CMAKE_SOURCE_DIR}/resources)
set(_rc_out ${CMAKE_BINARY_DIR}/resources)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${_rc_in}/day_icons.rc ${_rc_in}/mivra.rc ${_rc_in}/resource.h)
file(STRINGS ${_rc_in}/resource.h _first REGEX "^#define IDI_DAY_FIRST ")
string(REGEX REPLACE ".* ([0-9]+).*" "\\1" _first "${_first}")
file(READ ${_rc_in}/day_icons.rc _days)
foreach(offset RANGE 30)
  math(EXPR id "${_first} + ${offset}")
  string(REGEX REPLACE "IDI_DAY_FIRST[ \t]*\\+[ \t]*${offset}([ \t])" "${id}\\1" _days "${_days}")
endforeach()
file(WRITE ${_rc_out}/day_icons.rc "${_days}")
configure_file(${_rc_in}/mivra.rc ${_rc_out}/mivra.rc COPYONLY)
set(MIVRA_RESOURCES ${_rc_out}/mivra.rc)
include_directories(${_rc_in})
