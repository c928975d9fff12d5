// Manual placement: new thermals from the MANUAL dialog's settings, removal under the pointer.
#include "thermals/Manual.h"

#include <cstring>

#include "map/Geometry.h"
#include "model/History.h"
#include "model/Project.h"
#include "thermals/Generation.h"

namespace {

const ManualSettings StartSettings = {4, "0", "1500", "500", "270", "0", 1, "1500", "500", "1"};

}  // namespace

ManualSettings manualSettings = StartSettings;

void ResetManualSettings() { manualSettings = StartSettings; }

Thermal ManualThermalAt(int32_t lat, int32_t lon) {
    Thermal t{};
    t.lat = lat;
    t.lon = lon;
    t.type = manualSettings.type;
    t.bottom = TextToInt(manualSettings.bottom);
    t.top = TextToInt(manualSettings.top);
    t.radius = TextToInt(manualSettings.radius);
    t.windDir = TextToInt(manualSettings.windDir);
    t.factor = TextToInt(manualSettings.factor);
    t.cloudOn = manualSettings.cloudOn != 0 ? 1 : 0;
    t.cloudParam = 0;
    t.cloudCeiling = TextToInt(manualSettings.cloudCeiling);
    // The size is the diameter; saturated rather than wrapped for a radius beyond half the range.
    int64_t size = int64_t{2} * TextToInt(manualSettings.cloudRadius);
    t.cloudSize = size > INT32_MAX ? INT32_MAX : size < INT32_MIN ? INT32_MIN
                                                                  : static_cast<int32_t>(size);
    t.cloudType = TextToInt(manualSettings.cloudType);
    return t;
}

bool AddManualThermal() {
    if (thermalCount < 0 || thermalCount >= MaxThermals) return false;
    thermals[thermalCount] = ManualThermalAt(pointerLat, pointerLon);
    ++thermalCount;
    NoteTableEdit();
    RecordAppend(thermalCount - 1);
    return true;
}

bool DeleteThermalAt() {
    // The pick box is square in degrees: the same tolerance for latitude and longitude. Compared
    // in 64 bits, so that a thermal near the ends of the range cannot wrap its box around.
    int64_t tolerance = latSpan / 200;
    int64_t lat = pointerLat;
    int64_t lon = pointerLon;
    for (int32_t i = 0; i < thermalCount; ++i) {
        const Thermal& t = thermals[i];
        if (lon > t.lon - tolerance && lon < t.lon + tolerance && lat > t.lat - tolerance &&
            lat < t.lat + tolerance) {
            RecordRemoval(&i, 1);
            std::memmove(&thermals[i], &thermals[i + 1],
                         sizeof(Thermal) * static_cast<size_t>(thermalCount - 1 - i));
            --thermalCount;
            thermals[thermalCount] = Thermal{};
            NoteRemovalFromTable(i);
            return true;
        }
    }
    return false;
}
