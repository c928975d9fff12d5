// Whole-file writes through a temporary file beside the target, put in place only when complete.
#include "model/SafeFile.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

long long writeFaultAfterBytes = -1;

namespace {

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// Writes data, failing on purpose once the test seam's byte budget is spent.
bool WriteAll(std::FILE* file, const char* data, size_t size) {
    while (size > 0) {
        size_t piece = size < 65536 ? size : 65536;
        bool fault = false;
        if (writeFaultAfterBytes >= 0 &&
            static_cast<unsigned long long>(writeFaultAfterBytes) < piece) {
            piece = static_cast<size_t>(writeFaultAfterBytes);
            fault = true;
        }
        size_t written = piece > 0 ? std::fwrite(data, 1, piece, file) : 0;
        if (writeFaultAfterBytes >= 0) writeFaultAfterBytes -= static_cast<long long>(written);
        if (fault || written != piece) return false;
        data += piece;
        size -= piece;
    }
    return true;
}

}  // namespace

bool WriteWholeFile(const char* path, const char* data, size_t size) {
    if (!path || !*path) return false;
    // Only a regular file is replaced: a folder or a device under that name stays as it is.
    struct stat info;
    if (stat(path, &info) == 0 && !S_ISREG(info.st_mode)) return false;

    // A name beside the target, so that the final step is a replacement within one folder.
    std::string tempPath = std::string(path) + ".tmp";
    for (int n = 1; Exists(tempPath); ++n) {
        if (n > 999) return false;
        tempPath = std::string(path) + ".tmp" + std::to_string(n);
    }

    std::FILE* file = std::fopen(tempPath.c_str(), "wb");
    if (!file) return false;
    bool ok = WriteAll(file, data, size);
    ok = std::fflush(file) == 0 && ok;
    ok = !std::ferror(file) && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok) ok = ReplaceFileWith(tempPath.c_str(), path);
    if (!ok) std::remove(tempPath.c_str());
    return ok;
}
