// World files: six numbers beside a picture that say where it lies. A, the width of a pixel; D and
// B, rotation terms; E, the height of a pixel (negative when north is up); C and F, x and y of the
// centre of the upper-left pixel. For a picture in geographic coordinates x is the longitude and y
// the latitude, in degrees.
#pragma once

#include <cstdint>

// The longest line read, after its leading blanks; a longer one is not a number.
constexpr int WorldLineLimit = 256;

enum WorldFileResult {
    WorldFileOk = 0,
    WorldFileNotSixNumbers = 1,
    WorldFileRotated = 2,
    WorldFileMirrored = 3,
    WorldFileNotDegrees = 4,  // an edge beyond 90 degrees of latitude or 180 of longitude
};

// The picture's edges in thousandths of a minute, north and east positive.
struct WorldEdges {
    int32_t top = 0, bottom = 0, left = 0, right = 0;
};

// The world file beside a picture: its path with the extension replaced by .bpw, .bmpw, then
// .wld, the first that opens. False when none does (or a name would not fit target). *title
// points at the name without folder inside target.
bool FindWorldFile(const char* picturePath, char* target, int targetSize, const char** title);

// Reads a world file and places a picture of width x height pixels with it: each edge rounded to
// thousandths of a minute, half away from zero. edges is written only on WorldFileOk.
int ReadWorldFile(const char* fileName, int32_t width, int32_t height, WorldEdges* edges);

// Why a world file cannot be used, for results other than WorldFileOk.
const char* WorldFileReason(int result);

// An edge as a bound text (DD:MM.mmmH, DDD:MM.mmmH); 0 is north or east.
void EdgeToText(char* target, int targetSize, int32_t thousandths, bool isLatitude);

// Fills the four Setup rows with the edges and clears the markers, so that the edges become those
// of the whole picture at the next OK.
void FillRowsFromEdges(const WorldEdges& edges);
