// Any bytes given as a flight log: read without a fault, the kept fixes in strictly increasing
// time with positions on the globe, and the climbs found in them sound.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "thermals/Climbs.h"
#include "thermals/FlightLog.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FlightLog log;
    ParseFlightLog(reinterpret_cast<const char*>(data), size, &log);
    for (size_t i = 0; i < log.fixes.size(); ++i) {
        const FlightFix& f = log.fixes[i];
        Check(std::fabs(f.lat) <= 90.0 && std::fabs(f.lon) <= 180.0 && f.altitude > -10000 && f.altitude < 100000);
        Check(i == 0 || f.time > log.fixes[i - 1].time);
    }
    Check(log.year == 0 || (log.day >= 1 && log.day <= 31 && log.month >= 1 && log.month <= 12));
    std::vector<Climb> climbs;
    ClimbSettings settings;
    settings.traceBack = size > 0 && data[0] == 'B';
    AppendClimbs(FindCirclings(log), 0, settings, &climbs);
    for (const Climb& c : climbs) Check(c.gain > 0 && c.windDir >= -1 && c.windDir < 360 && std::isfinite(c.lat) && std::isfinite(c.lon));
    Check(MergeClimbs(climbs, settings.mergeWithin, 1).size() <= climbs.size());
    return 0;
}
