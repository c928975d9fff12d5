// Replacing a file in place, POSIX: rename replaces an existing file in one step.
#include "model/SafeFile.h"

#include <cstdio>

bool ReplaceFileWith(const char* tempPath, const char* targetPath) {
    return std::rename(tempPath, targetPath) == 0;
}
