// The thermal map: a picture laid over the whole backdrop whose brightness says how readily the
// ground sets off thermals there, white always, black never. Kept as brightness only.
#pragma once

#include <cstdint>
#include <string>

#include "map/Bitmap.h"

// A map longer than this on a side is reduced, so that it never holds more than 16 MB.
constexpr int32_t ThermalMapLongestSide = 4096;

extern Brightness thermalMap;  // empty when none is loaded
// Advances with every map loaded or forgotten, so that a picture made with one is not taken for another's.
extern uint32_t thermalMapChanges;
// Whether the map window shows the map over the backdrop (a view only).
extern bool thermalMapShown;

// Loads the file into thermalMap; on any result but LoadOk the map loaded before stays.
int LoadThermalMap(const char* fileName);
void ForgetThermalMap();
// "Could not load the thermal map NAME: REASON."
std::string ThermalMapFailureText(const char* name, int result);

// The brightness of the map pixel that backdrop pixel (column, row) lies on: the map covers the
// backdrop whatever its own size. 0 off the backdrop or without a map.
int MapBrightnessAtPixel(const Brightness& map, int64_t column, int64_t row);
// Where the map holds the brightness of a geographic position, through the backdrop pixel whose
// area holds it (floored); null off the backdrop or without a map, which counts as black.
const uint8_t* MapBrightnessOf(const Brightness& map, int32_t lat, int32_t lon);
