// The benchmark's inputs, made in a scratch folder: a full thermal table over a fixed area, its
// project file, and backdrops of two sizes at 8 and 24 bits per pixel (and the largest, for its
// memory figure only).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BenchBackdrop {
    const char* name;
    int side;      // square, side x side pixels
    int bitCount;  // 8 or 24
};

constexpr int BenchBackdropCount = 4;
extern const BenchBackdrop benchBackdrops[BenchBackdropCount];
// The backdrop that the project names and the map paints: 8192 x 8192 at 24 bits per pixel.
extern const BenchBackdrop& benchMainBackdrop;
// The largest backdrop a 32-bit program takes, 16384 x 16384 at 24 bits; made only for its
// memory figure.
extern const BenchBackdrop benchLargestBackdrop;

// Area of the bench project: 47 to 56 degrees north, 2 to 16.44 degrees east.
extern const char* const benchBoundTexts[4];  // top, bottom, left, right

// A fresh folder under the temporary folder; empty when it cannot be made.
std::string MakeScratchFolder();
// Deletes the files of the folder and the folder.
void RemoveScratchFolder(const std::string& folder);

// Puts MaxThermals thermals spread over the bench area into the thermal table, with the backdrop
// name and the bound texts: three quarters as Automatic makes them (type 4), a quarter as placed
// by hand (types 1 to 3, with wind lines). The same table on every run.
void FillBenchTable(const char* backdropFileName);

// An uncompressed BMP, stored bottom row first as most painting programs save it.
bool WriteBenchBitmap(const std::string& path, int side, int bitCount);

int64_t BenchPixelBytes(const BenchBackdrop& backdrop);
