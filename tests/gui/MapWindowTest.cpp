// The map window through real messages, read back as pixels: disc fills and sizes, wind lines,
// the red outlines, erasing, scrolling, the backdrop picture, and the mouse by map mode.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "gui/Harness.h"
#include "map/Bitmap.h"
#include "map/Geometry.h"
#include "map/MapWindow.h"
#include "map/Selection.h"
#include "model/Project.h"

namespace {

constexpr int BackdropW = 200, BackdropH = 150;
constexpr int32_t Top = 5000000, Left = 500000;  // 50 N, 5 E; 100 units per backdrop pixel
constexpr COLORREF Black = RGB(0, 0, 0), Red = RGB(255, 0, 0), White = RGB(255, 255, 255);
constexpr COLORREF Cyan = RGB(0, 255, 255), Yellow = RGB(255, 255, 0), Green = RGB(0, 255, 0);
constexpr COLORREF Magenta = RGB(255, 0, 255), Blue = RGB(0, 0, 255), LightGrey = RGB(192, 192, 192);

// Inside 16..239 in every channel: never black, red, grey or a disc fill.
COLORREF Pattern(int x, int y) { return RGB(16 + x * 7 % 200, 16 + y * 5 % 200, 16 + (x ^ y) * 3 % 200); }

void WriteBackdrop(const std::string& path) {  // 24-bit, bottom-up
    const int rowSize = (BackdropW * 3 + 3) / 4 * 4;
    std::string bytes(54 + rowSize * BackdropH, '\0');
    auto put = [&bytes](size_t at, uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
    };
    bytes[0] = 'B', bytes[1] = 'M';
    put(2, static_cast<uint32_t>(bytes.size()), 4), put(10, 54, 4), put(14, 40, 4);
    put(18, BackdropW, 4), put(22, BackdropH, 4), put(26, 1, 2), put(28, 24, 2);
    for (int y = 0; y < BackdropH; ++y)
        for (int x = 0; x < BackdropW; ++x) {
            COLORREF c = Pattern(x, y);
            put(54 + static_cast<size_t>(BackdropH - 1 - y) * rowSize + x * 3,
                GetBValue(c) | GetGValue(c) << 8 | GetRValue(c) << 16, 3);
        }
    std::ofstream(path, std::ios::binary) << bytes;
}

class MapWindowTest : public gui::GuiTest {
protected:
    // The backdrop is loaded the way Open has it loaded, by the paint; then shown at zoom 1 in the
    // window's top-left corner, so window pixels are backdrop pixels.
    void SetUp() override {
        gui::GuiTest::SetUp();
        WriteBackdrop(folder.File("pattern.bmp"));
        CopyText(backdropName, BackdropNameSize, folder.File("pattern.bmp").c_str());
        backdropReloadPending = 1;
        InvalidateMap(true);
        gui::Pump();
        ASSERT_EQ(backdropWidth, BackdropW);
        areaTop = Top, areaLeft = Left;
        latSpan = BackdropH * 100, lonSpan = BackdropW * 100;
        areaBottom = Top - latSpan, areaRight = Left + lonSpan;
        latPerPixel = lonPerPixel = 100.0;
        Show(1.0, 0, 0);
    }

    void Show(double zoom, int percentX, int percentY) {
        zoomFactor = zoom, scrollPercentX = percentX, scrollPercentY = percentY;
        InvalidateMap(true);
        gui::Pump();
    }

    // Centre at backdrop pixel (x, y); radius in backdrop pixels.
    static Thermal At(int x, int y, int type, int cloudOn, int radius, int windDir = 0) {
        Thermal t{};
        t.lat = Top - y * 100, t.lon = Left + x * 100;
        t.type = type, t.cloudOn = static_cast<uint8_t>(cloudOn);
        t.radius = radius * 100, t.windDir = windDir;
        return t;
    }

    static void Place(const std::vector<Thermal>& list) {
        thermalCount = 0;
        for (const Thermal& t : list) thermals[thermalCount++] = t;
        InvalidateMap(false);
        gui::Pump();
    }

    gui::ScratchFolder folder;
};

TEST_F(MapWindowTest, DiscFillsFollowTypeAndCloudAndUnknownTypesInherit) {
    const struct {
        std::vector<int> types, clouds;
        std::vector<COLORREF> fills;  // Black: placed off the window, not probed
    } cases[] = {
        {{1, 1, 2, 2, 3, 3, 4, 4},
         {0, 1, 0, 1, 0, 1, 0, 1},
         {Cyan, Yellow, Green, Green, Magenta, Magenta, Blue, Red}},
        // Before any known type the fill is the DC's current brush.
        {{0, 3, 9, -1, 4}, {0, 0, 1, 0, 0}, {White, Magenta, Magenta, Magenta, Blue}},
        {{2, 7}, {0, 0}, {Black, Green}},
    };
    for (const auto& c : cases) {
        std::vector<Thermal> list;
        for (size_t i = 0; i < c.types.size(); ++i) {
            int x = c.fills[i] == Black ? -500 : 15 + 22 * static_cast<int>(i);
            list.push_back(At(x, 40, c.types[i], c.clouds[i], 8));
        }
        Place(list);
        for (size_t i = 0; i < c.types.size(); ++i)  // below the centre, off the upward wind line
            if (c.fills[i] != Black) {
                EXPECT_EQ(gui::MapPixel(15 + 22 * static_cast<int>(i), 44), c.fills[i]) << i;
            }
    }
}

TEST_F(MapWindowTest, DiscsHaveAtLeastFivePixelsOfRadius) {
    // The box spans centre - r to centre + r, right edge excluded: outline at r - 1.
    const struct { int radius, shown; } cases[] = {{0, 5}, {1, 5}, {4, 5}, {5, 5}, {12, 12}};
    for (const auto& c : cases) {
        Place({At(100, 70, 4, 0, c.radius)});
        EXPECT_EQ(gui::MapPixel(100 + c.shown - 2, 70), Blue) << c.radius;
        EXPECT_EQ(gui::MapPixel(100 + c.shown - 1, 70), Black) << c.radius;
        EXPECT_EQ(gui::MapPixel(100 + c.shown, 70), Pattern(100 + c.shown, 70)) << c.radius;
    }
}

TEST_F(MapWindowTest, WindLinePointsDownwindAndReachesRadiusTimesOneQuarterMoreTimesZoom) {
    // Radius 16 at zoom 1: a line of 20. At zoom 2 the disc is 32 and the line 80.
    const struct { double zoom; int windDir, dx, dy, length; } cases[] = {
        {1.0, 0, 0, -1, 20}, {1.0, 90, 1, 0, 20}, {1.0, 180, 0, 1, 20},
        {1.0, 270, -1, 0, 20}, {2.0, 90, 1, 0, 80},
    };
    for (const auto& c : cases) {
        Show(c.zoom, 0, 0);
        Place({At(50, 50, 1, 0, 16, c.windDir)});
        const int cx = static_cast<int>(50 * c.zoom), cy = cx;
        EXPECT_EQ(gui::MapPixel(cx + c.dx * (c.length - 2), cy + c.dy * (c.length - 2)), Black) << c.windDir;
        EXPECT_NE(gui::MapPixel(cx + c.dx * (c.length + 3), cy + c.dy * (c.length + 3)), Black) << c.windDir;
        EXPECT_EQ(gui::MapPixel(cx - c.dx * 8, cy - c.dy * 8), Cyan) << "no line on the upwind side";
    }
    // A disc off the window whose wind line reaches into it is drawn.
    Place({At(-30, 50, 1, 0, 16, 90)});
    EXPECT_EQ(gui::MapPixel(10, 100), Black);
    Show(1.0, 0, 0);
    Place({At(50, 50, 4, 0, 16, 90)});
    EXPECT_EQ(gui::MapPixel(68, 50), Pattern(68, 50)) << "type 4 has no wind line";
}

TEST_F(MapWindowTest, DraggedRectangleAndAreaFrameAreThreeRedPixelsWide) {
    for (int32_t* mode : {&automaticMode, &clearPartMode}) {
        *mode = 1;
        gui::Drag(20, 30, 120, 90);
        EXPECT_EQ(areaSelected, 1);
        for (int y : {29, 30, 31}) EXPECT_EQ(gui::MapPixel(70, y), Red) << y;
        EXPECT_EQ(gui::MapPixel(120, 60), Red);
        EXPECT_EQ(gui::MapPixel(70, 33), Pattern(70, 33)) << "lines only";
        EXPECT_EQ(selNorth, Top - 30 * 100);
        EXPECT_EQ(selEast, Left + 120 * 100);
        EXPECT_EQ(gui::StatusText(1).substr(0, 5), " hor:");
        gui::Drag(40, 40, 40, 40);  // both corners on one pixel
        EXPECT_EQ(areaSelected, 0);
        *mode = 0;
    }
    setupMode = 1;
    markerEdge = MarkerTop;
    gui::LeftClick(60, 25);
    EXPECT_EQ(markers[MarkerTop].y, 25);
    for (int y : {24, 25, 26}) EXPECT_EQ(gui::MapPixel(100, y), Red) << y;
    // Edges without a marker lie on the backdrop's edges.
    for (POINT p : {POINT{100, BackdropH}, POINT{BackdropW, 75}, POINT{1, 75}})
        EXPECT_EQ(gui::MapPixel(p.x, p.y), Red);
    EXPECT_EQ(gui::MapPixel(100, 10), Pattern(100, 10));
}

TEST_F(MapWindowTest, RepaintErasesOnlyWhenAskedSoTrailsOutsideTheBackdropStay) {
    automaticMode = 1;
    gui::Drag(20, 20, 300, 100);  // the right edge lies beyond the backdrop
    EXPECT_EQ(gui::MapPixel(300, 60), Red);
    EXPECT_EQ(gui::MapPixel(230, 50), Red) << "an edge drawn at once during the drag";
    gui::Drag(20, 20, 100, 100);
    EXPECT_EQ(gui::MapPixel(300, 60), Red);
    InvalidateMap(true);
    EXPECT_EQ(gui::MapPixel(300, 60), LightGrey);
    EXPECT_EQ(gui::MapPixel(100, 60), Red);
}

TEST_F(MapWindowTest, ScrollBarsMoveThePercentagesAndTheOrigin) {
    Show(12.0, 50, 50);  // larger than the window
    const struct { UINT message; WORD code, position; int start, expected; } cases[] = {
        {WM_HSCROLL, SB_LINELEFT, 0, 50, 49},      {WM_HSCROLL, SB_PAGERIGHT, 0, 50, 55},
        {WM_HSCROLL, SB_THUMBTRACK, 80, 50, 80},   {WM_HSCROLL, SB_THUMBPOSITION, 80, 50, 50},
        {WM_HSCROLL, SB_LINELEFT, 0, 0, 0},        {WM_HSCROLL, SB_PAGERIGHT, 0, 98, 100},
        {WM_VSCROLL, SB_LINEDOWN, 0, 50, 51},      {WM_VSCROLL, SB_PAGEUP, 0, 3, 0},
    };
    for (const auto& c : cases) {
        const bool across = c.message == WM_HSCROLL;
        (across ? scrollPercentX : scrollPercentY) = c.start;
        gui::MouseMove(300, 200);
        const std::string before = gui::StatusText(0);
        SendMessageA(gui::Map(), c.message, MAKEWPARAM(c.code, c.position), 0);
        gui::Pump();
        EXPECT_EQ(across ? scrollPercentX : scrollPercentY, c.expected) << c.code;
        const double overflow =
            across ? BackdropW * 12.0 - viewWidth + 19.0 : BackdropH * 12.0 - viewHeight + 40.0;
        EXPECT_EQ(across ? mapOriginX : mapOriginY, static_cast<int>(-(overflow / 100.0) * c.expected));
        EXPECT_EQ(GetScrollPos(gui::Map(), across ? SB_HORZ : SB_VERT), c.expected);
        if (c.expected != c.start) {
            EXPECT_NE(gui::StatusText(0), before) << "the pointer's position follows";
        }
    }
}

// Kept from an earlier paint or stretched straight in, the backdrop on the screen is what one
// StretchDIBits of the whole picture at the paint's rectangle makes.
TEST_F(MapWindowTest, BackdropIsTheStretchedPictureAtAnyZoomAndScroll) {
    const struct { double zoom; int x, y; } views[] = {
        {1.0, 0, 0}, {3.3, 50, 50}, {9.0, 30, 70}, {40.0, 80, 20}};
    for (const auto& v : views) {
        for (int paint = 0; paint < 2; ++paint) Show(v.zoom, v.x, v.y);
        const gui::Picture shown = gui::CaptureMap();
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, shown.width, -shown.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC memory = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_TRUE(bitmap != nullptr);
        HGDIOBJ old = SelectObject(memory, bitmap);
        StretchDIBits(memory, mapOriginX, mapOriginY, PictureWidth(), PictureHeight(), 0, 0, BackdropW,
                      BackdropH, backdrop.pixels.data(), reinterpret_cast<BITMAPINFO*>(backdrop.info.data()),
                      DIB_RGB_COLORS, SRCCOPY);
        GdiFlush();
        int differing = 0;
        const int right = std::min(shown.width, mapOriginX + PictureWidth());
        const int bottom = std::min(shown.height, mapOriginY + PictureHeight());
        for (int y = std::max(mapOriginY, 0); y < bottom; ++y)
            for (int x = std::max(mapOriginX, 0); x < right; ++x) {
                uint32_t p = static_cast<const uint32_t*>(bits)[static_cast<size_t>(y) * shown.width + x];
                differing += RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF) != shown.At(x, y);
            }
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        EXPECT_EQ(differing, 0) << "zoom " << v.zoom;
    }
}

TEST_F(MapWindowTest, LeftClickInManualModeAddsAThermalAtThePointerUnlessTheTableIsFull) {
    manualMode = 1;
    gui::LeftClick(60, 80);
    ASSERT_EQ(thermalCount, 1);
    EXPECT_EQ(thermals[0].lat, Top - 80 * 100);
    EXPECT_EQ(thermals[0].lon, Left + 60 * 100);
    EXPECT_EQ(projectModified, 1);
    EXPECT_EQ(gui::MapPixel(60, 80), Red) << "type 4 with a cloud, drawn at once";

    thermalCount = MaxThermals;
    projectModified = 0;
    gui::ExpectBox(IDOK);
    gui::LeftClick(70, 80);
    EXPECT_EQ(thermalCount, MaxThermals);
    EXPECT_EQ(projectModified, 0);
    EXPECT_EQ(gui::Boxes().size(), 1u);
    thermalCount = 0;
}

TEST_F(MapWindowTest, RightClickRemovesTheFirstHitOnlyInManualAndAutomaticMode) {
    const struct { int32_t* mode; bool removes; } cases[] = {
        {&manualMode, true}, {&automaticMode, true}, {&setupMode, false},
        {&clearPartMode, false}, {nullptr, false},
    };
    latSpan = 200000;  // a pick box of 10 pixels to each side
    for (const auto& c : cases) {
        // A click at 92 hits both overlapping discs.
        Place({At(90, 60, 2, 0, 10), At(95, 60, 3, 0, 10), At(150, 60, 1, 0, 10)});
        projectModified = 0;
        if (c.mode) *c.mode = 1;
        gui::RightClick(92, 60);
        if (c.mode) *c.mode = 0;
        ASSERT_EQ(thermalCount, c.removes ? 2 : 3);
        EXPECT_EQ(thermals[0].type, c.removes ? 3 : 2);
        EXPECT_EQ(projectModified, c.removes ? 1 : 0);
        EXPECT_EQ(gui::MapPixel(83, 64), c.removes ? Pattern(83, 64) : Green);
    }
}

}  // namespace
