// Scratch files for the fuzz targets.
#include "FuzzFiles.h"

#include <cstdio>
#include <string>
#include <unistd.h>

const char* WriteScratchFile(const uint8_t* data, size_t size) {
    static const std::string name = "/tmp/ascendor-fuzz-" + std::to_string(getpid());
    FILE* file = std::fopen(name.c_str(), "wb");
    if (file != nullptr) {
        if (size > 0) std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return name.c_str();
}
