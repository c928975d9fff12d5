// The loaded flights and the thermals their climbs give.
#include "thermals/Flights.h"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <unordered_set>

#include "model/Project.h"
#include "thermals/Manual.h"

std::vector<LoadedFlight> loadedFlights;
uint32_t flightChanges = 0;
FlightSettingTexts flightSettingTexts;

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SamePath(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// Blanks, digits with at most one decimal point, blanks; at least one digit.
bool ReadNumber(const std::string& text, bool whole, double* value) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    size_t start = i;
    int digits = 0, points = 0;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') ++digits;
        else if (text[i] == '.' && !whole && points == 0) ++points;
        else break;
    }
    size_t end = i;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i != text.size() || digits == 0) return false;
    *value = std::strtod(text.substr(start, end - start).c_str(), nullptr);
    return true;
}

uint64_t PositionKey(int32_t lat, int32_t lon) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(lat)) << 32) | static_cast<uint32_t>(lon);
}

}  // namespace

bool FlightLoaded(const std::string& path) {
    for (const LoadedFlight& f : loadedFlights)
        if (SamePath(f.path, path)) return true;
    return false;
}

FlightLogResult LoadFlight(const std::string& path) {
    LoadedFlight flight;
    const FlightLogResult result = LoadFlightLog(path.c_str(), &flight.log);
    if (result != FlightLogResult::Loaded) return result;
    try {
        flight.path = path;
        flight.name = FileTitle(path.c_str());
        flight.found = FindCirclings(flight.log);
        loadedFlights.push_back(std::move(flight));
    } catch (const std::bad_alloc&) {
        // Too little memory left for this flight: it is not listed, the others stay.
        return FlightLogResult::CannotRead;
    }
    ++flightChanges;
    return result;
}

void RemoveFlight(size_t index) {
    if (index >= loadedFlights.size()) return;
    loadedFlights.erase(loadedFlights.begin() + static_cast<ptrdiff_t>(index));
    ++flightChanges;
}

void ForgetFlights() {
    loadedFlights.clear();
    ++flightChanges;
}

void ResetFlights() {
    ForgetFlights();
    flightSettingTexts = FlightSettingTexts{};
}

std::string FlightLine(const LoadedFlight& flight, int climbs) {
    char date[16] = "--.--.----";
    if (flight.log.year != 0)
        std::snprintf(date, sizeof date, "%02d.%02d.%04d", flight.log.day, flight.log.month, flight.log.year);
    char count[24];
    std::snprintf(count, sizeof count, "%d climbs", climbs);
    return flight.name + "  " + date + "  " + count;
}

bool ReadFlightSettings(const FlightSettingTexts& texts, ClimbSettings* settings, const char** firstBad) {
    double climb = 0, gain = 0, merge = 0, seen = 0;
    *firstBad = !ReadNumber(texts.minClimb, false, &climb) ? "Minimum climb"
                : !ReadNumber(texts.minGain, false, &gain) ? "Minimum gain"
                : !ReadNumber(texts.mergeWithin, false, &merge) ? "Merge within"
                : !ReadNumber(texts.seenIn, true, &seen) ? "Seen in at least"
                                                         : nullptr;
    if (*firstBad != nullptr) return false;
    settings->minClimb = climb;
    settings->minGain = gain;
    settings->mergeWithin = merge;
    // More flights than any list holds is the same as a count no group reaches.
    settings->seenIn = seen > 1e9 ? 1000000000 : static_cast<int>(seen);
    settings->traceBack = texts.traceBack;
    return true;
}

FlightsOutcome ComputeFlights(const ClimbSettings& settings) {
    FlightsOutcome outcome;
    std::vector<Climb> climbs;
    for (size_t i = 0; i < loadedFlights.size(); ++i) {
        const size_t before = climbs.size();
        AppendClimbs(loadedFlights[i].found, static_cast<int>(i), settings, &climbs);
        outcome.climbsOf.push_back(static_cast<int>(climbs.size() - before));
    }
    outcome.climbs = static_cast<int>(climbs.size());
    outcome.thermals = MergeClimbs(std::move(climbs), settings.mergeWithin, settings.seenIn);
    for (const FoundThermal& t : outcome.thermals)
        if (InsideArea(t)) ++outcome.inside;
    return outcome;
}

int32_t TableLat(const FoundThermal& t) { return TruncToInt32(t.lat * 100000.0); }
int32_t TableLon(const FoundThermal& t) { return TruncToInt32(t.lon * 100000.0); }

bool InsideArea(const FoundThermal& t) {
    return InsideArea(TableLat(t), TableLon(t));
}

FlightsAdd AddFoundThermals(const std::vector<FoundThermal>& found) {
    FlightsAdd counts;
    counts.firstIndex = thermalCount;
    std::unordered_set<uint64_t> taken;
    taken.reserve(static_cast<size_t>(thermalCount) + found.size());
    for (int32_t i = 0; i < thermalCount; ++i) taken.insert(PositionKey(thermals[i].lat, thermals[i].lon));
    for (const FoundThermal& t : found) {
        const int32_t lat = TableLat(t), lon = TableLon(t);
        if (!InsideArea(t)) {
            ++counts.outside;
        } else if (counts.tableFull) {
            continue;  // the table's capacity ended the Add; the rest goes uncounted
        } else if (!taken.insert(PositionKey(lat, lon)).second) {
            ++counts.alreadyThere;
        } else if (thermalCount < 0 || thermalCount >= MaxThermals) {
            counts.tableFull = true;
        } else {
            Thermal record = ManualThermalAt(lat, lon);
            record.top = record.cloudCeiling = t.top;
            if (t.windDir >= 0) record.windDir = t.windDir;
            thermals[thermalCount++] = record;
            ++counts.added;
        }
    }
    if (counts.added > 0) NoteTableEdit();
    return counts;
}
