// The program under strain through its own commands: zoomed in as far as the keys go, scrolled to
// every edge and zoomed out again with the thermals still drawn where they belong; and saves that
// fail (a missing folder, a folder in the file's place, a write cut off halfway, names too long
// for the buffers), each telling the user and losing nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "gui/Harness.h"
#include "gui/ProjectOnDisk.h"
#include "map/Geometry.h"
#include "model/Project.h"
#include "model/SafeFile.h"
#include "resources/ResourceIds.h"
#include "shell/Frame.h"

namespace {

namespace fs = std::filesystem;
using gui::MakeThermal;

constexpr COLORREF Cyan = RGB(0, 255, 255);    // lift type 1 without a cloud
constexpr COLORREF Blue = RGB(0, 0, 255);      // lift type 4 without a cloud
constexpr COLORREF Red = RGB(255, 0, 0);       // lift type 4 with a cloud

// 52:30 N to 52:00 N and 4:30 E to 5:30 E over 640 x 480 pixels.
constexpr int32_t Top = 5250000, Bottom = 5200000, Left = 450000, Right = 550000;
constexpr int32_t MidLat = (Top + Bottom) / 2, MidLon = (Left + Right) / 2;
constexpr int PictureW = 640, PictureH = 480;

// The backdrop: nine cells of three by three, each of its own colour (none a disc's fill), so that
// a picture left over from another view shows.
COLORREF CellColour(int column, int row) {
    const int cx = column * 3 / PictureW, cy = row * 3 / PictureH;
    return RGB(40 + 60 * cx, 50 + 60 * cy, 120);
}
// Near a cell's edge a pixel of the window may show either cell.
bool NearCellEdge(int column, int row) {
    for (int k = 1; k < 3; ++k)
        if (std::abs(column - k * PictureW / 3) <= 1 || std::abs(row - k * PictureH / 3) <= 1) return true;
    return false;
}

void WriteCellBackdrop(const std::string& path) {
    const int rowSize = (PictureW * 3 + 3) / 4 * 4;
    const uint32_t dataSize = static_cast<uint32_t>(rowSize * PictureH);
    std::string bytes(54 + dataSize, '\0');
    auto put = [&bytes](size_t at, uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, 54 + dataSize, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, PictureW, 4);
    put(22, PictureH, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < PictureH; ++y)
        for (int x = 0; x < PictureW; ++x) {
            const COLORREF c = CellColour(x, y);
            const size_t at = 54 + static_cast<size_t>(PictureH - 1 - y) * rowSize + x * 3;
            bytes[at] = static_cast<char>(GetBValue(c));
            bytes[at + 1] = static_cast<char>(GetGValue(c));
            bytes[at + 2] = static_cast<char>(GetRValue(c));
        }
    gui::WriteBytes(path, bytes);
}

// Probes of radius 0 keep the smallest disc (5 pixels) at every zoom, so their centre pixel shows
// their fill wherever the view is. The corner probes sit one unit inside the area's corners.
enum CornerIndex { CentreProbe, TopLeft, TopRight, BottomLeft, BottomRight, WindEast };
const std::vector<Thermal> CornerTable = {
    MakeThermal(MidLat, MidLon, 4, true, 0),
    MakeThermal(Top, Left + 1, 4, true, 0),
    MakeThermal(Top, Right - 1, 4, true, 0),
    MakeThermal(Bottom, Left + 1, 4, true, 0),
    MakeThermal(Bottom, Right - 1, 4, true, 0),
    // Its wind line points east, away from the probes.
    MakeThermal((Top + 3 * Bottom) / 4, (Left + 3 * Right) / 4, 1, false, 500, 90),
};
// A large thermal with a probe on its centre.
enum LargeIndex { LargeDisc, LargeProbe };
const std::vector<Thermal> LargeTable = {
    MakeThermal(MidLat, MidLon, 4, false, 2000),
    MakeThermal(MidLat, MidLon, 4, true, 0),
};

class FaultsTest : public gui::GuiTest {
protected:
    void TearDown() override {
        writeFaultAfterBytes = -1;
        gui::GuiTest::TearDown();
    }
};

COLORREF FillOf(const Thermal& t) {
    if (t.type == 4) return t.cloudOn ? Red : Blue;
    return Cyan;  // the tables here use type 1 without a cloud otherwise
}

struct Disc {
    int x = 0, y = 0;
    double r = 0;
};

Disc DiscOf(int i) {
    Disc d;
    EXPECT_TRUE(GeoToWindow(thermals[i].lat, thermals[i].lon, d.x, d.y));
    d.r = std::max(5.0, RadiusToWindow(thermals[i].radius));
    return d;
}

// The colour the map must show at a pixel: the backdrop's, or the fill of the last thermal whose
// disc holds it. False where that cannot be said: near a disc's outline or a wind line (which
// points east in these tables), near a cell's edge, or off the picture.
bool ExpectedAt(int x, int y, COLORREF& colour) {
    constexpr double Margin = 6;
    const int column = WindowToColumn(x), row = WindowToRow(y);
    bool known = x >= mapOriginX && x < mapOriginX + PictureWidth() && y >= mapOriginY &&
                 y < mapOriginY + PictureHeight() && !NearCellEdge(column, row);
    colour = known ? CellColour(column, row) : 0;
    for (int j = 0; j < thermalCount; ++j) {
        const Disc d = DiscOf(j);
        const double distance = std::hypot(static_cast<double>(x) - d.x, static_cast<double>(y) - d.y);
        if (std::fabs(distance - d.r) < Margin) return false;
        if (thermals[j].type != 4 && std::fabs(static_cast<double>(y) - d.y) <= Margin &&
            x >= d.x - Margin)
            return false;
        if (distance < d.r) {
            colour = FillOf(thermals[j]);
            known = true;
        }
    }
    return known;
}

// Checks the probes' centres that are on the window and a few spots spread over it; returns how
// many pixels were checked.
int CheckPicture() {
    RECT client{};
    GetClientRect(gui::Map(), &client);
    std::vector<POINT> points = {{40, 40},
                                 {client.right - 40, 40},
                                 {40, client.bottom - 40},
                                 {client.right - 40, client.bottom - 40},
                                 {client.right / 2 + 40, client.bottom / 2 + 30}};
    for (int i = 0; i < thermalCount; ++i) {
        const Disc d = DiscOf(i);
        if (thermals[i].radius == 0) points.push_back({d.x, d.y});
    }
    int checked = 0;
    for (const POINT& p : points) {
        COLORREF expected;
        if (p.x < 0 || p.y < 0 || p.x >= client.right || p.y >= client.bottom) continue;
        if (!ExpectedAt(p.x, p.y, expected)) continue;
        EXPECT_EQ(gui::MapPixel(p.x, p.y), expected) << "at " << p.x << "," << p.y;
        ++checked;
    }
    return checked;
}

void PostKeys(UINT key, int times) {
    for (int i = 0; i < times; ++i) gui::PostKey(key, gui::Main());
    gui::Pump(30000, 100);
}

void ScrollTo(UINT message, int percent) {
    SendMessageA(gui::Map(), message, MAKEWPARAM(SB_THUMBTRACK, percent), 0);
    gui::Pump();
}

// Where a probe must be, from the view alone: at scroll 0 the picture's corner is the window's,
// at 100 its far edge is at the view size less the allowances, at 50 its middle in between.
struct Where {
    int probe;
    double x, y;
};
struct Step {
    const char* name;
    std::function<void()> act;
    int scrollX, scrollY;
    std::function<std::vector<Where>()> where;
};

void RunSteps(const std::vector<Step>& steps) {
    const double fit = fitZoom;
    ASSERT_GT(fit, 0.0);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(scrollPercentX, step.scrollX);
        EXPECT_EQ(scrollPercentY, step.scrollY);
        EXPECT_GT(PictureWidth(), 0);
        EXPECT_LE(PictureWidth(), 1 << 26);
        for (const Where& w : step.where()) {
            const Disc d = DiscOf(w.probe);
            EXPECT_NEAR(d.x, w.x, 2.0) << "probe " << w.probe;
            EXPECT_NEAR(d.y, w.y, 2.0) << "probe " << w.probe;
        }
        EXPECT_GE(CheckPicture(), 1);
    }
    // Zooming out comes back to the fitted zoom exactly.
    EXPECT_EQ(zoomFactor, fit);
    EXPECT_TRUE(gui::Boxes().empty());
}

TEST_F(FaultsTest, ExtremeZoomAndScrollKeepBackdropAndThermalsInPlace) {
    gui::ScratchFolder folder;
    WriteCellBackdrop(folder.File("area.bmp"));
    ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "alps.prj", CornerTable));
    ASSERT_EQ(areaTop, Top);
    ASSERT_EQ(areaLeft, Left);

    const double unitsPerPixel = (Right - Left) / double{PictureW};
    auto unit = [unitsPerPixel] { return zoomFactor / unitsPerPixel; };  // one unit of longitude
    const double farX = viewWidth - ViewHorizontalAllowance;
    const double farY = viewHeight - ViewVerticalAllowance;
    auto at = [](std::vector<Where> where) { return [where] { return where; }; };
    const std::vector<Step> steps = {
        {"fitted", [] {}, 50, 50, at({})},
        {"zoomed in 300 times", [] { PostKeys(VK_ADD, 300); }, 50, 50,
         at({{CentreProbe, farX / 2, farY / 2}})},
        {"scroll bars at 0", [] { ScrollTo(WM_HSCROLL, 0); ScrollTo(WM_VSCROLL, 0); }, 0, 0,
         [&] { return std::vector<Where>{{TopLeft, unit(), 0}}; }},
        {"arrows past 0", [] { gui::Key(VK_LEFT, gui::Main()); gui::Key(VK_UP, gui::Main()); }, 0, 0,
         [&] { return std::vector<Where>{{TopLeft, unit(), 0}}; }},
        {"horizontal bar at 100", [] { ScrollTo(WM_HSCROLL, 100); }, 100, 0,
         [&] { return std::vector<Where>{{TopRight, farX - unit(), 0}}; }},
        {"arrow and page past 100",
         [] {
             gui::Key(VK_RIGHT, gui::Main());
             SendMessageA(gui::Map(), WM_HSCROLL, SB_PAGEDOWN, 0);
             gui::Pump();
         },
         100, 0, [&] { return std::vector<Where>{{TopRight, farX - unit(), 0}}; }},
        {"both bars at 100", [] { ScrollTo(WM_VSCROLL, 100); gui::Key(VK_DOWN, gui::Main()); }, 100,
         100, [&] { return std::vector<Where>{{BottomRight, farX - unit(), farY}}; }},
        {"vertical at 100, horizontal at 0", [] { ScrollTo(WM_HSCROLL, 0); }, 0, 100,
         [&] { return std::vector<Where>{{BottomLeft, unit(), farY}}; }},
        {"zoomed out 300 times", [] { PostKeys(VK_SUBTRACT, 300); }, 0, 100, at({})},
    };
    RunSteps(steps);
}

// A disc far larger than the window: a realistic thermal zoomed in fully, and a radius at the
// top of its range at the fitted zoom. GDI is handed only boxes it can draw, and the window inside
// the disc shows its fill.
TEST_F(FaultsTest, DiscsFarLargerThanTheWindowAreDrawnAcrossIt) {
    struct Case {
        const char* name;
        int32_t radius;
        int zoomIns;
    };
    const Case cases[] = {
        {"2 km zoomed in 300 times", 2000, 300},
        {"radius 2^31-1, fitted", INT32_MAX, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gui::ResetProgram();
        gui::ScratchFolder folder;
        WriteCellBackdrop(folder.File("area.bmp"));
        std::vector<Thermal> table = LargeTable;
        table[LargeDisc].radius = c.radius;
        ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "alps.prj", table));
        const double farX = viewWidth - ViewHorizontalAllowance;
        const double farY = viewHeight - ViewVerticalAllowance;
        const std::vector<Step> steps = {
            {"zoomed in", [&] { PostKeys(VK_ADD, c.zoomIns); }, 50, 50,
             [=] { return std::vector<Where>{{LargeProbe, farX / 2, farY / 2}}; }},
            {"zoomed out", [&] { PostKeys(VK_SUBTRACT, c.zoomIns); }, 50, 50,
             [=] { return std::vector<Where>{{LargeProbe, farX / 2, farY / 2}}; }},
        };
        RunSteps(steps);
        gui::CheckWatcher();
    }
}

TEST_F(FaultsTest, FailedSavesTellTheUserAndLoseNothing) {
    enum class Setup { Nothing, FolderInPlace, HalfWrite, LongName, LongestName };
    struct Case {
        const char* name;
        int command;
        const char* typed;  // Save As: the path typed, under the scratch folder
        Setup setup;
        std::vector<int> answers;  // the boxes of the dialog, then the program's message
        std::string message;       // "" none
    };
    const std::string longName(300, 'r');
    const std::string longestName(ProjectNameSize - 1, 'r');
    const Case cases[] = {
        {"Save As into a folder that does not exist", CmdSaveAs, "nowhere\\alps.prj", Setup::Nothing,
         {IDOK}, "Could not write file alps.prj"},
        {"Save onto a folder", CmdSave, nullptr, Setup::FolderInPlace, {IDOK},
         "Could not write file ridge.prj"},
        {"Save, write cut off halfway", CmdSave, nullptr, Setup::HalfWrite, {IDOK},
         "Could not write file alps.prj"},
        {"Save As, write cut off halfway", CmdSaveAs, "alps.prj", Setup::HalfWrite, {IDYES, IDOK},
         "Could not write file alps.prj"},
        {"Save, name longer than a path", CmdSave, nullptr, Setup::LongName, {IDOK},
         "Could not write file " + longName + ".prj"},
        {"Save, name too long for the file title", CmdSave, nullptr, Setup::LongestName, {IDOK},
         "Could not write file " + longestName.substr(0, 500)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gui::ResetProgram();
        gui::ScratchFolder folder;
        ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "alps.prj", CornerTable));
        gui::Command(CmdSave);  // the previous file, in the program's own form
        ASSERT_EQ(projectModified, 0);
        const std::string previous = gui::ReadBytes(folder.File("alps.prj"));
        ASSERT_NE(previous, "(missing)");
        thermals[0].lat += 100;
        projectModified = 1;

        switch (c.setup) {
        case Setup::FolderInPlace:
            fs::create_directory(folder.File("ridge.prj"));
            gui::WriteBytes(folder.File("ridge.prj/kept.txt"), "kept");
            CopyText(projectName, ProjectNameSize, "ridge");
            break;
        case Setup::HalfWrite:
            writeFaultAfterBytes = static_cast<long long>(previous.size() / 2);
            break;
        case Setup::LongName:
            CopyText(projectName, ProjectNameSize, longName.c_str());
            break;
        case Setup::LongestName:
            CopyText(projectName, ProjectNameSize, longestName.c_str());
            break;
        case Setup::Nothing:
            break;
        }
        UpdateTitle(gui::Main(), projectName);
        const std::vector<std::string> before = gui::Listing(folder.Path());

        if (c.typed) gui::ExpectFile(folder.File(c.typed));
        for (int answer : c.answers) gui::ExpectBox(answer);
        gui::Command(c.command);
        writeFaultAfterBytes = -1;

        ASSERT_FALSE(gui::Boxes().empty());
        const boxwatch::BoxRecord& box = gui::Boxes().back();
        EXPECT_EQ(box.text.substr(0, c.message.size()), c.message);
        EXPECT_EQ(box.caption, "Ascendor");
        EXPECT_EQ(box.Type(), static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(projectModified, 1);
        EXPECT_EQ(gui::ReadBytes(folder.File("alps.prj")), previous);
        EXPECT_EQ(gui::Listing(folder.Path()), before);  // no half-written or stray file
        if (c.setup == Setup::FolderInPlace) {
            EXPECT_EQ(gui::ReadBytes(folder.File("ridge.prj/kept.txt")), "kept");
        }
        gui::CheckWatcher();
    }
}

}  // namespace
