// The readers under test take file names: each input is written to a scratch file first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A scratch file name of this process's own, ending in suffix.
std::string ScratchName(const char* suffix);

// Writes the bytes to this process's scratch file (its name ending in suffix) and returns its name.
const char* WriteScratchFile(const uint8_t* data, size_t size, const char* suffix = "");

// Any file given as a waypoint file of the reader that suffix chooses (".cup", ".gpx", ".kml"):
// read without a fault, the table never past its capacity, only new positions inside the area
// appended, and a second import adding nothing. An input starting with '!' meets a table with room
// for two more thermals.
int FuzzHotspotImport(const uint8_t* data, size_t size, const char* suffix);
