// Drives the built Ascendor.exe from outside, as a user or another program would: it starts the
// program as its own process in a folder, with the stand-in scasm first on its PATH, and reaches
// it only through its windows. After every action the driver settles: it posts a marker behind
// what it sent and waits until the program's thread has taken it, and then has the map paint, so
// whatever the action brings up (a box, a dialog, a new text) has been made when the action
// returns, and what is not there will not come. Boxes, file dialogs and tool dialogs are found by
// their class, controls and caption, a modal one made but not yet shown waited for. Every wait
// ends at a deadline that fails the test.
//
//   driver::Scratch folder;
//   driver::Program program(folder.Path());
//   program.Command(CmdExit);
//   program.Answer(IDOK);
//   DWORD code = 0;
//   program.WaitForExit(&code);
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/TestData.h"
#include "gui/BoxWatcher.h"

namespace driver {

using Scratch = testdata::Scratch;
using testdata::SplitLines;
std::string SourceFile(const std::string& relative);  // a file of the source tree

// A geographic position as the status bar shows it, in 1/100000 degree.
struct GeoPoint {
    bool valid = false;
    int lat = 0, lon = 0;
};

class Program {
public:
    // arguments: the command line after the program's name. With an output file the program runs
    // without its window: its standard output goes to that file, and no window is waited for.
    explicit Program(const std::string& folder, const std::string& arguments = "",
                     const std::string& output = "");  // Started() tells whether its main window came
    ~Program();                                   // a program still running is terminated
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return main_ != nullptr; }
    bool Running() const;
    HWND Main() const { return main_; }
    HWND Map() const { return map_; }
    void Settle();

    void Command(int id);  // a menu command
    void PostToMain(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    std::string Title() const;
    std::string StatusText(int part) const;

    // ---- Tool dialogs and their controls ----
    HWND FindDialog(const std::string& caption) const;  // null when none is open
    void Type(HWND dialog, int id, const std::string& text);  // the control's whole text
    std::string Text(HWND dialog, int id) const;
    void Click(HWND dialog, int id);  // the user's click on a button (BM_CLICK)

    // ---- Keys, to the window that has the keyboard focus in the program ----
    HWND Focus() const;
    void Key(UINT virtualKey);

    // ---- Mouse on the map, in its client pixels ----
    POINT MapPoint(double fx, double fy) const;  // at fractions of the map's client area
    void MouseMove(POINT at, WPARAM keys = 0);
    void LeftClick(POINT at);
    void Drag(POINT from, POINT to, int steps = 4);  // with no steps: a click
    GeoPoint Probe(POINT at);  // moves there and reads the position status part 0 shows

    // ---- Message boxes and file dialogs ----
    // Answers the box that is up (its safe answer when it lacks that button) and fills record.
    // False when no box is up or it lacked the button.
    bool Answer(int answer, boxwatch::BoxRecord* record = nullptr);
    std::string StrayBox();  // a box that is up although none was expected, answered; "" if none
    bool AnswerFile(const std::string& path);  // the file dialog that is up; "" cancels

    // ---- The processes it started (SCASM runs), counted as the command returns ----
    int RunsStarted() { return runs_.Started(); }
    bool WaitForRunsToEnd() { return runs_.WaitForAllToEnd(20000); }

    bool WaitForExit(DWORD* code, DWORD timeoutMs = 10000);
    void Terminate();

private:
    bool FindMainWindow();  // the visible main window of this process with its children
    HANDLE process_ = nullptr;
    DWORD processId_ = 0, threadId_ = 0;
    HWND main_ = nullptr, map_ = nullptr, status_ = nullptr;
    void* remoteText_ = nullptr;  // a buffer in the program for the status bar's texts
    boxwatch::StartedProcesses runs_;
};

// Answers the box that is up, which must be this one; its icon is checked in-process only.
void AnswerBox(Program& program, const std::string& text, int answer);

// The thirteen numbers of each thermal line of a project file's text.
std::vector<std::vector<int>> ThermalsOf(const std::string& text);

}  // namespace driver
