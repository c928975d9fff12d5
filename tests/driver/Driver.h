// Drives the built Ascendor.exe from outside, as a user or another program would: it starts the
// program as its own process in a scratch folder, with the stand-in scasm first on its PATH, and
// reaches it only through its windows: menu commands, dialog controls, mouse input on the map,
// keys to the focused window, message boxes and file dialogs, window and status-bar texts.
// Every wait is bounded; a program still running when its Program object ends is terminated.
//
//   driver::Scratch folder;
//   folder.Copy(driver::SourceFile("examples/sample.bmp"), "sample.bmp");
//   driver::Program program(folder.Path());
//   program.Command(21);                          // Project > Open...
//   program.AnswerFile(folder.File("sample.prj"));
//   boxwatch::BoxRecord box;
//   program.Command(25);                          // Exit
//   program.Answer(IDOK, &box);
//   DWORD code = 0;
//   program.WaitForExit(&code);
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "gui/BoxWatcher.h"

namespace driver {

// Bounds of the waits, in milliseconds.
constexpr int StartMs = 30000;   // from CreateProcess to a visible main window
constexpr int BoxMs = 5000;      // a message box or tool dialog to appear or close
constexpr int FileMs = 15000;    // a file dialog to appear and close
constexpr int ExitMs = 10000;    // the process to end after its last question

std::string ProgramPath();                            // Ascendor.exe, as a Windows path
std::string ScasmPath();                              // the stand-in scasm.exe
std::string SourceFile(const std::string& relative);  // a file of the source tree

// Text helpers for the files the program writes.
std::string ReadWholeFile(const std::string& path);  // raw bytes; empty when unreadable
// Lines of a text whose lines end in CR LF; crlf is cleared when any line ends otherwise or the
// last line has no end.
std::vector<std::string> SplitLines(const std::string& text, bool* crlf = nullptr);

// A fresh folder under the temporary folder, removed with the object unless kept.
class Scratch {
public:
    Scratch();
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const;
    bool Copy(const std::string& source, const std::string& name) const;
    bool Write(const std::string& name, const std::string& text) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;
    std::vector<std::string> Names(const std::string& pattern) const;  // sorted
    // Waits until at least count files match pattern; false after timeoutMs.
    bool WaitForNames(const std::string& pattern, size_t count, int timeoutMs) const;
    void Keep() { keep_ = true; }  // leaves the folder for a look after a failure

private:
    std::string path_;
    bool keep_ = false;
};

// A geographic position as the status bar shows it, in 1/100000 degree.
struct GeoPoint {
    bool valid = false;
    int lat = 0;
    int lon = 0;
};

class Program {
public:
    // Starts Ascendor.exe with folder as its current folder; Started() tells whether its main
    // window came.
    explicit Program(const std::string& folder);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return main_ != nullptr; }
    bool Running() const;
    DWORD ProcessId() const { return processId_; }
    HWND Main() const { return main_; }
    HWND Map() const { return map_; }
    HWND Status() const { return status_; }

    // Lets the program work off what was sent to it: returns once its thread has taken messages
    // sent after everything posted before, paints included, or after a bounded wait.
    void Settle();

    void Command(int id);                 // a menu command
    void PostToMain(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    std::string Title() const;
    std::string StatusText(int part) const;

    // ---- Tool dialogs and their controls ----
    HWND WaitForDialog(const std::string& caption, int timeoutMs = BoxMs) const;
    HWND FindDialog(const std::string& caption) const;
    bool WaitUntilGone(HWND window, int timeoutMs = BoxMs) const;
    void Type(HWND dialog, int id, const std::string& text);  // the control's whole text
    std::string Text(HWND dialog, int id) const;
    bool Checked(HWND dialog, int id) const;
    void Click(HWND dialog, int id);  // the user's click on a button (BM_CLICK)
    void CloseWindow(HWND window);    // the close button of its title bar

    // ---- Keys, to the window that has the keyboard focus in the program ----
    HWND Focus() const;
    void Key(UINT virtualKey);

    // ---- Mouse on the map, in its client pixels ----
    POINT MapPoint(double fx, double fy) const;  // a point at fractions of the map's client area
    void MouseMove(POINT at, WPARAM keys = 0);
    void LeftClick(POINT at);
    void RightClick(POINT at);
    void Drag(POINT from, POINT to, int steps = 4);
    // Moves the pointer to at and reads the position that status part 0 then shows.
    GeoPoint Probe(POINT at);

    // ---- Message boxes and file dialogs ----
    // Waits for the next message box, answers it (its safe answer when it lacks that button)
    // and keeps its record in boxes. False when none came or it did not close in time.
    bool Answer(int answer, boxwatch::BoxRecord* record = nullptr, int timeoutMs = BoxMs);
    // A message box that shows up within waitMs although none was expected: answered with its
    // safe answer, and described; empty when none came.
    std::string StrayBox(int waitMs = 300);
    bool AnswerFile(const std::string& path);  // "" cancels
    std::vector<boxwatch::BoxRecord> boxes;

    // ---- The end ----
    bool WaitForExit(DWORD* code, int timeoutMs = ExitMs);
    void Terminate();

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    HWND main_ = nullptr;
    HWND map_ = nullptr;
    HWND status_ = nullptr;
    void* remoteText_ = nullptr;  // a buffer in the program for the status bar's texts
};

}  // namespace driver
