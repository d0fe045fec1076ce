# What `cmake --install <build> --prefix P` puts under P, in two components:
#
#   Driver       P/include/ (BrovaDriver.h, BrovaDriver.hpp, brova/), P/lib/libBrovaDriver.so (the
#                whole driver: the C entry points, the C++ objects and the Java natives), the
#                CMake package (P/lib/cmake/BrovaDriver: target BrovaDriver::BrovaDriver) and
#                P/lib/pkgconfig/brova-driver.pc
#   Simulation   the simulated platform library beside the driver and its control API
#                (P/include/brovasim/, and P/include/brovamodels/, the device models' headers
#                that it includes; their code is inside the library): target
#                BrovaDriver::Simulation
#
# A plain install puts both. The library finds the platform library in its own directory
# ($ORIGIN): the simulated one when Simulation is installed, the robot's HAL on a robot.
include(CMakePackageConfigHelpers)

set(BROVA_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/BrovaDriver)

install(TARGETS BrovaDriver EXPORT BrovaDriverTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Driver)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/brovaDriver/include/
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Driver)
install(EXPORT BrovaDriverTargets NAMESPACE BrovaDriver::
  DESTINATION ${BROVA_PACKAGE_DIR} COMPONENT Driver)

set_target_properties(BrovaSimHal PROPERTIES EXPORT_NAME Simulation)
install(TARGETS BrovaSimHal EXPORT BrovaDriverSimulationTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Simulation)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/sim/include/brovasim
                  ${PROJECT_SOURCE_DIR}/platform/models/include/brovamodels
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT Simulation)
install(EXPORT BrovaDriverSimulationTargets NAMESPACE BrovaDriver::
  DESTINATION ${BROVA_PACKAGE_DIR} COMPONENT Simulation)

# The package: relocatable (paths relative to where it is installed), with the project's version.
# Until 1.0, a minor version may change the interface, so only the same major.minor is accepted.
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/BrovaDriverConfig.cmake.in
  ${PROJECT_BINARY_DIR}/package/BrovaDriverConfig.cmake
  INSTALL_DESTINATION ${BROVA_PACKAGE_DIR})
if(PROJECT_VERSION_MAJOR EQUAL 0)
  set(brova_compatibility SameMinorVersion)
else()
  set(brova_compatibility SameMajorVersion)
endif()
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/BrovaDriverConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY ${brova_compatibility})
install(FILES ${PROJECT_BINARY_DIR}/package/BrovaDriverConfig.cmake
              ${PROJECT_BINARY_DIR}/package/BrovaDriverConfigVersion.cmake
  DESTINATION ${BROVA_PACKAGE_DIR} COMPONENT Driver)

# pkg-config: paths relative to the .pc file's own directory, so the tree may be moved.
set(brova_pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
function(brova_pc_path variable directory)
  if(IS_ABSOLUTE "${directory}")
    set(${variable} "${directory}" PARENT_SCOPE)
  else()
    file(RELATIVE_PATH relative /prefix/${brova_pc_dir} /prefix/${directory})
    string(REGEX REPLACE "/$" "" relative "${relative}")
    set(${variable} "\${pcfiledir}/${relative}" PARENT_SCOPE)
  endif()
endfunction()
brova_pc_path(BROVA_PC_PREFIX "")
brova_pc_path(BROVA_PC_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR})
brova_pc_path(BROVA_PC_LIBDIR ${CMAKE_INSTALL_LIBDIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/brova-driver.pc.in
  ${PROJECT_BINARY_DIR}/package/brova-driver.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/package/brova-driver.pc
  DESTINATION ${brova_pc_dir} COMPONENT Driver)
