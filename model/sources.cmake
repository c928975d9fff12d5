# Project state, coordinates and world files, project file, file-name helpers.
list(APPEND CORE_SOURCES model/Project.cpp model/Coordinates.cpp model/ProjectFile.cpp model/SafeFile.cpp model/History.cpp
     model/WorldFile.cpp model/FileNames.cpp)
