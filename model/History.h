// Undo and Redo of the changes of the thermal table. A step keeps only the records it added,
// removed or changed and where they stood, never a copy of the whole table.
#pragma once

#include <cstddef>
#include <cstdint>

struct Thermal;

// The history keeps the newest steps up to these bounds; the oldest go first.
constexpr size_t HistoryMaxSteps = 100;
constexpr size_t HistoryMaxBytes = size_t{32} * 1024 * 1024;

// Records the thermals appended from index first to the table's end as one step (a click, a
// Test batch, an import). Nothing is recorded when nothing was appended.
void RecordAppend(int32_t first);
// Records the removal of the thermals at the given indices, ascending, as one step. Call it
// before the records are removed.
void RecordRemoval(const int32_t* indices, int32_t count);
// The same for the records from index from up to, not including, index to.
void RecordRemovalRange(int32_t from, int32_t to);
// Records the change of the record at index into after as one step, the old record kept beside
// the new. Call it before the record is changed.
void RecordReplace(int32_t index, const Thermal& after);
// Puts the table back as it was before the newest step, or puts the next undone step back.
// False, changing nothing, when there is no such step, or when the table no longer has the size
// that step expects. A step taken back or put back counts as a change of the table.
bool UndoStep();
bool RedoStep();
// Whether UndoStep and RedoStep would change the table now.
bool CanUndo();
bool CanRedo();
// Forgets every step (New, Open).
void ClearHistory();
// What the history holds: the bytes of its kept records, and its steps.
size_t HistoryBytes();
size_t HistorySteps();
