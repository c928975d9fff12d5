# Project state, coordinates, project file.
list(APPEND CORE_SOURCES model/Project.cpp model/Coordinates.cpp model/ProjectFile.cpp model/SafeFile.cpp model/History.cpp)
