# Debian packages of the install (cpack -G DEB in the build folder): the shared libraries, the
# files to build against them with the Designer plugin, and the tools, each its own package.
set(CPACK_PACKAGE_NAME vestrak-controls)
set(CPACK_PACKAGE_VENDOR "VestrakControls developers")
set(CPACK_PACKAGE_CONTACT "VestrakControls developers <vestrak-controls@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Navigation and status tree controls for SCADA operator pages")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL Runtime Development Tools)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
# Dependencies on shared libraries come from dpkg-shlibdeps; our own libraries are found in the
# packages' staging folders, and the runtime package announces them with a shlibs file.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libvestrak-controls0)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "VestrakControls shared libraries\nThe CiTree and CiStatus controls with the Linux platform, and their Qt 6 widgets.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libvestrak-controls-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS Runtime)
# Written out: the Designer plugin needs the runtime package's libraries, which dpkg-shlibdeps
# cannot look up before that package is installed, and Qt 6 Widgets, which the CMake package
# finds for its users.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "qt6-base-dev")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "VestrakControls development files and Qt Designer plugin\nHeaders, CMake package, pkg-config file, documentation, examples, and the Qt Designer plugin offering CiTreeWidget and CiStatusWidget.")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME vestrak-controls-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_TOOLS_DESCRIPTION "VestrakControls tools\nvestrak-tree (object file report), vestrak-host (headless page scripts) and vestrak-page (live page window).")

include(CPack)
