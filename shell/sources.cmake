# Shell services under every window: file names (portable); the window framework, message boxes,
# file dialogs, status bar and title (Win32).
list(APPEND CORE_SOURCES shell/FileNames.cpp)
list(APPEND WIN32_SOURCES shell/AppWindow.cpp shell/MessageBoxes.cpp shell/FileDialogs.cpp shell/Frame.cpp shell/Processes.cpp
     shell/DroppedFiles.cpp)
