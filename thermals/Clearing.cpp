// Clearing thermals inside the selection, or all of them.
#include "thermals/Clearing.h"

#include <cstring>
#include <vector>

#include "map/Selection.h"
#include "model/History.h"
#include "model/Project.h"

namespace {

bool InsideSelection(const Thermal& t) {
    return selSouth < t.lat && t.lat < selNorth && selWest < t.lon && t.lon < selEast;
}

}  // namespace

bool AnyThermalInSelection() {
    for (int32_t i = 0; i < thermalCount; ++i)
        if (InsideSelection(thermals[i])) return true;
    return false;
}

bool ClearThermalsInSelection() {
    std::vector<int32_t> inside;
    for (int32_t i = 0; i < thermalCount; ++i) {
        if (InsideSelection(thermals[i])) inside.push_back(i);
    }
    RecordRemoval(inside.data(), static_cast<int32_t>(inside.size()));
    int32_t kept = 0;
    for (int32_t i = 0; i < thermalCount; ++i) {
        if (InsideSelection(thermals[i])) continue;
        if (kept != i) thermals[kept] = thermals[i];
        ++kept;
    }
    for (int32_t i = kept; i < thermalCount; ++i) thermals[i] = Thermal{};
    thermalCount = kept;
    ResetSelection();
    NoteTableEdit();
    return true;
}

void ClearAllRecords() {
    RecordRemovalRange(0, thermalCount);
    if (thermalCount > 0) {
        std::memset(thermals, 0, sizeof(Thermal) * static_cast<size_t>(thermalCount));
    }
    thermalCount = 0;
    NoteTableEdit();
}
