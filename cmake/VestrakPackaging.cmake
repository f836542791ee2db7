# Debian packages of the install (cpack -G DEB in the build folder): one runtime package per
# shared library, the files to build against them with the Designer plugin, and the tools with
# their manual pages. Binaries are stripped; their debug information goes to -dbgsym packages.
set(CPACK_PACKAGE_NAME vestrak-controls)
set(CPACK_PACKAGE_VENDOR "VestrakControls developers")
# A placeholder address of the reserved .example domain, until the project publishes its own.
set(CPACK_PACKAGE_CONTACT "VestrakControls developers <vestrak-controls@vestrak-controls.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Navigation and status tree controls for SCADA operator pages")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
# Dependencies on other projects' shared libraries come from dpkg-shlibdeps, which finds ours in
# the build folder; each runtime package announces its library with a shlibs file, and the
# dependencies between our own packages are the components' below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)

set(vestrak_runtime_suffix ${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_CONTROLSRUNTIME_PACKAGE_NAME libvestrak-controls${vestrak_runtime_suffix})
set(CPACK_DEBIAN_CONTROLSRUNTIME_DESCRIPTION "VestrakControls core library\nThe CiTree and CiStatus operator controls with the Linux platform (object\nfiles, settings store, profiles), without Qt.")

set(CPACK_DEBIAN_QTWIDGETSRUNTIME_PACKAGE_NAME libvestrak-qtwidgets${vestrak_runtime_suffix})
set(CPACK_COMPONENT_QTWIDGETSRUNTIME_DEPENDS ControlsRuntime)
set(CPACK_DEBIAN_QTWIDGETSRUNTIME_DESCRIPTION "VestrakControls Qt widgets library\nCiTreeWidget and CiStatusWidget: the operator controls as Qt 6 widgets.")

set(CPACK_DEBIAN_FEEDSRUNTIME_PACKAGE_NAME libvestrak-feeds${vestrak_runtime_suffix})
set(CPACK_COMPONENT_FEEDSRUNTIME_DEPENDS ControlsRuntime)
set(CPACK_DEBIAN_FEEDSRUNTIME_DESCRIPTION "VestrakControls MQTT feeds library\nPlant statuses for the status tree from an MQTT broker, as plain values per\ntopic or from Sparkplug B edge nodes.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libvestrak-controls-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS ControlsRuntime QtWidgetsRuntime FeedsRuntime)
# The Designer plugin's own library dependencies come from dpkg-shlibdeps; qt6-base-dev brings
# the Qt 6 CMake packages and pkg-config files that VestrakControls' own name as dependencies.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "qt6-base-dev")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "VestrakControls development files and Qt Designer plugin\nHeaders, CMake package, pkg-config files, documentation, examples, and the\nQt Designer plugin offering CiTreeWidget and CiStatusWidget.")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME vestrak-controls-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_TOOLS_DESCRIPTION "VestrakControls tools\nvestrak-tree (object file report), vestrak-host (headless page scripts) and\nvestrak-page (live page window), with their manual pages.")

set(CPACK_COMPONENTS_ALL ControlsRuntime QtWidgetsRuntime FeedsRuntime Development Tools)
foreach(runtime CONTROLSRUNTIME QTWIDGETSRUNTIME FEEDSRUNTIME)
  set(CPACK_DEBIAN_${runtime}_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
endforeach()

# Every package carries the copyright and a changelog in its documentation folder.
string(TIMESTAMP vestrak_changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(vestrak_debian_folder ${PROJECT_BINARY_DIR}/debian)
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${component} component_upper)
  set(package ${CPACK_DEBIAN_${component_upper}_PACKAGE_NAME})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog ${vestrak_debian_folder}/${package}/changelog @ONLY)
  execute_process(COMMAND gzip -9nf ${vestrak_debian_folder}/${package}/changelog COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${vestrak_debian_folder}/${package}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
endforeach()

include(CPack)
