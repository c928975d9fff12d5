// Automatic generation: the grid over the selection, the random draws of each thermal, and the
// pending batch that Clear may take back.
#include "thermals/Generation.h"

#include <cmath>

#include "map/Geometry.h"
#include "map/ThermalMap.h"
#include "model/History.h"
#include "model/Project.h"

// Row b: which thermal of each run of eight carries a cloud when b eighths of the sky are blue.
const uint8_t cloudCoverPattern[9][8] = {
    {1, 1, 1, 1, 1, 1, 1, 1},
    {1, 1, 1, 1, 0, 1, 1, 1},
    {1, 1, 0, 1, 1, 0, 1, 1},
    {1, 0, 1, 0, 1, 1, 0, 1},
    {0, 1, 0, 1, 0, 1, 0, 1},
    {0, 0, 1, 0, 1, 0, 1, 0},
    {0, 0, 1, 0, 0, 0, 1, 0},
    {0, 0, 0, 1, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0},
};

char autoTexts[6][8] = {"1500", "3000", "500", "1000", "0", "4"};
uint8_t randomClouds = 1;
uint8_t allClouds = 0;
int32_t batchStart, batchEnd;
std::string thermalMapPath;
uint8_t useThermalMap, showThermalMap;

namespace {

constexpr double KmPerDegreeOfCell = 111.2;
constexpr double MaxDraw = 32767.0;

// The batch of the latest Test stays pending until Add, and only while the table has not been
// changed otherwise since (tableEdits then still holds the count seen when the batch ended).
bool batchPending = false;
uint32_t batchEdits = 0;

double NextUnit(RandomSource& random) { return random.Next() / MaxDraw; }

// a + (b - a) * u, the difference taken in integers first.
int32_t Between(int a, int b, double u) {
    return TruncToInt32(a + static_cast<double>(static_cast<int64_t>(b) - a) * u);
}

int32_t Twice(int32_t value) {
    int64_t twice = int64_t{2} * value;
    if (twice > INT32_MAX) return INT32_MAX;
    if (twice < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(twice);
}

}  // namespace

GenerationGrid GridFor(const GenerationArea& area, int density) {
    GenerationGrid grid{0.0, 0.0, 0, 0};
    if (density <= 0) return grid;
    double side = 10 / std::sqrt(static_cast<double>(density));  // km holding one thermal
    // The same angle as the kilometre measure of a rectangle takes.
    double phi = DegreesToRadians(area.centreLat / UnitsPerDegree);
    grid.cellLat = side / KmPerDegreeOfCell * UnitsPerDegree;
    grid.cellLon = side / (std::cos(phi) * KmPerDegreeLon) * UnitsPerDegree;
    grid.rows = TruncToInt32((static_cast<int64_t>(area.north) - area.south) / grid.cellLat);
    grid.cols = TruncToInt32((static_cast<int64_t>(area.east) - area.west) / grid.cellLon);
    // A flipped rectangle, or a centre at or beyond a pole, has no cells.
    if (grid.rows < 0) grid.rows = 0;
    if (grid.cols < 0) grid.cols = 0;
    return grid;
}

namespace {

// A cell's candidate with its sixth draw and where the map holds its brightness (null: black).
struct Candidate {
    Thermal t;
    int draw;
    const uint8_t* grey;
};

// Candidates are made some cells ahead of the decision on them: the map's bytes under them are
// fetched meanwhile, instead of one wait for memory after another. The draws do not depend on the
// decisions, so they come in the same order.
constexpr int CandidatesAhead = 64;

}  // namespace

int GenerateBatch(const GenerationSettings& settings, const GenerationArea& area, uint32_t seed,
                  void (*onAppended)(int index, void* context), void* context, bool* tableFull) {
    if (tableFull != nullptr) *tableFull = false;
    GenerationGrid grid = GridFor(area, settings.density);
    int blue = settings.blue < 0 ? 0 : settings.blue > 8 ? 8 : settings.blue;
    int typeCount = settings.cloudTypeCount < 0               ? 0
                    : settings.cloudTypeCount > LastCloudType ? LastCloudType
                                                              : settings.cloudTypeCount;
    RandomSource random(seed);
    const Brightness* map =
        settings.thermalMap != nullptr && !settings.thermalMap->values.empty() ? settings.thermalMap : nullptr;

    BeginBatch();
    int made = 0;
    int column = 0;  // runs on across rows: thermal m of the batch uses column m mod 8
    Candidate ahead[CandidatesAhead];
    int waiting = 0;
    // Appends the waiting candidates that are kept; false when the table is full at one of them.
    auto decide = [&]() {
        for (int k = 0; k < waiting; ++k) {
            Candidate& c = ahead[k];
            if (map != nullptr) {
                const int brightness = c.grey != nullptr ? *c.grey : 0;
                if (brightness != 255 && !(c.draw / MaxDraw < brightness / 255.0)) continue;
            }
            // Only a thermal that would be made finds the table full.
            if (thermalCount >= MaxThermals) {
                if (tableFull != nullptr) *tableFull = true;
                return false;
            }
            // Only a thermal made takes a place in the cloud cover's run of eight.
            c.t.cloudOn = cloudCoverPattern[blue][column];
            column = (column + 1) % 8;
            thermals[thermalCount] = c.t;
            int index = thermalCount;
            ++thermalCount;
            NoteTableChange();
            ++made;
            if (onAppended != nullptr) onAppended(index, context);
        }
        waiting = 0;
        return true;
    };
    bool room = true;
    for (int i = 0; room && i < grid.rows && grid.cols > 0; ++i) {
        for (int j = 0; room && j < grid.cols; ++j) {
            // Eastern 60 per cent of the cell; from the row's middle to a tenth below it.
            double lonPos = area.west + grid.cellLon + j * grid.cellLon;
            lonPos -= grid.cellLon / 100 * 60 * NextUnit(random);
            double latPos = area.north - grid.cellLat / 2 - i * grid.cellLat;
            latPos -= grid.cellLat / 100 * 60 * NextUnit(random);

            Candidate& c = ahead[waiting++];
            Thermal& t = c.t;
            t = Thermal{};
            t.lat = TruncToInt32(latPos);
            t.lon = TruncToInt32(lonPos);
            t.type = 4;
            int32_t ceiling = Between(settings.ceilingMin, settings.ceilingMax, NextUnit(random));
            t.top = ceiling;
            t.cloudCeiling = ceiling;
            int32_t radius = Between(settings.radiusMin, settings.radiusMax, NextUnit(random));
            t.radius = Twice(radius);
            t.cloudSize = t.radius;

            int idx = TruncToInt32((typeCount + 1) * NextUnit(random));
            if (idx < 1) idx = 1;
            if (idx > typeCount) idx = typeCount;
            t.cloudType = typeCount > 0 ? settings.cloudTypes[idx - 1] : 1;

            if (map != nullptr) {
                c.draw = random.Next();
                c.grey = MapBrightnessOf(*map, t.lat, t.lon);
#if defined(__GNUC__)
                if (c.grey != nullptr) __builtin_prefetch(c.grey);
#endif
            }
            if (waiting == CandidatesAhead) room = decide();
        }
    }
    if (room) decide();
    EndBatch();
    RecordAppend(batchStart);
    return made;
}

void BeginBatch() {
    batchStart = thermalCount;
    batchPending = false;
}

void EndBatch() {
    batchEnd = thermalCount;
    batchEdits = tableEdits;
    batchPending = true;
}

bool DiscardThermals(int32_t from, int32_t to) {
    if (!batchPending || tableEdits != batchEdits) return false;
    if (to != thermalCount || from < 0 || from > to) return false;
    RecordRemovalRange(from, to);
    for (int32_t i = from; i < to; ++i) thermals[i] = Thermal{};
    thermalCount = from;
    batchPending = false;
    NoteTableEdit();
    return from < to;
}

bool KeepBatch() {
    bool kept = batchPending && tableEdits == batchEdits && batchStart < batchEnd;
    batchStart = thermalCount;
    batchEnd = thermalCount;
    batchPending = false;
    return kept;
}

void NoteRemovalFromTable(int32_t index) {
    bool current = batchPending && tableEdits == batchEdits;
    NoteTableEdit();
    if (!current) return;
    // The batch keeps its records: one removed before it moves it down, one inside shrinks it.
    if (index < batchStart) {
        --batchStart;
        --batchEnd;
    } else if (index < batchEnd) {
        --batchEnd;
    }
    batchEdits = tableEdits;
}

void ForgetPendingBatch() { batchPending = false; }
