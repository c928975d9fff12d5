# SCASM source writer (portable) and the Create command (Win32).
list(APPEND CORE_SOURCES scenery/ScaWriter.cpp)
list(APPEND WIN32_SOURCES scenery/SceneryBuild.cpp)
