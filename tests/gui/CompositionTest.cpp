// The map's kept composition and its reduced copies of the backdrop: a paint after any change
// shows what a paint from scratch shows, and the backdrop below zoom 1 comes from the right copy.
#include <cmath>

#include "gui/Harness.h"
#include "map/ThermalMap.h"

namespace {

constexpr int W = 1200, H = 900;

// Ramps in red and green, a checker of 24 pixels in blue; variant shifts the ramps.
COLORREF Source(int x, int y, int variant = 0) {
    return RGB((x + variant) % 256, (y * 3) % 256, ((x / 24 + y / 24) % 2) ? 230 : 20);
}

class CompositionTest : public gui::GuiTest {
protected:
    gui::ScratchFolder folder;

    // The picture loaded as Open loads it, over an area of 1/1000 degree per pixel.
    void Load(double zoom) {
        gui::WritePicture(folder.File("a.bmp"), W, H, [](int x, int y) { return Source(x, y); });
        CopyText(backdropName, BackdropNameSize, folder.File("a.bmp").c_str());
        ReloadBackdrop(backdropName);
        gui::Pump();
        ASSERT_EQ(backdropWidth, W);
        areaTop = 4500000, areaLeft = 500000, latPerPixel = lonPerPixel = 100.0;
        zoomFactor = zoom, scrollPositionX = scrollPositionY = ScrollPositionCentre;
    }

    static void Paint(bool erase) {
        InvalidateRect(gui::Map(), nullptr, erase ? TRUE : FALSE);
        gui::Pump();
    }
};

TEST_F(CompositionTest, APaintAfterAChangeOfEveryKeyShowsWhatAPaintFromScratchShows) {
    auto append = [](int x, int y, int type, int wind) {
        thermals[thermalCount++] = Thermal{4500000 - y * 100, 500000 + x * 100, type, 0, 0, 3000, wind, 0, 0, 0, 0, 0, 0};
    };
    auto select = [] { automaticMode = 1, selStartX = 100, selStartY = 100, selEndX = 700, selEndY = 500; };
    struct Row { std::string key; std::function<void()> prepare, change; bool erases = false; };
    std::vector<Row> rows = {
        {"zoom", [] {}, [] { zoomFactor = 0.45; }},
        {"origin", [] {}, [] { scrollPositionX = 10 * ScrollUnitsPerPercent; }},
        {"window size", [] {}, [] { SetWindowPos(gui::Main(), nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER); }},
        {"backdrop load", [this] { gui::WritePicture(folder.File("b.bmp"), W, H, [](int x, int y) { return Source(x, y, 100); }); },
         [this] { LoadBackdrop(folder.File("b.bmp").c_str()); }},
        {"table edit", [] {}, [] { thermals[2].type = 1, NoteTableEdit(); }},
        {"table append", [] {}, [&append] { append(600, 450, 3, 45); }},
        {"area numbers", [] {}, [] { latPerPixel = 80.0; }},
        {"markers", [] { setupMode = 1; }, [] { markers[MarkerLeft].x = 300; }},
        {"selection", select, [] { selEndX = 400; }},
        {"map modes", [&select] { select(), automaticMode = 0; }, [] { clearPartMode = 1; }},
        {"erasing invalidation", [] {}, [] { thermals[0].lon += 20000, InvalidateMap(true); }, true},
        {"batch drawn in", select, [&append] { BeginBatchDrawing(), append(700, 480, 4, 0), DrawBatchThermal(thermalCount - 1), EndBatchDrawing(); }},
        {"scroll step with the thermal map shown", [] {
             SetWindowPos(gui::Main(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER), zoomFactor = 1.0;
             thermalMap = Brightness{3, 2, {0, 90, 255, 30, 200, 140}}, thermalMapShown = true;
         }, [] { SendMessageA(gui::Map(), WM_HSCROLL, SB_LINEDOWN, 0); }},
    };
    // A scroll step moves the kept picture and composes the strip that comes into view; the window
    // is made smaller than the picture at 1:1.
    for (double zoom : {1.0, 8.0})
        for (UINT bar : {WM_HSCROLL, WM_VSCROLL})
            for (WPARAM code : {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN})
                rows.push_back({"scroll " + std::to_string(bar) + " " + std::to_string(code) + " at zoom " + std::to_string(zoom),
                                [zoom] {
                                    SetWindowPos(gui::Main(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER), zoomFactor = zoom;
                                    UpdateMapOrigin();  // discs centred a fraction of a pixel off the left and the top edge
                                    thermals[thermalCount++] = Thermal{WindowToLat(200), WindowToLon(-3) + 37, 2, 0, 0, 3000, 90, 0, 0, 0, 0, 0, 0};
                                    thermals[thermalCount++] = Thermal{WindowToLat(-3) - 37, WindowToLon(300), 3, 0, 0, 3000, 180, 0, 0, 0, 0, 0, 0};
                                    // Just outside each edge, a disc of unknown type after a blue one far off:
                                    // the part that comes into view is blue too.
                                    RECT c{};
                                    GetClientRect(gui::Map(), &c);
                                    const POINT outside[] = {{-6, 250}, {c.right + 6, 250}, {350, -6}, {350, c.bottom + 6}};
                                    for (const POINT& p : outside) {
                                        thermals[thermalCount++] = Thermal{WindowToLat(-4000), WindowToLon(-4000), 4, 0, 0, 3000, 0, 0, 0, 0, 0, 0, 0};
                                        thermals[thermalCount++] = Thermal{WindowToLat(p.y), WindowToLon(p.x), 0, 0, 0, 3000, 135, 0, 0, 0, 0, 0, 0};
                                    }
                                },
                                [bar, code] { SendMessageA(gui::Map(), bar, code, 0); }});
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        gui::ResetProgram();
        Load(0.6);
        for (int i = 0; i < 8; ++i) append(150 + i * 120, 100 + i * 90, 1 + i % 4, i * 50);
        row.prepare();
        Paint(true);
        const gui::Picture before = gui::CaptureMap();
        row.change();
        if (!row.erases) Paint(false);
        const gui::Picture after = gui::CaptureMap();
        DropMapComposition();
        Paint(false);
        const gui::Picture full = gui::CaptureMap();
        EXPECT_TRUE(before.pixels != full.pixels) << "the change shows";
        ASSERT_EQ(after.width, full.width);
        EXPECT_TRUE(after.pixels == full.pixels);
    }
}

// A step shows the map at once and leaves the thumbs and the pointer's position in the status bar
// to be drawn when its message is done: the bars and the status bar hold the new state at once,
// and once the queue is empty they show what a redraw of everything shows.
TEST_F(CompositionTest, AfterAStepTheBarsAndStatusHoldTheNewStateAndShowItOnceTheQueueIsDone) {
    struct Row { UINT bar; WPARAM code; double zoom; };
    for (const Row& row : {Row{WM_HSCROLL, SB_PAGEDOWN, 1.0}, Row{WM_VSCROLL, SB_PAGEUP, 1.0}, Row{WM_HSCROLL, SB_LINEUP, 8.0},
                           Row{WM_VSCROLL, SB_LINEDOWN, 8.0}}) {
        SCOPED_TRACE(std::to_string(row.bar) + " " + std::to_string(row.code) + " at zoom " + std::to_string(row.zoom));
        gui::ResetProgram();
        Load(row.zoom);
        pointerX = 120, pointerY = 90;  // over the map, so that the step changes the position under it
        UpdatePointerPosition();
        Paint(true);
        const std::vector<std::string> texts = {gui::StatusText(0), gui::StatusText(1), gui::StatusText(2), gui::StatusText(3)};
        SendMessageA(gui::Map(), row.bar, row.code, 0);
        UpdateWindow(gui::Map());
        const int bar = row.bar == WM_HSCROLL ? SB_HORZ : SB_VERT;
        EXPECT_EQ(GetScrollPos(gui::Map(), bar), bar == SB_HORZ ? scrollPositionX : scrollPositionY);
        bool changed = false;
        for (int part = 0; part < StatusParts; ++part) {
            EXPECT_EQ(gui::StatusText(part), statusText[part]) << "part " << part;
            changed = changed || gui::StatusText(part) != texts[static_cast<size_t>(part)];
        }
        EXPECT_TRUE(changed) << "the step changes the position under the pointer";
        gui::Pump();
        // The map's frame without its client area, which an erasing redraw may change outside the
        // backdrop.
        auto frameOfMap = [] {
            gui::Picture whole = gui::CaptureWhole(gui::Map());
            RECT box{}, client{};
            GetWindowRect(gui::Map(), &box);
            GetClientRect(gui::Map(), &client);
            MapWindowPoints(gui::Map(), nullptr, reinterpret_cast<POINT*>(&client), 2);
            OffsetRect(&client, -box.left, -box.top);
            for (int y = client.top; y < client.bottom; ++y)
                for (int x = client.left; x < client.right; ++x) whole.pixels[static_cast<size_t>(y) * whole.width + x] = 0;
            return whole;
        };
        const gui::Picture bars = frameOfMap(), status = gui::CaptureWhole(statusBar);
        RedrawWindow(gui::Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        gui::Pump();
        EXPECT_TRUE(bars.pixels == frameOfMap().pixels) << "the bars";
        EXPECT_TRUE(status.pixels == gui::CaptureWhole(statusBar).pixels) << "the status bar";
    }
}

// From zoom 1 up the picture is the direct stretch, pixel for pixel (MapWindowTest); below it
// each channel lies within the range of the source pixels under the screen pixel and their eight
// neighbours: a copy too coarse, misplaced or darkened leaves it.
TEST_F(CompositionTest, BelowZoomOneEachPixelLiesWithinItsSourcePixels) {
    // A small window, so that the copies go down to a quarter of the picture.
    SetWindowPos(gui::Main(), nullptr, 0, 0, 560, 460, SWP_NOMOVE | SWP_NOZORDER);
    Load(1.0);
    const struct { double zoom; int x, y; } views[] = {{0.7, 50, 50}, {0.5, 20, 0}, {0.45, 50, 50}, {0.3, 0, 100}, {0.2, 50, 50}};
    for (const auto& v : views) {
        SCOPED_TRACE(v.zoom);
        zoomFactor = v.zoom, scrollPositionX = v.x * ScrollUnitsPerPercent, scrollPositionY = v.y * ScrollUnitsPerPercent;
        Paint(true);
        const gui::Picture shown = gui::CaptureMap();
        const int right = std::min(shown.width, mapOriginX + PictureWidth());
        const int bottom = std::min(shown.height, mapOriginY + PictureHeight());
        int wrong = 0;
        for (int y = std::max(mapOriginY, 0); y < bottom; ++y)
            for (int x = std::max(mapOriginX, 0); x < right; ++x) {
                const int c0 = std::max(0, static_cast<int>((x - mapOriginX) / v.zoom) - 1);
                const int c1 = std::min(W - 1, static_cast<int>(std::ceil((x + 1 - mapOriginX) / v.zoom)));
                const int r0 = std::max(0, static_cast<int>((y - mapOriginY) / v.zoom) - 1);
                const int r1 = std::min(H - 1, static_cast<int>(std::ceil((y + 1 - mapOriginY) / v.zoom)));
                for (int k = 0; k < 3; ++k) {
                    const int got = (shown.At(x, y) >> (8 * k)) & 0xFF;
                    int low = 255, high = 0;
                    for (int row = r0; row <= r1; ++row)
                        for (int col = c0; col <= c1; ++col) {
                            const int s = (Source(col, row) >> (8 * k)) & 0xFF;
                            low = std::min(low, s), high = std::max(high, s);
                        }
                    wrong += got < low || got > high;
                }
            }
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(bottom, 0);
    }
}

// After each command the screen is what a full repaint of the new state shows, beside the
// backdrop too, from starting states whose overlays and discs reach into the grey margin (a
// dragged selection leaves its trails there). The import finds nothing inside: only the modes go.
TEST_F(CompositionTest, AfterEachCommandTheScreenIsAFullRepaint) {
    // Two at the area's corners, one inside it for Clear to take.
    const std::vector<Thermal> corners = {gui::MakeThermal(5250000, 450000, 1, false, 4000, 90), gui::MakeThermal(5200000, 550000, 4, true, 4000),
                                          gui::MakeThermal(5240000, 475000, 2)};
    const auto drag = [] {  // from inside the picture out into the margin, twice: the first leaves trails there
        RECT r;
        for (int x : {0, 1}) GetClientRect(gui::Map(), &r), gui::Drag(mapOriginX + 9, mapOriginY + 5, r.right / (1 + x) - 4, r.bottom - 4);
    };
    const auto use = [](int command) { SendMessageA(gui::App().currentDialog, WM_CLOSE, 0, 0), gui::Command(command); };  // its own dialog
    const auto click = [](int id) { gui::Click(gui::App().currentDialog, id); };
    const auto clearAll = [] { gui::ExpectBox(IDYES), gui::Command(CmdClearAll); };
    const struct { const char* name; int command; bool trails; } starts[] = {
        {"manual", CmdManual, false}, {"a selection into the margin", CmdAutomatic, true}, {"setup", CmdEdit, false}};
    const struct { const char* name; std::function<void()> run; } commands[] = {
        {"New", [] { gui::Command(CmdNew); }},
        {"Open", [this] { gui::ExpectFile(folder.File("b.prj")), gui::Command(CmdOpen); }},
        {"failed Open", [this] { folder.Write("none.prj", ""), gui::ExpectFile(folder.File("none.prj")), gui::ExpectBox(IDOK), gui::Command(CmdOpen); }},
        {"Clear all", clearAll},
        {"Clear", [&] { use(CmdClearPartly), drag(), gui::ExpectBox(IDYES), click(IdcClearPartClear); }},
        {"Clear partly", [] { gui::Command(CmdClearPartly); }},
        {"Undo", [&] { clearAll(), gui::Command(CmdUndo); }},
        {"Redo", [&] { clearAll(), gui::Command(CmdUndo), gui::Command(CmdRedo); }},
        {"import", [this] { gui::ExpectFile(folder.File("a.cup")), gui::ExpectBox(IDOK), gui::Command(CmdImportHotspots); }},
        {"Load", [&] { use(CmdEdit), gui::ExpectFile(folder.File("b.bmp")), click(IdcSetupLoad); }},
        {"batch", [&] { use(CmdAutomatic), drag(), click(IdcAutoTest); }},
        {"right-click removal", [&] {
             int x = 0, y = 0;
             ASSERT_TRUE(GeoToWindow(corners[0].lat, corners[0].lon, x, y));
             gui::RightClick(x, y);
         }}};
    folder.Write("b.prj", gui::ProjectFileText("area.bmp", gui::LowlandBounds, {corners[1]}));
    folder.Write("a.cup", "name,code,country,lat,lon,elev\r\nOutside,,,5329.000N,00529.000E,5m\r\n");
    gui::WritePicture(folder.File("b.bmp"), 40, 90, [](int x, int y) { return Source(x, y); });
    gui::WriteGreyBackdrop(folder.File("area.bmp"), 30, 48);  // narrower than the window: wide margins beside it
    for (const auto& start : starts)
        for (const auto& command : commands) {
            SCOPED_TRACE(std::string(start.name) + ", " + command.name);
            gui::ResetProgram();
            ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "a.prj", corners));
            gui::Command(start.command);
            DropMapComposition(), Paint(true);
            if (start.trails) drag();
            command.run();
            const gui::Picture shown = gui::CaptureMap();
            DropMapComposition(), Paint(true);
            EXPECT_TRUE(shown.pixels == gui::CaptureMap().pixels);
        }
}

}  // namespace
