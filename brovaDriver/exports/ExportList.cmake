# The library's dynamic symbols, from their one source: the C entry points declared BROVA_API in
# the public C header, and the natives the Java classes declare (the JNI headers javac -h
# writes). Two uses:
#   cmake -DMODE=map -DHEADER=<BrovaDriver.h> [-DJNI_HEADERS=<dir>] -DOUTPUT=<file> -P ExportList.cmake
#     writes the linker's version script (rewritten only when the list changes);
#   cmake -DMODE=check -DHEADER=... [-DJNI_HEADERS=<dir>] -DLIBRARY=<file> -DC_COUNT=n [-DJNI_COUNT=n]
#         [-DHAL_CALLS=<name,...>] -P ...
#     compares the symbols the library defines (nm -D) with the list, and the list with the
#     counts the library promises; every native must forward to an entry point of its name. With
#     HAL_CALLS, the HAL functions the library leaves to the platform (nm -D --undefined-only)
#     must be exactly those.

cmake_minimum_required(VERSION 3.25)

file(READ ${HEADER} header)
string(REGEX MATCHALL "\nBROVA_API [^;(]*[ *]([A-Za-z_][A-Za-z0-9_]*)\\(" declarations "${header}")
set(c_names)
foreach(declaration IN LISTS declarations)
  string(REGEX REPLACE ".*[ *]([A-Za-z_][A-Za-z0-9_]*)\\($" "\\1" name "${declaration}")
  list(APPEND c_names ${name})
endforeach()

set(jni_names)
if(JNI_HEADERS)
  file(GLOB jni_files ${JNI_HEADERS}/*.h)
  foreach(jni_file IN LISTS jni_files)
    file(READ ${jni_file} text)
    string(REGEX MATCHALL "JNICALL Java_[A-Za-z0-9_]+" found "${text}")
    list(TRANSFORM found REPLACE "^JNICALL " "")
    list(APPEND jni_names ${found})
  endforeach()
endif()
list(SORT c_names)
list(SORT jni_names)

if(MODE STREQUAL "map")
  list(JOIN c_names ";\n    " c_lines)
  set(text "/* Generated from the public header and the Java natives; not edited by hand. */\n")
  string(APPEND text "{\n  global:\n    ${c_lines};\n")
  if(jni_names)
    list(JOIN jni_names ";\n    " jni_lines)
    string(APPEND text "    ${jni_lines};\n")
  endif()
  string(APPEND text "  local:\n    *;\n};\n")
  file(CONFIGURE OUTPUT ${OUTPUT} CONTENT "${text}" @ONLY)
  return()
endif()

set(errors)
list(LENGTH c_names c_count)
if(NOT c_count EQUAL C_COUNT)
  list(APPEND errors "the header declares ${c_count} entry points, not ${C_COUNT}")
endif()
if(DEFINED JNI_COUNT)
  list(LENGTH jni_names jni_count)
  if(NOT jni_count EQUAL JNI_COUNT)
    list(APPEND errors "the Java classes declare ${jni_count} natives, not ${JNI_COUNT}")
  endif()
endif()
# Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1create forwards to c_BrovaQuad_create.
foreach(native IN LISTS jni_names)
  string(REGEX REPLACE "^Java_com_quorvel_frc_jni_[A-Za-z]+_" "" forwarded "${native}")
  string(REPLACE "_1" "_" forwarded "${forwarded}")
  if(NOT forwarded IN_LIST c_names)
    list(APPEND errors "${native} names no entry point (${forwarded})")
  endif()
endforeach()

execute_process(
  COMMAND nm -D --defined-only --format=just-symbols ${LIBRARY}
  OUTPUT_VARIABLE actual
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX REPLACE "\n$" "" actual "${actual}")
string(REPLACE "\n" ";" actual "${actual}")
set(expected ${c_names} ${jni_names})
set(unexpected ${actual})
list(REMOVE_ITEM unexpected ${expected})
set(missing ${expected})
list(REMOVE_ITEM missing ${actual})
if(unexpected)
  list(APPEND errors "exported but not declared: ${unexpected}")
endif()
if(missing)
  list(APPEND errors "declared but not exported: ${missing}")
endif()
if(DEFINED HAL_CALLS)
  string(REPLACE "," ";" HAL_CALLS "${HAL_CALLS}")
  execute_process(
    COMMAND nm -D --undefined-only --format=just-symbols ${LIBRARY}
    OUTPUT_VARIABLE undefined
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
  endif()
  string(REGEX MATCHALL "HAL_[A-Za-z0-9_]+" hal_used "${undefined}")
  set(hal_unexpected ${hal_used})
  list(REMOVE_ITEM hal_unexpected ${HAL_CALLS})
  set(hal_missing ${HAL_CALLS})
  list(REMOVE_ITEM hal_missing ${hal_used})
  if(hal_unexpected)
    list(APPEND errors "calls HAL functions it should not: ${hal_unexpected}")
  endif()
  if(hal_missing)
    list(APPEND errors "does not call: ${hal_missing}")
  endif()
endif()
if(errors)
  list(JOIN errors "\n  " text)
  message(FATAL_ERROR "${LIBRARY}:\n  ${text}")
endif()
list(LENGTH actual count)
message(STATUS "${count} symbols, as declared")
