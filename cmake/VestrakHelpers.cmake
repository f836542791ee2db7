# vestrak_add_subdirectories(a b c): adds them in order; a folder named but missing is an error, so
# a moved or misspelt folder cannot quietly drop its code and tests from the build.
function(vestrak_add_subdirectories)
  foreach(dir IN LISTS ARGN)
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt is missing")
    endif()
    add_subdirectory(${dir})
  endforeach()
endfunction()

# vestrak_test(name LIBS lib...): one GoogleTest program from name.cpp, run by CTest.
function(vestrak_test name)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(${name} ${name}.cpp ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} vestrak_test_support GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

# vestrak_bench(name LIBS lib...): one Google Benchmark program from name.cpp, not run by CTest.
function(vestrak_bench name)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${name}.cpp ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
endfunction()
