// Circlings, climbs and their merging, on a flat earth at the mean latitude: the distances are
// those of one thermal and of one competition area.
#include "thermals/Climbs.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Radians = Pi / 180.0;
constexpr int32_t TurnWindow = 4;         // seconds the turn rate looks back, at least
constexpr double TurningRate = 6.0;       // degrees per second
constexpr int32_t CirclingGap = 15;       // seconds between turning fixes of one circling, at most
constexpr int32_t CirclingLength = 45;    // seconds a circling lasts, at least
constexpr int32_t DriftLength = 120;      // seconds a climb lasts for its drift to count
constexpr int32_t DriftEnds = 60;         // seconds at each end whose positions are averaged
constexpr double WindDrift = 1.0;         // m/s
constexpr double TraceLimit = 3000.0;     // metres

double Bearing(double east, double north) {
    double b = std::atan2(east, north) / Radians;
    return b < 0.0 ? b + 360.0 : b;
}

double Turn(double change) {
    while (change > 180.0) change -= 360.0;
    while (change < -180.0) change += 360.0;
    return change;
}

}  // namespace

int WholeDirection(double degrees) {
    double d = std::fmod(degrees, 360.0);
    if (d < 0.0) d += 360.0;
    const int whole = static_cast<int>(std::floor(d + 0.5));
    return whole >= 360 ? whole - 360 : whole;
}

FlightCirclings FindCirclings(const FlightLog& log) {
    FlightCirclings result;
    const std::vector<FlightFix>& f = log.fixes;
    const size_t n = f.size();
    if (n == 0) return result;
    double meanLat = 0.0;
    result.lowest = f[0].altitude;
    for (const FlightFix& x : f) {
        meanLat += x.lat;
        result.lowest = std::min(result.lowest, x.altitude);
    }
    meanLat /= static_cast<double>(n);
    const double east = EarthRadius * std::cos(meanLat * Radians) * Radians;  // metres per degree
    const double north = EarthRadius * Radians;

    // The heading at each fix, and the heading change summed from the first fix on.
    std::vector<double> turned(n, 0.0);
    bool headed = false;
    double heading = 0.0;
    for (size_t i = 1; i < n; ++i) {
        const double dx = (f[i].lon - f[i - 1].lon) * east, dy = (f[i].lat - f[i - 1].lat) * north;
        turned[i] = turned[i - 1];
        if (dx == 0.0 && dy == 0.0) continue;  // the heading stays over a leg of no length
        const double h = Bearing(dx, dy);
        if (headed) turned[i] += Turn(h - heading);
        heading = h;
        headed = true;
    }

    auto finish = [&](size_t begin, size_t end) {
        if (f[end].time - f[begin].time < CirclingLength) return;
        size_t top = begin;
        for (size_t k = begin; k <= end; ++k)
            if (f[k].altitude > f[top].altitude) top = k;
        Circling c{};
        c.beginTime = f[begin].time;
        c.duration = f[top].time - f[begin].time;
        c.gain = f[top].altitude - f[begin].altitude;
        c.top = f[top].altitude;
        c.lowest = f[begin].altitude;
        double lat = 0.0, lon = 0.0;
        for (size_t k = begin; k <= top; ++k) {
            lat += f[k].lat;
            lon += f[k].lon;
            c.lowest = std::min(c.lowest, f[k].altitude);
        }
        c.lat = lat / static_cast<double>(top - begin + 1);
        c.lon = lon / static_cast<double>(top - begin + 1);
        if (c.duration >= DriftLength) {
            double s[2][3] = {};  // lat, lon, time summed over the first and the last minute
            int count[2] = {};
            for (size_t k = begin; k <= top; ++k) {
                for (int e = 0; e < 2; ++e) {
                    const bool in = e == 0 ? f[k].time <= f[begin].time + DriftEnds : f[k].time >= f[top].time - DriftEnds;
                    if (!in) continue;
                    s[e][0] += f[k].lat;
                    s[e][1] += f[k].lon;
                    s[e][2] += f[k].time;
                    ++count[e];
                }
            }
            const double span = s[1][2] / count[1] - s[0][2] / count[0];
            c.driftNorth = (s[1][0] / count[1] - s[0][0] / count[0]) * north / span;
            c.driftEast = (s[1][1] / count[1] - s[0][1] / count[0]) * east / span;
            c.drifts = std::hypot(c.driftEast, c.driftNorth) >= WindDrift;
        }
        result.circlings.push_back(c);
    };

    // A fix turns when its heading changed by 6 degrees a second since the latest fix at least 4
    // seconds before it.
    size_t back = 0;
    bool open = false;
    size_t first = 0, last = 0;
    for (size_t i = 1; i < n; ++i) {
        while (back + 1 < i && f[back + 1].time <= f[i].time - TurnWindow) ++back;
        if (f[back].time > f[i].time - TurnWindow) continue;
        const double rate = (turned[i] - turned[back]) / (f[i].time - f[back].time);
        if (std::fabs(rate) < TurningRate) continue;
        if (open && f[i].time - f[last].time <= CirclingGap) {
            last = i;
            continue;
        }
        if (open) finish(first, last);
        open = true;
        first = last = i;
    }
    if (open) finish(first, last);
    return result;
}

void AppendClimbs(const FlightCirclings& found, int flight, const ClimbSettings& settings, std::vector<Climb>* out) {
    for (const Circling& c : found.circlings) {
        if (c.gain <= 0 || c.gain < settings.minGain) continue;
        const double rate = static_cast<double>(c.gain) / c.duration;
        if (rate < settings.minClimb) continue;
        Climb climb{c.lat, c.lon, c.top, -1, c.gain, c.beginTime, flight};
        if (c.drifts) {
            climb.windDir = WholeDirection(Bearing(c.driftEast, c.driftNorth) + 180.0);
            if (settings.traceBack) {
                // Back along the drift for as long as the air took to rise from the flight's lowest.
                const double seconds = (c.lowest - found.lowest) / rate;
                double dx = -c.driftEast * seconds, dy = -c.driftNorth * seconds;
                const double length = std::hypot(dx, dy);
                if (length > TraceLimit) {
                    dx *= TraceLimit / length;
                    dy *= TraceLimit / length;
                }
                climb.lat += dy / (EarthRadius * Radians);
                climb.lon += dx / (EarthRadius * std::cos(c.lat * Radians) * Radians);
            }
        }
        out->push_back(climb);
    }
}

std::vector<FoundThermal> MergeClimbs(std::vector<Climb> climbs, double within, int seenIn) {
    // Highest gain first; ties by flight, then time, then the order given.
    std::vector<size_t> order(climbs.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&climbs](size_t i, size_t j) {
        const Climb& a = climbs[i];
        const Climb& b = climbs[j];
        if (a.gain != b.gain) return a.gain > b.gain;
        if (a.flight != b.flight) return a.flight < b.flight;
        if (a.time != b.time) return a.time < b.time;
        return i < j;
    });
    std::vector<Climb> sorted;
    sorted.reserve(climbs.size());
    for (size_t i : order) sorted.push_back(climbs[i]);
    climbs.swap(sorted);
    struct Group {
        size_t first;
        std::vector<size_t> members;
    };
    std::vector<Group> groups;
    for (size_t i = 0; i < climbs.size(); ++i) {
        Group* joined = nullptr;
        if (within > 0.0) {
            for (Group& g : groups) {
                const Climb& a = climbs[g.first];
                const Climb& b = climbs[i];
                const double mid = (a.lat + b.lat) / 2.0 * Radians;
                const double dx = (b.lon - a.lon) * Radians * EarthRadius * std::cos(mid);
                const double dy = (b.lat - a.lat) * Radians * EarthRadius;
                if (std::hypot(dx, dy) <= within) {
                    joined = &g;
                    break;
                }
            }
        }
        if (joined != nullptr) joined->members.push_back(i);
        else groups.push_back({i, {i}});
    }
    std::vector<FoundThermal> thermals;
    for (const Group& g : groups) {
        std::vector<int> flights;
        FoundThermal t{0.0, 0.0, climbs[g.first].top, -1};
        double windX = 0.0, windY = 0.0;
        bool windy = false;
        for (size_t m : g.members) {
            const Climb& c = climbs[m];
            if (std::find(flights.begin(), flights.end(), c.flight) == flights.end()) flights.push_back(c.flight);
            t.lat += c.lat;
            t.lon += c.lon;
            t.top = std::max(t.top, c.top);
            if (c.windDir >= 0) {
                windX += std::sin(c.windDir * Radians);
                windY += std::cos(c.windDir * Radians);
                windy = true;
            }
        }
        if (static_cast<int>(flights.size()) < seenIn) continue;
        t.lat /= static_cast<double>(g.members.size());
        t.lon /= static_cast<double>(g.members.size());
        if (windy && std::hypot(windX, windY) >= 0.001) t.windDir = WholeDirection(Bearing(windX, windY));
        thermals.push_back(t);
    }
    return thermals;
}
