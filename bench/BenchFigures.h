// The groups of figures the benchmark measures, and what they share of the running program.
#pragma once

#include <functional>
#include <string>

#include "BenchTable.h"

struct BenchRun {
    std::string folder;  // scratch folder, also the current folder
    std::string projectFile;
    int reps = 5;
    BenchTable table;
};

// The project of the table as it stands, written line by line with snprintf and one fwrite.
void PlainWriteProject(const char* path);

// Project read and write, scenery sources, backdrop loads.
void MeasureFiles(BenchRun& run);
// Export of the table to CUP, GPX and KML, and import of GPX and KML hotspots.
void MeasureExchange(BenchRun& run);
// Paints at four zooms with and without the table, scroll steps at 1:1 and 8x and zoom steps, each
// with and without the table.
void MeasureMap(BenchRun& run);
// A batch made with the Automatic dialog's Test.
void MeasureBatch(BenchRun& run);

// Loading the file as a thermal map beside one fread of it.
void MeasureThermalMapLoad(BenchRun& run, const char* name);
// 21 flight logs loaded, a recomputation after an edit, and the map's paints with their tracks.
void MeasureFlights(BenchRun& run);

// The first paint after a zoom change and a repaint at fit, 1:1 and 8x, each with something laid
// over the map (set(true)) beside the same paint without it (set(false)): rows "paint ZOOM + WHAT,
// first after zoom change" (target firstTarget) and "paint ZOOM + WHAT, repaint" (target 1.2).
void MeasurePaintsWith(BenchRun& run, const std::string& what, const std::string& without, double firstTarget,
                       const std::function<void(bool)>& set);

// Runs the program's messages (tool dialog first) until nothing came for a while or maxMs passed.
void PumpMessages(int maxMs);
// Invalidates the whole map and lets it paint now.
void RepaintMap(bool erase);
// What Open does with the project file: reset, read, load the backdrop and recompute the area.
// The view fits the backdrop afterwards.
bool OpenBenchProject(const std::string& projectFile);
