// Where gliders climbed: the circlings of a flight, the climbs among them under the user's
// minimums, and thermals merged from the climbs of many flights.
#pragma once

#include <cstdint>
#include <vector>

#include "thermals/FlightLog.h"

constexpr double EarthRadius = 6371000.0;  // metres

// A circling of 45 seconds or more, with everything a climb needs worked out once, so that a
// change of the settings never goes through the fixes again.
struct Circling {
    int32_t beginTime;   // where the circling began
    int32_t duration;    // seconds from the beginning to the highest point
    int32_t gain;        // metres from the beginning to the highest point
    int32_t top;         // the highest altitude while circling
    int32_t lowest;      // the lowest altitude from the beginning to the highest point
    double lat, lon;     // mean position of the fixes from the beginning to the highest point
    bool drifts;         // the drift was measured (120 s or more) and reached 1 m/s
    double driftEast, driftNorth;  // m/s
};

struct FlightCirclings {
    std::vector<Circling> circlings;
    int32_t lowest = 0;  // the flight's lowest altitude
};

// Finds the circlings of a flight's fixes.
FlightCirclings FindCirclings(const FlightLog& log);

struct ClimbSettings {
    double minClimb = 0.5;      // m/s
    double minGain = 100.0;     // m
    double mergeWithin = 300.0; // m
    int seenIn = 1;             // flights
    bool traceBack = false;
};

struct Climb {
    double lat, lon;   // degrees
    int32_t top;
    int windDir;       // where the wind came from, 0..359, or -1
    int32_t gain;
    int32_t time;
    int flight;        // its flight's place in the list
};

// The climbs among a flight's circlings, appended to out in time order.
void AppendClimbs(const FlightCirclings& found, int flight, const ClimbSettings& settings, std::vector<Climb>* out);

struct FoundThermal {
    double lat, lon;
    int32_t top;
    int windDir;  // or -1
};

// Merges the climbs into thermals, in the order of their groups.
std::vector<FoundThermal> MergeClimbs(std::vector<Climb> climbs, double within, int seenIn);

// The direction of a bearing in degrees, rounded half up to a whole degree, 0..359.
int WholeDirection(double degrees);
