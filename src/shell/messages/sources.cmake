# Sources of the message routine, cancel handling and exit, relative to src/shell.
set(QV_SHELL_MESSAGE_SOURCES
  messages/session_values.cpp
  messages/area_keeper.cpp
  messages/message_table.cpp
  messages/msg_dialogs.cpp
  messages/msg.cpp
  messages/cancel.cpp
  messages/exit.cpp
  messages/procedures.cpp)
