// The selection rectangle dragged on the map, shared by automatic generation and clearing.
#pragma once

#include <cstdint>

extern int selStartX, selStartY, selEndX, selEndY;  // backdrop pixels
extern uint8_t areaSelected;
extern int32_t selNorth, selSouth, selWest, selEast, selCentreLat, selCentreLon;

void ResetSelection();

// The geographic bounds, centre and status part 1 of the rectangle as it stands (the drawing
// has found its corners on different window pixels).
void ComputeSelectionBounds();
