// Thermal hotspots from waypoint files: glider pilots' CUP files, GPS exchange (GPX) files and
// Google Earth (KML) files. Each waypoint inside the area becomes a thermal as a manual click at
// its position would place it.
#pragma once

#include <cstdint>
#include <unordered_set>

// The longest line kept; a longer one is not understood.
constexpr int CupLineLimit = 4096;

// Which reader took the file: CUP counts lines not understood, GPX and KML waypoints.
enum class HotspotSource { Cup, Gpx, Kml };

struct HotspotImport {
    int32_t firstIndex = 0;  // where the appended thermals start
    int imported = 0;
    int alreadyThere = 0;    // at exactly the position of a thermal in the table
    int outside = 0;         // outside areaBottom..areaTop, areaLeft..areaRight
    int notUnderstood = 0;
    bool tableFull = false;  // stopped at a waypoint that found no room; the rest went uncounted
    HotspotSource source = HotspotSource::Cup;
};

// Reads the file and appends its waypoints to the thermal table, in file order; the reader is
// chosen by the name's extension (.gpx, .kml, anything else CUP). False, changing nothing, when
// the file cannot be read.
bool ImportHotspotFile(const char* path, HotspotImport* result);

// The rules every reader places its waypoints by: outside the area, already there, room left.
class HotspotPlacer {
public:
    explicit HotspotPlacer(HotspotImport& counts);
    // Counts the position and appends it when it is new and inside; false once the table is full,
    // when the reader stops.
    bool Offer(int32_t lat, int32_t lon);
    // Notes the table's change when something was appended.
    void Finish();

private:
    static uint64_t Key(int32_t lat, int32_t lon);
    HotspotImport& counts_;
    std::unordered_set<uint64_t> taken_;
};

// The XML readers (XmlHotspots.cpp): every GPX wpt, every KML Point. False when the file cannot
// be read.
bool ImportGpxFile(const char* path, HotspotImport& counts);
bool ImportKmlFile(const char* path, HotspotImport& counts);
