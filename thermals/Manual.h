// Manual placement: the settings of new thermals, adding at the pointer, removing under it, and
// changing a placed thermal's values or position.
#pragma once

#include <cstdint>

#include "model/Project.h"

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

// Cloud types 1 to 20 name a cloud texture; Create refuses any other, so the dialogs do too.

// The thermal a manual click at (lat, lon) places with the current settings.
Thermal ManualThermalAt(int32_t lat, int32_t lon);
// Appends one thermal at (pointerLat, pointerLon). False, adding nothing, when the table is full.
bool AddManualThermal();
// The index of the first thermal in table order whose pick box holds (lat, lon), or -1.
int32_t PickThermal(int32_t lat, int32_t lon);
// Removes the thermal PickThermal finds at the pointer; true when one went.
bool DeleteThermalAt();

// Puts record in place of the thermal at index as one Undo step. False, changing nothing, when
// there is no such thermal or record equals it.
bool ReplaceThermal(int32_t index, const Thermal& record);

// A placed thermal's values as the Manual dialog's edits show them, in the order of their ids
// (bottom, top, radius, wind direction, factor, cloud ceiling, cloud radius, cloud type).
constexpr int ThermalFields = 8;
constexpr int ThermalTextSize = 12;  // any 32-bit value with its sign
struct ThermalTexts {
    char text[ThermalFields][ThermalTextSize];
};
ThermalTexts TextsOf(const Thermal& t);
// The thermal t with the values typed. A text that differs from what TextsOf(t) shows is read as
// Set reads the Manual dialog's (its first five characters, as a decimal number, the cloud radius
// doubled); a text left as shown keeps the record's own value, so that an odd cloud size or a
// value longer than an edit takes is not changed by looking at it.
Thermal EditedThermal(const Thermal& t, const ThermalTexts& typed, int32_t type, uint8_t cloudOn);

// The thermal being dragged to a new place: the table keeps it where it was until the drop,
// while the map draws shown in its place.
struct ThermalMove {
    bool active;
    int32_t index;
    Thermal original;
    Thermal shown;
};
extern ThermalMove thermalMove;
void BeginThermalMove(int32_t index);
void FollowThermalMove(int32_t lat, int32_t lon);
// Moves the thermal to where it is shown, as one Undo step; true when the table changed. Nothing
// changes when the thermal is no longer the one picked (the table was changed meanwhile).
bool FinishThermalMove();
void CancelThermalMove();
