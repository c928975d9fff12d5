# The front end: the command line (portable); start-up, the main window and its dispatch, the
# project and tool commands, the recent projects, the build without the window (Win32).
list(APPEND CORE_SOURCES app/CommandLine.cpp app/RecentProjects.cpp)
list(APPEND WIN32_SOURCES app/Application.cpp app/MainWindow.cpp app/ProjectCommands.cpp app/ToolCommands.cpp
     app/RecentMenu.cpp app/BatchBuild.cpp)
