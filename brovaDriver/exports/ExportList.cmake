# The library's dynamic symbols, from their one source: the C entry points declared BROVA_API in
# the public C header, and the natives the Java classes of com.quorvel.frc.jni declare (the JNI
# headers javac -h writes). Two uses:
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
  # The classes of the C entry points (com.quorvel.frc.jni); the objects' natives are the
  # objects library's.
  file(GLOB jni_files ${JNI_HEADERS}/com_quorvel_frc_jni_*.h)
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

# The library's dynamic symbols that nm lists with `option`, as a list.
function(dynamic_symbols option out)
  execute_process(
    COMMAND nm -D ${option} --format=just-symbols ${LIBRARY}
    OUTPUT_VARIABLE symbols
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
  endif()
  string(REGEX REPLACE "\n$" "" symbols "${symbols}")
  string(REPLACE "\n" ";" symbols "${symbols}")
  set(${out} "${symbols}" PARENT_SCOPE)
endfunction()

# Adds to `errors` what `actual` has beyond `expected` and what it lacks, in the words given.
macro(compare actual expected extra_words missing_words)
  set(extra ${${actual}})
  list(REMOVE_ITEM extra ${${expected}})
  set(lacking ${${expected}})
  list(REMOVE_ITEM lacking ${${actual}})
  if(extra)
    list(APPEND errors "${extra_words}: ${extra}")
  endif()
  if(lacking)
    list(APPEND errors "${missing_words}: ${lacking}")
  endif()
endmacro()

dynamic_symbols(--defined-only actual)
set(expected ${c_names} ${jni_names})
compare(actual expected "exported but not declared" "declared but not exported")
if(DEFINED HAL_CALLS)
  string(REPLACE "," ";" HAL_CALLS "${HAL_CALLS}")
  dynamic_symbols(--undefined-only hal_used)
  list(FILTER hal_used INCLUDE REGEX "^HAL_")
  compare(hal_used HAL_CALLS "calls HAL functions it should not" "does not call")
endif()
if(errors)
  list(JOIN errors "\n  " text)
  message(FATAL_ERROR "${LIBRARY}:\n  ${text}")
endif()
list(LENGTH actual count)
message(STATUS "${count} symbols, as declared")
