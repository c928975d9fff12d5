// The flights loaded in the Flights dialog, the thermals their climbs give under the dialog's
// settings, and the Add that places them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "thermals/Climbs.h"
#include "thermals/FlightLog.h"

struct LoadedFlight {
    std::string path;  // as loaded, compared without case
    std::string name;  // without its folder
    FlightLog log;
    FlightCirclings found;
};

// The loaded flights, in list order, and a count of their changes for the map's picture.
extern std::vector<LoadedFlight> loadedFlights;
extern uint32_t flightChanges;

// Whether a flight of that path is loaded (case ignored).
bool FlightLoaded(const std::string& path);
// Reads the file and appends it to the list; anything but Loaded appends nothing.
FlightLogResult LoadFlight(const std::string& path);
void RemoveFlight(size_t index);
void ForgetFlights();

// "NAME  DD.MM.YYYY  N climbs", "--.--.----" for a log without a date.
std::string FlightLine(const LoadedFlight& flight, int climbs);

// The dialog's four edits as typed, the check box as checked.
struct FlightSettingTexts {
    std::string minClimb = "0.5", minGain = "100", mergeWithin = "300", seenIn = "1";
    bool traceBack = false;
};
// Reads the texts into settings. False, with the edit's name ("Minimum climb", ...) in
// firstBad, when a text is not a number: blanks and digits with at most one decimal point
// (whole numbers only for "Seen in at least").
// As typed last, for the next opening of the dialog.
extern FlightSettingTexts flightSettingTexts;
// No flights, the settings as at start.
void ResetFlights();

bool ReadFlightSettings(const FlightSettingTexts& texts, ClimbSettings* settings, const char** firstBad);

struct FlightsOutcome {
    int climbs = 0;                 // every climb found
    std::vector<int> climbsOf;      // per flight, in list order
    std::vector<FoundThermal> thermals;
    int inside = 0;                 // thermals inside the area, edges included
};
FlightsOutcome ComputeFlights(const ClimbSettings& settings);

// A found thermal's place in the table's units.
int32_t TableLat(const FoundThermal& t);
int32_t TableLon(const FoundThermal& t);
bool InsideArea(const FoundThermal& t);

struct FlightsAdd {
    int32_t firstIndex = 0;
    int added = 0, outside = 0, alreadyThere = 0;
    bool tableFull = false;
};
// Appends the thermals inside the area as a manual click with the Manual dialog's values would,
// with their tops and wind directions; one already at exactly the same position is skipped.
FlightsAdd AddFoundThermals(const std::vector<FoundThermal>& found);
