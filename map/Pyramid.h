// Reduced copies of the backdrop, each half the size of the one before, for drawing it below
// zoom 1 from a picture about the size of what the screen shows.
#pragma once

#include <cstdint>
#include <vector>

#include "map/Bitmap.h"

// One reduced copy: 24 bits per pixel (blue, green, red), rows padded to 4 bytes, top row first.
struct PyramidLevel {
    int32_t width = 0;
    int32_t height = 0;
    int32_t rowSize = 0;
    int halvings = 0;  // how many times the picture was halved to make it
    std::vector<uint8_t> pixels;
};

struct Pyramid {
    uint32_t loadCount = 0;         // the backdrop load it was made from
    const uint8_t* source = nullptr;
    int32_t width = 0, height = 0;  // the picture's size
    std::vector<PyramidLevel> levels;  // largest first; levels over the memory bound are missing
};

extern Pyramid pyramid;

// The size of a picture halved once: an odd last row or column makes a pixel of its own.
inline int32_t HalfSize(int32_t size) { return size / 2 + size % 2; }

// The copies together take at most this share of the picture's pixel bytes. A quarter rather
// than a third: the half-size copy of a 24-bit picture alone is a quarter of it, and with it
// the program would pass its memory budget of 1.2 times the picture plus 64 MB; zooms from 0.5
// to 1 then stretch the visible part of the picture itself.
constexpr int PyramidShare = 4;

// Makes the reduced copies of picture, halving until a copy fits inside fitWidth x fitHeight
// (that copy included). Each pixel is the rounded average of the 2 x 2 pixels it replaces (of
// those that exist at an odd edge). Copies that would pass the share are left out, the largest
// first. They are made a few rows at a time, so that no second full-size copy is ever held.
// False when there is nothing to reduce or no memory.
bool BuildPyramid(const Backdrop& picture, uint32_t loadCount, int32_t fitWidth, int32_t fitHeight,
                  Pyramid& out);

// Whether out was made from this load of picture.
bool PyramidIsOf(const Pyramid& p, const Backdrop& picture, uint32_t loadCount);

// The smallest copy at least width x height; null when only the picture itself is that large.
const PyramidLevel* LevelFor(const Pyramid& p, int64_t width, int64_t height);

// The colour of one pixel of the picture as blue, green, red (colour-table entries resolved).
void PicturePixel(const Backdrop& picture, int32_t x, int32_t y, uint8_t bgr[3]);
