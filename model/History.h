// Undo and Redo of the changes of the thermal table. A step keeps only the records it added or
// removed and where they stood, never a copy of the whole table.
#pragma once

#include <cstdint>

// Records the thermals appended from index first to the table's end as one step (a click, a
// Test batch, an import). Nothing is recorded when nothing was appended.
void RecordAppend(int32_t first);
// Records the removal of the thermals at the given indices, ascending, as one step. Call it
// before the records are removed.
void RecordRemoval(const int32_t* indices, int32_t count);
// Puts the table back as it was before the newest step, or puts the next undone step back.
// False, changing nothing, when there is no such step.
bool UndoStep();
bool RedoStep();
// Forgets every step (New, Open).
void ClearHistory();
