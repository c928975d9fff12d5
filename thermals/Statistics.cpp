// The Statistics box's text.
#include "thermals/Statistics.h"

#include <cstdio>

#include "map/Geometry.h"
#include "model/Project.h"

std::string StatisticsText() {
    int inside = 0, clouds = 0, other = 0;
    int types[4] = {0, 0, 0, 0};
    int32_t lowest = 0, highest = 0;
    long long sum = 0;
    for (int i = 0; i < thermalCount; ++i) {
        const Thermal& t = thermals[i];
        if (InsideArea(t.lat, t.lon)) ++inside;
        if (t.cloudOn) ++clouds;
        if (t.type >= 1 && t.type <= 4)
            ++types[t.type - 1];
        else
            ++other;
        if (i == 0 || t.top < lowest) lowest = t.top;
        if (i == 0 || t.top > highest) highest = t.top;
        sum += t.top;
    }
    char line[160];
    std::string text;
    std::snprintf(line, sizeof line, "%d thermals: %d inside the area, %d outside\n", thermalCount, inside,
                  thermalCount - inside);
    text += line;
    std::snprintf(line, sizeof line, "Lift type 1: %d, type 2: %d, type 3: %d, type 4: %d", types[0], types[1],
                  types[2], types[3]);
    text += line;
    if (other > 0) {
        std::snprintf(line, sizeof line, ", other: %d", other);
        text += line;
    }
    std::snprintf(line, sizeof line, "\nWith a cloud: %d", clouds);
    text += line;
    if (thermalCount > 0) {
        // The mean rounded half away from zero.
        long long mean = sum / thermalCount;
        const long long rest = sum % thermalCount;
        if (2 * (rest < 0 ? -rest : rest) >= thermalCount) mean += sum < 0 ? -1 : 1;
        std::snprintf(line, sizeof line, "\nTops from %d to %d m, mean %lld m", static_cast<int>(lowest),
                      static_cast<int>(highest), mean);
        text += line;
    }
    // The area's size as the status bar shows it for a rectangle; an area of no size has no density.
    const double area = RectangleSize(areaTop, areaBottom, areaLeft, areaRight).area;
    std::snprintf(line, sizeof line, "\nInside the area: %.1f per 100 square km", area > 0.0 ? inside * 100.0 / area : 0.0);
    text += line;
    return text;
}
