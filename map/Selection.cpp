// The selection rectangle and its geographic bounds.
#include "map/Selection.h"

#include <cstdio>

#include "map/Geometry.h"
#include "model/Project.h"

int selStartX, selStartY, selEndX, selEndY;
uint8_t areaSelected;
int32_t selNorth, selSouth, selWest, selEast, selCentreLat, selCentreLon;

void ResetSelection() {
    selStartX = 0;
    selStartY = 0;
    selEndX = 0;
    selEndY = 0;
}

void ComputeSelectionBounds() {
    int32_t latA = RowToLat(selStartY);
    int32_t latB = RowToLat(selEndY);
    int32_t lonA = ColumnToLon(selStartX);
    int32_t lonB = ColumnToLon(selEndX);
    selNorth = latA > latB ? latA : latB;
    selSouth = latA > latB ? latB : latA;
    selWest = lonA < lonB ? lonA : lonB;
    selEast = lonA < lonB ? lonB : lonA;
    // Half the span, truncated toward zero; in 64 bits, as the span of two saturated corners
    // does not fit 32.
    selCentreLat = static_cast<int32_t>(selSouth + (static_cast<int64_t>(selNorth) - selSouth) / 2);
    selCentreLon = static_cast<int32_t>(selWest + (static_cast<int64_t>(selEast) - selWest) / 2);

    RectangleExtent extent = RectangleSize(selNorth, selSouth, selWest, selEast);
    std::snprintf(statusText[1], StatusTextSize, " hor:%7.1f km - ver.:%7.1f km - area:%9.1f sq.km",
                  extent.horizontal, extent.vertical, extent.area);
}
