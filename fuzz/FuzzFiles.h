// The readers under test take file names: each input is written to a scratch file first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A scratch file name of this process's own, ending in suffix.
std::string ScratchName(const char* suffix);

// Writes the bytes to this process's scratch file and returns its name.
const char* WriteScratchFile(const uint8_t* data, size_t size);
