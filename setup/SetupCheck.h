// The Setup dialog's check of its four bound rows.
#pragma once

#include <cstdint>

// Validates and normalises setupRows (already read from the edits), composes the four bound
// texts from them, and returns the error number, 0 when no rule failed.
int CheckSetupRows();

// The text of error 1..13; empty for any other number.
const char* SetupErrorText(int number);

// The numeric area's edges, kept over a change of the area.
struct AreaEdges {
    int32_t top, bottom, left, right;
};
AreaEdges CurrentAreaEdges();
// The thermals outside the area as it stands (edges included, as the hotspot import counts);
// movedOut tells whether one of them lay inside before.
int ThermalsOutsideArea(const AreaEdges& before, bool* movedOut);
