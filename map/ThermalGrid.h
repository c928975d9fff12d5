// The thermal table filed by position: a grid over the thermals' centres in numeric coordinates,
// each cell holding its thermals in table order with the extremes of their positions and radii.
// A paint asks it which thermals can reach a rectangle of the window, so that the others are
// skipped before any work, and in what fill each picked thermal of unknown type is drawn. It is
// made for one state of the table and holds at every zoom and scroll position.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/Project.h"

// How the paint places a thermal in window pixels, and how far one can reach from its centre:
// x = (lon - areaLeft) * toX + originX, y = (areaTop - lat) * toY + originY, its radius
// max(radius * toY, minRadius), times windReach when it has a wind line (type other than 4), plus
// margin.
struct GridView {
    double areaLeft, areaTop, toX, toY, originX, originY, minRadius, windReach, margin;
};

class ThermalGrid {
public:
    // Files table[0..count); fillOf gives the fill a thermal is drawn in, negative for a type
    // that takes the fill of the thermal before it.
    void Build(const Thermal* table, int count, int (*fillOf)(const Thermal&));
    // The thermals, in table order, of every cell that can reach the clip rectangle (right and
    // bottom included), a superset of those whose own estimate reaches it. False when they are
    // so many that going through the whole table costs less; picked is then incomplete.
    bool Pick(const GridView& view, double left, double top, double right, double bottom,
              std::vector<int>& picked) const;
    // The fill in effect when thermal i is drawn, before its own: that of the nearest thermal
    // before it with a fill of its own, negative when there is none.
    int FillBefore(int i) const { return i > 0 ? fillAfter[static_cast<size_t>(i) - 1] : -1; }

private:
    struct Cell {
        int first = 0, count = 0;  // its thermals' places in members
        int32_t latMin = 0, latMax = 0, lonMin = 0, lonMax = 0;
        int32_t radiusMin = 0, radiusMax = 0;
        bool wind = false;
    };
    std::vector<Cell> cells;  // the cells that hold a thermal
    std::vector<int> members;
    std::vector<signed char> fillAfter;
    int total = 0;
};
