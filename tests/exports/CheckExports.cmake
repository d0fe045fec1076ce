# Compares the dynamic symbols a library defines with the expected lists, one name a line.
#   cmake -DLIBRARY=<file> "-DEXPECTED=<file>[;<file>...]" -P CheckExports.cmake
execute_process(
  COMMAND nm -D --defined-only --format=just-symbols ${LIBRARY}
  OUTPUT_VARIABLE actual
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX REPLACE "\n$" "" actual "${actual}")
string(REPLACE "\n" ";" actual "${actual}")
list(SORT actual)
set(expected)
foreach(list_file IN LISTS EXPECTED)
  file(STRINGS ${list_file} names)
  list(APPEND expected ${names})
endforeach()
list(SORT expected)

set(unexpected ${actual})
list(REMOVE_ITEM unexpected ${expected})
set(missing ${expected})
list(REMOVE_ITEM missing ${actual})
if(unexpected OR missing)
  message(FATAL_ERROR "Exported symbols differ.\n  not expected: ${unexpected}\n  missing: ${missing}")
endif()
list(LENGTH actual count)
message(STATUS "${count} symbols, as expected")
