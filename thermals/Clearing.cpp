// Clearing thermals inside the selection, or all of them.
#include "thermals/Clearing.h"

#include <cstring>

#include "map/Selection.h"
#include "model/Project.h"

bool ClearThermalsInSelection() {
    int32_t kept = 0;
    for (int32_t i = 0; i < thermalCount; ++i) {
        const Thermal& t = thermals[i];
        bool inside = selSouth < t.lat && t.lat < selNorth && selWest < t.lon && t.lon < selEast;
        if (inside) continue;
        if (kept != i) thermals[kept] = t;
        ++kept;
    }
    for (int32_t i = kept; i < thermalCount; ++i) thermals[i] = Thermal{};
    thermalCount = kept;
    ResetSelection();
    NoteTableEdit();
    return true;
}

void ClearAllRecords() {
    if (thermalCount > 0) {
        std::memset(thermals, 0, sizeof(Thermal) * static_cast<size_t>(thermalCount));
    }
    thermalCount = 0;
    NoteTableEdit();
}
