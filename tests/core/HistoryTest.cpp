// Undo and Redo of the thermal table against a model that keeps whole tables, and the pending
// batch that Clear takes back, through random sequences of every table change, edits included.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "map/Geometry.h"
#include "map/Selection.h"
#include "model/History.h"
#include "model/Project.h"
#include "thermals/Clearing.h"
#include "thermals/Generation.h"
#include "thermals/Manual.h"

namespace {

using Table = std::vector<Thermal>;

Table Current() { return Table(thermals, thermals + thermalCount); }

bool Same(const Table& a, const Table& b) { return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameThermal); }

// What the user expects: every change that alters the table is a step; Undo and Redo walk them;
// a pending batch is the tail a Test appended, shrunk by removals inside it.
struct Model {
    std::vector<Table> states{Table{}};
    size_t at = 0;
    bool pending = false;
    size_t batchStart = 0, batchEnd = 0;

    const Table& table() const { return states[at]; }
    // Each step keeps the records it added or removed, and a replacement its old and new record;
    // the undone steps included.
    size_t Bytes() const {
        size_t records = 0;
        for (size_t i = 1; i < states.size(); ++i) {
            const size_t now = states[i].size(), before = states[i - 1].size();
            records += now == before ? 2 : std::max(now, before) - std::min(now, before);
        }
        return records * sizeof(Thermal);
    }
    void Step(const Table& next) {
        if (Same(next, table())) return;
        states.resize(at + 1);
        states.push_back(next);
        if (states.size() > HistoryMaxSteps + 1) states.erase(states.begin());
        at = states.size() - 1;
    }
};

const GenerationSettings Settings{1500, 3000, 500, 1000, 0, 4, {1, 2}, 2};

class HistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProject();
        ResetManualSettings();
        ClearHistory();
        KeepBatch();
        latSpan = 200;  // a pick box of one unit: a right click takes exactly the record under it
    }
    void TearDown() override { SetUp(); }
};

TEST_F(HistoryTest, RandomSequencesMatchTheModel) {
    std::mt19937 random(2026);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const char* const names[] = {"place", "remove", "Test", "Clear", "Add", "Clear partly", "Clear all", "Undo", "Undo", "Redo", "edit"};
    for (int sequence = 0; sequence < 3000; ++sequence) {
        SetUp();
        Model model;
        // Every fiftieth walk first places 150 thermals: it passes the step limit, and the oldest go.
        const bool longWalk = sequence % 50 == 0;
        for (int op = 0; op < (longWalk ? 260 : 40); ++op) {
            const int what = longWalk && op < 150 ? 0 : pick(11);
            const std::string name = names[what];
            const Table before = Current();
            const uint32_t edits = tableEdits, changes = tableChanges;
            if (what == 0 && thermalCount < 200) {
                pointerLat = 5200000 + pick(40000);
                pointerLon = 500000 + pick(30000);
                AddManualThermal();
                model.Step(Current());
                model.pending = false;
            } else if (what == 1 && thermalCount > 0) {
                const Thermal& at = thermals[pick(thermalCount)];
                pointerLat = at.lat, pointerLon = at.lon;
                size_t first = 0;  // the first record in table order at that place goes
                while (before[first].lat != pointerLat || before[first].lon != pointerLon) ++first;
                DeleteThermalAt();
                Table next = before;
                next.erase(next.begin() + static_cast<std::ptrdiff_t>(first));
                model.Step(next);
                if (model.pending && first < model.batchStart) --model.batchStart, --model.batchEnd;
                else if (model.pending && first < model.batchEnd) --model.batchEnd;
            } else if (what == 2 && thermalCount < 200) {
                const int rows = pick(3), cols = pick(4);
                GenerationArea area{5200000 + rows * 4496 + 2000, 5200000, 500000,
                                    500000 + cols * 7303 + 3000, 5200000};
                const int made = GenerateBatch(Settings, area, random(), nullptr, nullptr, nullptr);
                ASSERT_EQ(thermalCount, static_cast<int32_t>(before.size()) + made);
                model.Step(Current());
                model.pending = true;
                model.batchStart = before.size();
                model.batchEnd = before.size() + static_cast<size_t>(made);
            } else if (what == 3) {
                DiscardThermals(batchStart, batchEnd);
                if (model.pending) {
                    Table next = before;
                    next.resize(model.batchStart);
                    model.Step(next);
                }
                model.pending = false;
            } else if (what == 4) {
                // Only a batch still pending with thermals in it is a change worth saving.
                EXPECT_EQ(KeepBatch(), model.pending && model.batchStart < model.batchEnd) << sequence;
                model.pending = false;
            } else if (what == 5) {
                // Half the time one edge runs through a thermal, the other three clear of it: it stays.
                if (thermalCount > 0 && pick(2)) {
                    const Thermal& on = thermals[pick(thermalCount)];
                    const int edge = pick(4);
                    selSouth = on.lat - (edge == 0 ? 0 : 1 + pick(20000));
                    selNorth = on.lat + (edge == 1 ? 0 : 1 + pick(20000));
                    selWest = on.lon - (edge == 2 ? 0 : 1 + pick(20000));
                    selEast = on.lon + (edge == 3 ? 0 : 1 + pick(20000));
                } else {
                    selSouth = 5200000 + pick(40000);
                    selNorth = selSouth + pick(20000);
                    selWest = 500000 + pick(30000);
                    selEast = selWest + pick(20000);
                }
                Table next;
                for (const Thermal& t : before)
                    if (!(selSouth < t.lat && t.lat < selNorth && selWest < t.lon && t.lon < selEast)) next.push_back(t);
                ClearThermalsInSelection();
                model.Step(next);
                model.pending = false;
            } else if (what == 6 && pick(4) == 0) {
                ClearAllRecords();
                model.Step(Table{});
                model.pending = false;
            } else if (what == 7 || what == 8) {
                // With nothing to take back, nothing happens: a pending batch stays pending.
                EXPECT_EQ(UndoStep(), model.at > 0) << sequence;
                if (model.at > 0) --model.at, model.pending = false;
            } else if (what == 9) {
                EXPECT_EQ(RedoStep(), model.at + 1 < model.states.size()) << sequence;
                if (model.at + 1 < model.states.size()) ++model.at, model.pending = false;
            } else if (what == 10 && thermalCount > 0) {
                const int32_t i = pick(thermalCount);  // moved and given new values at once
                Thermal record = thermals[i];
                record.lat += 1 + pick(100), record.top = pick(3000), record.cloudOn ^= 1;
                ASSERT_TRUE(ReplaceThermal(i, record));
                Table next = before;
                next[static_cast<size_t>(i)] = record;
                model.Step(next);
                model.pending = false;
            }
            ASSERT_TRUE(Same(Current(), model.table())) << "sequence " << sequence << ", after " << name;
            ASSERT_EQ(HistorySteps(), model.states.size() - 1) << sequence << " " << name;
            ASSERT_EQ(HistoryBytes(), model.Bytes()) << sequence << " " << name;
            // Every change is counted, or the kept map picture could miss it; a Test's batch keeps
            // the edit count, as Clear tells by it that the batch is still pending.
            if (!Same(before, Current())) {
                ASSERT_NE(tableChanges, changes) << sequence << " " << name;
                if (name != "Test") { ASSERT_NE(tableEdits, edits) << sequence << " " << name; }
            }
        }
    }
}

TEST_F(HistoryTest, UndoOfClearAllGivesBackAFullTableAndMemoryStaysBounded) {
    Table full;
    for (int32_t i = 0; i < MaxThermals; ++i)
        full.push_back(Thermal{i, -i, 1 + i % 4, 0, 1500, 500, i % 360, 0, 1, 0, 2000, 1000, 1 + i % 20});
    auto fill = [&](int32_t count) {  // count records appended as one step
        std::copy(full.begin(), full.begin() + count, thermals);
        thermalCount = count;
        RecordAppend(0);
    };
    // A thousand steps, every fourth pair a whole table, the last one too: the oldest go by bytes
    // (by count: the random walks), and the newest Clear all still comes back whole.
    size_t most = 0;
    for (int pair = 0; pair < 500; ++pair) {
        fill(pair % 4 == 3 ? MaxThermals : 1000);
        ClearAllRecords();
        ASSERT_LE(HistoryBytes(), HistoryMaxBytes);
        most = std::max(most, HistoryBytes());
    }
    EXPECT_GT(most, HistoryMaxBytes - 2 * MaxThermals * sizeof(Thermal));  // the byte bound was reached
    ASSERT_TRUE(UndoStep());
    EXPECT_TRUE(Same(Current(), full));
    ASSERT_TRUE(UndoStep());
    EXPECT_EQ(thermalCount, 0);
    thermalCount = 7;  // another size, as a project read since leaves it: neither step touches it
    EXPECT_FALSE(UndoStep() || RedoStep());
    EXPECT_EQ(thermalCount, 7);
}

}  // namespace
