// Map figures: paints of the real map window at four zooms, a scroll and zoom steps through the
// main window's keys, and a batch made by the Automatic dialog's Test.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchFigures.h"
#include "map/Bitmap.h"
#include "map/Geometry.h"
#include "map/Selection.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "resources/ResourceIds.h"
#include "shell/AppWindow.h"
#include "shell/Frame.h"
#include "thermals/Generation.h"

namespace {

constexpr int BatchSize = 30000;

void SetView(double zoom) {
    zoomFactor = zoom;
    scrollPercentX = 50;
    scrollPercentY = 50;
}

void UseTable(bool full) { thermalCount = full ? MaxThermals : 0; }

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
    backdropReloadPending = 1;
    boundsParsePending = 1;
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
    double slowest = 0.0, fastest = 0.0;
    std::string slowestName, fastestName;

    for (const Level& level : levels) {
        const double zoom = level.zoom;
        const std::string name = level.name;
        // A change of zoom is made by painting at another zoom first; the timed paint then has no
        // kept picture of its zoom to copy.
        auto firstPaint = [zoom](bool full) {
            return BenchWork{[zoom, full] {
                                 UseTable(full);
                                 SetView(zoom * 1.1);
                                 RepaintMap(true);
                                 Settle();
                             },
                             [zoom] {
                                 SetView(zoom);
                                 RepaintMap(true);
                             }};
        };
        auto repaint = [zoom](bool full) {
            return BenchWork{[zoom, full] { Prepare(full, zoom); }, [] { RepaintMap(false); }};
        };
        BenchWork plain{[zoom] { Prepare(false, zoom); }, PlainStretch};

        BenchPair first = MedianPair(firstPaint(false), plain, reps);
        table.Add({"paint " + name + ", first after zoom change", first.value, "whole-picture stretch", first.baseline,
                   "ms", 0.0, ""});
        // Thermals off the window must cost nothing, which matters most when zoomed far in.
        double tableTarget = zoom >= 64.0 ? 1.5 : 0.0;
        BenchPair firstFull = MedianPair(firstPaint(true), firstPaint(false), reps);
        table.Add({"paint " + name + " + table, first after zoom change", firstFull.value, "without table",
                   firstFull.baseline, "ms", tableTarget, ""});
        BenchPair againFull = MedianPair(repaint(true), repaint(false), reps);
        table.Add({"paint " + name + " + table, repaint", againFull.value, "without table", againFull.baseline, "ms",
                   tableTarget, ""});
    }

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
               "fastest zoom (" + fastestName + ")", fastest, "ms", 1.5, ""});

    // A scroll step where the picture is larger than the window, as the arrow keys make it.
    bool right = true;
    BenchWork scroll{[] {
                         Prepare(true, 1.0);
                         RepaintMap(false);
                         Settle();
                     },
                     [&right] {
                         PressKey(right ? VK_RIGHT : VK_LEFT);
                         right = !right;
                     }};
    BenchWork sameZoom{[] {
                           Prepare(true, 1.0);
                           RepaintMap(false);
                           Settle();
                       },
                       [] { RepaintMap(false); }};
    BenchPair scrolled = MedianPair(scroll, sameZoom, reps);
    table.Add({"scroll step at 1:1 + table", scrolled.value, "repaint at 1:1 + table", scrolled.baseline, "ms", 0.0, ""});

    // A zoom step with the + key: the repaint at the new zoom.
    for (const Level& level : {levels[0], levels[1]}) {
        const double zoom = level.zoom;
        BenchWork step{[zoom] {
                           Prepare(true, zoom);
                           RepaintMap(true);
                           Settle();
                       },
                       [] { PressKey(VK_ADD); }};
        BenchWork plain{[zoom] { Prepare(false, zoom * 1.1); }, PlainStretch};
        BenchPair stepped = MedianPair(step, plain, reps);
        table.Add({std::string("zoom step in from ") + level.name + " + table", stepped.value,
                   "whole-picture stretch", stepped.baseline, "ms", 0.0, ""});
    }
    UseTable(true);
    SetView(fit);
    RepaintMap(true);
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
    std::vector<RECT> discs;
    for (int i = 0; i < made; ++i) {
        int x = 0, y = 0;
        GeoToWindow(thermals[i].lat, thermals[i].lon, x, y);
        double r = RadiusToWindow(thermals[i].radius);
        int ri = r < 5.0 ? 5 : static_cast<int>(r);
        discs.push_back({x - ri, y - ri, x + ri, y + ri});
    }

    BenchWork test{[dialog] {
                       Press(dialog, IdcAutoClear);
                       RepaintMap(false);
                       Settle();
                   },
                   [dialog] {
                       Press(dialog, IdcAutoTest);
                       GdiFlush();
                   }};
    BenchWork ellipses{Settle, [&discs] {
                           HDC dc = GetDC(mapWindow);
                           HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
                           HGDIOBJ old = SelectObject(dc, brush);
                           for (const RECT& d : discs) Ellipse(dc, d.left, d.top, d.right, d.bottom);
                           SelectObject(dc, old);
                           DeleteObject(brush);
                           ReleaseDC(mapWindow, dc);
                           GdiFlush();
                       }};
    BenchPair batch = MedianPair(test, ellipses, run.reps);
    table.Add({"Test, batch of " + std::to_string(made) + " thermals at density " + std::to_string(density), batch.value,
               std::to_string(made) + " Ellipse calls", batch.baseline, "ms", 3.0, ""});

    Press(dialog, IdcAutoClear);
    Press(dialog, IdcAutoOk);
    PumpMessages(300);
    UseTable(true);
    RepaintMap(true);
}
