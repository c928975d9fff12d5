// Manual placement: the settings of new thermals, adding at the pointer, removing under it.
#pragma once

#include <cstdint>

constexpr int ManualTextSize = 6;  // at most 5 characters

struct ManualSettings {
    int type;
    char bottom[ManualTextSize];
    char top[ManualTextSize];
    char radius[ManualTextSize];
    char windDir[ManualTextSize];
    char factor[ManualTextSize];
    uint8_t cloudOn;
    char cloudCeiling[ManualTextSize];
    char cloudRadius[ManualTextSize];
    char cloudType[ManualTextSize];
};

extern ManualSettings manualSettings;
void ResetManualSettings();  // start-of-run values; for tests

// The thermal a manual click at (lat, lon) places with the current settings.
struct Thermal;
Thermal ManualThermalAt(int32_t lat, int32_t lon);
// Appends one thermal at (pointerLat, pointerLon). False, adding nothing, when the table is full.
bool AddManualThermal();
// Removes the first thermal in table order whose pick box holds the pointer; true when one went.
bool DeleteThermalAt();
