// File-name helpers of the project commands.
#include "shell/FileNames.h"

#include <cstring>

bool CutExtension(char* target, int targetSize, const char* source) {
    const char* dot = std::strchr(source, '.');
    if (dot == nullptr || targetSize <= 0) return false;
    size_t length = static_cast<size_t>(dot - source);
    if (length > static_cast<size_t>(targetSize - 1)) length = static_cast<size_t>(targetSize - 1);
    std::memmove(target, source, length);
    target[length] = '\0';
    return true;
}
