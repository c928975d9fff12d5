// Thermal discs and short wind lines copied from stamps into the pixels of a 32-bit DIB section.
// A stamp holds the pixels that one GDI call (the disc's Ellipse, the wind line's LineTo) paints
// around its centre, so a copy at any place leaves exactly what the call would leave there, at
// the cost of a memory copy instead of a call per disc.
#pragma once

#include <windows.h>

#include <cstdint>

// The pixels a device context draws into, when our own code may write them: a memory device
// context holding a 32-bit DIB section, with the default mapping and no clip region or a
// rectangular one, which our writes keep to as GDI's would.
struct PixelTarget {
    uint32_t* bits = nullptr;
    int stride = 0;  // in pixels, negative for a picture stored bottom row first
    int left = 0, top = 0, right = 0, bottom = 0;  // the part that may be written, right and bottom excluded
};
bool PixelTargetOf(HDC dc, PixelTarget& pixels);

// The header of a top-down 32-bit picture of width x height pixels, as the map's kept picture and
// the stamps' scratch are made, so that our own loops address their rows from the top.
BITMAPINFO TopDownPictureInfo(int width, int height);

// The largest disc radius and the longest wind-line step (in each direction) kept as stamps;
// larger ones are drawn by GDI as before.
constexpr int LargestStampedRadius = 64;
constexpr int LongestStampedLine = 16;

// Copies the disc of radius ri centred at (x, y), black outline, filled with fill: the pixels of
// Ellipse(x - ri, y - ri, x + ri, y + ri) with a 1-pixel black pen and a solid brush of fill.
// False, copying nothing, for a radius outside 0..LargestStampedRadius or when no stamp can be made.
bool CopyDiscStamp(const PixelTarget& pixels, int x, int y, int ri, COLORREF fill);
// Copies the wind line from (x, y) to (x + dx, y + dy): the pixels of MoveToEx and LineTo with the
// 2-pixel black pen. False, copying nothing, for a step longer than LongestStampedLine.
bool CopyLineStamp(const PixelTarget& pixels, int x, int y, int dx, int dy);
