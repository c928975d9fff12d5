// File-name helpers, portable: a project name cut from a file title, names shortened for boxes.
#include "model/FileNames.h"

#include <cstring>

bool CutExtension(char* target, int targetSize, const char* source) {
    const char* dot = std::strrchr(source, '.');
    if (dot == nullptr || targetSize <= 0) return false;
    size_t length = static_cast<size_t>(dot - source);
    if (length > static_cast<size_t>(targetSize - 1)) length = static_cast<size_t>(targetSize - 1);
    std::memmove(target, source, length);
    target[length] = '\0';
    return true;
}

std::string ShortenedName(const std::string& name) {
    if (name.size() <= ShownNameLength) return name;
    const size_t kept = ShownNameLength - 3;
    const size_t head = kept / 2;
    return name.substr(0, head) + "..." + name.substr(name.size() - (kept - head));
}
