cmake_minimum_required(VERSION 3.25)
# Installs the build: exactly the declared headers are installed, and each compiles on its own in a
# consumer project that links its library and sets no C++ standard, so the targets must bring it.
include(${SOURCE_ROOT}/cmake/VestrakPublicHeaders.cmake)
set(prefix ${WORK}/prefix)
file(REMOVE_RECURSE ${WORK})
foreach(component ControlsRuntime QtWidgetsRuntime FeedsRuntime Development)
  execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix} --component ${component}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
endforeach()

foreach(library Controls QtWidgets Feeds)
  string(TOUPPER ${library} upper)
  list(GET VESTRAK_${upper}_HEADERS 0 first)
  if(NOT EXISTS ${prefix}/include/vestrak/${first})
    continue() # A library this build does not install.
  endif()
  list(APPEND declared ${VESTRAK_${upper}_HEADERS})
  list(APPEND components ${library})
  foreach(header IN LISTS VESTRAK_${upper}_HEADERS)
    string(MAKE_C_IDENTIFIER ${header} name)
    file(WRITE ${WORK}/consumer/${name}.cpp "#include <vestrak/${header}>\n")
    string(APPEND sources "add_library(${name} OBJECT ${name}.cpp)\n"
      "target_link_libraries(${name} PRIVATE Vestrak::${library})\n")
  endforeach()
endforeach()

file(GLOB_RECURSE installed RELATIVE ${prefix}/include/vestrak ${prefix}/include/vestrak/*)
list(SORT installed)
list(SORT declared)
if(NOT installed STREQUAL declared)
  set(extra ${installed})
  list(REMOVE_ITEM extra ${declared})
  set(missing ${declared})
  list(REMOVE_ITEM missing ${installed})
  message(FATAL_ERROR "installed headers differ from cmake/VestrakPublicHeaders.cmake\n"
    "  installed, not declared: ${extra}\n  declared, not installed: ${missing}")
endif()

# The feeds are a component of their own; without them the package gives every target.
if(Feeds IN_LIST components)
  set(asked COMPONENTS ${components})
endif()
file(WRITE ${WORK}/consumer/CMakeLists.txt "cmake_minimum_required(VERSION 3.25)
project(HeaderConsumer LANGUAGES CXX)
find_package(VestrakControls 1.0 REQUIRED ${asked})
add_compile_options(-Wall -Wextra -Wpedantic -Werror -fsyntax-only)
${sources}")
execute_process(COMMAND ${CMAKE_COMMAND} -S ${WORK}/consumer -B ${WORK}/consumer/build -G Ninja
  -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX}
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK}/consumer/build -j2 RESULT_VARIABLE built)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "an installed header does not compile on its own in a consumer")
endif()
list(LENGTH declared count)
message(STATUS "${count} installed headers, each compiling on its own")
