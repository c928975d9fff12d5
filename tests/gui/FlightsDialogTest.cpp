// The Flights dialog driven as a user drives it: a multiple selection through the real file
// dialog, a refused file's box, the line under the settings, Add, Undo, and the map's drawings.
#include <cmath>
#include <cstdio>

#include "gui/Harness.h"
#include "thermals/Flights.h"
#include "thermals/FlightsDialog.h"

namespace {

constexpr double Pi = 3.14159265358979323846;

// A flight at lat, lon that glides, circles 300 s climbing 2 m/s from 1000 m while the wind
// drifts it east at 3 m/s, and glides on: one climb, top 1598 m, wind from 270.
std::string CirclingLog(double lat, double lon, const char* date) {
    std::string text = std::string("AXXX\r\n") + date;
    const double north = 180.0 / (Pi * 6371000.0), east = north / std::cos(lat * Pi / 180.0);
    double x = 0, y = 0, altitude = 1000;
    for (int t = 0; t < 420; ++t) {
        if (t < 60 || t >= 360) {
            x += 30;
        } else {
            const double a = 2 * Pi * (t - 60) / 25.0;
            x = 80 * std::sin(a) + 3.0 * (t - 60), y = 80 * std::cos(a) - 80;
        }
        const double la = lat + y * north, lo = lon + x * east;
        const int laMin = static_cast<int>(std::lround((la - std::floor(la)) * 60000)), loMin = static_cast<int>(std::lround((lo - std::floor(lo)) * 60000));
        char line[64];
        std::snprintf(line, sizeof line, "B%02d%02d%02d%02d%05dN%03d%05dEA%05d%05d\r\n", 10 + t / 3600, t / 60 % 60, t % 60,
                      static_cast<int>(la), laMin, static_cast<int>(lo), loMin, static_cast<int>(altitude), 0);
        text += line;
        if (t >= 60 && t < 360) altitude += 2;
        if (t == 359) altitude = 500;
    }
    return text;
}

std::string Summary(HWND dialog) {
    char text[160] = "";
    GetDlgItemTextA(dialog, IdcFlightsSummary, text, sizeof text);
    return text;
}

std::vector<std::string> ListLines(HWND dialog) {
    std::vector<std::string> lines;
    HWND list = GetDlgItem(dialog, IdcFlightsList);
    for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
        char line[200] = "";
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
        lines.push_back(line);
    }
    return lines;
}

gui::Picture Repainted() {
    DropMapComposition();
    InvalidateRect(gui::Map(), nullptr, TRUE);
    gui::Pump();
    return gui::CaptureMap();
}

class FlightsDialogTest : public gui::GuiTest {
protected:
    gui::ScratchFolder folder;
};

TEST_F(FlightsDialogTest, LoadShowAddUndoClose) {
    // The logs lie in a folder of their own, apart from the project's.
    std::filesystem::create_directory(folder.File("logs"));
    folder.Write("logs\\climb.igc", CirclingLog(52.2, 5.0, "HFDTE150717\r\n"));
    folder.Write("logs\\second.igc", CirclingLog(52.2005, 5.0005, ""));
    folder.Write("logs\\empty.igc", "AXXX\r\nHFDTE150717\r\n");
    ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "a.prj", {}));
    const gui::Picture before = Repainted();
    gui::Command(CmdFlights);
    HWND dialog = gui::App().currentDialog;
    ASSERT_TRUE(IsFlightsDialog(dialog));
    EXPECT_EQ(boxwatch::WindowText(dialog), "Flights");

    // The file dialog opens in the current folder, here the logs' (as a dialog that moves it would
    // leave it); three names chosen at once.
    ASSERT_TRUE(SetCurrentDirectoryA(folder.File("logs").c_str()));
    gui::ExpectFile("\"climb.igc\" \"second.igc\" \"empty.igc\"");
    gui::ExpectBox(IDOK);
    gui::Click(dialog, IdcFlightsLoad);
    ASSERT_EQ(gui::Boxes().size(), 1u);
    EXPECT_EQ(gui::Boxes()[0].text, "Could not load 1 of 3 flight logs:\nempty.igc: it holds no position fixes");
    EXPECT_EQ(gui::Boxes()[0].Type(), static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(ListLines(dialog), (std::vector<std::string>{"climb.igc  15.07.2017  1 climbs", "second.igc  --.--.----  1 climbs"}));
    // Ten refusals are named, the rest counted; files already listed are no part of the load.
    std::vector<std::string> paths = {folder.File("logs\\climb.igc")};
    std::string told = "Could not load 12 of 12 flight logs:";
    for (int i = 0; i < 12; ++i) {
        paths.push_back(folder.File("gone" + std::to_string(i) + ".igc"));
        if (i < 10) told += "\ngone" + std::to_string(i) + ".igc: the file cannot be read";
    }
    gui::ExpectBox(IDOK);
    LoadFlightFiles(gui::Main(), paths);
    EXPECT_EQ(gui::BoxTexts().back(), told + "\nand 2 more.");

    // The line follows every edit at once; the first edit without a number is named.
    const struct { int id; const char* text; const char* line; } edits[] = {
        {IdcFlightsMerge, "0", "2 climbs in 2 flights give 2 thermals, 2 inside the area"},
        {IdcFlightsSeenIn, "2", "2 climbs in 2 flights give 0 thermals, 0 inside the area"},
        {IdcFlightsMerge, " 300 ", "2 climbs in 2 flights give 1 thermals, 1 inside the area"},
        {IdcFlightsSeenIn, "1.0", "Seen in at least: not a number"},
        {IdcFlightsMinClimb, "1.5.", "Minimum climb: not a number"},
        {IdcFlightsMinClimb, "2.5", "Seen in at least: not a number"},
        {IdcFlightsSeenIn, "1", "0 climbs in 2 flights give 0 thermals, 0 inside the area"},
        {IdcFlightsMinClimb, ".5", "2 climbs in 2 flights give 1 thermals, 1 inside the area"},
    };
    for (const auto& e : edits) {
        SetDlgItemTextA(dialog, e.id, e.text);
        gui::Pump();
        EXPECT_EQ(Summary(dialog), e.line) << e.text;
    }

    // Tracks and the circle drawn, and the screen what a full repaint shows.
    const gui::Picture shown = gui::CaptureMap();
    EXPECT_TRUE(shown.pixels == Repainted().pixels);
    EXPECT_FALSE(shown.pixels == before.pixels);
    // Zoomed in and moved by a scroll step, whose new strips are drawn on their own.
    for (UINT key : {VK_ADD, VK_ADD, VK_ADD, VK_RIGHT, VK_DOWN}) {
        gui::PostKey(key, gui::Main());
        gui::Pump();
        EXPECT_TRUE(gui::CaptureMap().pixels == Repainted().pixels) << key;
    }
    gui::PostKey(VK_CLEAR, gui::Main());

    gui::ExpectBox(IDOK);
    gui::ExpectBox(IDOK);
    gui::Click(dialog, IdcFlightsAdd);
    gui::Click(dialog, IdcFlightsAdd);
    EXPECT_EQ(gui::BoxTexts()[2], "Added 1 thermals from 2 climbs in 2 flights (0 outside the area, 0 already there).");
    EXPECT_EQ(gui::BoxTexts()[3], "Added 0 thermals from 2 climbs in 2 flights (0 outside the area, 1 already there).");
    EXPECT_EQ(gui::Boxes()[2].Type(), static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    ASSERT_EQ(thermalCount, 1);
    EXPECT_EQ(thermals[0].top, 1598);
    EXPECT_EQ(thermals[0].cloudCeiling, 1598);
    EXPECT_EQ(thermals[0].windDir, 270);
    EXPECT_EQ(thermals[0].radius, 500);
    EXPECT_NEAR(thermals[0].lat, 5219950, 60);
    EXPECT_EQ(projectModified, 1);
    // Save writes the project's own file beside it, whatever the current folder; the logs' folder keeps its files.
    const std::vector<std::string> logs = folder.Names("logs/*");
    gui::Command(CmdSave);
    EXPECT_EQ(folder.Read("a.prj"), gui::ProjectFileText("area.bmp", gui::LowlandBounds, {thermals[0]}));
    EXPECT_EQ(folder.Names("logs/*"), logs);
    EXPECT_TRUE(gui::CaptureMap().pixels == Repainted().pixels);
    gui::Command(CmdUndo);
    EXPECT_EQ(thermalCount, 0);

    // A file already listed is not read again; a removed flight leaves the list and the map.
    gui::ExpectFile(folder.File("logs\\CLIMB.IGC"));
    gui::Click(dialog, IdcFlightsLoad);
    EXPECT_EQ(ListLines(dialog).size(), 2u);
    SendMessageA(GetDlgItem(dialog, IdcFlightsList), LB_SETSEL, TRUE, 1);
    gui::Click(dialog, IdcFlightsRemove);
    EXPECT_EQ(ListLines(dialog), (std::vector<std::string>{"climb.igc  15.07.2017  1 climbs"}));
    EXPECT_EQ(Summary(dialog), "1 climbs in 1 flights give 1 thermals, 1 inside the area");
    EXPECT_TRUE(gui::CaptureMap().pixels == Repainted().pixels);

    gui::Click(dialog, IdcFlightsOk);
    EXPECT_EQ(gui::App().currentDialog, nullptr);
    EXPECT_TRUE(gui::CaptureMap().pixels == before.pixels);

    // A dropped log opens the dialog again and loads; under another tool dialog it is refused.
    gui::Drop(gui::Main(), folder.File("logs\\second.igc"));
    ASSERT_TRUE(IsFlightsDialog(gui::App().currentDialog));
    EXPECT_EQ(ListLines(gui::App().currentDialog).size(), 2u);
    SendMessageA(gui::App().currentDialog, WM_CLOSE, 0, 0);
    gui::Command(CmdManual);
    gui::ExpectBox(IDOK);
    gui::Drop(gui::Main(), folder.File("logs\\empty.igc"));
    EXPECT_EQ(gui::BoxTexts().back().find("Ascendor can open a project (.prj), import a waypoint file (.cup), load flight logs (.igc)"), 0u);
}

}  // namespace
