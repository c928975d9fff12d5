#include "map/ThermalGrid.h"

#include <algorithm>
#include <cmath>

namespace {

// Cells per axis at most; a small table gets fewer, about four thermals a cell.
constexpr int64_t LargestSide = 64;
// Covers the rounding of the paint's own estimate, which adds the origin in doubles.
constexpr double Slack = 2.0;

}  // namespace

void ThermalGrid::Build(const Thermal* table, int count, int (*fillOf)(const Thermal&)) {
    cells.clear();
    members.clear();
    fillAfter.assign(static_cast<size_t>(count > 0 ? count : 0), -1);
    total = count > 0 ? count : 0;
    if (total == 0) return;
    int fill = -1;
    std::vector<int32_t> lats(static_cast<size_t>(total)), lons(static_cast<size_t>(total));
    for (int i = 0; i < total; ++i) {
        const Thermal& t = table[i];
        const int own = fillOf(t);
        if (own >= 0) fill = own;
        fillAfter[static_cast<size_t>(i)] = static_cast<signed char>(fill);
        lats[static_cast<size_t>(i)] = t.lat, lons[static_cast<size_t>(i)] = t.lon;
    }
    // The cells span the middle 98% of the positions; a stray thermal far off (a typing slip in
    // a hand-made file) goes into an edge cell instead of squeezing all others into one.
    const size_t low = static_cast<size_t>(total) / 100, high = static_cast<size_t>(total) - 1 - low;
    auto rank = [](std::vector<int32_t>& values, size_t k) {
        std::nth_element(values.begin(), values.begin() + static_cast<ptrdiff_t>(k), values.end());
        return int64_t{values[k]};
    };
    const int64_t latLow = rank(lats, low), latHigh = rank(lats, high);
    const int64_t lonLow = rank(lons, low), lonHigh = rank(lons, high);
    int64_t side = 1;
    while (side < LargestSide && side * side * 4 < total) side *= 2;
    auto place = [side](int64_t v, int64_t lowest, int64_t highest) {
        const int64_t k = (v - lowest) * side / (highest - lowest + 1);
        return k < 0 ? 0 : k >= side ? side - 1 : k;
    };
    auto cellOf = [&](const Thermal& t) {
        return static_cast<size_t>(place(t.lat, latLow, latHigh) * side + place(t.lon, lonLow, lonHigh));
    };
    // Counted first, so that each cell's thermals lie together, in table order.
    std::vector<Cell> grid(static_cast<size_t>(side * side));
    for (int i = 0; i < total; ++i) ++grid[cellOf(table[i])].count;
    int next = 0;
    for (Cell& cell : grid) {
        cell.first = next;
        next += cell.count;
        cell.count = 0;
    }
    members.resize(static_cast<size_t>(total));
    for (int i = 0; i < total; ++i) {
        const Thermal& t = table[i];
        Cell& cell = grid[cellOf(t)];
        if (cell.count == 0) {
            cell.latMin = cell.latMax = t.lat, cell.lonMin = cell.lonMax = t.lon;
            cell.radiusMin = cell.radiusMax = t.radius;
        }
        members[static_cast<size_t>(cell.first + cell.count++)] = i;
        cell.latMin = std::min(cell.latMin, t.lat), cell.latMax = std::max(cell.latMax, t.lat);
        cell.lonMin = std::min(cell.lonMin, t.lon), cell.lonMax = std::max(cell.lonMax, t.lon);
        cell.radiusMin = std::min(cell.radiusMin, t.radius), cell.radiusMax = std::max(cell.radiusMax, t.radius);
        cell.wind = cell.wind || t.type != 4;
    }
    for (const Cell& cell : grid)
        if (cell.count > 0) cells.push_back(cell);
}

bool ThermalGrid::Pick(const GridView& v, double left, double top, double right, double bottom,
                       std::vector<int>& picked) const {
    picked.clear();
    for (const Cell& cell : cells) {
        // The cell's centres span these window pixels; every radius lies between those of its
        // smallest and largest thermal, whichever way the scale runs.
        const double xa = (static_cast<double>(cell.lonMin) - v.areaLeft) * v.toX + v.originX;
        const double xb = (static_cast<double>(cell.lonMax) - v.areaLeft) * v.toX + v.originX;
        const double ya = (v.areaTop - static_cast<double>(cell.latMax)) * v.toY + v.originY;
        const double yb = (v.areaTop - static_cast<double>(cell.latMin)) * v.toY + v.originY;
        const double radius = std::fmax(std::fmax(cell.radiusMax * v.toY, cell.radiusMin * v.toY), v.minRadius);
        const double reach = (cell.wind ? radius * std::fmax(v.windReach, 1.0) : radius) + v.margin + Slack;
        // A scale past the doubles' range leaves the cell to the paint's own estimate.
        const bool finite = std::isfinite(xa) && std::isfinite(xb) && std::isfinite(ya) && std::isfinite(yb) &&
                            std::isfinite(reach);
        if (finite && (std::max(xa, xb) + reach < left || std::min(xa, xb) - reach > right ||
                       std::max(ya, yb) + reach < top || std::min(ya, yb) - reach > bottom))
            continue;
        picked.insert(picked.end(), members.begin() + cell.first, members.begin() + cell.first + cell.count);
        if (picked.size() * 2 > static_cast<size_t>(total)) return false;
    }
    std::sort(picked.begin(), picked.end());
    return true;
}
