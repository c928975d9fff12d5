// Glider flight logs (IGC files): the date and the position fixes of one flight.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One kept fix: seconds from midnight UTC of the flight's first day (a flight across midnight
// goes on past 86400), position in degrees (north and east positive), altitude in metres.
struct FlightFix {
    int32_t time;
    double lat;
    double lon;
    int32_t altitude;
};

struct FlightLog {
    int day = 0, month = 0, year = 0;  // 0 when the log has no date
    std::vector<FlightFix> fixes;      // in time order, each later than the one before
    bool pressureAltitude = false;     // altitudes from the barometer, else from the GNSS
    int invalidFixes = 0;              // validity V
    int badRecords = 0;                // B records that are not well-formed
    int timeSkipped = 0;               // well-formed fixes dropped for their time
};

// Reads a whole log from memory. Never fails: a text without usable B records gives no fixes.
void ParseFlightLog(const char* bytes, size_t size, FlightLog* log);

// The largest log read, in bytes; a larger one is refused before reading.
constexpr int64_t FlightLogSizeLimit = int64_t{64} * 1024 * 1024;

enum class FlightLogResult { Loaded, CannotRead, NoFixes, TooLarge };
// Reads the file into log. Anything but Loaded leaves log empty.
FlightLogResult LoadFlightLog(const char* path, FlightLog* log);
// The reason a file could not be used, as the load's box words it.
const char* FlightLogReason(FlightLogResult result);
