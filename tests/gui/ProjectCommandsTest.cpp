// The Project menu through real messages and real file dialogs: the names Save As and Save give,
// the save prompt before New and Open, Open of files that cannot be read or have no extension, and
// the sample project opened onto the map over an open Setup dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "gui/Harness.h"
#include "gui/ProjectOnDisk.h"
#include "map/Bitmap.h"
#include "map/Geometry.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "shell/Frame.h"

namespace {

namespace fs = std::filesystem;
using gui::MakeThermal;

constexpr UINT Notice = MB_OK | MB_ICONEXCLAMATION;
const char SaveQuestion[] = "Shouldn't you save the current file first ?";

class ProjectCommandsTest : public gui::GuiTest {};

const std::vector<Thermal> TwoThermals = {MakeThermal(5220000, 480000, 1),
                                          MakeThermal(5210000, 510000, 4, true)};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

void ExpectNotice(const boxwatch::BoxRecord& box, const std::string& text) {
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, "Ascendor");
    EXPECT_EQ(box.Type(), Notice) << boxwatch::Describe(box);
    EXPECT_EQ(box.owner, gui::Main());
}

TEST_F(ProjectCommandsTest, SaveAsNamesTheProjectAtTheFirstDotAndSaveFollows) {
    struct Case {
        const char* typed;    // into the Save dialog, under the scratch folder
        const char* written;  // the file Save As writes
    };
    const Case cases[] = {
        {"sub\\alps.north.prj", "sub/alps.north.prj"},
        // The dialog completes a name typed without extension with the filter's.
        {"sub\\alps", "sub/alps.prj"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        gui::ResetProgram();
        gui::ScratchFolder folder;
        fs::create_directory(folder.File("sub"));
        ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "area.prj", TwoThermals));
        projectModified = 1;

        gui::ExpectFile(folder.File(c.typed));
        gui::Command(CmdSaveAs);

        EXPECT_TRUE(gui::Boxes().empty());
        EXPECT_EQ(gui::Dialogs().size(), 1u);
        EXPECT_STREQ(projectName, "alps");
        EXPECT_EQ(gui::Title(), "Ascendor - [alps]");
        EXPECT_EQ(projectModified, 0);
        const std::string saved = gui::ReadBytes(folder.File(c.written));
        const std::vector<std::string> lines = Lines(saved);
        ASSERT_EQ(lines.size(), 7u) << saved;
        EXPECT_EQ(lines[0], "area.bmp");
        EXPECT_EQ(lines[1], "52:30.000N");
        EXPECT_EQ(lines[4], "005:30.000E");

        // Save writes the name plus ".prj" into the folder the dialog chose, without asking.
        thermals[0].lat += 100;
        projectModified = 1;
        gui::Command(CmdSave);
        EXPECT_TRUE(gui::Boxes().empty());
        EXPECT_EQ(gui::Dialogs().size(), 1u);
        EXPECT_EQ(projectModified, 0);
        const std::vector<std::string> again = Lines(gui::ReadBytes(folder.File("sub/alps.prj")));
        ASSERT_EQ(again.size(), 7u);
        EXPECT_EQ(again[5], std::to_string(thermals[0].lat) + "," + lines[5].substr(lines[5].find(',') + 1));
        EXPECT_FALSE(fs::exists(folder.File("alps.prj")));
        gui::CheckWatcher();
    }
}

TEST_F(ProjectCommandsTest, SavePromptBeforeNewAndOpen) {
    struct Case {
        const char* name;
        int command;
        const char* projectNameBefore;
        int answer;               // to the save question
        bool saveDialog;          // the untitled project's Save dialog comes, and is cancelled
        bool openDialog;          // Open's own dialog comes, and is cancelled
        const char* writtenFile;  // nullptr: the folder stays as it was
        int modifiedAfter;
        bool resetAfter;          // the command went on to an empty project
    };
    const Case cases[] = {
        {"New, No", CmdNew, "alps", IDNO, false, false, nullptr, 1, true},
        {"New, Yes, Save dialog cancelled", CmdNew, "", IDYES, true, false, nullptr, 1, true},
        {"Open, Yes, Save dialog cancelled", CmdOpen, "", IDYES, true, true, nullptr, 1, false},
        {"New, Yes, named", CmdNew, "alps", IDYES, false, false, "alps.prj", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gui::ResetProgram();
        gui::ScratchFolder folder;
        ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "area.prj", TwoThermals));
        CopyText(projectName, ProjectNameSize, c.projectNameBefore);
        UpdateTitle(gui::Main(), projectName);
        projectModified = 1;
        const std::vector<std::string> before = gui::Listing(folder.Path());

        gui::ExpectBox(c.answer);
        if (c.saveDialog) gui::ExpectFileCancel();
        if (c.openDialog) gui::ExpectFileCancel();
        gui::Command(c.command);

        ASSERT_EQ(gui::Boxes().size(), 1u);
        EXPECT_EQ(gui::Boxes()[0].text, SaveQuestion);
        EXPECT_EQ(gui::Boxes()[0].Type(), static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
        EXPECT_EQ(gui::Dialogs().size(), (c.saveDialog ? 1u : 0u) + (c.openDialog ? 1u : 0u));
        EXPECT_EQ(projectModified, c.modifiedAfter);
        if (c.writtenFile) {
            EXPECT_EQ(Lines(gui::ReadBytes(folder.File(c.writtenFile))).size(), 7u);
        } else {
            EXPECT_EQ(gui::Listing(folder.Path()), before);
        }
        if (c.resetAfter) {
            EXPECT_EQ(thermalCount, 0);
            EXPECT_EQ(gui::Title(), "Ascendor - [(untitled)]");
            EXPECT_NE(gui::App().currentDialog, nullptr);  // New opened the Setup dialog
            EXPECT_EQ(setupMode, 1);
        } else {
            EXPECT_EQ(thermalCount, 2);
            EXPECT_EQ(gui::App().currentDialog, nullptr);
        }
        gui::CheckWatcher();
    }
}

TEST_F(ProjectCommandsTest, OpenOfAFileThatCannotBeReadNamesItAndLeavesTheDefaults) {
    struct Case {
        const char* name;
        const char* file;
        bool exists;  // else the dialog asks whether to create it, answered Yes
        int modified;
    };
    const Case cases[] = {
        {"a name that does not exist", "missing.prj", false, 0},
        {"a backdrop line longer than its storage", "long.prj", true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gui::ResetProgram();
        gui::ScratchFolder folder;
        ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "alps.prj", TwoThermals));
        if (c.exists)
            gui::WriteBytes(folder.File(c.file),
                            gui::ProjectFileText(std::string(600, 'b') + ".bmp", gui::LowlandBounds,
                                                 TwoThermals));
        gui::Command(CmdManual);
        HWND manual = gui::App().currentDialog;
        ASSERT_NE(manual, nullptr);
        projectModified = c.modified;

        if (c.modified) gui::ExpectBox(IDNO);
        gui::ExpectFile(folder.File(c.file));
        if (!c.exists) gui::ExpectBox(IDYES);
        gui::ExpectBox(IDOK);
        gui::Command(CmdOpen);

        const std::vector<boxwatch::BoxRecord>& boxes = gui::Boxes();
        ASSERT_EQ(boxes.size(), 1u + (c.modified ? 1u : 0u) + (c.exists ? 0u : 1u));
        if (!c.exists) {
            EXPECT_TRUE(boxes[boxes.size() - 2].HasButton(IDYES));  // create it?
        }
        ExpectNotice(boxes.back(), std::string("Could not read file ") + c.file + "!");
        EXPECT_FALSE(fs::exists(folder.File("missing.prj")));
        // The project is at its defaults, the title still names the earlier one.
        EXPECT_EQ(thermalCount, 0);
        EXPECT_STREQ(projectName, "");
        EXPECT_STREQ(backdropName, "");
        EXPECT_STREQ(areaTopText, "89:00.000N");
        EXPECT_STREQ(areaRightText, "180:00.000E");
        EXPECT_STREQ(dialogPath, "");
        EXPECT_STREQ(dialogTitle, "");
        EXPECT_EQ(gui::Title(), "Ascendor - [alps]");
        EXPECT_EQ(projectModified, c.modified);
        EXPECT_EQ(gui::App().currentDialog, manual);
        EXPECT_TRUE(IsWindow(manual));
        EXPECT_EQ(manualMode, 1);
        gui::CheckWatcher();
    }
}

TEST_F(ProjectCommandsTest, OpenOfATitleWithoutDotLeavesTheProjectUntitled) {
    gui::ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "alps.prj", TwoThermals));
    gui::WriteBytes(folder.File("lowland"),
                    gui::ProjectFileText("area.bmp", gui::LowlandBounds,
                                         {MakeThermal(5225000, 500000, 3)}));

    gui::ExpectFile(folder.File("lowland"));
    gui::Command(CmdOpen);

    EXPECT_TRUE(gui::Boxes().empty());
    EXPECT_STREQ(dialogTitle, "lowland");
    EXPECT_STREQ(projectName, "");
    EXPECT_EQ(gui::Title(), "Ascendor - [(untitled)]");
    ASSERT_EQ(thermalCount, 1);
    EXPECT_EQ(thermals[0].type, 3);
    EXPECT_EQ(projectModified, 0);
    EXPECT_EQ(backdropLoaded, 1);
}

COLORREF BackdropColour(int column, int row) {
    const uint8_t index = backdrop.pixels[static_cast<size_t>(row) * backdrop.rowSize + column];
    const uint8_t* entry = backdrop.palette + 4 * index;
    return RGB(entry[2], entry[1], entry[0]);
}

struct WindowDisc {
    int x = 0, y = 0;
    double reach = 0;  // radius plus the wind line, in window pixels
};

std::vector<WindowDisc> DiscsOnWindow() {
    std::vector<WindowDisc> discs;
    for (int i = 0; i < thermalCount; ++i) {
        WindowDisc d;
        GeoToWindow(thermals[i].lat, thermals[i].lon, d.x, d.y);
        const double r = std::max(5.0, RadiusToWindow(thermals[i].radius));
        d.reach = r + (thermals[i].type == 4 ? 0.0 : 1.5 * r * zoomFactor);
        discs.push_back(d);
    }
    return discs;
}

TEST_F(ProjectCommandsTest, OpensTheSampleProjectOverTheSetupDialog) {
    gui::ScratchFolder folder;
    for (const char* name : {"sample.prj", "sample.bmp"})
        ASSERT_TRUE(fs::copy_file(std::string(ASCENDOR_SOURCE_DIR) + "/examples/" + name,
                                  folder.File(name)));
    // A Setup dialog with rows of the project about to be replaced.
    gui::Command(CmdNew);
    HWND setup = gui::App().currentDialog;
    ASSERT_NE(setup, nullptr);
    SetDlgItemTextA(setup, IdcSetupTopDeg, "60");
    gui::Pump();

    gui::ExpectFile(folder.File("sample.prj"));
    gui::Command(CmdOpen);

    EXPECT_TRUE(gui::Boxes().empty());
    EXPECT_FALSE(IsWindow(setup));
    EXPECT_EQ(gui::App().currentDialog, nullptr);
    EXPECT_EQ(setupMode, 0);
    EXPECT_EQ(gui::Title(), "Ascendor - [sample]");
    ASSERT_EQ(backdropLoaded, 1);
    ASSERT_EQ(backdropWidth, 640);
    ASSERT_EQ(backdropHeight, 480);
    ASSERT_EQ(thermalCount, 40);
    // The file's bounds, not the dialog's rows.
    EXPECT_STREQ(areaTopText, "52:30.000N");
    EXPECT_EQ(areaTop, 5250000);
    EXPECT_EQ(areaBottom, 5200000);
    EXPECT_EQ(areaLeft, 450000);
    EXPECT_EQ(areaRight, 550000);

    const gui::Picture map = gui::CaptureMap();
    const std::vector<WindowDisc> discs = DiscsOnWindow();
    auto clearOfDiscs = [&](int x, int y, size_t except, double margin) {
        for (size_t j = 0; j < discs.size(); ++j)
            if (j != except && std::hypot(x - discs[j].x, y - discs[j].y) < discs[j].reach + margin)
                return false;
        return true;
    };

    // The backdrop: away from the discs, each pixel is one of the backdrop pixels around the spot.
    int backdropChecked = 0;
    for (int gy = 1; gy < 12; ++gy) {
        for (int gx = 1; gx < 16; ++gx) {
            const int x = map.width * gx / 16, y = map.height * gy / 12;
            const int column = WindowToColumn(x), row = WindowToRow(y);
            if (column < 1 || row < 1 || column >= 639 || row >= 479) continue;
            if (!clearOfDiscs(x, y, discs.size(), 4)) continue;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx)
                    found = map.At(x, y) == BackdropColour(column + dx, row + dy);
            EXPECT_TRUE(found) << "window " << x << "," << y << " backdrop " << column << "," << row;
            ++backdropChecked;
        }
    }
    EXPECT_GE(backdropChecked, 60);

    // The thermals without a wind line, where no other disc reaches: their fill at the centre.
    int discsChecked = 0;
    int pointed = -1;
    for (int i = 0; i < thermalCount; ++i) {
        const WindowDisc& d = discs[i];
        if (thermals[i].type != 4 || !clearOfDiscs(d.x, d.y, i, 3)) continue;
        if (d.x < 0 || d.y < 0 || d.x >= map.width || d.y >= map.height) continue;
        const COLORREF fill = thermals[i].cloudOn ? RGB(255, 0, 0) : RGB(0, 0, 255);
        EXPECT_EQ(map.At(d.x, d.y), fill) << "thermal " << i;
        ++discsChecked;
        if (pointed < 0) pointed = i;
    }
    EXPECT_GE(discsChecked, 3);

    // The pointer over a thermal: its latitude and longitude in the status bar.
    ASSERT_GE(pointed, 0);
    const Thermal& t = thermals[pointed];
    const WindowDisc& d = discs[pointed];
    gui::MouseMove(d.x, d.y);
    char expected[80];
    std::snprintf(expected, sizeof expected, " Lat: %9.5f Lon: %10.5f", WindowToLat(d.y) / 100000.0,
                  WindowToLon(d.x) / 100000.0);
    EXPECT_EQ(gui::StatusText(0), expected);
    double lat = 0, lon = 0;
    ASSERT_EQ(std::sscanf(gui::StatusText(0).c_str(), " Lat: %lf Lon: %lf", &lat, &lon), 2);
    EXPECT_NEAR(lat, t.lat / 100000.0, 2 * latPerPixel / zoomFactor / 100000.0 + 0.00001);
    EXPECT_NEAR(lon, t.lon / 100000.0, 2 * lonPerPixel / zoomFactor / 100000.0 + 0.00001);
}

}  // namespace
