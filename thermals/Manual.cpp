// Manual placement: new thermals from the MANUAL dialog's settings, removal under the pointer.
#include "thermals/Manual.h"

#include <cstdio>
#include <cstring>

#include "map/Geometry.h"
#include "model/History.h"
#include "model/Project.h"
#include "thermals/Generation.h"

namespace {

const ManualSettings StartSettings = {4, "0", "1500", "500", "270", "0", 1, "1500", "500", "1"};

// The record a click at (lat, lon) places with settings.
Thermal ThermalFrom(const ManualSettings& settings, int32_t lat, int32_t lon) {
    Thermal t{};
    t.lat = lat;
    t.lon = lon;
    t.type = settings.type;
    t.bottom = TextToInt(settings.bottom);
    t.top = TextToInt(settings.top);
    t.radius = TextToInt(settings.radius);
    t.windDir = TextToInt(settings.windDir);
    t.factor = TextToInt(settings.factor);
    t.cloudOn = settings.cloudOn != 0 ? 1 : 0;
    t.cloudParam = 0;
    t.cloudCeiling = TextToInt(settings.cloudCeiling);
    // The size is the diameter; saturated rather than wrapped for a radius beyond half the range.
    int64_t size = int64_t{2} * TextToInt(settings.cloudRadius);
    t.cloudSize = size > INT32_MAX ? INT32_MAX : size < INT32_MIN ? INT32_MIN : static_cast<int32_t>(size);
    t.cloudType = TextToInt(settings.cloudType);
    return t;
}

// The eight edited fields of a record, in the order of the texts.
int32_t* EditedField(Thermal& t, int field) {
    int32_t* fields[ThermalFields] = {&t.bottom, &t.top, &t.radius, &t.windDir,
                                      &t.factor, &t.cloudCeiling, &t.cloudSize, &t.cloudType};
    return fields[field];
}
int32_t EditedValue(Thermal t, int field) { return *EditedField(t, field); }

}  // namespace

ManualSettings manualSettings = StartSettings;

void ResetManualSettings() { manualSettings = StartSettings; }

Thermal ManualThermalAt(int32_t lat, int32_t lon) { return ThermalFrom(manualSettings, lat, lon); }

bool AddManualThermal() {
    if (thermalCount < 0 || thermalCount >= MaxThermals) return false;
    thermals[thermalCount] = ManualThermalAt(pointerLat, pointerLon);
    ++thermalCount;
    NoteTableEdit();
    RecordAppend(thermalCount - 1);
    return true;
}

int32_t PickThermal(int32_t lat, int32_t lon) {
    // The pick box is square in degrees: the same tolerance for latitude and longitude. Compared
    // in 64 bits, so that a thermal near the ends of the range cannot wrap its box around.
    int64_t tolerance = latSpan / 200;
    for (int32_t i = 0; i < thermalCount; ++i) {
        const Thermal& t = thermals[i];
        if (lon > t.lon - tolerance && lon < t.lon + tolerance && lat > t.lat - tolerance &&
            lat < t.lat + tolerance)
            return i;
    }
    return -1;
}

bool DeleteThermalAt() {
    int32_t i = PickThermal(pointerLat, pointerLon);
    if (i < 0) return false;
    RecordRemoval(&i, 1);
    std::memmove(&thermals[i], &thermals[i + 1], sizeof(Thermal) * static_cast<size_t>(thermalCount - 1 - i));
    --thermalCount;
    thermals[thermalCount] = Thermal{};
    NoteRemovalFromTable(i);
    return true;
}

bool ReplaceThermal(int32_t index, const Thermal& record) {
    if (index < 0 || index >= thermalCount || SameThermal(thermals[index], record)) return false;
    RecordReplace(index, record);
    thermals[index] = record;
    NoteTableEdit();
    return true;
}

ThermalTexts TextsOf(const Thermal& t) {
    ThermalTexts texts{};
    Thermal shown = t;
    shown.cloudSize = t.cloudSize / 2;  // the edit holds the radius
    for (int i = 0; i < ThermalFields; ++i)
        std::snprintf(texts.text[i], ThermalTextSize, "%ld", static_cast<long>(EditedValue(shown, i)));
    return texts;
}

Thermal EditedThermal(const Thermal& t, const ThermalTexts& typed, int32_t type, uint8_t cloudOn) {
    const ThermalTexts shown = TextsOf(t);
    ManualSettings settings{};
    char* kept[ThermalFields] = {settings.bottom, settings.top, settings.radius, settings.windDir,
                                 settings.factor, settings.cloudCeiling, settings.cloudRadius, settings.cloudType};
    for (int i = 0; i < ThermalFields; ++i) CopyText(kept[i], ManualTextSize, typed.text[i]);
    settings.type = type;
    settings.cloudOn = cloudOn;
    Thermal edited = ThermalFrom(settings, t.lat, t.lon);
    edited.cloudParam = t.cloudParam;
    for (int i = 0; i < ThermalFields; ++i)
        if (std::strcmp(typed.text[i], shown.text[i]) == 0) *EditedField(edited, i) = EditedValue(t, i);
    return edited;
}

ThermalMove thermalMove{};

void BeginThermalMove(int32_t index) {
    if (index < 0 || index >= thermalCount) return;
    thermalMove = ThermalMove{true, index, thermals[index], thermals[index]};
}

void FollowThermalMove(int32_t lat, int32_t lon) {
    thermalMove.shown.lat = lat;
    thermalMove.shown.lon = lon;
}

bool FinishThermalMove() {
    if (!thermalMove.active) return false;
    thermalMove.active = false;
    const int32_t i = thermalMove.index;
    if (i >= thermalCount || !SameThermal(thermals[i], thermalMove.original)) return false;
    return ReplaceThermal(i, thermalMove.shown);
}

void CancelThermalMove() { thermalMove.active = false; }
