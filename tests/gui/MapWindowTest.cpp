// The map window through real messages, read back as pixels: disc fills and sizes, wind lines,
// the red outlines, erasing, scrolling, the backdrop picture, the mouse by map mode, discs far
// larger than the window, and the view at the far ends of zoom and scroll; and over it the Manual
// and Clear (partly) dialogs through their real controls.

#include <algorithm>

#include "gui/Harness.h"
#include "map/DiscStamps.h"

namespace {

constexpr int BackdropW = 200, BackdropH = 150;
constexpr int32_t Top = 5000000, Left = 500000;  // 50 N, 5 E; 100 units per backdrop pixel
constexpr COLORREF Black = RGB(0, 0, 0), Red = RGB(255, 0, 0), White = RGB(255, 255, 255);
constexpr COLORREF Cyan = RGB(0, 255, 255), Yellow = RGB(255, 255, 0), Green = RGB(0, 255, 0);
constexpr COLORREF Magenta = RGB(255, 0, 255), Blue = RGB(0, 0, 255), LightGrey = RGB(192, 192, 192);

// Inside 16..239 in every channel: never black, red, grey or a disc fill.
COLORREF Pattern(int x, int y) { return RGB(16 + x * 7 % 200, 16 + y * 5 % 200, 16 + (x ^ y) * 3 % 200); }

class MapWindowTest : public gui::GuiTest {
protected:
    // The backdrop is loaded the way Open loads it, and shown at zoom 1 in the window's corner, so
    // window pixels are backdrop pixels.
    void SetUp() override {
        gui::GuiTest::SetUp();
        folder.Write("pattern.bmp", testdata::Bmp(BackdropW, BackdropH, 24, [](int x, int y) {
            const COLORREF c = Pattern(x, y);
            return uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
        }));
        CopyText(backdropName, BackdropNameSize, folder.File("pattern.bmp").c_str());
        ReloadBackdrop(backdropName);
        gui::Pump();
        ASSERT_EQ(backdropWidth, BackdropW);
        areaTop = Top, areaLeft = Left, latSpan = BackdropH * 100, lonSpan = BackdropW * 100;
        areaBottom = Top - latSpan, areaRight = Left + lonSpan;
        latPerPixel = lonPerPixel = 100.0;
        Show(1.0, 0, 0);
    }
    static void Show(double zoom, int percentX, int percentY) {
        zoomFactor = zoom, scrollPositionX = percentX * ScrollUnitsPerPercent, scrollPositionY = percentY * ScrollUnitsPerPercent;
        InvalidateMap(true);
        gui::Pump();
    }
    // Centre at backdrop pixel (x, y); radius in backdrop pixels.
    static Thermal At(int x, int y, int type, int cloudOn, int radius, int windDir = 0) {
        return Thermal{Top - y * 100, Left + x * 100, type, 0, 0, radius * 100, windDir, 0, uint8_t(cloudOn), 0, 0, 0, 0};
    }
    static void Place(const std::vector<Thermal>& list) {
        thermalCount = 0;
        for (const Thermal& t : list) thermals[thermalCount++] = t;
        DropMapComposition();  // records set directly, not counted
        InvalidateMap(false);
        gui::Pump();
    }
    // The open tool dialog and its controls.
    static HWND Dialog() { return gui::App().currentDialog; }
    static void Click(int id) { gui::Click(Dialog(), id); }
    static std::string Text(int id) {
        char text[64] = "";
        GetDlgItemTextA(Dialog(), id, text, sizeof text);
        return text;
    }
    static std::vector<int> Checked(int first, int last) {
        std::vector<int> ids;
        for (int id = first; id <= last; ++id)
            if (IsDlgButtonChecked(Dialog(), id) == BST_CHECKED) ids.push_back(id);
        return ids;
    }
    static void DragRectangle(int x1, int y1, int x2, int y2) {
        gui::Drag(mapOriginX + x1, mapOriginY + y1, mapOriginX + x2, mapOriginY + y2);
        ASSERT_EQ(areaSelected, 1);
    }
    gui::ScratchFolder folder;
};

TEST_F(MapWindowTest, DiscFillsSizesAndWindLines) {
    // Fills by type and cloud; an unknown type inherits the last known one (white before any).
    const struct { std::vector<int> types, clouds; std::vector<COLORREF> fills; } fills[] = {
        {{1, 1, 2, 2, 3, 3, 4, 4}, {0, 1, 0, 1, 0, 1, 0, 1}, {Cyan, Yellow, Green, Green, Magenta, Magenta, Blue, Red}},
        {{0, 3, 9, -1, 4}, {0, 0, 1, 0, 0}, {White, Magenta, Magenta, Magenta, Blue}},
    };
    for (const auto& c : fills) {
        std::vector<Thermal> list;
        for (size_t i = 0; i < c.types.size(); ++i) list.push_back(At(15 + 22 * int(i), 40, c.types[i], c.clouds[i], 8));
        Place(list);
        for (size_t i = 0; i < c.types.size(); ++i) EXPECT_EQ(gui::MapPixel(15 + 22 * int(i), 44), c.fills[i]) << i;
    }
    // Also after known ones far off the window, which the paint passes over.
    std::vector<Thermal> offFirst;
    for (int k = 0; k < 8; ++k) offFirst.push_back(At(-2000, 10 * k, 3, 0, 8));
    for (int x : {15, 37, 59, 81}) offFirst.push_back(At(x, 40, x == 37 ? 9 : 0, 0, 8));
    Place(offFirst);
    for (int x : {15, 37, 59, 81}) EXPECT_EQ(gui::MapPixel(x, 44), Magenta) << x;
    // At least five pixels of radius, with its outline.
    for (auto c : {std::make_pair(0, 5), {12, 12}}) {
        Place({At(100, 70, 4, 0, c.first)});
        EXPECT_EQ(std::make_pair(gui::MapPixel(100 + c.second - 2, 70), gui::MapPixel(100 + c.second + 1, 70)),
                  std::make_pair(Blue, Pattern(100 + c.second + 1, 70))) << c.first;
    }
    // Discs centred just outside the window's edges still fill it there.
    Place({At(-3, 60, 4, 0, 12), At(60, -3, 4, 1, 12)});
    EXPECT_EQ(gui::MapPixel(0, 60), Blue);
    EXPECT_EQ(gui::MapPixel(60, 0), Red);
    // The wind line points downwind, radius x 1.25 x zoom long: 20 at zoom 1, 80 from a disc of
    // 32 at zoom 2; none on the upwind side, none for type 4.
    const struct { double zoom; int windDir, dx, dy, length; } winds[] = {
        {1.0, 0, 0, -1, 20}, {1.0, 90, 1, 0, 20}, {1.0, 180, 0, 1, 20}, {1.0, 270, -1, 0, 20}, {2.0, 90, 1, 0, 80}};
    for (const auto& c : winds) {
        Show(c.zoom, 0, 0);
        Place({At(50, 50, 1, 0, 16, c.windDir)});
        const int cx = int(50 * c.zoom), cy = cx;
        EXPECT_EQ(gui::MapPixel(cx + c.dx * (c.length - 2), cy + c.dy * (c.length - 2)), Black) << c.windDir;
        EXPECT_NE(gui::MapPixel(cx + c.dx * (c.length + 3), cy + c.dy * (c.length + 3)), Black) << c.windDir;
        EXPECT_EQ(gui::MapPixel(cx - c.dx * 8, cy - c.dy * 8), Cyan) << c.windDir;
    }
    Place({At(-30, 50, 1, 0, 16, 90)});  // off the window at zoom 2, its line reaching in
    EXPECT_EQ(gui::MapPixel(10, 100), Black);
    Show(1.0, 0, 0);
    Place({At(50, 50, 4, 0, 16, 90)});
    EXPECT_EQ(gui::MapPixel(68, 50), Pattern(68, 50));
}

TEST_F(MapWindowTest, DragsMarkersAndErasing) {
    // A drag either way spans the same rectangle, three red pixels wide.
    const struct { int32_t* mode; int fx, fy, tx, ty; } drags[] = {
        {&automaticMode, 20, 30, 120, 90}, {&clearPartMode, 120, 90, 20, 30}};
    for (const auto& d : drags) {
        *d.mode = 1;
        gui::Drag(d.fx, d.fy, d.tx, d.ty);
        EXPECT_EQ(areaSelected, 1);
        for (int y : {29, 30, 31}) EXPECT_EQ(gui::MapPixel(70, y), Red) << y;
        EXPECT_EQ(gui::MapPixel(120, 60), Red);
        EXPECT_EQ(gui::MapPixel(70, 33), Pattern(70, 33)) << "lines only";
        EXPECT_EQ(std::vector<int32_t>({selNorth, selSouth, selWest, selEast}),
                  std::vector<int32_t>({Top - 3000, Top - 9000, Left + 2000, Left + 12000}));
        EXPECT_EQ(gui::StatusText(1).substr(0, 5), " hor:");
        gui::Drag(40, 40, 40, 40);  // both corners on one pixel
        EXPECT_EQ(areaSelected, 0);
        *d.mode = 0;
    }
    // Marker clicks in setup mode: each edge takes its own distance from its own side.
    setupMode = 1;
    const struct { int edge, x, y; int32_t MarkerPoint::*field; int32_t value; } markerClicks[] = {
        {MarkerTop, 60, 25, &MarkerPoint::y, 25}, {MarkerBottom, 60, 140, &MarkerPoint::y, 10},
        {MarkerLeft, 30, 60, &MarkerPoint::x, 30}, {MarkerRight, 150, 60, &MarkerPoint::x, 50}};
    for (const auto& m : markerClicks) {
        markerEdge = m.edge;
        gui::LeftClick(m.x, m.y);
        EXPECT_EQ(markers[m.edge].*m.field, m.value) << m.edge;
    }
    for (POINT p : {POINT{100, 25}, POINT{100, 140}, POINT{30, 100}, POINT{150, 100}}) EXPECT_EQ(gui::MapPixel(p.x, p.y), Red);
    EXPECT_EQ(gui::MapPixel(100, 10), Pattern(100, 10));
    setupMode = 0;
    // A repaint erases only when asked, so trails outside the backdrop stay until then.
    automaticMode = 1;
    gui::Drag(20, 20, 300, 100);
    EXPECT_EQ(gui::MapPixel(300, 60), Red);
    gui::Drag(20, 20, 100, 100);
    EXPECT_EQ(gui::MapPixel(300, 60), Red);
    InvalidateMap(true);
    EXPECT_EQ(gui::MapPixel(300, 60), LightGrey);
    EXPECT_EQ(gui::MapPixel(100, 60), Red);
}

// Kept from an earlier paint or stretched straight in, the backdrop on the screen at zoom 1 and
// above is what one StretchDIBits of the whole picture at the paint's rectangle makes.
TEST_F(MapWindowTest, BackdropIsTheStretchedPictureAtAnyZoomAndScroll) {
    for (auto v : {std::make_tuple(1.0, 0, 0), {3.3, 50, 50}, {9.0, 30, 70}, {40.0, 80, 20}, {40.0, 100, 100}}) {
        for (int paint = 0; paint < 2; ++paint) Show(std::get<0>(v), std::get<1>(v), std::get<2>(v));
        const gui::Picture shown = gui::CaptureMap();
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, shown.width, -shown.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC memory = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_TRUE(bitmap != nullptr);
        HGDIOBJ old = SelectObject(memory, bitmap);
        StretchDIBits(memory, mapOriginX, mapOriginY, PictureWidth(), PictureHeight(), 0, 0, BackdropW, BackdropH,
                      backdrop.pixels.data(), reinterpret_cast<BITMAPINFO*>(backdrop.info.data()), DIB_RGB_COLORS, SRCCOPY);
        GdiFlush();
        int differing = 0;
        for (int y = std::max(mapOriginY, 0); y < std::min(shown.height, mapOriginY + PictureHeight()); ++y)
            for (int x = std::max(mapOriginX, 0); x < std::min(shown.width, mapOriginX + PictureWidth()); ++x) {
                const uint32_t p = static_cast<const uint32_t*>(bits)[static_cast<size_t>(y) * shown.width + x];
                differing += RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF) != shown.At(x, y);
            }
        SelectObject(memory, old), DeleteObject(bitmap), DeleteDC(memory);
        EXPECT_EQ(differing, 0) << "zoom " << std::get<0>(v);
    }
}

TEST_F(MapWindowTest, ClicksAddInManualModeAndRemoveTheFirstHitInManualAndAutomaticMode) {
    manualMode = 1;  // where a click places its thermal is the driver's
    gui::LeftClick(60, 80);
    EXPECT_EQ(std::make_tuple(thermalCount, projectModified, gui::MapPixel(60, 80)), std::make_tuple(1, 1, Red)) << "drawn at once";
    thermalCount = MaxThermals;
    projectModified = 0;
    gui::ExpectBox(IDOK);
    gui::LeftClick(70, 80);
    EXPECT_EQ(std::make_pair(thermalCount, projectModified), std::make_pair(MaxThermals, 0));
    EXPECT_EQ(gui::BoxTexts(), std::vector<std::string>{"The thermal table is full: a project holds at most 32768 thermals..."});
    manualMode = 0;
    latSpan = 200000;  // a pick box of 10 pixels to each side
    for (auto c : {std::make_pair(&manualMode, true), {&automaticMode, true}, {&setupMode, false}, {&clearPartMode, false}}) {
        Place({At(90, 60, 2, 0, 10), At(95, 60, 3, 0, 10), At(150, 60, 1, 0, 10)});  // 92 hits both of the first
        projectModified = 0;
        *c.first = 1;
        gui::RightClick(92, 60);
        *c.first = 0;
        ASSERT_EQ(thermalCount, c.second ? 2 : 3);
        EXPECT_EQ(thermals[0].type, c.second ? 3 : 2);
        EXPECT_EQ(projectModified, c.second ? 1 : 0);
        EXPECT_EQ(gui::MapPixel(83, 64), c.second ? Pattern(83, 64) : Green);
    }
}

// Ctrl in manual mode changes a placed thermal: a click edits it in the Thermal dialog, owned by
// the Manual dialog with the main window held; a drag moves it, the disc following; each is one
// Undo step. Escape or a lost capture puts a dragged thermal back; a short drag is a click.
TEST_F(MapWindowTest, CtrlClickEditsAndCtrlDragMovesAThermalEachOneUndoStep) {
    gui::Command(CmdManual);
    latSpan = 200000;  // a pick box of 10 pixels to each side
    for (int x : {40, 80, 120}) gui::LeftClick(x, 40);
    const std::vector<Thermal> placed(thermals, thermals + 3);
    auto lines = [&] {
        gui::Command(CmdSave);
        const std::vector<std::string> all = testdata::SplitLines(folder.Read("edit.prj"));
        return std::vector<std::string>(all.begin() + 5, all.end() - (all.back().empty() ? 1 : 0));
    };
    CopyText(projectName, ProjectNameSize, "edit");
    SetCurrentDirectoryA(folder.Path().c_str());
    gui::ExpectDialog("Thermal", [](HWND d) {
        EXPECT_TRUE(GetWindow(d, GW_OWNER) == Dialog() && !IsWindowEnabled(Dialog()) && !IsWindowEnabled(gui::Main()));
        EXPECT_EQ(boxwatch::WindowText(GetDlgItem(d, IdcThermalLat)) + " " + boxwatch::WindowText(GetDlgItem(d, IdcThermalLon)) +
                  " " + boxwatch::WindowText(GetDlgItem(d, IdcManualCloudRadius)), "49:57.600N 005:04.800E 500");  // size 1000
        // A cloud type Create refuses: refused with a box, the record's values shown again.
        SetDlgItemTextA(d, IdcManualTop, "2500"), SetDlgItemTextA(d, IdcManualCloudType, "21");
        SendMessageA(d, WM_COMMAND, IDOK, 0);  // the box comes and goes inside
        EXPECT_EQ(boxwatch::WindowText(GetDlgItem(d, IdcManualTop)) + " " + boxwatch::WindowText(GetDlgItem(d, IdcManualCloudType)), "1500 1");
        SetDlgItemTextA(d, IdcManualTop, "2500");
        SendMessageA(GetDlgItem(d, IdcManualType2), BM_CLICK, 0, 0);
        boxwatch::PressButton(d, IDOK);
    });
    gui::ExpectBox(IDOK);
    gui::LeftClick(82, 42, MK_CONTROL);
    EXPECT_EQ(gui::BoxTexts(), std::vector<std::string>{"The cloud type must be 1 to 20."});
    gui::LeftClick(160, 100, MK_CONTROL);  // no thermal there: nothing placed, nothing opened
    gui::ExpectDialog("Thermal", [](HWND d) { SetDlgItemTextA(d, IdcManualTop, "1"), boxwatch::PressButton(d, IDCANCEL); });
    gui::Drag(40, 40, 42, 41, 1, MK_CONTROL);  // within the drag distance: the edit, cancelled
    for (bool escape : {true, false}) {
        gui::Mouse(WM_MOUSEMOVE, 120, 40, 0), gui::Mouse(WM_LBUTTONDOWN, 120, 40, MK_LBUTTON | MK_CONTROL);
        gui::Mouse(WM_MOUSEMOVE, 150, 100, MK_LBUTTON);
        EXPECT_TRUE(GetCapture() == gui::Map() && GetFocus() == gui::Map() && gui::MapPixel(150, 100) == Red);
        escape ? gui::PostKey(VK_ESCAPE, gui::Map()) : void(ReleaseCapture());
        gui::Pump(), gui::Mouse(WM_LBUTTONUP, 150, 100, 0);
        EXPECT_TRUE(GetCapture() == nullptr && gui::MapPixel(150, 100) != Red && gui::MapPixel(120, 40) == Red);
    }
    // A right click during a press removes the thermal pressed; the release opens nothing (the
    // dialog would come for the next record), and Undo puts it back.
    gui::Mouse(WM_MOUSEMOVE, 40, 40, 0), gui::Mouse(WM_LBUTTONDOWN, 40, 40, MK_LBUTTON | MK_CONTROL);
    gui::RightClick(40, 40), gui::Mouse(WM_LBUTTONUP, 40, 40, 0), gui::Pump();
    EXPECT_EQ(thermalCount, 2);
    gui::Command(CmdUndo);
    gui::Drag(120, 40, 120, 90, 4, MK_CONTROL);
    Thermal edited = placed[1], moved = placed[2];
    edited.top = 2500, edited.type = 2, moved.lat -= 50 * 100;
    EXPECT_EQ(lines(), std::vector<std::string>({testdata::ThermalLine(placed[0]), testdata::ThermalLine(edited),
                                                 testdata::ThermalLine(moved)}));
    gui::Command(CmdUndo), gui::Command(CmdUndo);
    EXPECT_EQ(projectModified, 1);
    EXPECT_EQ(lines(), std::vector<std::string>({testdata::ThermalLine(placed[0]), testdata::ThermalLine(placed[1]),
                                                 testdata::ThermalLine(placed[2])}));
}

// The program under strain through its own keys and scroll bars: zoomed in as far as they go,
// scrolled to every edge and out again (the bars' thumbs following), and discs far larger than the window. GDI is handed only what it can
// draw (Wine's Ellipse hangs on huge boxes; stretches past 2^31 fail), so backdrop and thermals
// stay where they belong.
TEST_F(MapWindowTest, ExtremeZoomScrollAndHugeDiscsKeepEverythingInPlace) {
    const int32_t mid = Top - BackdropH * 50, centre = Left + BackdropW * 50;
    auto keys = [](UINT key, int times) {
        for (int i = 0; i < times; ++i) gui::PostKey(key, gui::Main());
        gui::Pump();
    };
    auto scroll = [](UINT message, int percent) {  // the thumb dragged there
        SetScrollPos(gui::Map(), message == WM_HSCROLL ? SB_HORZ : SB_VERT, percent * ScrollUnitsPerPercent, FALSE);
        SendMessageA(gui::Map(), message, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
        gui::Pump();
    };
    // Probes of radius 0 (the smallest disc) one unit inside the area's corners and at its centre.
    Place({At(0, 0, 4, 1, 0), At(0, 0, 4, 1, 0), At(0, 0, 4, 1, 0), At(0, 0, 4, 1, 0), At(0, 0, 4, 1, 0)});
    const int32_t lats[] = {mid, Top, Top, areaBottom, areaBottom}, lons[] = {centre, Left + 1, areaRight - 1, Left + 1, areaRight - 1};
    for (int i = 0; i < 5; ++i) thermals[i].lat = lats[i], thermals[i].lon = lons[i];
    FitAndCentre();
    InvalidateMap(true);
    gui::Pump();
    const double fit = zoomFactor, farX = viewWidth - ViewHorizontalAllowance, farY = viewHeight - ViewVerticalAllowance;
    auto unit = [] { return zoomFactor / lonPerPixel; };
    const struct { const char* name; std::function<void()> act; int scrollX, scrollY, probe; std::function<double()> x; double y; } steps[] = {
        {"zoomed in 300 times", [&] { keys(VK_ADD, 300); }, 50, 50, 0, [&] { return farX / 2; }, farY / 2},
        {"bars at 0", [&] { scroll(WM_HSCROLL, 0), scroll(WM_VSCROLL, 0); }, 0, 0, 1, unit, 0},
        {"arrows past 0", [&] { keys(VK_LEFT, 1), keys(VK_UP, 1); }, 0, 0, 1, unit, 0},
        {"horizontal bar at 100", [&] { scroll(WM_HSCROLL, 100); }, 100, 0, 2, [&] { return farX - unit(); }, 0},
        {"arrow and page past 100", [&] { keys(VK_RIGHT, 1), SendMessageA(gui::Map(), WM_HSCROLL, SB_PAGEDOWN, 0), gui::Pump(); },
         100, 0, 2, [&] { return farX - unit(); }, 0},
        {"both bars at 100", [&] { scroll(WM_VSCROLL, 100), keys(VK_DOWN, 1); }, 100, 100, 4, [&] { return farX - unit(); }, farY},
        {"vertical at 100, horizontal at 0", [&] { scroll(WM_HSCROLL, 0); }, 0, 100, 3, unit, farY},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        const auto at = std::make_pair(step.scrollX * ScrollUnitsPerPercent, step.scrollY * ScrollUnitsPerPercent);
        EXPECT_EQ(std::make_pair(scrollPositionX, scrollPositionY), at);
        EXPECT_EQ(std::make_pair(GetScrollPos(gui::Map(), SB_HORZ), GetScrollPos(gui::Map(), SB_VERT)), at);
        EXPECT_LE(PictureWidth(), 1 << 26);
        int x, y;
        ASSERT_TRUE(GeoToWindow(thermals[step.probe].lat, thermals[step.probe].lon, x, y));
        EXPECT_NEAR(x, step.x(), 2.0);
        EXPECT_NEAR(y, step.y, 2.0);
        if (x >= 0 && y >= 0 && x < farX && y < farY) { EXPECT_EQ(gui::MapPixel(x, y), Red) << "the probe's fill"; }
        // Away from the probes the backdrop shows: the pixel the view maps there.
        const int px = static_cast<int>(farX / 3), py = static_cast<int>(farY / 3);
        EXPECT_EQ(gui::MapPixel(px, py), Pattern(WindowToColumn(px), WindowToRow(py)));
    }
    keys(VK_SUBTRACT, 300);
    EXPECT_EQ(zoomFactor, fit);  // zooming out comes back to the fitted zoom exactly
    // A disc far larger than the window: a realistic one zoomed in fully, and the largest radius.
    for (auto c : {std::make_pair(2000, 300), {INT32_MAX, 0}}) {
        Place({At(0, 0, 4, 0, 0), At(0, 0, 4, 1, 0)});
        thermals[0].lat = thermals[1].lat = mid, thermals[0].lon = thermals[1].lon = centre;
        thermals[0].radius = c.first;
        Show(fit, 50, 50);
        keys(VK_ADD, c.second);
        for (POINT p : {POINT{20, 20}, POINT{int(farX) - 20, int(farY) - 20}, POINT{int(farX / 2) + 30, int(farY / 2)}})
            EXPECT_EQ(gui::MapPixel(p.x, p.y), Blue) << c.first << " at " << p.x << "," << p.y;
        EXPECT_EQ(gui::MapPixel(int(farX / 2), int(farY / 2)), Red) << "the probe on its centre";
        keys(VK_SUBTRACT, c.second);
    }
}

// The wheel over the map, as the main window gets it: line steps a notch (a page step where the
// system says one screen at a time), across with Shift; with Ctrl a zoom step a notch that keeps
// the picture point under the pointer there, within a pixel.
TEST_F(MapWindowTest, WheelScrollsByLineStepsAndCtrlWheelZoomsAboutThePointer) {
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const int n = static_cast<int>(lines);
    const struct { WORD keys; int delta; double fx, fy; int dx, dy; double zoom; bool pages = false; } rows[] = {
        {0, -WHEEL_DELTA, .5, .5, 0, n, 8.0},
        {0, 2 * WHEEL_DELTA, .5, .5, 0, -2 * n, 8.0},
        {MK_SHIFT, -WHEEL_DELTA, .5, .5, n, 0, 8.0},
        {MK_CONTROL, WHEEL_DELTA, .2, .3, 0, 0, 8.8},
        {MK_CONTROL, -WHEEL_DELTA, .9, .8, 0, 0, 7.2},
        {MK_CONTROL, 2 * WHEEL_DELTA, .6, .1, 0, 0, 8 * 1.1 * 1.1},
        {0, -2 * WHEEL_DELTA, .5, .5, 0, 2, 8.0, true},
        {MK_SHIFT, WHEEL_DELTA, .5, .5, -1, 0, 8.0, true},
    };
    for (const auto& row : rows) {
        Show(8.0, 50, 50);
        SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, row.pages ? WHEEL_PAGESCROLL : lines, nullptr, 0);
        RECT client;
        GetClientRect(gui::Map(), &client);
        POINT at = {static_cast<LONG>(client.right * row.fx), static_cast<LONG>(client.bottom * row.fy)}, screen = at;
        ClientToScreen(gui::Map(), &screen);
        const double column = (at.x - mapOriginX) / zoomFactor, line = (at.y - mapOriginY) / zoomFactor;
        SendMessageA(gui::Main(), WM_MOUSEWHEEL, MAKEWPARAM(row.keys, row.delta), MAKELPARAM(screen.x, screen.y));
        gui::Pump();
        EXPECT_NEAR(zoomFactor, row.zoom, 1e-9) << row.keys << " " << row.delta;
        if (row.keys & MK_CONTROL) {
            // The origin is a whole pixel: the point stays within one of where it was.
            EXPECT_NEAR(column * zoomFactor + mapOriginX, at.x, 1.0) << row.delta;
            EXPECT_NEAR(line * zoomFactor + mapOriginY, at.y, 1.0) << row.delta;
        } else {
            auto step = row.pages ? ScrollPageStep : ScrollLineStep;
            EXPECT_EQ(std::make_pair(scrollPositionX, scrollPositionY),
                      std::make_pair(ScrollPositionCentre + row.dx * step(ScrollAxis::Horizontal),
                                     ScrollPositionCentre + row.dy * step(ScrollAxis::Vertical))) << row.delta;
        }
    }
    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, lines, nullptr, 0);
}

TEST_F(MapWindowTest, ManualSetKeepsFiveCharactersAndTypeButtonsApplyAtOnce) {
    manualSettings.type = 2;
    gui::Command(CmdManual);
    ASSERT_NE(Dialog(), nullptr);
    // Opening shows the texts, the cloud flag and the type in effect (its focus is the driver's).
    EXPECT_EQ(Checked(IdcManualType1, IdcManualType4), std::vector<int>{IdcManualType2});
    EXPECT_EQ(Text(IdcManualWindDir), "270");
    EXPECT_EQ(IsDlgButtonChecked(Dialog(), IdcManualCloudOn), BST_CHECKED);
    const char* typed[] = {"1234567", "-12ab", "", "abcdef", "99999", "123456", "7", "20"};
    const char* kept[] = {"12345", "-12ab", "", "abcde", "99999", "12345", "7", "20"};
    for (int i = 0; i < 8; ++i) SetDlgItemTextA(Dialog(), IdcManualBottom + i, typed[i]);
    Click(IdcManualCloudOn);
    EXPECT_STREQ(manualSettings.bottom, "0");  // nothing applies before Set
    EXPECT_EQ(manualSettings.cloudOn, 1);
    Click(IdcManualSet);
    const char* settings[] = {manualSettings.bottom, manualSettings.top, manualSettings.radius, manualSettings.windDir,
                              manualSettings.factor, manualSettings.cloudCeiling, manualSettings.cloudRadius, manualSettings.cloudType};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(settings[i] + std::string("|") + Text(IdcManualBottom + i), std::string(kept[i]) + "|" + kept[i]) << i;
    EXPECT_EQ(manualSettings.cloudOn, 0);
    // A cloud type outside 1 to 20, cloud on or off, is refused with every setting kept and shown.
    for (const char* type : {"21", "0"}) {
        SetDlgItemTextA(Dialog(), IdcManualTop, "999"), SetDlgItemTextA(Dialog(), IdcManualCloudType, type);
        if (*type == '2') Click(IdcManualCloudOn);
        gui::ExpectBox(IDOK), Click(IdcManualSet);
        ASSERT_EQ(gui::BoxTexts(), std::vector<std::string>{"The cloud type must be 1 to 20."});
        EXPECT_EQ(std::make_pair(gui::Boxes()[0].Type(), gui::Boxes()[0].caption), std::make_pair(UINT(MB_OK | MB_ICONEXCLAMATION), std::string("Ascendor")));
        EXPECT_EQ(Text(IdcManualTop) + Text(IdcManualCloudType) + manualSettings.top + manualSettings.cloudType, "-12ab20-12ab20");
        EXPECT_EQ(std::make_pair(manualSettings.cloudOn, IsDlgButtonChecked(Dialog(), IdcManualCloudOn)), std::make_pair(uint8_t(0), UINT(BST_UNCHECKED)));
        gui::CheckWatcher();
    }
    for (int id : {IdcManualType1, IdcManualType3, IdcManualType4}) {
        Click(id);
        EXPECT_EQ(manualSettings.type, id - IdcManualType1 + 1);
        EXPECT_EQ(Checked(IdcManualType1, IdcManualType4), std::vector<int>{id});
    }
    // Typed but not Set: closing keeps the settings and leaves manual mode.
    SetDlgItemTextA(Dialog(), IdcManualTop, "4444");
    SendMessageA(Dialog(), WM_COMMAND, IDCANCEL, 0);
    gui::Pump();
    EXPECT_EQ(std::make_pair(Dialog(), manualMode), std::make_pair(HWND(nullptr), 0));
    EXPECT_STREQ(manualSettings.top, "-12ab");
}

// Which thermals go is the core's, Clear without a rectangle a command row's; here: the question, its
// answers, a rectangle without thermals (no question, no change), OK.
TEST_F(MapWindowTest, ClearPartlyAsksOnlyForARectangleWithThermals) {
    thermals[0] = Thermal{Top - 100, Left + 100, 1, 0, 1000, 300, 0, 0, 1, 0, 0, 0, 1}, thermalCount = 1;
    gui::Command(CmdClearPartly);
    EXPECT_TRUE(Dialog() && clearPartMode && GetFocus() == GetDlgItem(Dialog(), IdcClearPartClear));
    const struct { int x1, y1, x2, y2, answer; int32_t count, modified; } cases[] = {
        {120, 90, 170, 140, 0, 1, 0}, {0, 0, 50, 50, IDNO, 1, 0}, {0, 0, 50, 50, IDYES, 0, 1}};
    for (const auto& c : cases) {
        projectModified = 0;
        DragRectangle(c.x1, c.y1, c.x2, c.y2);
        if (c.answer) gui::ExpectBox(c.answer);
        Click(IdcClearPartClear);
        EXPECT_EQ(gui::BoxTexts(), c.answer ? std::vector<std::string>{"Do you want to clear these thermals ?"} : std::vector<std::string>{});
        if (c.answer) { EXPECT_EQ(gui::Boxes()[0].Type(), static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION)); }
        EXPECT_EQ(std::make_pair(thermalCount, projectModified), std::make_pair(c.count, c.modified));
        EXPECT_EQ(areaSelected, c.answer == IDYES ? 0 : 1);  // the repaint found the rectangle reset
        gui::CheckWatcher();
    }
    DragRectangle(10, 10, 50, 50);
    Click(IdcClearPartOk);
    EXPECT_EQ(std::vector<int>({Dialog() != nullptr, clearPartMode, selEndX}), std::vector<int>({0, 0, 0}));
}

}  // namespace

// Every stamp's copy leaves exactly the pixels of its direct GDI call: each stamped radius with
// each fill, each stamped wind-line step, in the middle of a picture and cut by its edges or by a
// rectangular clip (a strip of a moved view); a clip of any other shape is left to GDI.
TEST(DiscStampTest, CopiesLeaveThePixelsOfTheDirectCalls) {
    constexpr int Side = 90;
    struct Surface {
        HDC dc = CreateCompatibleDC(nullptr);
        uint32_t* bits = nullptr;
        HBITMAP bitmap;
        Surface() {
            BITMAPINFO info{};
            info.bmiHeader = {sizeof(BITMAPINFOHEADER), Side, -Side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
            bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
            SelectObject(dc, bitmap);
        }
        ~Surface() { DeleteDC(dc), DeleteObject(bitmap); }
        void Clear() { std::fill(bits, bits + Side * Side, 0x00405060u); }
    } direct, stamped;
    HRGN notch = CreateRectRgn(0, 0, 30, 30), corner = CreateRectRgn(20, 20, 60, 60);
    CombineRgn(notch, notch, corner, RGN_OR);
    SelectClipRgn(stamped.dc, notch);
    PixelTarget pixels;
    EXPECT_FALSE(PixelTargetOf(stamped.dc, pixels));
    DeleteObject(notch), DeleteObject(corner);
    const POINT places[] = {{Side / 2, Side / 2}, {1, 2}, {Side - 2, Side / 3}, {Side / 3, Side - 1}, {-5, Side + 4}};
    const COLORREF fills[] = {Cyan, Yellow, Green, Magenta, Blue, Red};
    HPEN outline = CreatePen(PS_SOLID, 1, Black), wind = CreatePen(PS_SOLID, 2, Black);
    auto compare = [&](const char* what, int a, int b, POINT at, std::function<void()> draw, std::function<bool()> copy) {
        direct.Clear(), stamped.Clear();
        draw(), GdiFlush();
        ASSERT_TRUE(copy());
        ASSERT_TRUE(std::equal(direct.bits, direct.bits + Side * Side, stamped.bits)) << what << " " << a << " " << b << " at " << at.x << "," << at.y;
    };
    const RECT clips[] = {{0, 0, Side, Side}, {20, 10, 70, 80}};
    for (const RECT& clip : clips)
    for (const POINT at : places) {
        HRGN region = CreateRectRgnIndirect(&clip);
        SelectClipRgn(direct.dc, region), SelectClipRgn(stamped.dc, region);
        DeleteObject(region);
        ASSERT_TRUE(PixelTargetOf(stamped.dc, pixels));
        for (const COLORREF fill : fills) {
            HBRUSH brush = CreateSolidBrush(fill);
            SelectObject(direct.dc, outline), SelectObject(direct.dc, brush);
            for (int ri = 0; ri <= LargestStampedRadius; ++ri)
                compare("disc", ri, int(fill), at, [&] { Ellipse(direct.dc, at.x - ri, at.y - ri, at.x + ri, at.y + ri); },
                        [&] { return CopyDiscStamp(pixels, at.x, at.y, ri, fill); });
            SelectObject(direct.dc, GetStockObject(WHITE_BRUSH)), DeleteObject(brush);
        }
        SelectObject(direct.dc, wind);
        for (int dx = -LongestStampedLine; dx <= LongestStampedLine; ++dx)
            for (int dy = -LongestStampedLine; dy <= LongestStampedLine; ++dy)
                compare("line", dx, dy, at, [&] { MoveToEx(direct.dc, at.x, at.y, nullptr), LineTo(direct.dc, at.x + dx, at.y + dy); },
                        [&] { return CopyLineStamp(pixels, at.x, at.y, dx, dy); });
        SelectObject(direct.dc, GetStockObject(BLACK_PEN));
    }
    DeleteObject(outline), DeleteObject(wind);
}
