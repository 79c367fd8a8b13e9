# Installation: the two libraries, the programs, the public headers (kept at the paths the code
# includes them by, "host/widgets/Form.h") and the CMake package KvCtrl with its exported targets
# KvCtrl::KvHost and KvCtrl::Kv_CTRL. Components: runtime, dev (and designer, from
# apps/designer).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KV_INCLUDE_DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/KvCtrl)
set(KV_CMAKE_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/KvCtrl)

foreach(target IN ITEMS KvHost Kv_CTRL)
    # The public headers are C++20.
    target_compile_features(${target} PUBLIC cxx_std_20)
    target_include_directories(${target} PUBLIC $<INSTALL_INTERFACE:${KV_INCLUDE_DESTINATION}>)
endforeach()

# The libraries carry no version in their names: kvform and the registry load libKv_CTRL.so by
# that name, so the runtime package holds the plain .so files.
install(TARGETS KvHost Kv_CTRL EXPORT KvCtrlTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime)
install(TARGETS kvform kvtypelib
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)

foreach(folder IN ITEMS host library controls)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder} DESTINATION ${KV_INCLUDE_DESTINATION}
        COMPONENT dev FILES_MATCHING PATTERN "*.h" PATTERN "art" EXCLUDE)
endforeach()

install(EXPORT KvCtrlTargets NAMESPACE KvCtrl:: DESTINATION ${KV_CMAKE_DESTINATION}
    COMPONENT dev)
set(KV_QT_MIN_VERSION 6.4)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/KvCtrlConfig.cmake.in
    ${PROJECT_BINARY_DIR}/KvCtrlConfig.cmake INSTALL_DESTINATION ${KV_CMAKE_DESTINATION})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KvCtrlConfigVersion.cmake
    VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/KvCtrlConfig.cmake ${PROJECT_BINARY_DIR}/KvCtrlConfigVersion.cmake
    DESTINATION ${KV_CMAKE_DESTINATION} COMPONENT dev)
