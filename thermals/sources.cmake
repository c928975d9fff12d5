# Thermal placement: generation, manual placement, clearing, and their dialogs.
list(APPEND CORE_SOURCES thermals/Generation.cpp thermals/Manual.cpp thermals/Clearing.cpp thermals/Hotspots.cpp
     thermals/XmlHotspots.cpp thermals/ThermalExport.cpp thermals/Statistics.cpp thermals/FlightLog.cpp thermals/Climbs.cpp thermals/Flights.cpp)
list(APPEND WIN32_SOURCES thermals/AutomaticDialog.cpp thermals/ManualDialog.cpp thermals/ThermalDialog.cpp thermals/ClearPartDialog.cpp thermals/HotspotImport.cpp
     thermals/TableCommands.cpp thermals/FlightsDialog.cpp thermals/FlightsDrawing.cpp)
