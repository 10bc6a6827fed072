# Sources of start-up, the menu table and the dispatcher, relative to src/shell.
set(QV_SHELL_STARTUP_SOURCES
  startup/handles.cpp
  startup/session_vars.cpp
  startup/fonts.cpp
  startup/copy_file.cpp
  startup/menu_table.cpp
  startup/menu_action.cpp
  startup/dispatcher.cpp
  startup/main_proc.cpp
  startup/procedures.cpp)
