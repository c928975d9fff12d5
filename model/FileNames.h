// File-name helpers, portable: a project name cut from a file title, names shortened for boxes.
#pragma once

#include <cstddef>
#include <string>

// target (targetSize bytes) becomes source up to its last '.', so that "alps.north.prj" names the
// project "alps.north"; false, target unchanged, when source has no '.'.
bool CutExtension(char* target, int targetSize, const char* source);

// A file name as boxes and menus show it: at most 64 characters, its middle replaced by "..."
// when longer, so that both its drive or folder and its own name stay readable.
constexpr size_t ShownNameLength = 64;
std::string ShortenedName(const std::string& name);
