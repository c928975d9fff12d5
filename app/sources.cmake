# Application shell: file names (portable); start-up, main window, commands, dialogs (Win32).
list(APPEND CORE_SOURCES app/FileNames.cpp)
list(APPEND WIN32_SOURCES app/AppWindow.cpp app/MainWindow.cpp app/ProjectCommands.cpp
     app/FileDialogs.cpp app/ToolCommands.cpp app/MessageBoxes.cpp)
