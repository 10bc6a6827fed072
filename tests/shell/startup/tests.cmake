# Tests of start-up, the menu table and the dispatcher (relative to tests/shell).
add_library(qv_shell_test_tables STATIC startup/menu_tables.cpp)
target_include_directories(qv_shell_test_tables PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/startup)
target_link_libraries(qv_shell_test_tables PUBLIC qv_rdd qv_testing GTest::gtest)
qv_warnings(qv_shell_test_tables)

qv_test(qv_shell_startup_test
  SOURCES
    startup/startup_fixture.cpp
    startup/startup_test.cpp
    startup/menu_test.cpp
    startup/dispatch_test.cpp
    startup/exit_test.cpp
  DEPS qv_shell qv_gui_script qv_shell_test_tables)
