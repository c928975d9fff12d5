// Automatic generation: a grid over the selected rectangle, one random thermal per cell.
#pragma once

#include <cstdint>
#include <string>

#include "map/Bitmap.h"

extern const uint8_t cloudCoverPattern[9][8];

// The random source: s = s * 214013 + 2531011 (mod 2^32), draw = bits 16 to 30.
class RandomSource {
public:
    explicit RandomSource(uint32_t seed) : state(seed) {}
    int Next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
private:
    uint32_t state;
};

struct GenerationSettings {
    int ceilingMin, ceilingMax;
    int radiusMin, radiusMax;
    int blue;            // eighths of blue sky; above 8 counts as 8, below 0 as 0
    int density;         // thermals per 100 sq.km
    int cloudTypes[20];  // chosen cloud types in box order
    int cloudTypeCount;
    // With a map, a sixth draw after the five of each candidate keeps it with the chance of the
    // map's brightness under it (always where white, never where black or off the backdrop).
    const Brightness* thermalMap = nullptr;
};

struct GenerationArea {
    int32_t north, south, west, east, centreLat;
};

struct GenerationGrid {
    double cellLat, cellLon;
    int rows, cols;
};

GenerationGrid GridFor(const GenerationArea& area, int density);

// Appends one batch at thermalCount, stopping at MaxThermals; calls onAppended after each
// thermal is appended (with its index). Returns the number of thermals made and sets tableFull
// when the batch stopped at the table's capacity.
int GenerateBatch(const GenerationSettings& settings, const GenerationArea& area, uint32_t seed,
                  void (*onAppended)(int index, void* context), void* context, bool* tableFull);

// Stored dialog state of the run.
extern char autoTexts[6][8];
extern uint8_t randomClouds;
extern uint8_t allClouds;
extern int32_t batchStart, batchEnd;
// The thermal map chosen (full path, empty when none) and the boxes "Thermal map" and "Show".
extern std::string thermalMapPath;
extern uint8_t useThermalMap, showThermalMap;

// Marks the table's tail from batchStart to thermalCount as the pending batch of a Test.
void BeginBatch();
void EndBatch();
// Takes the pending batch out again (Clear). True when it removed records; a batch that is no
// longer pending (kept, replaced project, or the table changed since) is left alone.
bool DiscardThermals(int32_t from, int32_t to);
// Keeps the pending batch (Add); true when a pending batch with thermals was kept.
bool KeepBatch();
// A thermal at index was removed by hand: the table changed, and a pending batch shrinks by it
// or moves down by one, so that Clear still takes back exactly what remains of it.
void NoteRemovalFromTable(int32_t index);
// Ends the pending batch without taking it back: Clear then does nothing until the next Test.
void ForgetPendingBatch();
