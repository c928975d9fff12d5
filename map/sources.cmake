# Map view: geometry, selection, backdrop reader (portable); map window and drawing (Win32).
list(APPEND CORE_SOURCES map/Geometry.cpp map/Selection.cpp map/Bitmap.cpp map/Pyramid.cpp map/ThermalGrid.cpp
     map/ThermalMap.cpp)
list(APPEND WIN32_SOURCES map/MapWindow.cpp map/MapDrawing.cpp map/DiscStamps.cpp)
