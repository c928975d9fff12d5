// Import hotspots as a whole: the file dialog, the counts in the box, the thermals in the saved
// project, and what the command leaves alone.

#include "gui/Harness.h"
#include "thermals/HotspotImport.h"

namespace {

class HotspotImportTest : public gui::GuiTest {};

// A thermal as a click places it after the test's Manual settings (type 2, top 2200).
Thermal Clicked(int32_t lat, int32_t lon) { return {lat, lon, 2, 0, 2200, 500, 270, 0, 1, 0, 1500, 1000, 1}; }

TEST_F(HotspotImportTest, ImportsTheWaypointsInsideOnceAndSaysSo) {
    gui::ScratchFolder folder;
    const Thermal old = gui::MakeThermal(5210000, 480000, 1);
    ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "alps.prj", {old}));
    // The waypoint file lies in another folder, which must not become the current one.
    ASSERT_TRUE(CreateDirectoryA(folder.File("maps").c_str(), nullptr));
    const std::string cup = folder.File("maps\\hotspots.cup");
    testdata::WriteBytes(cup, "name,code,country,lat,lon,elev\r\n\"Dune, \"\"west\"\"\",D1,NL,5215.000N,00445.000E,5m\r\n"
                         "Lake,,,5225.500N,00520.250E\r\nFar,,,5300.000N,00500.000E\r\n"
                         "Corner,,,5230.000N,00530.000E\r\nOld,,,5206.000N,00448.000E\r\n"
                         "Again,,,5215.000N,00445.000E\r\nBroken,,,5215.000N\r\n");
    const std::string saved = gui::ProjectFileText("area.bmp", gui::LowlandBounds,
                                                   {old, Clicked(5225000, 475000), Clicked(5242500, 533750), Clicked(5250000, 550000)});
    manualSettings.type = 2;
    CopyText(manualSettings.top, ManualTextSize, "2200");
    gui::Command(CmdManual);
    const HWND manual = gui::App().currentDialog;
    ASSERT_NE(manual, nullptr);
    CopyText(dialogPath, DialogPathSize, "offered.prj");

    const struct { bool locked; const char* text; UINT type; int modified; } steps[] = {  // locked: open elsewhere, unshared
        {false, "Imported 3 hotspots (2 already there, 1 outside the area, 1 lines not understood).", MB_OK | MB_ICONINFORMATION, 1},
        {false, "Imported 0 hotspots (5 already there, 1 outside the area, 1 lines not understood).", MB_OK | MB_ICONINFORMATION, 0},
        {true, "Could not read file hotspots.cup!", MB_OK | MB_ICONEXCLAMATION, 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.text);
        manualMode = 1;
        HANDLE lock = step.locked ? CreateFileA(cup.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) : INVALID_HANDLE_VALUE;
        gui::ExpectFile(cup);
        gui::ExpectBox(IDOK);
        ImportHotspots(gui::Main());
        gui::Pump();
        if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);

        ASSERT_EQ(gui::BoxTexts(), std::vector<std::string>{step.text});
        EXPECT_TRUE(gui::Boxes()[0].caption == "Ascendor" && gui::Boxes()[0].Type() == step.type);
        EXPECT_EQ(projectModified, step.modified);
        EXPECT_EQ(manualMode, 0);  // off, the dialog left open, the offered name kept
        EXPECT_EQ(gui::App().currentDialog, manual);
        EXPECT_STREQ(dialogPath, "offered.prj");
        gui::CheckWatcher();

        // Save writes into the current folder, the project's.
        gui::Command(CmdSave);
        EXPECT_EQ(folder.Read("alps.prj"), saved);
        EXPECT_EQ(projectModified, 0);
    }
}

}  // namespace
