// The menu commands through real messages, real message boxes and real file dialogs, as one
// runner over rows: a start state, the commands, the answers to the boxes and file dialogs, then
// the boxes shown, the state, the files and the SCASM runs expected.

#include <map>

#include "gui/Harness.h"
#include "model/FileNames.h"
#include "model/History.h"
#include "model/SafeFile.h"
#include "resources/ResourceIds.h"
#include "app/RecentMenu.h"
#include "app/RecentProjects.h"
#include "shell/FileDialogs.h"
#include "shell/MainParts.h"
#include "thermals/ThermalExport.h"

namespace {

using gui::MakeThermal;

// Steps of a row that are no menu command, in one list so that no two share a number.
enum Step {
    CloseButton = -1,  // WM_CLOSE in place of a menu command
    Drop = -2,         // the row's files dropped on the Setup dialog of CmdEdit, or on the main window
    F1 = -3,           // the F1 key through the loop, to the window with the focus
    EndSession = -4,   // Windows asks to end the session, and ends it when the answer is yes
    DropInBox = -5,    // the row's files dropped on the main window while the next command's box or dialog is up
};
const char Exit[] = "Do you really want to exit this program ?";
const char SaveFirst[] = "Shouldn't you save the current file first ?";
const char StartFirst[] = "Perhaps you should start a project first...";
const char ThermalsFirst[] = "Perhaps you should add some thermals first...";
const char ClearAll[] = "Do you want to clear all thermals ?";
const char Split[] = "This project might be too large for one BGL -\ndo you want to create separate files ?";
const char Manual[] = "Thermals (manual)";
const char BackdropNotBeside[] = "The project will look for its backdrop area.bmp in *";

// Buttons and icon of each of the program's boxes, by its text.
UINT TypeOf(const std::string& text) {
    if (text.rfind("Imported", 0) == 0 || text.rfind("Ascendor can open", 0) == 0 || text.rfind("Exported", 0) == 0 ||
        text.find(" thermals: ") != std::string::npos || text.find(" lie outside") != std::string::npos)
        return MB_OK | MB_ICONINFORMATION;
    if (text.rfind("Create a BGL", 0) == 0) return MB_OKCANCEL | MB_ICONQUESTION;
    if (text.rfind("trying to save", 0) == 0) return MB_OK | MB_ICONHAND;
    if (text.rfind("Could not write file", 0) == 0 && text.find(".sca") != std::string::npos) return MB_OK | MB_ICONHAND;
    if (text == Exit) return MB_OKCANCEL | MB_ICONEXCLAMATION;
    if (text == SaveFirst || text == Split) return MB_YESNOCANCEL | MB_ICONEXCLAMATION;
    if (text.rfind("The project will look", 0) == 0) return MB_OK | MB_ICONINFORMATION;
    if (text == ClearAll || text.find("already exists") != std::string::npos) return MB_YESNO | MB_ICONEXCLAMATION;
    if (text == "Please set an area first...") return MB_OK;
    return MB_OK | MB_ICONEXCLAMATION;
}

enum class Start { Nothing, Thermals, Backdrop, Project, Bands };
const std::vector<Thermal> OneBand = {MakeThermal(5210000, 480000, 1), MakeThermal(5240000, 500000, 2, true),
                                      MakeThermal(5220000, 520000, 4)};
// From 48.0 to 52.5 N: three bands when split.
const std::vector<Thermal> ThreeBands = {MakeThermal(4800000, 480000, 1), MakeThermal(4950000, 490000, 3),
                                         MakeThermal(5100000, 500000, 2), MakeThermal(5180000, 510000, 4, true),
                                         MakeThermal(5250000, 520000, 1, true)};
const std::string longName(300, 'r'), longestName(ProjectNameSize - 1, 'r');
// A name in a box is cut to its start and end, so that the box fits on the screen.
const std::string longNameText = "Could not write file " + ShortenedName(longName + ".prj");
const std::string longestNameText = "Could not write file " + ShortenedName(longestName + ".prj");
const std::string midName(100, 'm');
const std::string midNameNoScasm = "Could not start SCASM: scasm " + ShortenedName(midName + "_a.sca") + " " +
                                   ShortenedName(midName + "_a.bgl") + ". The sources are written; put scasm.exe on the "
                                   "PATH or in the project's folder, then press Create again.";

struct Row {
    const char* name;
    Start start;
    std::string project;  // the project's name ("" untitled); its file is area.prj
    int tool;             // a command that opens a tool dialog first, or 0
    int modified;
    std::vector<int> commands;            // other negative ids: a click on that button of the open tool dialog
    std::vector<int> answers;             // to the message boxes, in order
    std::vector<std::string> files;       // typed into the file dialogs, under the folder; "" cancels
    std::vector<const char*> boxes;       // texts shown, in order; nullptr: a box of the system's own
    std::string title;                    // the project's name afterwards
    int modifiedAfter;
    const char* dialog;                   // the tool dialog open afterwards, or nullptr
    const char* modes;                    // setup, manual, automatic, clear-partly afterwards
    int count;                            // thermals afterwards
    std::vector<std::string> written;     // files new or changed; every other one keeps its bytes
    std::vector<std::string> runs;        // SCASM command lines, sorted
    bool quits = false;
    std::function<void(const gui::ScratchFolder&)> prepare = nullptr;
    std::string dropped = "";             // the files of Drop, under the folder, '|' between them
    std::function<void(const gui::ScratchFolder&)> check = nullptr;  // what the files hold afterwards
    int fileType = 0;                     // the file type picked in each file dialog (from 1), 0: as offered
};
// A waypoint file in a folder of its own: three waypoints inside, one at a thermal already there,
// one twice, one outside, one line not understood. A thermal of the import takes the Manual
// settings, set here to type 2 and top 2200; Open and Save offer "offered.prj".
void PrepareImport(const gui::ScratchFolder& folder) {
    std::filesystem::create_directory(folder.File("maps"));
    folder.Write("maps\\hotspots.cup", "name,code,country,lat,lon,elev\r\n\"Dune, \"\"west\"\"\",D1,NL,5215.000N,00445.000E,5m\r\n"
                 "Lake,,,5225.500N,00520.250E\r\nFar,,,5300.000N,00500.000E\r\nCorner,,,5230.000N,00530.000E\r\n"
                 "Old,,,5206.000N,00448.000E\r\nAgain,,,5215.000N,00445.000E\r\nBroken,,,5215.000N\r\n");
    manualSettings.type = 2;
    CopyText(manualSettings.top, ManualTextSize, "2200");
    CopyText(dialogPath, DialogPathSize, "offered.prj");
}
Thermal Imported(int32_t lat, int32_t lon) { return {lat, lon, 2, 0, 2200, 500, 270, 0, 1, 0, 1500, 1000, 1}; }
HANDLE lock = INVALID_HANDLE_VALUE;  // the waypoint file held open elsewhere, unshared

// An export into out/: the file holds the table in the format, and the current folder and the name
// Open and Save offer are as the opened project left them.
void MakeOut(const gui::ScratchFolder& folder) { std::filesystem::create_directory(folder.File("out")); }
std::function<void(const gui::ScratchFolder&)> Holds(const std::string& file, ExportFormat format) {
    return [=](const gui::ScratchFolder& f) {
        EXPECT_EQ(f.Read(file), ExportText(format, "alps"));
        char folder[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, folder);
        EXPECT_EQ(_stricmp(folder, f.Path().c_str()), 0) << folder;
        EXPECT_STREQ(dialogTitle, "area.prj");
    };
}
const char Waypoints[] = "<gpx><wpt lat='52.1' lon='4.9'/><wpt lon=\"5.2\" lat=\"52.3\"/><wpt lat='53' lon='5'/><wpt lat='52.2'/></gpx>";

// Files of each kind for a drop of several.
void WriteDropped(const gui::ScratchFolder& f) {
    f.Write("hill.CUP", "Hill,H,NL,5210.000N,00500.000E,12m,1\r\n");
    f.Write("spots.kml", "<kml><Point><coordinates>5,52.2</coordinates></Point></kml>");
    f.Write("lowland.prj", gui::ProjectFileText("area.bmp", gui::LowlandBounds, {OneBand[0]}));
    f.Write("a.igc", "AXXX\r\n"), f.Write("b.igc", "AXXX\r\n"), f.Write("notes.txt", "");
}
std::vector<std::string> DroppedPaths(const gui::ScratchFolder& folder, const std::string& names) {
    std::vector<std::string> paths;
    for (size_t from = 0, bar = 0; bar != std::string::npos; from = bar + 1) {
        bar = names.find('|', from);
        paths.push_back(folder.File(names.substr(from, bar == std::string::npos ? bar : bar - from)));
    }
    return paths;
}
const char CupImported[] = "Imported 1 hotspots (0 already there, 0 outside the area, 0 lines not understood).";

const char DropTold[] = "Ascendor can open a project (.prj), import a waypoint file (.cup), load flight logs (.igc) or, while the Setup dialog is open, "
                        "load a backdrop (.bmp).";

const Row rows[] = {
    // Exit and the close button.
    {"exit, OK", Start::Nothing, "", 0, 0, {CmdExit}, {IDOK}, {}, {Exit}, "", 0, nullptr, "0000", 0, {}, {}, true},
    {"close over the Manual dialog, not saved, called off: the dialog stays", Start::Project, "alps", CmdManual, 1, {CloseButton},
     {IDNO, IDCANCEL}, {}, {SaveFirst, Exit}, "alps", 1, Manual, "0100", 3, {}, {}},
    {"exit, save question cancelled: no exit question", Start::Project, "alps", 0, 1, {CmdExit}, {IDCANCEL}, {},
     {SaveFirst}, "alps", 1, nullptr, "0000", 3, {}, {}},
    {"exit, the save fails: told, no exit question", Start::Project, "alps", 0, 1, {CmdExit}, {IDYES, IDOK}, {},
     {SaveFirst, "Could not write file alps.prj"}, "alps", 1, nullptr, "0000", 3, {}, {},
     false, [](const gui::ScratchFolder& f) { std::filesystem::create_directory(f.File("alps.prj")); }},
    {"close, untitled, saved as alps.v2", Start::Project, "", 0, 1, {CloseButton}, {IDYES, IDOK}, {"alps.v2.prj"},
     {SaveFirst, Exit}, "alps.v2", 0, nullptr, "0000", 3, {"alps.v2.prj"}, {}, true},
    {"exit over a tool dialog, cancel", Start::Nothing, "", CmdNew, 0, {CmdExit}, {IDCANCEL}, {}, {Exit}, "", 0,
     "Setup...", "1000", 0, {}, {}},
    {"close over a tool dialog, OK", Start::Project, "alps", CmdManual, 1, {CloseButton}, {IDNO, IDOK}, {},
     {SaveFirst, Exit}, "alps", 1, nullptr, "0100", 3, {}, {}, true},
    // The tool dialogs' commands: preconditions, modes, one dialog at a time.
    {"Clear partly with thermals only", Start::Thermals, "", 0, 0, {CmdClearPartly}, {}, {}, {}, "", 0,
     "Clear (partly)", "0001", 3, {}, {}},
    {"Clear partly's Clear without an area only tells", Start::Project, "alps", CmdClearPartly, 0, {-IdcClearPartClear}, {IDOK},
     {}, {"Please set an area first..."}, "alps", 0, "Clear (partly)", "0001", 3, {}, {}},
    {"Add with no batch pending is no change: Exit asks no save question", Start::Project, "alps", CmdAutomatic, 0,
     {-IdcAutoAdd, CmdExit}, {IDCANCEL}, {}, {Exit}, "alps", 0, "Thermals (automatic)", "0010", 3, {}, {}},
    {"Clear partly without thermals", Start::Backdrop, "alps", 0, 0, {CmdClearPartly}, {IDOK}, {}, {ThermalsFirst},
     "alps", 0, nullptr, "0000", 0, {}, {}},
    {"Manual after New: the old picture is gone", Start::Project, "alps", 0, 0, {CmdManual}, {IDOK}, {},
     {StartFirst}, "", 0, nullptr, "1000", 0, {}, {},
     false, [](const gui::ScratchFolder&) { gui::Command(CmdNew); SendMessageA(gui::App().currentDialog, WM_CLOSE, 0, 0); }},
    {"a second dialog command only switches the mode", Start::Project, "alps", CmdAutomatic, 0,
     {CmdManual, CmdEdit, CmdClearPartly, CmdManual}, {}, {}, {}, "alps", 0, "Thermals (automatic)", "0100", 3, {}, {}},
    {"Clear all, No: every mode off", Start::Project, "alps", CmdManual, 0, {CmdClearAll}, {IDNO}, {}, {ClearAll},
     "alps", 0, Manual, "0000", 3, {}, {}},
    {"Clear all, Yes", Start::Project, "alps", CmdManual, 0, {CmdClearAll}, {IDYES}, {}, {ClearAll}, "alps", 1, Manual, "0000", 0, {}, {}},
    {"Clear all without thermals only tells", Start::Backdrop, "alps", CmdManual, 0, {CmdClearAll}, {IDOK}, {},
     {ThermalsFirst}, "alps", 0, Manual, "0100", 0, {}, {}},
    {"About over a tool dialog holds both", Start::Project, "alps", CmdAutomatic, 0, {CmdAbout}, {IDOK}, {}, {nullptr},
     "alps", 0, "Thermals (automatic)", "0010", 3, {}, {}},
    {"Edit brings the open Setup dialog back into use", Start::Project, "alps", CmdEdit, 0, {CmdEdit}, {}, {}, {}, "alps",
     0, "Setup...", "1000", 3, {}, {}, false, [](const gui::ScratchFolder&) { SetActiveWindow(gui::Main()); }},
    {"Setup's Load cancelled: the Setup dialog in use again", Start::Project, "alps", CmdEdit, 0, {-IdcSetupLoad}, {},
     {""}, {}, "alps", 0, "Setup...", "1000", 3, {}, {}},
    {"Help without the guide beside the program says so", Start::Project, "alps", CmdManual, 1, {CmdHelp}, {IDOK}, {},
     {"Could not open the user's guide *"}, "alps", 1, Manual, "0100", 3, {}, {}},
    {"F1 is Help even in an edit", Start::Project, "alps", CmdEdit, 0, {F1}, {IDOK}, {}, {"Could not open the user's guide *"},
     "alps", 0, "Setup...", "1000", 3, {}, {}, false, [](const gui::ScratchFolder&) { SetFocus(GetDlgItem(gui::App().currentDialog, IdcSetupTopDeg)); }},
    // Undo and Redo: nothing to take back changes nothing; modes and dialog are kept (each step
    // coming back whole is the menu test's).
    {"Undo and Redo with nothing to take back", Start::Project, "alps", CmdManual, 0, {CmdUndo, CmdRedo}, {}, {}, {},
     "alps", 0, Manual, "0100", 3, {}, {}},
    {"Clear all, Undo, Redo", Start::Project, "alps", CmdManual, 0, {CmdClearAll, CmdUndo, CmdRedo}, {IDYES}, {},
     {ClearAll}, "alps", 1, Manual, "0000", 0, {}, {}},
    // Save As names the project up to the last dot; Save follows into the dialog's folder and
    // writes the same file. Saved where the backdrop is not, each save says so.
    {"Save As, then Save", Start::Project, "alps", 0, 1, {CmdSaveAs, CmdSave}, {IDOK, IDOK}, {"sub\\ridge.north.prj"},
     {BackdropNotBeside, BackdropNotBeside}, "ridge.north", 0, nullptr, "0000", 3, {"sub/", "sub/ridge.north.prj"}, {},
     false, [](const gui::ScratchFolder& f) { std::filesystem::create_directory(f.File("sub")); }},
    {"Save As of a name typed without extension writes a project file", Start::Project, "alps", 0, 1, {CmdSaveAs}, {}, {"ridge"},
     {}, "ridge", 0, nullptr, "0000", 3, {"ridge.prj"}, {}},
    // The save prompt before New and Open.
    {"New, not saved", Start::Project, "alps", 0, 1, {CmdNew}, {IDNO}, {}, {SaveFirst}, "", 1, "Setup...", "1000", 0, {}, {}},
    {"New, untitled, Save dialog cancelled: New stops", Start::Project, "", 0, 1, {CmdNew}, {IDYES}, {""}, {SaveFirst}, "", 1,
     nullptr, "0000", 3, {}, {}},
    {"New, save question cancelled", Start::Project, "alps", CmdManual, 1, {CmdNew}, {IDCANCEL}, {}, {SaveFirst}, "alps", 1,
     Manual, "0100", 3, {}, {}},
    {"New, the save's first write fails: the project stays", Start::Project, "alps", 0, 1, {CmdNew}, {IDYES, IDOK}, {},
     {SaveFirst, "Could not write file alps.prj"}, "alps", 1, nullptr, "0000", 3, {}, {},
     false, [](const gui::ScratchFolder&) { writeFaultAfterBytes = 0; }},
    {"New over the Manual dialog closes it and opens Setup", Start::Project, "alps", CmdManual, 0, {CmdNew}, {}, {}, {},
     "", 0, "Setup...", "1000", 0, {}, {}},
    {"New, saved", Start::Project, "alps", 0, 1, {CmdNew}, {IDYES}, {}, {SaveFirst}, "", 0, "Setup...", "1000", 0, {"alps.prj"}, {}},
    {"Open, untitled, Save dialog cancelled: Open stops", Start::Project, "", 0, 1, {CmdOpen}, {IDYES}, {""}, {SaveFirst},
     "", 1, nullptr, "0000", 3, {}, {}},
    {"Open, save question cancelled: no Open dialog", Start::Project, "alps", 0, 1, {CmdOpen}, {IDCANCEL}, {}, {SaveFirst},
     "alps", 1, nullptr, "0000", 3, {}, {}},
    // Open of files that cannot be read: named, the project, its title and the tool dialog kept.
    // Files that are no project: an empty one, a picture renamed. Open's dialog takes only a file that exists.
    {"Open of an empty file", Start::Project, "alps", CmdManual, 0, {CmdOpen}, {IDOK}, {"empty.prj"},
     {"Could not read file empty.prj!"}, "alps", 0, Manual, "0100", 3, {}, {}, false, [](const gui::ScratchFolder& f) { f.Write("empty.prj", ""); },
     "", [](const gui::ScratchFolder&) { EXPECT_EQ(fileDialog.Flags & (OFN_FILEMUSTEXIST | OFN_CREATEPROMPT), DWORD(OFN_FILEMUSTEXIST)); }},
    {"Open of a picture renamed keeps the Setup dialog", Start::Project, "alps", CmdEdit, 0, {CmdOpen}, {IDOK}, {"picture.prj"},
     {"Could not read file picture.prj!"}, "alps", 0, "Setup...", "1000", 3, {}, {},
     false, [](const gui::ScratchFolder& f) { gui::WriteGreyBackdrop(f.File("picture.prj"), 8, 8); }},
    {"Open leaves out the lines that hold no thermal and says so", Start::Nothing, "", 0, 0, {CmdOpen}, {IDOK}, {"notes.prj"},
     {"Left out 2 lines of notes.prj that hold no thermal."}, "notes", 0, nullptr, "0000", 1, {}, {}, false, [](const gui::ScratchFolder& f) {
         f.Write("notes.prj", gui::ProjectFileText("area.bmp", gui::LowlandBounds, {OneBand[0]}) + "# west ridge\r\n\r\nthermal,1\r\n");
         gui::WriteGreyBackdrop(f.File("area.bmp"), 64, 48); }},
    // Open over the Automatic dialog, after a rectangle and a Test: nothing of the old project stays.
    {"Open ends the old project's dialog, rectangle, batch, history and status texts", Start::Project, "alps", CmdAutomatic, 0,
     {CmdOpen}, {}, {"lowland.prj"}, {}, "lowland", 0, nullptr, "0000", 1, {}, {}, false, [](const gui::ScratchFolder& f) {
         f.Write("lowland.prj", gui::ProjectFileText("area.bmp", gui::LowlandBounds, {OneBand[0]}));
         gui::Drag(100, 100, 400, 300), gui::Click(gui::App().currentDialog, IdcAutoTest); },
     "", [](const gui::ScratchFolder&) {
         EXPECT_EQ(std::make_tuple(int(areaSelected), CanUndo(), gui::StatusText(1)), std::make_tuple(0, false, std::string())); }},
    {"Setup's OK without a backdrop after New is refused", Start::Project, "alps", 0, 0, {CmdNew, -IdcSetupOk}, {IDOK}, {},
     {"Perhaps you should load a backdrop first..."}, "", 0, "Setup...", "1000", 0, {}, {}},
    {"Setup's OK with a smaller area tells of the thermals left outside, and keeps them", Start::Project, "alps", CmdEdit, 0,
     {-IdcSetupOk}, {IDOK}, {}, {"1 of the project's 3 thermals lie outside the new area."}, "alps", 1, nullptr, "0000", 3, {}, {},
     false, [](const gui::ScratchFolder&) { SetDlgItemTextA(gui::App().currentDialog, IdcSetupTopDeg + 1, "15"); }},
    {"Open that fails in another folder leaves the current folder", Start::Project, "alps", 0, 0, {CmdOpen}, {IDOK},
     {"other\\long.prj"}, {"Could not read file long.prj!"}, "alps", 0, nullptr, "0000", 3, {}, {},
     false, [](const gui::ScratchFolder& f) { std::filesystem::create_directory(f.File("other"));
         f.Write("other\\long.prj", std::string(600, 'b') + ".bmp\r\n"); },
     "", [](const gui::ScratchFolder& f) {
         char current[MAX_PATH] = "";
         GetCurrentDirectoryA(MAX_PATH, current);
         EXPECT_EQ(_stricmp(current, f.Path().c_str()), 0) << current; }},
    {"Open of a backdrop line too long", Start::Project, "alps", CmdManual, 1, {CmdOpen}, {IDNO, IDOK}, {"long.prj"},
     {SaveFirst, "Could not read file long.prj!"}, "alps", 1, Manual, "0100", 3, {}, {},
     false, [](const gui::ScratchFolder& f) {
         f.Write("long.prj", gui::ProjectFileText(std::string(600, 'b') + ".bmp", gui::LowlandBounds, OneBand)); }},
    {"Open over the Setup dialog closes it without taking its rows: Save writes the file as read", Start::Project, "alps",
     CmdEdit, 0, {CmdOpen, CmdSave}, {}, {"area.prj"}, {}, "area", 0, nullptr, "0000", 3, {}, {},
     false, [](const gui::ScratchFolder&) { SetDlgItemTextA(gui::App().currentDialog, IdcSetupTopDeg, "60"); }},
    {"Open of a name with two dots, then Save: the same file, no other", Start::Project, "alps", 0, 1, {CmdOpen, CmdSave},
     {IDNO}, {"alps.north.prj"}, {SaveFirst}, "alps.north", 0, nullptr, "0000", 1, {"alps.north.prj"}, {},
     false, [](const gui::ScratchFolder& f) { f.Write("alps.north.prj", gui::ProjectFileText("area.bmp", gui::LowlandBounds, {OneBand[0]})); }},
    {"Open of a title without dot: untitled", Start::Nothing, "", 0, 0, {CmdOpen}, {}, {"lowland"}, {}, "", 0, nullptr, "0000", 1, {}, {},
     false, [](const gui::ScratchFolder& f) { f.Write("lowland", gui::ProjectFileText("area.bmp", gui::LowlandBounds, {OneBand[0]}));
         gui::WriteGreyBackdrop(f.File("area.bmp"), 64, 48); }},
    // Dropped files by their kind: a project after the save question, waypoints, a backdrop only
    // while the Setup dialog is open.
    {"drop a project", Start::Project, "alps", 0, 1, {Drop}, {IDYES}, {}, {SaveFirst}, "lowland", 0, nullptr, "0000", 1,
     {"alps.prj"}, {}, false, [](const gui::ScratchFolder& f) { f.Write("lowland.prj", gui::ProjectFileText("area.bmp",
     gui::LowlandBounds, {OneBand[0]})); }, "lowland.prj"},
    {"drop waypoints", Start::Project, "alps", CmdManual, 0, {Drop}, {IDOK}, {},
     {"Imported 1 hotspots (0 already there, 0 outside the area, 0 lines not understood)."}, "alps", 1, Manual, "0000", 4,
     {}, {}, false, [](const gui::ScratchFolder& f) { f.Write("hill.CUP", "Hill,H,NL,5210.000N,00500.000E,12m,1\r\n"); }, "hill.CUP"},
    {"drop a backdrop on the Setup dialog", Start::Project, "alps", CmdEdit, 0, {Drop}, {}, {}, {}, "alps", 1, "Setup...",
     "1000", 3, {}, {}, false, nullptr, "area.bmp"},
    {"drop a backdrop without the Setup dialog", Start::Project, "alps", 0, 0, {Drop}, {IDOK}, {}, {DropTold}, "alps", 0,
     nullptr, "0000", 3, {}, {}, false, nullptr, "area.bmp"},
    {"drop a file of another kind", Start::Project, "alps", CmdEdit, 0, {Drop}, {IDOK}, {}, {DropTold}, "alps", 0,
     "Setup...", "1000", 3, {}, {}, false, nullptr, "area.prj.txt"},
    // Several files: each waypoint file imported in turn, the flight logs as one load; a project
    // among others, or a file of another kind, calls the whole drop off.
    {"drop two waypoint files: a box and an Undo step each", Start::Project, "alps", 0, 0, {Drop, CmdUndo}, {IDOK, IDOK}, {},
     {CupImported, "Imported 1 hotspots (0 already there, 0 outside the area, 0 waypoints not understood)."}, "alps", 1, nullptr,
     "0000", 4, {}, {}, false, WriteDropped, "hill.CUP|spots.kml"},
    {"drop flight logs and waypoints: the waypoints, then the logs as one load", Start::Project, "alps", CmdFlights, 0, {Drop},
     {IDOK, IDOK}, {}, {CupImported, "Could not load 2 of 2 flight logs:*"}, "alps", 1, "Flights", "0000", 4, {}, {},
     false, WriteDropped, "a.igc|hill.CUP|b.igc"},
    {"drop a project among waypoints: told, nothing done", Start::Project, "alps", 0, 1, {Drop}, {IDOK}, {}, {DropTold}, "alps", 1,
     nullptr, "0000", 3, {}, {}, false, WriteDropped, "lowland.prj|hill.CUP"},
    {"drop waypoints with a file of another kind: told, nothing done", Start::Project, "alps", 0, 0, {Drop}, {IDOK}, {}, {DropTold},
     "alps", 0, nullptr, "0000", 3, {}, {}, false, WriteDropped, "hill.CUP|notes.txt"},
    {"drop waypoints and flight logs under another tool dialog: told, nothing done", Start::Project, "alps", CmdManual, 0, {Drop},
     {IDOK}, {}, {DropTold}, "alps", 0, Manual, "0100", 3, {}, {}, false, WriteDropped, "hill.CUP|a.igc"},
    {"drop two waypoint files without a picture: told once", Start::Thermals, "alps", 0, 0, {Drop}, {IDOK}, {}, {StartFirst},
     "alps", 0, nullptr, "0000", 3, {}, {}, false, WriteDropped, "hill.CUP|spots.kml"},
    // While a box or a file dialog is up the program is in the middle of a command: a drop does nothing.
    {"drop a project while a box is up", Start::Project, "alps", 0, 1, {DropInBox, CmdExit}, {IDCANCEL}, {}, {SaveFirst}, "alps", 1,
     nullptr, "0000", 3, {}, {}, false, [](const gui::ScratchFolder& f) { f.Write("lowland.prj", gui::ProjectFileText("area.bmp",
     gui::LowlandBounds, {OneBand[0]})); }, "lowland.prj"},
    {"drop a project while a file dialog is up", Start::Project, "alps", 0, 0, {DropInBox, CmdSaveAs}, {}, {""}, {}, "alps", 0,
     nullptr, "0000", 3, {}, {}, false, [](const gui::ScratchFolder& f) { f.Write("lowland.prj", gui::ProjectFileText("area.bmp",
     gui::LowlandBounds, {OneBand[0]})); }, "lowland.prj"},
    // Import hotspots: each waypoint inside once, from a folder that does not become the current
    // one; the mode goes off, the dialog and the name Open and Save offer stay.
    {"Import hotspots, Save, then the same again: nothing new", Start::Project, "alps", CmdManual, 0,
     {CmdImportHotspots, CmdSave, CmdImportHotspots}, {IDOK, IDOK}, {"maps\\hotspots.cup", "maps\\hotspots.cup"},
     {"Imported 3 hotspots (2 already there, 1 outside the area, 1 lines not understood).",
      "Imported 0 hotspots (5 already there, 1 outside the area, 1 lines not understood)."}, "alps", 0, Manual, "0000", 6,
     {"alps.prj"}, {}, false, PrepareImport, "", [](const gui::ScratchFolder& f) {
         EXPECT_EQ(f.Read("alps.prj"), gui::ProjectFileText("area.bmp", gui::LowlandBounds, {OneBand[0], OneBand[1], OneBand[2],
             Imported(5225000, 475000), Imported(5242500, 533750), Imported(5250000, 550000)}));
         EXPECT_STREQ(dialogPath, "offered.prj"); }},
    {"Import hotspots from a file open elsewhere", Start::Project, "alps", CmdManual, 0, {CmdImportHotspots}, {IDOK},
     {"maps\\hotspots.cup"}, {"Could not read file hotspots.cup!"}, "alps", 0, Manual, "0000", 3, {}, {},
     false, [](const gui::ScratchFolder& f) {
         PrepareImport(f);
         lock = CreateFileA(f.File("maps\\hotspots.cup").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
     }, "", [](const gui::ScratchFolder&) { CloseHandle(lock); }},
    {"Import hotspots of a name typed without extension reads that file", Start::Project, "alps", 0, 0, {CmdImportHotspots}, {IDOK},
     {"hill"}, {CupImported}, "alps", 1, nullptr, "0000", 4, {}, {}, false, [](const gui::ScratchFolder& f) {
         f.Write("hill", "Hill,H,NL,5210.000N,00500.000E,12m,1\r\n"), f.Write("hill.txt", ""), f.Write("hill.cup", ""); }, "", nullptr, 4},
    // Export thermals: the type picked or a typed extension decides the format.
    {"Export, the CUP type", Start::Project, "alps", 0, 1, {CmdExportThermals}, {IDOK}, {"out\\t1"}, {"Exported 3 thermals to t1.cup."},
     "alps", 1, nullptr, "0000", 3, {"out/t1.cup"}, {}, false, MakeOut, "", Holds("out/t1.cup", ExportFormat::Cup), 1},
    // The project keeps its own file: an export into a folder that became the current one, then Save.
    {"Export into another folder, that folder current, then Save: the project's file beside it", Start::Project, "area", 0, 1,
     {CmdExportThermals, CmdSave}, {IDOK}, {"out\\t8.cup"}, {"Exported 3 thermals to t8.cup."}, "area", 0, nullptr, "0000", 3,
     {"out/t8.cup", "area.prj"}, {}, false, [](const gui::ScratchFolder& f) { MakeOut(f), SetCurrentDirectoryA(f.File("out").c_str()); }},
    {"Export, the GPX type", Start::Project, "alps", CmdManual, 1, {CmdExportThermals}, {IDOK}, {"out\\t2"},
     {"Exported 3 thermals to t2.gpx."}, "alps", 1, Manual, "0100", 3, {"out/t2.gpx"}, {}, false, MakeOut, "",
     Holds("out/t2.gpx", ExportFormat::Gpx), 2},
    {"Export, the KML type", Start::Project, "alps", 0, 1, {CmdExportThermals}, {IDOK}, {"out\\t3"}, {"Exported 3 thermals to t3.kml."},
     "alps", 1, nullptr, "0000", 3, {"out/t3.kml"}, {}, false, MakeOut, "", Holds("out/t3.kml", ExportFormat::Kml), 3},
    {"Export, a typed extension wins over the type", Start::Project, "alps", 0, 0, {CmdExportThermals}, {IDOK}, {"out\\t4.Kml"},
     {"Exported 3 thermals to t4.Kml."}, "alps", 0, nullptr, "0000", 3, {"out/t4.Kml"}, {}, false, MakeOut, "",
     Holds("out/t4.Kml", ExportFormat::Kml), 1},
    {"Export, another extension gets the type's", Start::Project, "alps", 0, 1, {CmdExportThermals}, {IDOK}, {"out\\t5.north"},
     {"Exported 3 thermals to t5.north.gpx."}, "alps", 1, nullptr, "0000", 3, {"out/t5.north.gpx"}, {}, false, MakeOut, "",
     Holds("out/t5.north.gpx", ExportFormat::Gpx), 2},
    {"Export, the completed name exists: asked, kept on No", Start::Project, "alps", 0, 1, {CmdExportThermals}, {IDNO},
     {"out\\t6.north"}, {"t6.north.kml already exists.\nDo you want to replace it?"}, "alps", 1, nullptr, "0000", 3, {}, {},
     false, [](const gui::ScratchFolder& f) { MakeOut(f), f.Write("out/t6.north.kml", "kept"); }, "", nullptr, 3},
    {"Export over a file, replaced", Start::Project, "alps", 0, 1, {CmdExportThermals}, {IDYES, IDOK}, {"out\\old.cup"},
     {nullptr, "Exported 3 thermals to old.cup."}, "alps", 1, nullptr, "0000", 3, {"out/old.cup"}, {}, false,
     [](const gui::ScratchFolder& f) { MakeOut(f), f.Write("out/old.cup", "old"); }, "", Holds("out/old.cup", ExportFormat::Cup), 3},
    {"Export, write cut off halfway: told, nothing left", Start::Project, "alps", 0, 1, {CmdExportThermals}, {IDOK}, {"out\\t7"},
     {"Could not write file t7.kml"}, "alps", 1, nullptr, "0000", 3, {}, {}, false,
     [](const gui::ScratchFolder& f) { MakeOut(f), writeFaultAfterBytes = 100; }, "", nullptr, 3},
    {"Export cancelled", Start::Project, "alps", 0, 1, {CmdExportThermals}, {}, {""}, {}, "alps", 1, nullptr, "0000", 3, {}, {}},
    {"Export without thermals", Start::Backdrop, "alps", 0, 0, {CmdExportThermals}, {IDOK}, {}, {ThermalsFirst}, "alps", 0,
     nullptr, "0000", 0, {}, {}},
    // Statistics over the whole table; a project needs its backdrop.
    {"Statistics", Start::Project, "alps", CmdManual, 0, {CmdStatistics}, {IDOK}, {}, {"3 thermals: 3 inside the area, 0 outside\n"
     "Lift type 1: 1, type 2: 1, type 3: 0, type 4: 1\nWith a cloud: 1\nTops from 2000 to 2000 m, mean 2000 m\n"
     "Inside the area: 0.1 per 100 square km"}, "alps", 0, Manual, "0100", 3, {}, {}},
    {"Statistics without a backdrop", Start::Thermals, "alps", 0, 0, {CmdStatistics}, {IDOK}, {}, {StartFirst}, "alps", 0,
     nullptr, "0000", 3, {}, {}},
    // GPX and KML hotspots, chosen or dropped, read by their extension whatever the type picked.
    {"Import GPX hotspots", Start::Project, "alps", 0, 0, {CmdImportHotspots}, {IDOK}, {"spots.gpx"},
     {"Imported 2 hotspots (0 already there, 1 outside the area, 1 waypoints not understood)."}, "alps", 1, nullptr, "0000", 5,
     {}, {}, false, [](const gui::ScratchFolder& f) { f.Write("spots.gpx", Waypoints); }, "", nullptr, 3},
    {"drop KML hotspots", Start::Project, "alps", 0, 0, {Drop}, {IDOK}, {},
     {"Imported 1 hotspots (0 already there, 0 outside the area, 1 waypoints not understood)."}, "alps", 1, nullptr, "0000", 4,
     {}, {}, false, [](const gui::ScratchFolder& f) { f.Write("spots.kml", "<kml><Point><coordinates>5,52.2</coordinates></Point>"
     "<Point/><LineString><coordinates>5,52 5,52.1</coordinates></LineString></kml>"); }, "spots.kml"},
    // A project whose backdrop is missing opens and says so; what needs a picture is refused with
    // nothing written; Edit's Load brings one, and Save As keeps every thermal and bound.
    // Save writes it (its LF lines come back as CR LF) and says the picture is not there; Export writes too.
    {"Open of a project whose backdrop is missing", Start::Project, "alps", 0, 0,
     {CmdOpen, CmdManual, CmdAutomatic, CmdSave, CmdExportThermals, CmdCreate, CmdEdit, -IdcSetupLoad, CmdSaveAs},
     {IDOK, IDOK, IDOK, IDOK, IDOK, IDOK}, {"gone.prj", "e1.gpx", "area.bmp", "kept.prj"}, {"Could not load the backdrop gone.bmp: the "
     "file cannot be read. Choose it again with Project > Edit > Load.", StartFirst, StartFirst,
     "The project will look for its backdrop gone.bmp in *", "Exported 1 thermals to e1.gpx.", StartFirst}, "kept", 0, "Setup...", "1000", 1,
     {"gone.prj", "e1.gpx", "kept.prj"}, {},
     false, [](const gui::ScratchFolder& f) { f.Write("gone.prj", "gone.bmp\n52:30.000N\n52:00.000N\n004:30.000E\n005:30.000E\n" +
         testdata::ThermalLine(OneBand[0]) + "\n"); },
     "", [](const gui::ScratchFolder& f) {
         EXPECT_EQ(f.Read("gone.prj"), gui::ProjectFileText("gone.bmp", gui::LowlandBounds, {OneBand[0]}));
         EXPECT_EQ(f.Read("kept.prj"), gui::ProjectFileText("area.bmp", gui::LowlandBounds, {OneBand[0]})); }},
    // Create: questions, the save, one run per band with the name quoted, the kept flag.
    {"Create, one band", Start::Project, "alps", CmdManual, 1, {CmdCreate}, {IDOK}, {},
     {"Create a BGL with 3 thermals..."}, "alps", 0, Manual, "0000", 3, {"alps.prj", "alps_a.sca", "alps_a.bgl"},
     {"scasm alps_a.sca alps_a.bgl"}},
    {"Create, three bands, split", Start::Bands, "alps", 0, 1, {CmdCreate}, {IDOK, IDYES}, {},
     {"Create a BGL with 5 thermals...", Split}, "alps", 0, nullptr, "0000", 5,
     {"alps.prj", "alps_a.sca", "alps_a.bgl", "alps_b.sca", "alps_b.bgl", "alps_c.sca", "alps_c.bgl"},
     {"scasm alps_a.sca alps_a.bgl", "scasm alps_b.sca alps_b.bgl", "scasm alps_c.sca alps_c.bgl"}},
    {"Create, three bands, not split", Start::Bands, "alps", 0, 1, {CmdCreate}, {IDOK, IDNO}, {},
     {"Create a BGL with 5 thermals...", Split}, "alps", 0, nullptr, "0000", 5, {"alps.prj", "alps_a.sca", "alps_a.bgl"},
     {"scasm alps_a.sca alps_a.bgl"}},
    {"Create, split question cancelled", Start::Bands, "alps", 0, 1, {CmdCreate}, {IDOK, IDCANCEL}, {},
     {"Create a BGL with 5 thermals...", Split}, "alps", 1, nullptr, "0000", 5, {"alps.prj"}, {}},
    {"Create, confirmation cancelled", Start::Project, "alps", CmdManual, 1, {CmdCreate}, {IDCANCEL}, {},
     {"Create a BGL with 3 thermals..."}, "alps", 1, Manual, "0100", 3, {}, {}},
    {"Create, a name with a blank", Start::Project, "my area", 0, 1, {CmdCreate}, {IDOK}, {},
     {"Create a BGL with 3 thermals..."}, "my area", 0, nullptr, "0000", 3,
     {"my area.prj", "my area_a.sca", "my area_a.bgl"}, {"scasm \"my area_a.sca\" \"my area_a.bgl\""}},
    {"Create, untitled, named in the Save dialog up to the last dot", Start::Project, "", 0, 1, {CmdCreate}, {IDOK},
     {"valley.high.prj"}, {"Create a BGL with 3 thermals..."}, "valley.high", 0, nullptr, "0000", 3,
     {"valley.high.prj", "valley.high_a.sca", "valley.high_a.bgl"}, {"scasm valley.high_a.sca valley.high_a.bgl"}},
    {"Create, untitled, Save dialog cancelled", Start::Project, "", 0, 1, {CmdCreate}, {IDOK}, {""},
     {"Create a BGL with 3 thermals..."}, "", 1, nullptr, "0000", 3, {}, {}},
    {"Create, the project's save fails: runs, still modified", Start::Project, "alps", 0, 1, {CmdCreate},
     {IDOK, IDOK}, {}, {"Create a BGL with 3 thermals...", "trying to save [alps.prj]"}, "alps", 1, nullptr, "0000", 3,
     {"alps_a.sca", "alps_a.bgl"}, {"scasm alps_a.sca alps_a.bgl"},
     false, [](const gui::ScratchFolder& f) { std::filesystem::create_directory(f.File("alps.prj")); }},
    {"Create, a source that cannot be replaced: named, no run", Start::Project, "alps", 0, 1, {CmdCreate}, {IDOK, IDOK},
     {}, {"Create a BGL with 3 thermals...", "Could not write file alps_a.sca"}, "alps", 1, nullptr, "0000", 3,
     {"alps.prj"}, {}, false, [](const gui::ScratchFolder& f) { std::filesystem::create_directory(f.File("alps_a.sca")); }},
    {"Create, no SCASM to be found: the sources are written and the user told", Start::Project, "alps", 0, 1,
     {CmdCreate}, {IDOK, IDOK}, {}, {"Create a BGL with 3 thermals...", "Could not start SCASM: scasm alps_a.sca alps_a.bgl. "
     "The sources are written; put scasm.exe on the PATH or in the project's folder, then press Create again."},
     "alps", 0, nullptr, "0000", 3, {"alps.prj", "alps_a.sca"}, {},
     false, [](const gui::ScratchFolder& f) { std::filesystem::remove(f.File("scasm.exe")); }},
    {"Create, no SCASM, a long name: cut in the box", Start::Project, midName, 0, 1, {CmdCreate}, {IDOK, IDOK}, {},
     {"Create a BGL with 3 thermals...", midNameNoScasm.c_str()}, midName, 0, nullptr, "0000", 3,
     {midName + ".prj", midName + "_a.sca"}, {},
     false, [](const gui::ScratchFolder& f) { std::filesystem::remove(f.File("scasm.exe")); }},
    {"Create without backdrop", Start::Thermals, "alps", CmdClearPartly, 1, {CmdCreate}, {IDOK}, {}, {StartFirst},
     "alps", 1, "Clear (partly)", "0001", 3, {}, {}},
    {"Create without thermals", Start::Backdrop, "alps", 0, 1, {CmdCreate}, {IDOK}, {}, {ThermalsFirst}, "alps", 1,
     nullptr, "0000", 0, {}, {}},
    // Saves that fail tell the user, keep the flag, and leave every file as it was.
    {"Save As into a folder that does not exist", Start::Project, "alps", 0, 1, {CmdSaveAs}, {IDOK},
     {"nowhere\\alps.prj"}, {"Could not write file alps.prj"}, "alps", 1, nullptr, "0000", 3, {}, {}},
    {"Save onto a folder", Start::Project, "ridge", 0, 1, {CmdSave}, {IDOK}, {}, {"Could not write file ridge.prj"},
     "ridge", 1, nullptr, "0000", 3, {}, {},
     false, [](const gui::ScratchFolder& f) { std::filesystem::create_directory(f.File("ridge.prj")); f.Write("ridge.prj/kept.txt", "kept");
     }},
    {"Save, write cut off halfway", Start::Project, "area", 0, 1, {CmdSave}, {IDOK}, {},
     {"Could not write file area.prj"}, "area", 1, nullptr, "0000", 3, {}, {},
     false, [](const gui::ScratchFolder&) { writeFaultAfterBytes = 100; }},
    {"Save As over a file, write cut off halfway: the name stays", Start::Project, "alps", 0, 1, {CmdSaveAs}, {IDYES, IDOK},
     {"area.prj"}, {nullptr, "Could not write file area.prj"}, "alps", 1, nullptr, "0000", 3, {}, {},
     false, [](const gui::ScratchFolder&) { writeFaultAfterBytes = 100; }},
    {"Save, a name longer than a path", Start::Project, longName, 0, 1, {CmdSave}, {IDOK}, {},
     {longNameText.c_str()}, longName, 1, nullptr, "0000", 3, {}, {}},
    {"Save, a name too long for the file title", Start::Project, longestName, 0, 1, {CmdSave}, {IDOK}, {},
     {longestNameText.c_str()}, longestName, 1, nullptr, "0000", 3, {}, {}},
    // The project keeps its own file: a backdrop loaded from another folder leaves that folder as
    // it was, and the notice names the project's folder.
    {"a backdrop from another folder, OK, Save: written beside the project", Start::Project, "area", CmdEdit, 0,
     {-IdcSetupLoad, -IdcSetupOk, CmdSave}, {IDOK}, {"other\\pic.bmp"}, {"The project will look for its backdrop pic.bmp in *"}, "area",
     0, nullptr, "0000", 3, {"area.prj"}, {}, false, [](const gui::ScratchFolder& f) {
         std::filesystem::create_directory(f.File("other")), gui::WriteGreyBackdrop(f.File("other\\pic.bmp"), 64, 48); },
     "", [](const gui::ScratchFolder& f) {
         EXPECT_EQ(gui::Boxes()[0].text, "The project will look for its backdrop pic.bmp in " + ShortenedName(f.Path()) +
                                         ", where there is no such file yet. Copy it there.");
         EXPECT_EQ(f.Read("area.prj"), gui::ProjectFileText("pic.bmp", gui::LowlandBounds, OneBand)); }},
    {"Create with the current folder elsewhere: everything beside the project, SCASM found and run there", Start::Project,
     "alps", 0, 1, {CmdCreate}, {IDOK}, {}, {"Create a BGL with 3 thermals..."}, "alps", 0, nullptr, "0000", 3,
     {"alps.prj", "alps_a.sca", "alps_a.bgl"}, {"scasm alps_a.sca alps_a.bgl"}, false, [](const gui::ScratchFolder& f) {
         std::filesystem::create_directory(f.File("elsewhere")), SetCurrentDirectoryA(f.File("elsewhere").c_str()); }},
    // The end of the Windows session: the save question where the project is modified, and the end
    // without another question when the answer lets it come.
    {"end of session, nothing modified: no question", Start::Project, "alps", CmdManual, 0, {EndSession}, {}, {}, {}, "alps", 0,
     nullptr, "0000", 3, {}, {}, true},
    {"end of session, saved", Start::Project, "alps", CmdManual, 1, {EndSession}, {IDYES}, {}, {SaveFirst}, "alps", 0, nullptr,
     "0000", 3, {"alps.prj"}, {}, true},
    {"end of session, not saved", Start::Project, "alps", 0, 1, {EndSession}, {IDNO}, {}, {SaveFirst}, "alps", 1, nullptr, "0000",
     3, {}, {}, true},
    {"end of session called off", Start::Project, "alps", CmdManual, 1, {EndSession}, {IDCANCEL}, {}, {SaveFirst}, "alps", 1,
     Manual, "0100", 3, {}, {}},
    {"end of session, untitled, Save dialog cancelled", Start::Project, "", 0, 1, {EndSession}, {IDYES}, {""}, {SaveFirst}, "", 1,
     nullptr, "0000", 3, {}, {}},
    {"end of session, the save fails", Start::Project, "alps", 0, 1, {EndSession}, {IDYES, IDOK}, {},
     {SaveFirst, "Could not write file alps.prj"}, "alps", 1, nullptr, "0000", 3, {}, {},
     false, [](const gui::ScratchFolder& f) { std::filesystem::create_directory(f.File("alps.prj")); }},
};

class CommandsTest : public gui::GuiTest {
    void TearDown() override { writeFaultAfterBytes = -1, gui::GuiTest::TearDown(); }
};

std::map<std::string, std::string> Contents(const gui::ScratchFolder& folder) {
    std::map<std::string, std::string> contents;
    for (const std::string& name : folder.Names())
        if (name.rfind("scasm", 0) != 0) contents[name] = name.back() == '/' ? "" : folder.Read(name);
    return contents;
}

TEST_F(CommandsTest, Rows) {
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        gui::ResetProgram();
        gui::ScratchFolder folder;
        const std::vector<Thermal>* table = row.start == Start::Bands ? &ThreeBands : &OneBand;
        if (row.start == Start::Thermals) {
            for (const Thermal& t : *table) thermals[thermalCount++] = t;
            SetCurrentDirectoryA(folder.Path().c_str());
        } else if (row.start != Start::Nothing) {
            ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "area.prj", row.start == Start::Backdrop ? std::vector<Thermal>{} : *table));
        }
        CopyText(projectName, ProjectNameSize, row.project.c_str());
        UpdateTitle(gui::Main(), projectName);
        if (std::find(row.commands.begin(), row.commands.end(), CmdCreate) != row.commands.end()) {
            ASSERT_TRUE(folder.Copy(boxwatch::WinePath(SCASM_EXE), "scasm.exe"));
        }
        if (row.tool) gui::Command(row.tool);
        HWND dialog = gui::App().currentDialog;
        const std::string dialogCaption = boxwatch::WindowText(dialog);
        if (row.prepare) row.prepare(folder);
        gui::Pump();
        projectModified = row.modified;
        const auto before = Contents(folder);

        for (int answer : row.answers) gui::ExpectBox(answer);
        for (const std::string& file : row.files) file.empty() ? gui::ExpectFileCancel() : gui::ExpectFile(folder.File(file), row.fileType);
        for (int command : row.commands) {
            if (command == CloseButton) {
                EXPECT_EQ(gui::Close(), row.quits ? 1 : 0);
            } else if (command == EndSession) {
                const LRESULT goesOn = SendMessageA(gui::Main(), WM_QUERYENDSESSION, 0, 0);
                if (goesOn) SendMessageA(gui::Main(), WM_ENDSESSION, TRUE, 0);
                EXPECT_EQ(goesOn != 0, row.quits);
                gui::Pump();
            } else if (command == F1) {
                gui::PostKey(VK_F1), gui::Pump();
            } else if (command == DropInBox) {
                gui::Drop(gui::Main(), DroppedPaths(folder, row.dropped), true);
            } else if (command == Drop) {
                gui::Drop(row.tool == CmdEdit ? gui::App().currentDialog : gui::Main(), DroppedPaths(folder, row.dropped));
            } else if (command < 0) {
                gui::Click(gui::App().currentDialog, -command);
            } else {
                gui::Command(command);
            }
        }
        writeFaultAfterBytes = -1;
        // Runs are counted as the command returns: none may come later.
        EXPECT_EQ(gui::RunsStarted(), static_cast<int>(row.runs.size()));

        ASSERT_EQ(gui::Boxes().size(), row.boxes.size()) << ::testing::PrintToString(gui::BoxTexts());
        for (size_t i = 0; i < row.boxes.size(); ++i) {
            const boxwatch::BoxRecord& box = gui::Boxes()[i];
            if (!row.boxes[i]) continue;
            const std::string want = row.boxes[i];  // a '*' at its end: the text starts so
            EXPECT_EQ(box.text.substr(0, want.back() == '*' ? want.size() - 1 : std::string::npos), want.substr(0, want.find('*')));
            EXPECT_EQ(box.caption, box.text.rfind("trying", 0) == 0 ? "Error" : "Ascendor");
            EXPECT_EQ(box.Type(), TypeOf(box.text)) << boxwatch::Describe(box);
            EXPECT_EQ(box.owner, gui::Main());
        }
        EXPECT_EQ(gui::Dialogs().size(), row.files.size());
        EXPECT_EQ(std::make_pair(gui::QuitPosted(), gui::QuitCode()), std::make_pair(row.quits, WPARAM(0)));
        EXPECT_EQ(projectModified, row.modifiedAfter);
        // Quitting destroys the main window, so that its children release what they hold.
        EXPECT_EQ(IsWindow(gui::Main()) != FALSE, !row.quits);
        if (!row.quits) { EXPECT_EQ(gui::Title(), "Ascendor - [" + (row.title.empty() ? std::string("(untitled)") : row.title) + "]"); }
        HWND open = gui::App().currentDialog;
        EXPECT_EQ(open ? boxwatch::WindowText(open) : "(none)", row.dialog ? row.dialog : "(none)");
        if (dialog && row.dialog && row.dialog == dialogCaption) { EXPECT_EQ(open, dialog) << "the tool dialog is the one open before"; }
        // The window in use before a box stays in use after it, a tool dialog above the main window;
        // the harness checks that neither took input while the box was up.
        EXPECT_TRUE(row.quits || (IsWindowEnabled(gui::Main()) && (!open || IsWindowEnabled(open)))) << "a window still held after the boxes";
        if (!row.quits) { EXPECT_EQ(GetActiveWindow(), open ? open : gui::Main()); }
        HWND above = gui::Main();
        while (open && above && above != open) above = GetWindow(above, GW_HWNDPREV);
        EXPECT_TRUE(!open || above == open) << "the tool dialog lies behind the main window";
        if (dialog && row.quits) { EXPECT_FALSE(IsWindow(dialog)); }
        EXPECT_EQ(std::to_string(setupMode) + std::to_string(manualMode) + std::to_string(automaticMode) +
                      std::to_string(clearPartMode), row.modes);
        EXPECT_EQ(thermalCount, row.count);

        ASSERT_TRUE(gui::WaitForRunsToEnd());
        std::vector<std::string> runs;
        for (const std::string& name : folder.Names("scasm-run-*")) {
            const std::vector<std::string> record = testdata::SplitLines(folder.Read(name));
            ASSERT_EQ(record.size(), 3u) << folder.Read(name);
            runs.push_back(record[0]);
            EXPECT_EQ(_stricmp(record[1].c_str(), folder.Path().c_str()), 0) << record[1];
            EXPECT_EQ(record[2], "exit 0");  // the source was there and began with Header
        }
        std::sort(runs.begin(), runs.end());
        EXPECT_EQ(runs, row.runs);
        auto after = Contents(folder), expected = before;
        for (const std::string& name : row.written) {
            EXPECT_TRUE(after.erase(name)) << name << " not written";
            expected.erase(name);
        }
        EXPECT_EQ(after, expected) << "files written or changed besides";
        if (row.check) row.check(folder);
        gui::CheckWatcher();
    }
}

// Undo and Redo take Clear all back and put it back, and are greyed, as the Thermals menu opens,
// while there is nothing to take back or put back.
TEST_F(CommandsTest, UndoAndRedoWalkClearAllAndAreGreyedWithNothingToTakeBackOrPutBack) {
    gui::ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "area.prj", OneBand));
    HMENU menu = GetSubMenu(GetMenu(gui::Main()), 1);
    const struct { int command, answer; UINT undo, redo; int32_t count; } steps[] = {
        {0, 0, MF_GRAYED, MF_GRAYED, 3}, {CmdClearAll, IDYES, 0, MF_GRAYED, 0}, {CmdUndo, 0, MF_GRAYED, 0, 3}, {CmdRedo, 0, 0, MF_GRAYED, 0}};
    for (const auto& step : steps) {
        if (step.answer) gui::ExpectBox(step.answer);
        if (step.command) gui::Command(step.command);
        SendMessageA(gui::Main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 1);
        EXPECT_EQ(GetMenuState(menu, CmdUndo, MF_BYCOMMAND) & MF_GRAYED, step.undo) << step.command;
        EXPECT_EQ(GetMenuState(menu, CmdRedo, MF_BYCOMMAND) & MF_GRAYED, step.redo) << step.command;
        EXPECT_EQ(thermalCount, step.count) << step.command;
    }
}

// The recent projects in the Project menu, read back from the menu the registry's list makes:
// damaged values passed over, a file that cannot be read taken off after Open's box, Open and
// Save As putting their file first, and a chosen entry opened after the save question. Only a file that is gone leaves
// the list: one that is no project only gets Open's box.
TEST_F(CommandsTest, RecentProjectsFollowOpenAndSaveAs) {
    gui::ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(gui::BringInProject(folder, "area.prj", OneBand));
    folder.Write("b.prj", folder.Read("area.prj"));
    HKEY key = nullptr;
    RegDeleteKeyA(HKEY_CURRENT_USER, RecentKey);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, RecentKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    const DWORD number = 7;
    const std::string gone = folder.File("gone.prj"), area = folder.File("area.prj");
    RegSetValueExA(key, "File1", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegSetValueExA(key, "File2", 0, REG_SZ, reinterpret_cast<const BYTE*>(gone.c_str()), DWORD(gone.size() + 1));
    RegSetValueExA(key, "File3", 0, REG_SZ, reinterpret_cast<const BYTE*>(area.c_str()), DWORD(area.size()));  // no zero
    RegSetValueExA(key, "File4", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    RegCloseKey(key);
    const struct { const char* what; std::function<void()> act; std::vector<std::string> list; std::string title; } steps[] = {
        {"damaged values passed over", [] { ShowRecentProjects(gui::Main()); }, {"gone.prj", "area.prj"}, "area"},
        {"a file that is gone", [] { gui::ExpectBox(IDOK), gui::Command(CmdRecentFirst); }, {"area.prj"}, "area"},
        {"a file that is no project", [&] { folder.Write("area.prj", ""), gui::ExpectBox(IDOK), gui::Command(CmdRecentFirst);
             folder.Write("area.prj", folder.Read("b.prj")); }, {"area.prj"}, "area"},
        {"Open", [&] { gui::ExpectFile(folder.File("b.prj")), gui::Command(CmdOpen); }, {"b.prj", "area.prj"}, "b"},
        {"Save As", [&] { gui::ExpectFile(folder.File("c.prj")), gui::Command(CmdSaveAs); }, {"c.prj", "b.prj", "area.prj"}, "c"},
        {"chosen while modified, the save question called off", [] { projectModified = 1, gui::ExpectBox(IDCANCEL);
             gui::Command(CmdRecentFirst + 2), projectModified = 0; }, {"c.prj", "b.prj", "area.prj"}, "c"},
        {"chosen", [] { gui::Command(CmdRecentFirst + 2); }, {"area.prj", "c.prj", "b.prj"}, "area"},
    };
    HMENU menu = GetSubMenu(GetMenu(gui::Main()), 0);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        std::vector<std::string> shown, expected = {"-"};
        for (size_t i = 0; i < step.list.size(); ++i) expected.push_back(RecentMenuText(int(i), folder.File(step.list[i])));
        for (int i = GetMenuItemCount(menu) - 3; i > 4 && GetMenuItemID(menu, i) != CmdStatistics; --i) {
            char text[300] = "";
            GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
            shown.insert(shown.begin(), text[0] ? text : "-");
        }
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(gui::Title(), "Ascendor - [" + step.title + "]");
        gui::CheckWatcher();
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, RecentKey);
}

}  // namespace
