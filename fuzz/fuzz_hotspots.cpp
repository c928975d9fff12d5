// Any file given as a waypoint file: read line by line without a fault, the table never past its
// capacity, only new positions inside the area appended, and a second import adding nothing.
#include <cstdlib>
#include <set>
#include <utility>

#include "FuzzFiles.h"
#include "model/Project.h"
#include "thermals/Hotspots.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An input starting with '!' meets a table with room for two more thermals.
    const int32_t start = size > 0 && data[0] == '!' ? MaxThermals - 2 : 3;
    for (int32_t i = 0; i < start; ++i)
        thermals[i] = Thermal{i, -i, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    thermalCount = start;
    areaBottom = -9000000, areaTop = 9000000, areaLeft = -18000000, areaRight = 18000000;
    const char* path = WriteScratchFile(data, size);

    HotspotImport first;
    Check(ImportHotspotFile(path, &first));
    Check(first.firstIndex == start && first.imported >= 0 && first.alreadyThere >= 0 &&
          first.outside >= 0 && first.notUnderstood >= 0);
    Check(thermalCount == start + first.imported && thermalCount <= MaxThermals);
    // The table held (i, -i) for i below start; the new ones are inside and all different.
    std::set<std::pair<int32_t, int32_t>> positions;
    for (int32_t i = start; i < thermalCount; ++i) {
        const Thermal& t = thermals[i];
        Check(positions.emplace(t.lat, t.lon).second);
        Check(!(t.lat == -t.lon && t.lat >= 0 && t.lat < start));
        Check(t.lat >= areaBottom && t.lat <= areaTop && t.lon >= areaLeft && t.lon <= areaRight);
    }

    HotspotImport second;
    Check(ImportHotspotFile(path, &second));
    Check(second.imported == 0 && thermalCount == start + first.imported);
    if (!first.tableFull) {
        Check(second.notUnderstood == first.notUnderstood && second.outside == first.outside);
        Check(second.alreadyThere == first.alreadyThere + first.imported);
    }
    return 0;
}
