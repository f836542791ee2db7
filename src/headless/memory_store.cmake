# The in-memory settings store, for tests and the headless container. Included from the
# headless folder's CMakeLists.txt (and from tests that need the store on their own).
add_library(vestrak_memory_store STATIC ${CMAKE_CURRENT_LIST_DIR}/memory_settings_store.cpp)
target_link_libraries(vestrak_memory_store PUBLIC vestrak_ports)
