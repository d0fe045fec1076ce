# The library's dynamic symbols, each kind from its one source: the C entry points declared
# BROVA_API in the public C header; the natives of the driver jar's Java classes (the JNI headers
# javac -h writes for it: com.quorvel.frc.jni's raw classes, and the objects', com.quorvel.frc's
# own and their simulation classes' in com.quorvel.frc.sim; the simulated platform's classes of
# that package have a jar, headers and library of their own); and the C++ API, the classes that
# the C++ headers beside the C header (brova/) mark BROVA_OBJECTS_API: their functions, vtables
# and typeinfo. Two uses:
#   cmake -DMODE=map -DHEADER=<BrovaDriver.h> [-DJNI_HEADERS=<dir>] -DOUTPUT=<file> -P ExportList.cmake
#     writes the linker's version script (rewritten only when the list changes);
#   cmake -DMODE=check -DHEADER=... [-DJNI_HEADERS=<dir>] -DSOURCES=<brovaDriver> -DLIBRARY=<file>
#         -DC_COUNT=n [-DJNI_COUNT=n] [-DHAL_CALLS=<name,...>] -P ...
#     compares the symbols the library defines (nm -D) with the list: every one must be a C entry
#     point, a native or of a marked class, and none may be missing (each class at least its
#     constructor). A symbol of the driver's internal namespaces (those its sources under SOURCES
#     declare and the public headers do not: brova::controller, brova::devices, ...) or of the
#     standard library is named as a leak. The C entry points and the raw classes' natives must
#     be as many as the library promises, and each raw native must forward to an entry point of
#     its name. With HAL_CALLS, the HAL functions the library leaves to the platform
#     (nm -D --undefined-only) must be exactly those.

cmake_minimum_required(VERSION 3.25)

file(READ ${HEADER} header)
string(REGEX MATCHALL "\nBROVA_API [^;(]*[ *]([A-Za-z_][A-Za-z0-9_]*)\\(" declarations "${header}")
set(c_names)
foreach(declaration IN LISTS declarations)
  string(REGEX REPLACE ".*[ *]([A-Za-z_][A-Za-z0-9_]*)\\($" "\\1" name "${declaration}")
  list(APPEND c_names ${name})
endforeach()

# The natives of com.quorvel.frc.jni's classes (raw_names, each over a C entry point) and of the
# objects' classes, com.quorvel.frc's and com.quorvel.frc.sim's (object_names, over the objects).
set(raw_names)
set(object_names)
if(JNI_HEADERS)
  file(GLOB jni_files ${JNI_HEADERS}/com_quorvel_frc_*.h)
  foreach(jni_file IN LISTS jni_files)
    file(READ ${jni_file} text)
    string(REGEX MATCHALL "JNICALL Java_[A-Za-z0-9_]+" found "${text}")
    list(TRANSFORM found REPLACE "^JNICALL " "")
    if(jni_file MATCHES "/com_quorvel_frc_jni_[^/]*$")
      list(APPEND raw_names ${found})
    else()
      list(APPEND object_names ${found})
    endif()
  endforeach()
endif()
list(SORT c_names)
list(SORT raw_names)
list(SORT object_names)

# The C++ headers' namespaces (the first name inside brova) and the classes they mark, each as
# its mangled nested name (brova::BrovaQuad: 5brova9BrovaQuad) in class_prefixes.
get_filename_component(include_dir ${HEADER} DIRECTORY)
file(GLOB_RECURSE cpp_headers ${include_dir}/brova/*.hpp)
set(class_names)
set(class_prefixes)
set(public_namespaces)
foreach(cpp_header IN LISTS cpp_headers)
  file(READ ${cpp_header} text)
  string(REGEX REPLACE "//[^\n]*" "" text "${text}")
  string(REGEX MATCHALL "namespace [A-Za-z_:]+ \\{|class BROVA_OBJECTS_API [A-Za-z_]+" found
         "${text}")
  set(namespace)
  foreach(item IN LISTS found)
    if(item MATCHES "^namespace ([A-Za-z_:]+)")
      string(REPLACE "::" ";" namespace "${CMAKE_MATCH_1}")
      list(LENGTH namespace depth)
      if(depth GREATER 1)
        list(GET namespace 1 inner)
        list(APPEND public_namespaces ${inner})
      endif()
    elseif(item MATCHES "^class BROVA_OBJECTS_API ([A-Za-z_]+)")
      set(prefix)
      foreach(part IN LISTS namespace CMAKE_MATCH_1)
        string(LENGTH ${part} length)
        string(APPEND prefix ${length}${part})
      endforeach()
      list(JOIN namespace "::" qualified)
      list(APPEND class_names ${qualified}::${CMAKE_MATCH_1})
      list(APPEND class_prefixes ${prefix})
    endif()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES public_namespaces)

if(MODE STREQUAL "map")
  set(lines ${c_names} ${raw_names} ${object_names})
  # A member function (const or not), the vtable, the typeinfo and its name. The standard
  # library's templates instantiated over these classes (weak and visible by the standard
  # library's own attribute) match none and stay inside, so no program or other library binds
  # to this library's copies.
  foreach(prefix IN LISTS class_prefixes)
    list(APPEND lines _ZN${prefix}* _ZNK${prefix}* _ZTVN${prefix}* _ZTIN${prefix}*
         _ZTSN${prefix}*)
  endforeach()
  list(JOIN lines ";\n    " lines)
  set(text "/* Generated from the public headers and the Java natives; not edited by hand. */\n")
  string(APPEND text "{\n  global:\n    ${lines};\n  local:\n    *;\n};\n")
  file(CONFIGURE OUTPUT ${OUTPUT} CONTENT "${text}" @ONLY)
  return()
endif()

if(NOT IS_DIRECTORY "${SOURCES}")
  message(FATAL_ERROR "SOURCES must name the driver's source folder, not '${SOURCES}'")
endif()
set(errors)
list(LENGTH c_names c_count)
if(NOT c_count EQUAL C_COUNT)
  list(APPEND errors "the header declares ${c_count} entry points, not ${C_COUNT}")
endif()
if(DEFINED JNI_COUNT)
  list(LENGTH raw_names jni_count)
  if(NOT jni_count EQUAL JNI_COUNT)
    list(APPEND errors "the Java classes of com.quorvel.frc.jni declare ${jni_count} natives, "
                       "not ${JNI_COUNT}")
  endif()
endif()
# Java_com_quorvel_frc_jni_BrovaQuadJNI_c_1BrovaQuad_1create forwards to c_BrovaQuad_create.
foreach(native IN LISTS raw_names)
  string(REGEX REPLACE "^Java_com_quorvel_frc_jni_[A-Za-z]+_" "" forwarded "${native}")
  string(REPLACE "_1" "_" forwarded "${forwarded}")
  if(NOT forwarded IN_LIST c_names)
    list(APPEND errors "${native} names no entry point (${forwarded})")
  endif()
endforeach()
if(NOT class_prefixes)
  list(APPEND errors "the headers in ${include_dir}/brova mark no class BROVA_OBJECTS_API")
endif()

# The namespaces inside brova that the driver's sources declare and the public headers do not.
file(GLOB_RECURSE sources ${SOURCES}/*.h ${SOURCES}/*.cpp)
set(internal_namespaces)
foreach(source IN LISTS sources)
  cmake_path(IS_PREFIX include_dir ${source} public)
  if(public)
    continue()
  endif()
  file(READ ${source} text)
  string(REGEX MATCHALL "namespace brova::[A-Za-z_]+" found "${text}")
  list(TRANSFORM found REPLACE "^namespace brova::" "")
  list(APPEND internal_namespaces ${found})
endforeach()
list(REMOVE_DUPLICATES internal_namespaces)
if(public_namespaces)
  list(REMOVE_ITEM internal_namespaces ${public_namespaces})
endif()
list(SORT internal_namespaces)
if(NOT internal_namespaces)
  list(APPEND errors "no internal namespace found in the sources under '${SOURCES}'")
endif()

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

# A mangled name's start up to its outermost nested name: the special names (vtable, typeinfo,
# its name, a static variable of a function and its guard) and the qualifiers of a member
# function.
set(mangled_start "^_Z(T[VIS]|GVZ?|Z)?N?[VKRO]*")
list(JOIN class_prefixes "|" any_class)
list(JOIN internal_namespaces "|" any_internal)
list(TRANSFORM internal_namespaces PREPEND "brova::" OUTPUT_VARIABLE internal_names)
list(JOIN internal_names ", " internal_names)

dynamic_symbols(--defined-only actual)
set(expected ${c_names} ${raw_names} ${object_names})
set(api)
set(internal)
set(standard)
set(other)
foreach(symbol IN LISTS actual)
  if(symbol IN_LIST expected)
    continue()
  elseif(any_class AND symbol MATCHES "${mangled_start}(${any_class})")
    list(APPEND api ${symbol})
  elseif(any_internal AND symbol MATCHES "${mangled_start}5brova([0-9]+)([A-Za-z_])")
    # The first name inside brova: its length, then the name.
    set(length ${CMAKE_MATCH_2})
    string(REGEX REPLACE "${mangled_start}5brova[0-9]+" "" rest "${symbol}")
    string(SUBSTRING "${rest}" 0 ${length} inner)
    if(inner IN_LIST internal_namespaces OR inner STREQUAL "_GLOBAL__N_1")
      list(APPEND internal ${symbol})
    else()
      list(APPEND other ${symbol})
    endif()
  elseif(symbol MATCHES "${mangled_start}(St|9__gnu_cxx)|^_ZSt")
    list(APPEND standard ${symbol})
  else()
    list(APPEND other ${symbol})
  endif()
endforeach()
if(internal)
  list(APPEND errors "exports the driver's internal namespaces (${internal_names}): ${internal}")
endif()
if(standard)
  list(APPEND errors "exports the standard library's symbols: ${standard}")
endif()
if(other)
  list(APPEND errors "exported but not declared: ${other}")
endif()
set(lacking ${expected})
list(REMOVE_ITEM lacking ${actual})
if(lacking)
  list(APPEND errors "declared but not exported: ${lacking}")
endif()
foreach(name prefix IN ZIP_LISTS class_names class_prefixes)
  if(NOT api MATCHES "(^|;)_ZN${prefix}C[12]E")
    list(APPEND errors "does not export ${name}, which the headers mark BROVA_OBJECTS_API "
                       "(no constructor _ZN${prefix}C1E...)")
  endif()
endforeach()
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
list(LENGTH raw_names raw_count)
list(LENGTH object_names object_count)
list(LENGTH api api_count)
list(JOIN class_names ", " class_names)
message(STATUS "${count} symbols, as declared: ${c_count} C entry points, ${raw_count} raw and "
               "${object_count} object natives, ${api_count} of ${class_names}; nothing of "
               "${internal_names} or the standard library")
