// Flight figures: 21 flight logs loaded into the Flights dialog beside a plain fgets and sscanf
// reading of their B records, a recomputation after an edit beside the load, and the map's
// paints with the tracks and circles beside the same paints without them.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "map/MapWindow.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "shell/AppWindow.h"
#include "thermals/Flights.h"
#include "thermals/FlightsDialog.h"

namespace {

constexpr int FlightCount = 21;
constexpr int Spots = 12;           // thermals on the course, each visited by every flight
constexpr int GlideSeconds = 216;   // between two thermals
constexpr int CircleSeconds = 200;  // 12 legs of 416 s: 4992 fixes a flight
constexpr double Pi = 3.14159265358979323846;

// A flight round a course of 12.5 km radius through the bench area's middle (51.5 N, 9.22 E),
// where the map's view at 1:1 and 8x lies, starting at its own thermal, circling 200 s in each
// while the wind drifts it east.
std::string SyntheticFlight(int flight) {
    const double lat0 = 51.5, lon0 = 9.22, course = 12500.0;
    const double north = 180.0 / (Pi * 6371000.0), east = north / std::cos(lat0 * Pi / 180.0);
    std::string text = "AXXXBENCH\r\nHFDTE150717\r\n";
    int t = 10 * 3600;
    double altitude = 1200, x = 0, y = 0;
    auto fix = [&](double px, double py) {
        const double lat = lat0 + py * north, lon = lon0 + px * east;
        const int latMin = static_cast<int>((lat - std::floor(lat)) * 60000), lonMin = static_cast<int>((lon - std::floor(lon)) * 60000);
        char line[64];
        std::snprintf(line, sizeof line, "B%02d%02d%02d%02d%05dN%03d%05dEA%05d%05d\r\n", t / 3600 % 24, t / 60 % 60, t % 60,
                      static_cast<int>(lat), latMin, static_cast<int>(lon), lonMin, static_cast<int>(altitude),
                      static_cast<int>(altitude) + 40);
        text += line;
        ++t;
    };
    for (int k = 0; k < Spots; ++k) {
        const double a = 2 * Pi * ((flight + k) % Spots) / Spots;
        const double jitter = 60.0 * std::sin(flight * 7.0 + k);
        const double tx = (course + jitter) * std::sin(a), ty = (course + jitter) * std::cos(a) - course;
        const double fx = x, fy = y;
        for (int s = 1; s <= GlideSeconds; ++s, altitude -= 1.0) fix(x = fx + (tx - fx) * s / GlideSeconds, y = fy + (ty - fy) * s / GlideSeconds);
        for (int s = 0; s < CircleSeconds; ++s, altitude += 2.5) {
            const double turn = 2 * Pi * s / 26.0;
            fix(x = tx + 2.0 * s + 90 * std::sin(turn), y = ty - 90 + 90 * std::cos(turn));
        }
    }
    return text;
}

struct PlainFix {
    int h, m, s, latDeg, latMin, lonDeg, lonMin, pressure, gnss;
    char ns, ew, validity;
};
std::vector<PlainFix> plainFixes;

// The straightforward reading: each line with fgets, each B record with sscanf.
void PlainRead(const std::vector<std::string>& paths) {
    plainFixes.clear();
    for (const std::string& path : paths) {
        std::FILE* file = std::fopen(path.c_str(), "r");
        if (file == nullptr) continue;
        char line[256];
        while (std::fgets(line, sizeof line, file)) {
            PlainFix f;
            if (line[0] == 'B' && std::sscanf(line, "B%2d%2d%2d%2d%5d%c%3d%5d%c%c%5d%5d", &f.h, &f.m, &f.s, &f.latDeg, &f.latMin,
                                              &f.ns, &f.lonDeg, &f.lonMin, &f.ew, &f.validity, &f.pressure, &f.gnss) == 12)
                plainFixes.push_back(f);
        }
        std::fclose(file);
    }
}

void LoadAll(const std::vector<std::string>& paths) {
    ForgetFlights();
    for (const std::string& path : paths) LoadFlight(path);
}

}  // namespace

void MeasureFlights(BenchRun& run) {
    BenchTable& table = run.table;
    std::vector<std::string> paths;
    for (int f = 0; f < FlightCount; ++f) {
        char name[32];
        std::snprintf(name, sizeof name, "flight%02d.igc", f);
        std::FILE* file = std::fopen(name, "wb");
        const std::string text = SyntheticFlight(f);
        if (file == nullptr || std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
            if (file != nullptr) std::fclose(file);
            table.Fail("flights", "the flight logs could not be written");
            return;
        }
        std::fclose(file);
        paths.push_back(name);
    }
    BenchWork load{nullptr, [paths] { LoadAll(paths); }};
    BenchPair loaded = MedianPair(load, BenchWork{nullptr, [paths] { PlainRead(paths); }}, run.reps);
    table.Add({"load 21 flights, climbs found", loaded.value, "fgets and sscanf of the B records", loaded.baseline, "ms", 2.0, ""});

    if (!OpenBenchProject(run.projectFile)) {
        table.Fail("flights on the map", "the bench project did not open with its backdrop");
        return;
    }
    thermalCount = 0;
    NoteTableChange();
    SendMessageA(theApp->mainWindow, WM_COMMAND, CmdFlights, 0);
    HWND dialog = theApp->currentDialog;
    if (!IsFlightsDialog(dialog)) {
        table.Fail("flights on the map", "the Flights dialog did not open");
        return;
    }
    ForgetFlights();
    LoadFlightFiles(theApp->mainWindow, paths);
    bool wider = false;
    BenchWork edit{nullptr, [dialog, &wider] {
                       wider = !wider;
                       SetDlgItemTextA(dialog, IdcFlightsMerge, wider ? "301" : "300");
                   }};
    BenchPair edited = MedianPair(edit, load, run.reps);
    table.Add({"recompute after an edit, 21 flights", edited.value, "load 21 flights", edited.baseline, "ms", 0.1, ""});
    LoadFlightFiles(theApp->mainWindow, paths);  // the timed loads left the list bare

    MeasurePaintsWith(run, "21 flights", "without flights", 3.0,
                      [](bool flights) { SetMapOverlay(flights ? DrawFlights : nullptr); });
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    ForgetFlights();
    for (const std::string& path : paths) DeleteFileA(path.c_str());
}
