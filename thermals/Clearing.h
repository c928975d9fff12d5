// Removing the thermals inside the selection, and all of them.
#pragma once

// Whether a thermal lies strictly inside the selection's bounds.
bool AnyThermalInSelection();

// Removes every thermal strictly inside the selection's bounds, keeps the others in order,
// then resets the selection. Always true.
bool ClearThermalsInSelection();

// The table part of Clear all: zeroes the used records and empties the table.
void ClearAllRecords();
