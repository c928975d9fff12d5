// The thermal map: its loading and where a position falls on it.
#include "map/ThermalMap.h"

#include <cmath>

#include "model/Project.h"

Brightness thermalMap;
uint32_t thermalMapChanges;
bool thermalMapShown;

int LoadThermalMap(const char* fileName) {
    int result = LoadBrightness(fileName, ThermalMapLongestSide, thermalMap);
    if (result == LoadOk) ++thermalMapChanges;
    return result;
}

void ForgetThermalMap() {
    thermalMap = Brightness{};
    ++thermalMapChanges;
}

std::string ThermalMapFailureText(const char* name, int result) { return BitmapFailureText("thermal map", name, result); }

int MapBrightnessAtPixel(const Brightness& map, int64_t column, int64_t row) {
    if (map.values.empty() || column < 0 || row < 0 || column >= backdropWidth || row >= backdropHeight) return 0;
    const int64_t x = column * map.width / backdropWidth, y = row * map.height / backdropHeight;
    return map.values[static_cast<size_t>(y * map.width + x)];
}

const uint8_t* MapBrightnessOf(const Brightness& map, int32_t lat, int32_t lon) {
    if (map.values.empty() || lonPerPixel == 0.0 || latPerPixel == 0.0) return nullptr;
    // Floored, so that a position a part of a pixel west of or above the picture is off it.
    const double column = std::floor((static_cast<int64_t>(lon) - areaLeft) / lonPerPixel);
    const double row = std::floor((static_cast<int64_t>(areaTop) - lat) / latPerPixel);
    if (!(column >= 0.0 && row >= 0.0 && column < backdropWidth && row < backdropHeight)) return nullptr;
    // column x width stays below 2^53, and a quotient below a whole number by at least
    // 1 / backdropWidth does not round up to it: the truncation is the exact floor.
    const int64_t x = static_cast<int64_t>(column * map.width / backdropWidth);
    const int64_t y = static_cast<int64_t>(row * map.height / backdropHeight);
    return map.values.data() + y * map.width + x;
}
