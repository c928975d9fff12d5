# The front end: start-up, the main window and its dispatch, the project and tool commands (Win32).
list(APPEND WIN32_SOURCES app/Application.cpp app/MainWindow.cpp app/ProjectCommands.cpp app/ToolCommands.cpp)
