// Scratch files for the fuzz targets.
#include "FuzzFiles.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

std::string ScratchName(const char* suffix) {
    // In the run's own folder when it gives one, so that runs side by side never share a file.
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder && *folder ? folder : "/tmp") + "/ascendor-fuzz-" + std::to_string(getpid()) + suffix;
}

const char* WriteScratchFile(const uint8_t* data, size_t size) {
    static const std::string name = ScratchName("");
    FILE* file = std::fopen(name.c_str(), "wb");
    if (file != nullptr) {
        if (size > 0) std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return name.c_str();
}
