# Tests of src/shell/messages: MSG, cancel handling and exit, through the
# headless front end with the real table layer and message table.
qv_test(qv_shell_messages_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/message_fixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/msg_modes_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/numbered_message_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/progress_cancel_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/exit_test.cpp
  DEPS qv_shell qv_gui_script qv_mkmedia)
target_compile_definitions(qv_shell_messages_test PRIVATE QV_MEDIA_DIR="${PROJECT_SOURCE_DIR}/media")
