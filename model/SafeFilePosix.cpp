// Replacing a file in place, POSIX: rename replaces an existing file in one step.
#include "model/SafeFile.h"

#include <cstdio>
#include <sys/types.h>

int64_t FileSizeOf(std::FILE* file) {
    if (fseeko(file, 0, SEEK_END) != 0) return -1;
    const off_t size = ftello(file);
    if (size < 0 || fseeko(file, 0, SEEK_SET) != 0) return -1;
    return static_cast<int64_t>(size);
}

bool ReplaceFileWith(const char* tempPath, const char* targetPath) {
    return std::rename(tempPath, targetPath) == 0;
}
