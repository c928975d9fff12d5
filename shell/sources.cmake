# Shell services under every window (all Win32): the window framework, message boxes, file dialogs,
# the main window's parts (status bar, map window handle, title), processes, dropped files.
list(APPEND WIN32_SOURCES shell/AppWindow.cpp shell/MessageBoxes.cpp shell/FileDialogs.cpp shell/MainParts.cpp shell/Processes.cpp
     shell/DroppedFiles.cpp)
