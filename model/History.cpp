// Undo and Redo of the changes of the thermal table: each step keeps the records it added,
// removed or changed with their places, so the table can be put back record for record in either
// direction.
#include "model/History.h"

#include <cstring>
#include <deque>
#include <vector>

#include "model/Project.h"

namespace {

enum class Kind { Append, Remove, Replace };

struct Step {
    Kind kind;
    int32_t countBefore;          // the table's size before the step
    std::vector<int32_t> places;  // removal: the indices the records had, ascending; replace: its one
    std::vector<Thermal> records; // replace: the old record, then the new one
};

std::deque<Step> steps;  // oldest first
size_t done = 0;         // steps[0..done) are in the table; the rest can be redone
size_t keptRecords = 0;

size_t KeptRecords(const Step& step) { return step.records.size(); }

void Push(Step&& step) {
    while (steps.size() > done) {  // a new step drops what could have been redone
        keptRecords -= KeptRecords(steps.back());
        steps.pop_back();
    }
    keptRecords += KeptRecords(step);
    steps.push_back(std::move(step));
    done = steps.size();
    while (steps.size() > HistoryMaxSteps ||
           (steps.size() > 1 && keptRecords * sizeof(Thermal) > HistoryMaxBytes)) {
        keptRecords -= KeptRecords(steps.front());
        steps.pop_front();
        --done;
    }
}

void Truncate(int32_t count) {
    for (int32_t i = count; i < thermalCount; ++i) thermals[i] = Thermal{};
    thermalCount = count;
}

void Append(const Step& step) {
    std::memcpy(&thermals[thermalCount], step.records.data(), step.records.size() * sizeof(Thermal));
    thermalCount += static_cast<int32_t>(step.records.size());
}

// Takes the records at the step's places out, keeping the others in order.
void Remove(const Step& step) {
    int32_t kept = 0;
    size_t next = 0;
    for (int32_t i = 0; i < thermalCount; ++i) {
        if (next < step.places.size() && step.places[next] == i) {
            ++next;
            continue;
        }
        thermals[kept++] = thermals[i];
    }
    Truncate(kept);
}

// Puts the removed records back at their places, the others around them in order.
void Reinsert(const Step& step) {
    int32_t total = thermalCount + static_cast<int32_t>(step.records.size());
    int32_t source = thermalCount - 1;
    size_t next = step.places.size();
    for (int32_t i = total - 1; i >= 0; --i) {
        if (next > 0 && step.places[next - 1] == i) {
            thermals[i] = step.records[--next];
        } else {
            thermals[i] = thermals[source--];
        }
    }
    thermalCount = total;
}

int32_t CountAfter(const Step& step) {
    int32_t changed = static_cast<int32_t>(step.records.size());
    switch (step.kind) {
    case Kind::Append: return step.countBefore + changed;
    case Kind::Remove: return step.countBefore - changed;
    default: return step.countBefore;
    }
}

}  // namespace

void RecordAppend(int32_t first) {
    if (first < 0 || first >= thermalCount) return;
    Step step{Kind::Append, first, {}, std::vector<Thermal>(&thermals[first], &thermals[thermalCount])};
    Push(std::move(step));
}

void RecordRemoval(const int32_t* indices, int32_t count) {
    if (count <= 0) return;
    Step step{Kind::Remove, thermalCount, std::vector<int32_t>(indices, indices + count), {}};
    step.records.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) step.records.push_back(thermals[indices[i]]);
    Push(std::move(step));
}

void RecordRemovalRange(int32_t from, int32_t to) {
    if (from < 0 || to > thermalCount || from >= to) return;
    std::vector<int32_t> places;
    places.reserve(static_cast<size_t>(to - from));
    for (int32_t i = from; i < to; ++i) places.push_back(i);
    RecordRemoval(places.data(), static_cast<int32_t>(places.size()));
}

void RecordReplace(int32_t index, const Thermal& after) {
    if (index < 0 || index >= thermalCount) return;
    Push(Step{Kind::Replace, thermalCount, {index}, {thermals[index], after}});
}

bool UndoStep() {
    if (done == 0) return false;
    const Step& step = steps[done - 1];
    // A table that no longer has the size the step left (a project read since) is not touched.
    if (thermalCount != CountAfter(step)) return false;
    if (step.kind == Kind::Append)
        Truncate(step.countBefore);
    else if (step.kind == Kind::Remove)
        Reinsert(step);
    else
        thermals[step.places[0]] = step.records[0];
    --done;
    NoteTableEdit();
    return true;
}

bool RedoStep() {
    if (done == steps.size()) return false;
    const Step& step = steps[done];
    if (thermalCount != step.countBefore) return false;
    if (step.kind == Kind::Append)
        Append(step);
    else if (step.kind == Kind::Remove)
        Remove(step);
    else
        thermals[step.places[0]] = step.records[1];
    ++done;
    NoteTableEdit();
    return true;
}

void ClearHistory() {
    steps.clear();
    done = 0;
    keptRecords = 0;
}

bool CanUndo() { return done > 0 && thermalCount == CountAfter(steps[done - 1]); }
bool CanRedo() { return done < steps.size() && thermalCount == steps[done].countBefore; }

size_t HistoryBytes() { return keptRecords * sizeof(Thermal); }
size_t HistorySteps() { return steps.size(); }
