// Thermal hotspots from a glider pilots' waypoint file (SeeYou CUP): each waypoint inside the area
// becomes a thermal as a manual click at its position would place it.
#pragma once

#include <cstdint>

// The longest line kept; a longer one is not understood.
constexpr int CupLineLimit = 4096;

struct HotspotImport {
    int32_t firstIndex = 0;  // where the appended thermals start
    int imported = 0;
    int alreadyThere = 0;    // at exactly the position of a thermal in the table
    int outside = 0;         // outside areaBottom..areaTop, areaLeft..areaRight
    int notUnderstood = 0;
    bool tableFull = false;  // stopped at a waypoint that found no room; the rest went uncounted
};

// Reads the file line by line and appends its waypoints to the thermal table, in file order.
// False, changing nothing, when the file cannot be opened.
bool ImportHotspotFile(const char* path, HotspotImport* result);

