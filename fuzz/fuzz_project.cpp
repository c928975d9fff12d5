// Any file given as a project: read or refused, the table never past its capacity, and what is
// read survives a write and a second read unchanged.
#include <cstdlib>
#include <cstring>
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
    static const char* const copy = "/tmp/ascendor-fuzz-copy.prj";
    if (!WriteProject(copy)) return 0;
    ResetProject();
    if (!ReadProject(copy)) std::abort();
    if (static_cast<size_t>(thermalCount) != first.size()) std::abort();
    if (!first.empty() && std::memcmp(first.data(), thermals, first.size() * sizeof(Thermal)) != 0) std::abort();
    return 0;
}
