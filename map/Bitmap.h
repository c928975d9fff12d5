// The backdrop bitmap: an uncompressed BMP of 1, 4, 8, 24 or 32 bits per pixel, held top row first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Backdrop {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitCount = 0;
    std::vector<uint8_t> pixels;   // height * rowSize bytes, top row first
    uint8_t* palette = nullptr;    // colour table inside info; null at 24 and 32 bits per pixel
    int32_t rowSize = 0;
    std::vector<uint8_t> info;     // 40-byte header (height negated) and the colour table
};

extern Backdrop backdrop;
// Advances with every successful load, so that what was made from one picture is never taken
// for another's.
extern uint32_t backdropLoadCount;

enum LoadResult {
    LoadOk = 0,
    LoadCannotOpen = 1,  // cannot be opened or read
    LoadNotBitmap = 2,
    LoadUnreadable = 3,  // a depth this reader does not take, impossible sizes or masks
    LoadCutShort = 4,    // ends before what its headers announce
    LoadCompressed = 5,
    LoadTooLarge = 6,    // over the reader's bound, or its pixel buffer could not be had
};

// Reads the file into backdrop and sets backdropWidth, backdropHeight and backdropLoaded.
// On any result but LoadOk the previous picture and sizes stay as they were.
int LoadBackdrop(const char* fileName);

// A picture kept as brightness only, 0 to 255, rows top row first.
struct Brightness {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> values;  // width * height
};

// Reads any file LoadBackdrop takes as the brightness (299 R + 587 G + 114 B + 500) / 1000 of
// each pixel, reduced by the whole factor ceil(longer side / longestSide) to the rounded mean of
// each block (the blocks at the east and south edges may be smaller), row by row without holding
// the picture. Answers LoadBackdrop's results; into changes only on LoadOk.
int LoadBrightness(const char* fileName, int32_t longestSide, Brightness& into);

// "Could not load the WHAT NAME: REASON." with the reasons below.
std::string BitmapFailureText(const char* what, const char* name, int result);
// "Could not load the backdrop NAME: REASON." for a load that answered result, the name shortened
// for a box; a picture refused as too large is named by the size of the last load's header.
std::string BackdropFailureText(const char* name, int result);

// Bytes per row of a device-independent bitmap; -1 when the arithmetic would overflow.
int64_t BitmapRowSize(int64_t width, int64_t bitCount);
