// The sample project opened onto the map over an open Setup dialog, seen through the real windows.

#include <cmath>

#include "gui/Harness.h"

namespace {

class ShellTest : public gui::GuiTest {};

TEST_F(ShellTest, OpensTheSampleProjectOverTheSetupDialog) {
    gui::ScratchFolder folder;
    for (const char* name : {"sample.prj", "sample.bmp"})
        ASSERT_TRUE(folder.Copy(boxwatch::WinePath(std::string(ASCENDOR_SOURCE_DIR) + "/examples/" + name), name));
    gui::Command(CmdNew);  // a Setup dialog with rows of the project about to be replaced
    HWND setup = gui::App().currentDialog;
    ASSERT_NE(setup, nullptr);
    SetDlgItemTextA(setup, IdcSetupTopDeg, "60");
    gui::ExpectFile(folder.File("sample.prj"));
    gui::Command(CmdOpen);
    EXPECT_TRUE(!IsWindow(setup) && !gui::App().currentDialog && !setupMode);
    EXPECT_EQ(gui::Title(), "Ascendor - [sample]");
    ASSERT_EQ(std::vector<int>({backdropLoaded, backdropWidth, backdropHeight, thermalCount}), std::vector<int>({1, 640, 480, 40}));
    // The file's bounds, not the dialog's rows.
    EXPECT_STREQ(areaTopText, "52:30.000N");
    EXPECT_EQ(std::vector<int>({areaTop, areaBottom, areaLeft, areaRight}), std::vector<int>({5250000, 5200000, 450000, 550000}));
    // A thermal with no other disc near: its fill at its centre, its position there.
    const gui::Picture map = gui::CaptureMap();
    int checked = 0;
    for (int i = 0; i < thermalCount; ++i) {
        int x, y, ox, oy;
        GeoToWindow(thermals[i].lat, thermals[i].lon, x, y);
        bool alone = thermals[i].type == 4 && x >= 0 && y >= 0 && x < map.width && y < map.height;
        for (int j = 0; j < thermalCount && alone; ++j)
            alone = j == i || !GeoToWindow(thermals[j].lat, thermals[j].lon, ox, oy) ||
                    std::hypot(ox - x, oy - y) > 8 + std::max(5.0, RadiusToWindow(thermals[j].radius)) * (1 + 1.5 * zoomFactor);
        if (!alone) continue;
        EXPECT_EQ(map.At(x, y), thermals[i].cloudOn ? RGB(255, 0, 0) : RGB(0, 0, 255)) << "thermal " << i;
        EXPECT_NEAR(WindowToLat(y), thermals[i].lat, 2 * latPerPixel / zoomFactor + 1);
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

}  // namespace
