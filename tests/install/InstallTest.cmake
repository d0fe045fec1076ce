# Installs the build to a fresh prefix and uses it as a robot team would, from the installed tree
# alone: the consumer project (find_package with COMPONENTS Simulation; a C program on the C
# entry points and a C++ program on the objects and the board, each linking BrovaDriver::BrovaDriver
# alone, and a simulation's code on BrovaDriver::Simulation alone, whose brovasim/ headers include
# brovamodels/) configured with only CMAKE_PREFIX_PATH, built and run over simulated controllers
# that the environment names; pkg-config's flags build both programs; the package reports a missing
# component by name.
#
#   cmake -DBUILD_DIR=... -DCONFIG=... -DWORK_DIR=... -DGENERATOR=... -DC_COMPILER=...
#         -DCXX_COMPILER=... -DVERSION=... -DLIBDIR=... -DPKG_CONFIG=... -P InstallTest.cmake
cmake_minimum_required(VERSION 3.25)
set(here ${CMAKE_CURRENT_LIST_DIR})
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

# Runs a command; stops the test with its output unless it exits 0.
function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${what} failed (${result}):\n${out}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --config ${CONFIG} --prefix ${prefix})

# The installed library finds its platform library beside itself, not in the build tree; it is
# the only driver library installed.
file(READ_ELF ${prefix}/${LIBDIR}/libBrovaDriver.so RUNPATH runpath RPATH rpath)
if(NOT "${runpath}${rpath}" STREQUAL "$ORIGIN")
  message(FATAL_ERROR "installed libBrovaDriver.so has run path '${runpath}${rpath}', not $ORIGIN")
endif()
file(GLOB installed RELATIVE ${prefix}/${LIBDIR} ${prefix}/${LIBDIR}/libBrovaDriver*)
if(NOT installed STREQUAL "libBrovaDriver.so")
  message(FATAL_ERROR "installed driver libraries: '${installed}', not libBrovaDriver.so alone")
endif()
# The C++ consumer's controllers: simulated ones the platform attaches from the environment.
set(sim_env ${CMAKE_COMMAND} -E env BROVA_SIM_CONTROLLERS=quad:5,small:7)

# The consumer: configured with the prefix only (and no user package registry), same toolchain.
set(consumer ${WORK_DIR}/consumer)
run("consumer configure" ${CMAKE_COMMAND} -S ${here}/consumer -B ${consumer} -G ${GENERATOR}
    -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF
    -DBROVA_EXPECTED_VERSION=${VERSION})
run("consumer build" ${CMAKE_COMMAND} --build ${consumer})
run("C consumer" ${consumer}/c_consumer)
if(NOT output MATCHES "C consumer: results as defined")
  message(FATAL_ERROR "C consumer printed:\n${output}")
endif()
run("C++ consumer" ${sim_env} ${consumer}/cpp_consumer)
if(NOT output MATCHES "C\\+\\+ consumer: a simulated BrovaQuad and BrovaSmall answer")
  message(FATAL_ERROR "C++ consumer printed:\n${output}")
endif()

run("Simulation consumer" ${consumer}/sim_consumer)
if(NOT output MATCHES "Simulation consumer: a held BrovaQuad and a board")
  message(FATAL_ERROR "Simulation consumer printed:\n${output}")
endif()

# pkg-config, pointed into the prefix only.
if(NOT PKG_CONFIG)
  message(FATAL_ERROR "pkg-config not found (scripts/install-deps.sh installs it)")
endif()
set(pc_env ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/${LIBDIR}/pkgconfig)
run("pkg-config --modversion" ${pc_env} ${PKG_CONFIG} --modversion brova-driver)
string(STRIP "${output}" modversion)
if(NOT modversion STREQUAL VERSION)
  message(FATAL_ERROR "pkg-config reports version '${modversion}', not ${VERSION}")
endif()
run("pkg-config --cflags --libs" ${pc_env} ${PKG_CONFIG} --cflags --libs brova-driver)
separate_arguments(flags UNIX_COMMAND "${output}")
set(libraries ${flags})
list(FILTER libraries INCLUDE REGEX "^-l")
if(NOT libraries STREQUAL "-lBrovaDriver")
  message(FATAL_ERROR "pkg-config's libraries are '${libraries}', not -lBrovaDriver alone")
endif()
run("compiling C with pkg-config's flags" ${C_COMPILER} ${here}/consumer/CConsumer.c ${flags}
    -o ${WORK_DIR}/c_consumer_pkgconfig)
# The C++ objects with the same flags; run from the prefix's libraries alone.
run("compiling C++ with pkg-config's flags" ${CXX_COMPILER} -std=c++20
    ${here}/consumer/CppConsumer.cpp ${flags} -pthread -o ${WORK_DIR}/cpp_consumer_pkgconfig)
run("C++ consumer built with pkg-config's flags" ${sim_env}
    LD_LIBRARY_PATH=${prefix}/${LIBDIR} ${WORK_DIR}/cpp_consumer_pkgconfig)
if(NOT output MATCHES "C\\+\\+ consumer: a simulated BrovaQuad and BrovaSmall answer")
  message(FATAL_ERROR "C++ consumer built with pkg-config's flags printed:\n${output}")
endif()

# A missing component fails find_package and is named: one the package does not have, and
# Simulation where only the driver is installed.
function(expect_missing label prefix_path component pattern)
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${here}/missing-component
                          -B ${WORK_DIR}/missing-${label} -G ${GENERATOR}
                          -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_PREFIX_PATH=${prefix_path}
                          -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF -DBROVA_COMPONENT=${component}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(REGEX REPLACE "[ \n]+" " " out "${out}")
  if(result EQUAL 0 OR NOT out MATCHES "${pattern}")
    message(FATAL_ERROR "find_package with component ${component} (${label}) gave (${result}):\n"
                        "${out}")
  endif()
endfunction()
expect_missing(unknown ${prefix} Gearbox "missing component: Gearbox \\(no such component")
run("driver-only install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --config ${CONFIG}
    --prefix ${WORK_DIR}/driver-only --component Driver)
expect_missing(not-installed ${WORK_DIR}/driver-only Simulation
               "missing component: Simulation \\(not installed here")

message(STATUS "installed package works from ${prefix}")
