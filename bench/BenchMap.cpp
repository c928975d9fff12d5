// Map figures: paints of the real map window at four zooms, a scroll and zoom steps through the
// main window's keys, and a batch made by the Automatic dialog's Test.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "map/Bitmap.h"
#include "map/Geometry.h"
#include "map/MapWindow.h"
#include "map/ThermalMap.h"
#include "model/Coordinates.h"
#include "map/Selection.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "resources/ResourceIds.h"
#include "shell/AppWindow.h"
#include "shell/MainParts.h"
#include "thermals/Generation.h"

namespace {

constexpr int BatchSize = 30000;
constexpr int RepaintsTimed = 10;

void SetView(double zoom) {
    zoomFactor = zoom;
    scrollPositionX = ScrollPositionCentre;
    scrollPositionY = ScrollPositionCentre;
}

void UseTable(bool full) {
    thermalCount = full ? MaxThermals : 0;
    NoteTableChange();
}

// Lets Wine put what was drawn on the screen before the next piece of work is timed, so that no
// figure pays for the one before it.
void Settle() { PumpMessages(200); }

// The table and the view of a timed paint, with the screen settled.
void Prepare(bool full, double zoom) {
    UseTable(full);
    SetView(zoom);
    Settle();
}

// The straightforward paint of the backdrop: the whole picture stretched onto the window at the
// current zoom and origin, clipped by GDI to the window.
void PlainStretch() {
    UpdateMapOrigin();
    HDC dc = GetDC(mapWindow);
    StretchDIBits(dc, mapOriginX, mapOriginY, PictureWidth(), PictureHeight(), 0, 0, backdrop.width,
                  backdrop.height, backdrop.pixels.data(), reinterpret_cast<const BITMAPINFO*>(backdrop.info.data()),
                  DIB_RGB_COLORS, SRCCOPY);
    ReleaseDC(mapWindow, dc);
    GdiFlush();
}

// Runs every message waiting, paints included, without waiting for more.
void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        if (message.message != WM_QUIT) theApp->Dispatch(message);
    GdiFlush();
}

void PressKey(WPARAM key) {
    SendMessageA(theApp->mainWindow, WM_KEYDOWN, key, 0);
    UpdateWindow(mapWindow);
    GdiFlush();
}

// A repaint without the table at an unchanged zoom: the first paint at the zoom and one repaint
// are not timed.
BenchWork RepaintAt(double zoom) {
    return BenchWork{[zoom] {
                         Prepare(false, zoom);
                         RepaintMap(true);
                         Settle();
                         RepaintMap(false);
                         Settle();
                     },
                     [] { RepaintMap(false); }};
}

// A first paint at zoom: painted at another zoom first, so that the timed paint has no kept
// picture of its zoom to copy. setUp (the table, what lies over the map) runs before, untimed.
BenchWork FirstPaintAt(double zoom, std::function<void()> setUp) {
    return BenchWork{[zoom, setUp] {
                         setUp();
                         SetView(zoom * 1.1);
                         RepaintMap(true);
                         Settle();
                     },
                     [zoom] {
                         SetView(zoom);
                         RepaintMap(true);
                     }};
}

// Repaints at an unchanged zoom after the state was painted once, untimed: nothing changed between
// them. A repaint is about a millisecond, so RepaintsTimed are timed together.
BenchWork RepaintsAt(double zoom, std::function<void()> setUp) {
    return BenchWork{[zoom, setUp] {
                         setUp();
                         SetView(zoom);
                         Settle();
                         RepaintMap(false);
                         Settle();
                     },
                     [] {
                         for (int k = 0; k < RepaintsTimed; ++k) RepaintMap(false);
                     }};
}

struct Level {
    const char* name;
    double zoom;
};

}  // namespace

void PumpMessages(int maxMs) {
    double end = NowMs() + maxMs;
    double idleSince = NowMs();
    while (NowMs() < end && NowMs() - idleSince < 30.0) {
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message != WM_QUIT) theApp->Dispatch(message);
            idleSince = NowMs();
        } else {
            Sleep(1);
        }
    }
}

void RepaintMap(bool erase) {
    InvalidateRect(mapWindow, nullptr, erase ? TRUE : FALSE);
    UpdateWindow(mapWindow);
    GdiFlush();
}

bool OpenBenchProject(const std::string& projectFile) {
    ResetProject();
    if (!ReadProject(projectFile.c_str())) return false;
    ReloadBackdrop(backdropName);
    RecomputeArea();
    SetView(zoomFactor);
    RepaintMap(true);
    PumpMessages(500);
    return backdropLoaded && backdropWidth == backdrop.width && latPerPixel != 0.0 && fitZoom > 0.0;
}

void MeasureMap(BenchRun& run) {
    const int reps = run.reps;
    BenchTable& table = run.table;
    if (!OpenBenchProject(run.projectFile)) {
        table.Fail("map paints", "the bench project did not open with its backdrop");
        return;
    }
    const double fit = fitZoom;
    const Level levels[] = {{"fit", fit}, {"1:1", 1.0}, {"8x", 8.0}, {"64x", 64.0}};
    double slowest = 0.0, fastest = 0.0, firstSlowest = 0.0, firstFastest = 0.0;
    std::string slowestName, fastestName, firstSlowestName, firstFastestName;

    for (const Level& level : levels) {
        const double zoom = level.zoom;
        const std::string name = level.name;
        auto firstPaint = [zoom](bool full) { return FirstPaintAt(zoom, [full] { UseTable(full); }); };
        auto repaint = [zoom](bool full) { return RepaintsAt(zoom, [full] { UseTable(full); }); };
        BenchWork plain{[zoom] { Prepare(false, zoom); }, PlainStretch};

        BenchPair first = MedianPair(firstPaint(false), plain, reps);
        table.Add({"paint " + name + ", first after zoom change", first.value, "whole-picture stretch", first.baseline,
                   "ms", 0.0, ""});
        if (firstSlowestName.empty() || first.value > firstSlowest) {
            firstSlowest = first.value;
            firstSlowestName = name;
        }
        if (firstFastestName.empty() || first.value < firstFastest) {
            firstFastest = first.value;
            firstFastestName = name;
        }
        BenchPair firstFull = MedianPair(firstPaint(true), firstPaint(false), reps);
        table.Add({"paint " + name + " + table, first after zoom change", firstFull.value, "without table",
                   firstFull.baseline, "ms", 3.0, ""});
        // Nothing changed (a dialog moved over the map): the table must cost nothing at any zoom.
        BenchPair againFull = MedianPair(repaint(true), repaint(false), reps);
        table.Add({"paint " + name + " + table, repaint", againFull.value / RepaintsTimed, "without table",
                   againFull.baseline / RepaintsTimed, "ms", 1.2, ""});
    }
    // A zoom change costs about the same at every zoom: the work follows the window.
    table.Add({"first paint after zoom change, slowest zoom (" + firstSlowestName + ")", firstSlowest,
               "fastest zoom (" + firstFastestName + ")", firstFastest, "ms", 3.0, ""});

    // Repaints at an unchanged zoom, the four zooms in turn in each repetition, so that all see the
    // same state of the machine; the whole-picture stretches are timed afterwards.
    std::vector<BenchWork> repaints;
    for (const Level& level : levels) repaints.push_back(RepaintAt(level.zoom));
    std::vector<double> again = MediansInTurn(repaints, reps);
    for (size_t k = 0; k < again.size(); ++k) {
        const double zoom = levels[k].zoom;
        const std::string name = levels[k].name;
        double plain = MedianMs({[zoom] { Prepare(false, zoom); }, PlainStretch}, reps);
        table.Add({"paint " + name + ", repaint", again[k], "whole-picture stretch", plain, "ms", 0.0, ""});
        if (slowestName.empty() || again[k] > slowest) {
            slowest = again[k];
            slowestName = name;
        }
        if (fastestName.empty() || again[k] < fastest) {
            fastest = again[k];
            fastestName = name;
        }
    }
    table.Add({"repaint without table, slowest zoom (" + slowestName + ")", slowest,
               "fastest zoom (" + fastestName + ")", fastest, "ms", 0.0, ""});

    // A scroll step where the picture is larger than the window, as the arrow keys make it, beside
    // a repaint at the same zoom; with the table and without.
    for (const Level& level : {levels[1], levels[2]}) {
        for (bool full : {true, false}) {
            const double zoom = level.zoom;
            auto settled = [zoom, full] {
                Prepare(full, zoom);
                RepaintMap(false);
                Settle();
            };
            bool right = true;
            BenchWork scroll{settled, [&right] {
                                 PressKey(right ? VK_RIGHT : VK_LEFT);
                                 right = !right;
                             }};
            BenchPair scrolled = MedianPair(scroll, BenchWork{settled, [] { RepaintMap(false); }}, reps);
            const std::string with = full ? " + table" : "";
            table.Add({"scroll step at " + std::string(level.name) + with, scrolled.value,
                       "repaint at " + std::string(level.name) + with, scrolled.baseline, "ms", full ? 5.0 : 0.0, ""});
            if (!full) continue;
            // The same step until the thumb and the status bar, drawn once its message is done,
            // are on the screen too.
            BenchWork drawn{settled, [&right] {
                                PressKey(right ? VK_RIGHT : VK_LEFT);
                                right = !right;
                                DrainMessages();
                            }};
            BenchPair whole = MedianPair(drawn, BenchWork{settled, [] { RepaintMap(false); }}, reps);
            table.Add({"scroll step at " + std::string(level.name) + with + ", bars and status drawn", whole.value,
                       "repaint at " + std::string(level.name) + with, whole.baseline, "ms", 0.0, ""});
        }
    }

    // A zoom step with the + key: the repaint at the new zoom, with the table beside without it,
    // and without it beside the whole-picture stretch.
    for (const Level& level : {levels[0], levels[1]}) {
        const double zoom = level.zoom;
        auto step = [zoom](bool full) {
            return BenchWork{[zoom, full] {
                                 Prepare(full, zoom);
                                 RepaintMap(true);
                                 Settle();
                             },
                             [] { PressKey(VK_ADD); }};
        };
        BenchPair stepped = MedianPair(step(true), step(false), reps);
        table.Add({std::string("zoom step in from ") + level.name + " + table", stepped.value, "without table",
                   stepped.baseline, "ms", level.zoom == fit ? 3.0 : 0.0, ""});
        BenchWork plain{[zoom] { Prepare(false, zoom * 1.1); }, PlainStretch};
        BenchPair bare = MedianPair(step(false), plain, reps);
        table.Add({std::string("zoom step in from ") + level.name, bare.value, "whole-picture stretch", bare.baseline,
                   "ms", 0.0, ""});
    }
    // The thermal map over the backdrop (Show), of the largest size kept, beside the same paints
    // without it.
    thermalMap = Brightness{ThermalMapLongestSide, ThermalMapLongestSide,
                            std::vector<uint8_t>(size_t{ThermalMapLongestSide} * ThermalMapLongestSide)};
    for (size_t k = 0; k < thermalMap.values.size(); ++k) thermalMap.values[k] = static_cast<uint8_t>(k * 7 / 4096 + k);
    MeasurePaintsWith(run, "thermal map shown", "without the map", 2.0, [](bool on) {
        thermalMapShown = on;
        UseTable(false);
    });
    thermalMapShown = false;
    ForgetThermalMap();

    UseTable(true);
    SetView(fit);
    RepaintMap(true);
}

void MeasurePaintsWith(BenchRun& run, const std::string& what, const std::string& without, double firstTarget,
                       const std::function<void(bool)>& set) {
    const Level levels[] = {{"fit", fitZoom}, {"1:1", 1.0}, {"8x", 8.0}};
    for (const Level& level : levels) {
        const double zoom = level.zoom;
        auto firstPaint = [zoom, &set](bool on) { return FirstPaintAt(zoom, [on, &set] { set(on); }); };
        auto repaint = [zoom, &set](bool on) { return RepaintsAt(zoom, [on, &set] { set(on); }); };
        const std::string name = level.name;
        BenchPair first = MedianPair(firstPaint(true), firstPaint(false), run.reps);
        run.table.Add({"paint " + name + " + " + what + ", first after zoom change", first.value, without, first.baseline, "ms",
                       firstTarget, ""});
        BenchPair again = MedianPair(repaint(true), repaint(false), run.reps);
        run.table.Add({"paint " + name + " + " + what + ", repaint", again.value / RepaintsTimed, without,
                       again.baseline / RepaintsTimed, "ms", 1.2, ""});
    }
}

namespace {

void Drag(int x0, int y0, int x1, int y1) {
    SendMessageA(mapWindow, WM_MOUSEMOVE, 0, MAKELPARAM(x0, y0));
    SendMessageA(mapWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, y0));
    SendMessageA(mapWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((x0 + x1) / 2, (y0 + y1) / 2));
    SendMessageA(mapWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x1, y1));
    SendMessageA(mapWindow, WM_LBUTTONUP, 0, MAKELPARAM(x1, y1));
    PumpMessages(300);
}

void Press(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Drags the selection over the picture, inset from its edges by the given pixels; the number of
// thermals a Test would make over it at the density.
int DragAndCount(int inset, int density) {
    UpdateMapOrigin();
    int w = PictureWidth(), h = PictureHeight();
    Drag(mapOriginX + inset, mapOriginY + inset, mapOriginX + w - inset, mapOriginY + h - inset);
    if (!areaSelected) return 0;
    GenerationGrid grid = GridFor({selNorth, selSouth, selWest, selEast, selCentreLat}, density);
    long long cells = static_cast<long long>(grid.rows) * grid.cols;
    return cells > MaxThermals ? MaxThermals + 1 : static_cast<int>(cells);
}

// The smallest selection of the picture, centred, over which a Test makes at least count
// thermals at the density; 0 when even the whole picture makes fewer.
int SelectFor(int count, int density) {
    int low = 1, high = (PictureWidth() < PictureHeight() ? PictureWidth() : PictureHeight()) / 2 - 2;
    if (high < low || DragAndCount(low, density) < count) return 0;
    while (low < high) {  // the count falls as the inset grows
        int middle = (low + high + 1) / 2;
        if (DragAndCount(middle, density) >= count) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return DragAndCount(low, density);
}

}  // namespace

void MeasureBatch(BenchRun& run) {
    BenchTable& table = run.table;
    const std::string figure = "Test, batch of about 30000 thermals";
    if (!backdropLoaded) {
        table.Fail(figure, "no backdrop loaded");
        return;
    }
    // An empty table at the fit zoom, as a new project over the whole area.
    thermalCount = 0;
    NoteTableEdit();
    SetView(fitZoom);
    RepaintMap(true);

    SendMessageA(theApp->mainWindow, WM_COMMAND, CmdAutomatic, 0);
    PumpMessages(500);
    HWND dialog = theApp->currentDialog;
    if (dialog == nullptr || !automaticMode) {
        table.Fail(figure, "the Automatic dialog did not open");
        return;
    }
    // The dialog's preset density, over a selection just large enough for the batch.
    char densityText[8] = "";
    GetDlgItemTextA(dialog, IdcAutoDensity, densityText, sizeof densityText);
    int density = TextToInt(densityText);
    int expected = density > 0 ? SelectFor(BatchSize, density) : 0;
    RepaintMap(false);
    if (expected == 0 || expected > MaxThermals) {
        table.Fail(figure, "no selection makes such a batch at density " + std::to_string(density));
        Press(dialog, IdcAutoOk);
        PumpMessages(300);
        return;
    }

    // A first batch, untimed: it shows the count, and its discs are what the baseline draws.
    Press(dialog, IdcAutoTest);
    int made = thermalCount;
    if (made != expected) {
        table.Fail(figure, "Test made " + std::to_string(made) + " thermals, not " + std::to_string(expected));
        Press(dialog, IdcAutoOk);
        PumpMessages(300);
        return;
    }
    // The baseline draws the same discs once, each with its pen and brush selected, into a memory
    // bitmap of the window's size: what drawing every disc once costs at the least.
    struct Disc {
        RECT box;
        COLORREF fill;
    };
    std::vector<Disc> discs;
    for (int i = 0; i < made; ++i) {
        int x = 0, y = 0;
        GeoToWindow(thermals[i].lat, thermals[i].lon, x, y);
        double r = RadiusToWindow(thermals[i].radius);
        int ri = r < 5.0 ? 5 : static_cast<int>(r);
        discs.push_back({{x - ri, y - ri, x + ri, y + ri}, thermals[i].cloudOn ? RGB(255, 0, 0) : RGB(0, 0, 255)});
    }
    RECT client{};
    GetClientRect(mapWindow, &client);
    HDC screen = GetDC(mapWindow);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(mapWindow, screen);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);

    BenchWork test{[dialog] {
                       Press(dialog, IdcAutoClear);
                       RepaintMap(false);
                       Settle();
                   },
                   [dialog] {
                       Press(dialog, IdcAutoTest);
                       GdiFlush();
                   }};
    BenchWork ellipses{Settle, [&discs, memory] {
                           HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
                           HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
                           HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
                           HGDIOBJ oldPen = SelectObject(memory, pen);
                           HGDIOBJ oldBrush = SelectObject(memory, red);
                           for (const Disc& d : discs) {
                               SelectObject(memory, pen);
                               SelectObject(memory, d.fill == RGB(255, 0, 0) ? red : blue);
                               Ellipse(memory, d.box.left, d.box.top, d.box.right, d.box.bottom);
                           }
                           SelectObject(memory, oldPen);
                           SelectObject(memory, oldBrush);
                           DeleteObject(pen);
                           DeleteObject(red);
                           DeleteObject(blue);
                           GdiFlush();
                       }};
    BenchPair batch = MedianPair(test, ellipses, run.reps);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    table.Add({"Test, batch of " + std::to_string(made) + " thermals at density " + std::to_string(density), batch.value,
               std::to_string(made) + " Ellipse calls in memory", batch.baseline, "ms", 2.0, ""});

    // The same Test with a thermal map of the largest size kept, white everywhere, so that every
    // candidate is kept and the same discs are drawn: the sixth draw and the look at the map.
    thermalMap = Brightness{ThermalMapLongestSide, ThermalMapLongestSide,
                            std::vector<uint8_t>(size_t{ThermalMapLongestSide} * ThermalMapLongestSide, 255)};
    BenchWork mapped{test.setup, [dialog] {
                         useThermalMap = 1;
                         Press(dialog, IdcAutoTest);
                         GdiFlush();
                         useThermalMap = 0;
                     }};
    BenchPair withMap = MedianPair(mapped, test, run.reps);
    ForgetThermalMap();
    table.Add({"Test with a thermal map, batch of " + std::to_string(made) + " at density " + std::to_string(density),
               withMap.value, "the same Test without a map", withMap.baseline, "ms", 1.3, ""});

    Press(dialog, IdcAutoClear);
    Press(dialog, IdcAutoOk);
    PumpMessages(300);
    UseTable(true);
    RepaintMap(true);
}
