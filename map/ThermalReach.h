// Where a thermal can draw on the map, kept relative to the map origin so that it holds for every
// scroll position at one zoom: a strip of a moved view picks its thermals from these boxes
// without reading the table.
#pragma once

#include <cstdint>

struct ReachBox {
    int32_t left, top, right, bottom;
};

// The whole pixels around a centre (x, y) and a reach, both in window pixels relative to the map
// origin, widened so that a test against the box never drops a thermal whose exact position and
// reach meet the clip. A position or reach that is no number reaches everywhere.
ReachBox ReachAround(double x, double y, double reach);

// Whether the box, with the map origin at (originX, originY), can meet the clip rectangle.
inline bool ReachMeets(const ReachBox& box, int64_t originX, int64_t originY, int64_t left, int64_t top, int64_t right,
                       int64_t bottom) {
    return box.right + originX >= left && box.left + originX <= right && box.bottom + originY >= top &&
           box.top + originY <= bottom;
}
