// Scratch files for the fuzz targets.
#include "FuzzFiles.h"

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <unistd.h>
#include <utility>

#include "model/Project.h"
#include "thermals/Hotspots.h"

std::string ScratchName(const char* suffix) {
    // In the run's own folder when it gives one, so that runs side by side never share a file.
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder && *folder ? folder : "/tmp") + "/ascendor-fuzz-" + std::to_string(getpid()) + suffix;
}

const char* WriteScratchFile(const uint8_t* data, size_t size, const char* suffix) {
    // The readers choose by the name's extension.
    static std::string name;
    name = ScratchName(suffix);
    FILE* file = std::fopen(name.c_str(), "wb");
    if (file != nullptr) {
        if (size > 0) std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return name.c_str();
}

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

int FuzzHotspotImport(const uint8_t* data, size_t size, const char* suffix) {
    // An input starting with '!' meets a table with room for two more thermals.
    const int32_t start = size > 0 && data[0] == '!' ? MaxThermals - 2 : 3;
    for (int32_t i = 0; i < start; ++i)
        thermals[i] = Thermal{i, -i, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    thermalCount = start;
    areaBottom = -9000000, areaTop = 9000000, areaLeft = -18000000, areaRight = 18000000;
    const char* path = WriteScratchFile(data, size, suffix);

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
