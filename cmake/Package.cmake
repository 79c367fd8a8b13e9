# Debian packages through CPack (`cpack -G DEB` in the build folder), one a component:
#   kvctrl                  the two libraries, kvform, kvtypelib
#   kvctrl-dev              the headers and the CMake package
#   kvctrl-designer-plugin  the Qt Designer plugin, in Qt's plugin folder
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kvctrl)
set(CPACK_PACKAGE_VENDOR "Kv Sistemas")
set(CPACK_PACKAGE_CONTACT "Kv Sistemas <kvctrl@kvsistemas.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Data-entry controls for Qt business forms")
set(CPACK_PACKAGE_VERSION
    ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev)
if(TARGET KvCtrlDesigner)
    list(APPEND CPACK_COMPONENTS_ALL designer)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
# Quick to build; the packages are made again for every release anyway. Debugging information
# stays in the build tree.
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_STRIP_FILES ON)

set(_kv_exact "${CPACK_PACKAGE_VERSION}")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME kvctrl)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), fonts-liberation2")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME kvctrl-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "kvctrl (= ${_kv_exact}), qt6-base-dev (>= 6.4)")
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DESIGNER_PACKAGE_NAME kvctrl-designer-plugin)
set(CPACK_DEBIAN_DESIGNER_PACKAGE_DEPENDS "kvctrl (= ${_kv_exact}), libqt6designer6 (>= 6.4)")
set(CPACK_DEBIAN_DESIGNER_PACKAGE_SECTION devel)

include(CPack)
