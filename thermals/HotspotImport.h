// The Import hotspots command: thermals from a glider pilots' waypoint file.
#pragma once

#include <windows.h>

// Asks for a .cup, .gpx or .kml file, appends its waypoints inside the area as thermals with the Manual
// dialog's settings, and tells what it did in one box.
void ImportHotspots(HWND owner);
// The same for a file already chosen (dropped on the window).
void ImportHotspotsFrom(HWND owner, const char* path);
// Thermals appended to the table from firstIndex (added of them) by one command: one Undo step,
// the project modified, the map drawn anew; a table that filled up on the way is told.
void KeepAppendedThermals(HWND owner, int firstIndex, int added, bool tableFull);
