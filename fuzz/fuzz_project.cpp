// Any file given as a project: read or refused, the table never past its capacity, and what is
// read survives a write and a second read unchanged.
#include <cstdlib>
#include <vector>

#include "FuzzFiles.h"
#include "model/Project.h"
#include "model/ProjectFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ResetProject();
    if (!ReadProject(WriteScratchFile(data, size))) return 0;
    if (thermalCount < 0 || thermalCount > MaxThermals) std::abort();
    for (int i = 0; i < thermalCount; ++i)
        if (thermals[i].cloudOn > 1) std::abort();

    std::vector<Thermal> first(thermals, thermals + thermalCount);
    static const std::string name = ScratchName("-copy.prj");
    const char* const copy = name.c_str();
    if (!WriteProject(copy)) return 0;
    ResetProject();
    if (!ReadProject(copy)) std::abort();
    if (static_cast<size_t>(thermalCount) != first.size()) std::abort();
    for (size_t i = 0; i < first.size(); ++i) {
        const Thermal& a = first[i];
        const Thermal& b = thermals[i];
        if (a.lat != b.lat || a.lon != b.lon || a.type != b.type || a.bottom != b.bottom || a.top != b.top ||
            a.radius != b.radius || a.windDir != b.windDir || a.factor != b.factor || a.cloudOn != b.cloudOn ||
            a.cloudParam != b.cloudParam || a.cloudCeiling != b.cloudCeiling || a.cloudSize != b.cloudSize ||
            a.cloudType != b.cloudType)
            std::abort();
    }
    return 0;
}
