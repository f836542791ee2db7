# The installed library. The build keeps its static libraries for the tests and tools; their
# objects (position independent, hidden symbols) also make three versioned shared libraries:
# libvestrak_controls (the portable core with the Linux platform, no Qt), libvestrak_qtwidgets
# (the Qt widgets) and libvestrak_feeds (the MQTT and Sparkplug B feeds). Installed with their
# public headers under include/vestrak, the tools, the CMake package VestrakControls (one
# component per library), a pkg-config file per library, the docs and the examples.
include(CMakePackageConfigHelpers)
find_package(SQLite3 REQUIRED)
find_package(Qt6 REQUIRED COMPONENTS Widgets)

set(VESTRAK_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/VestrakControls)
set(VESTRAK_DESIGNER_PLUGIN_DIR ${QT6_INSTALL_PLUGINS}/designer)

# vestrak_shared_library(name EXPORT_NAME name OBJECTS lib... HEADERS file...): a shared library
# of the objects of static libraries, exporting only what the headers mark, with its headers.
function(vestrak_shared_library name)
  cmake_parse_arguments(ARG "" "EXPORT_NAME" "OBJECTS;HEADERS" ${ARGN})
  list(TRANSFORM ARG_OBJECTS REPLACE "(.+)" "$<TARGET_OBJECTS:\\1>" OUTPUT_VARIABLE objects)
  add_library(${name} SHARED ${objects})
  add_library(Vestrak::${ARG_EXPORT_NAME} ALIAS ${name})
  set_target_properties(${name} PROPERTIES
    EXPORT_NAME ${ARG_EXPORT_NAME}
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    # Beside the core library wherever both are installed.
    INSTALL_RPATH "$ORIGIN")
  # The headers need C++20, and the users compiling them are told so.
  target_compile_features(${name} PUBLIC cxx_std_20)
  if(NOT VESTRAK_SANITIZE AND NOT VESTRAK_FUZZ)
    # A symbol the other library forgot to export fails here, not in a user's link.
    target_link_options(${name} PRIVATE LINKER:--no-undefined)
  endif()
  list(TRANSFORM ARG_HEADERS PREPEND ${PROJECT_SOURCE_DIR}/src/)
  target_sources(${name} PUBLIC FILE_SET HEADERS BASE_DIRS ${PROJECT_SOURCE_DIR}/src FILES ${ARG_HEADERS})
  install(TARGETS ${name} EXPORT Vestrak${ARG_EXPORT_NAME}Targets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT ${ARG_EXPORT_NAME}Runtime NAMELINK_COMPONENT Development
    FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vestrak COMPONENT Development
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  install(EXPORT Vestrak${ARG_EXPORT_NAME}Targets NAMESPACE Vestrak:: DESTINATION ${VESTRAK_PACKAGE_DIR}
    COMPONENT Development)
endfunction()

include(${PROJECT_SOURCE_DIR}/cmake/VestrakPublicHeaders.cmake)
vestrak_shared_library(vestrak_controls EXPORT_NAME Controls
  OBJECTS vestrak_text vestrak_containers vestrak_object_file vestrak_diagnostics vestrak_citree vestrak_cistatus vestrak_linux_platform
  HEADERS ${VESTRAK_CONTROLS_HEADERS})
target_link_libraries(vestrak_controls PRIVATE SQLite::SQLite3)

vestrak_shared_library(vestrak_qtwidgets EXPORT_NAME QtWidgets
  OBJECTS vestrak_widgets vestrak_qt_widgets vestrak_qt_controls
  HEADERS ${VESTRAK_QTWIDGETS_HEADERS})
# What the widgets need of the shared procedures that the core does not export (the node store of
# their trees) is linked into them from the static libraries, hidden as everything else.
target_link_libraries(vestrak_qtwidgets PUBLIC vestrak_controls Qt6::Widgets
  PRIVATE vestrak_text vestrak_containers vestrak_object_file vestrak_diagnostics)

# The feeds answer a status widget's queries. libmosquitto, protobuf and the core's text helpers
# they use stay inside the library: no installed header names them.
find_package(PkgConfig REQUIRED)
find_package(Protobuf REQUIRED)
pkg_check_modules(Mosquitto REQUIRED IMPORTED_TARGET libmosquitto)
vestrak_shared_library(vestrak_feeds_shared EXPORT_NAME Feeds OBJECTS vestrak_feeds HEADERS ${VESTRAK_FEEDS_HEADERS})
set_target_properties(vestrak_feeds_shared PROPERTIES OUTPUT_NAME vestrak_feeds)
target_link_libraries(vestrak_feeds_shared PUBLIC vestrak_controls Qt6::Core
  PRIVATE PkgConfig::Mosquitto protobuf::libprotobuf vestrak_text)

install(TARGETS vestrak-tree vestrak-host vestrak-page RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Tools)
# The guides; the manual pages go with the tools, the build's own files nowhere.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT Development
  PATTERN CMakeLists.txt EXCLUDE PATTERN man EXCLUDE)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/plant ${PROJECT_SOURCE_DIR}/examples/qt-embed
  DESTINATION ${CMAKE_INSTALL_DATADIR}/vestrak-controls/examples COMPONENT Development)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VestrakControlsConfig.cmake.in
  ${PROJECT_BINARY_DIR}/VestrakControlsConfig.cmake INSTALL_DESTINATION ${VESTRAK_PACKAGE_DIR})
# Every 1.x keeps the ABI of 1.0: a change that breaks it raises the major version and the SONAME.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VestrakControlsConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VestrakControlsConfig.cmake ${PROJECT_BINARY_DIR}/VestrakControlsConfigVersion.cmake
  DESTINATION ${VESTRAK_PACKAGE_DIR} COMPONENT Development)

# The pkg-config files find their prefix from their own place, so a staged or moved install works.
set(VESTRAK_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH VESTRAK_PKGCONFIG_TO_PREFIX /${VESTRAK_PKGCONFIG_DIR} /)
foreach(pkgconfig_name vestrak-controls vestrak-qtwidgets vestrak-feeds)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pkgconfig_name}.pc.in ${PROJECT_BINARY_DIR}/${pkgconfig_name}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pkgconfig_name}.pc DESTINATION ${VESTRAK_PKGCONFIG_DIR} COMPONENT Development)
endforeach()
