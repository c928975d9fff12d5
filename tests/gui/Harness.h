// Runs the real main window inside the test process and drives it as a user would: menu
// commands, keys, mouse, message boxes and file dialogs, with reads of the title, the status
// bar and the map's pixels. The window is made once per process and put back to the start-of-run
// state before each test.
//
//   class MyTest : public gui::GuiTest {};
//   TEST_F(MyTest, Something) {
//       gui::ExpectBox(IDCANCEL);                 // answers of the coming boxes, in order
//       gui::Command(CmdExit);                    // WM_COMMAND, then pump until the queue is empty
//       ASSERT_EQ(gui::Boxes().size(), 1u);
//       EXPECT_EQ(gui::Boxes()[0].text, "Do you really want to exit this program ?");
//       gui::ExpectFile("/tmp/x/alps.prj");       // the next Open/Save dialog; ExpectFileCancel()
//   }
//
// Each box and dialog is told apart when it activates: a message box (the About box counts as
// one) or file dialog by its class and controls, and is answered from the queues as soon as its
// own loop runs, which fails the test if the main window or the tool dialog still takes input; a tool dialog is
// the program's own (currentDialog) and is never touched. Anything else fails the test by name and is closed. An expectation still queued when
// the test checks, or a dialog left open past its deadline, fails it too. Nothing waits on time.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The program's parts the GUI tests reach into, shared so that each test names only the rest.
#include "core/TestData.h"
#include "gui/BoxWatcher.h"
#include "map/Bitmap.h"
#include "map/Geometry.h"
#include "map/MapWindow.h"
#include "map/Selection.h"
#include "model/Project.h"
#include "resources/ResourceIds.h"
#include "shell/AppWindow.h"
#include "shell/MainParts.h"
#include "thermals/Generation.h"
#include "thermals/Manual.h"

namespace gui {

// Back to the start-of-run state: no tool dialog, new project, flags 0, no backdrop, view,
// selection, dialog settings, file-dialog record, window size and current folder as at start.
// The first call makes the main window with the program's own start-up code.
void ResetProgram();

AppWindow& App();
HWND Main();
HWND Map();

// Runs queued messages through the program's loop step (tool dialog first) until the queue,
// paints included, is empty. A quit message is swallowed and noted. True when a quit came.
bool Pump();
bool QuitPosted();
WPARAM QuitCode();

void Command(int id);      // menu command: sent to the main window, then pumped
LRESULT Close();           // WM_CLOSE as the title-bar button sends it, then pumped
// Key press (down and up) through the queue to target, or to the focused window, or the main one.
void PostKey(UINT virtualKey, HWND target = nullptr);  // without pumping
void Click(HWND dialog, int id);  // BM_CLICK on a dialog's button, then pumped
// Files dropped from Explorer, then pumped; later: only posted, for the next modal loop to take.
void Drop(HWND window, const std::vector<std::string>& paths, bool later = false);
inline void Drop(HWND window, const std::string& path, bool later = false) { Drop(window, std::vector<std::string>{path}, later); }

// Mouse on the map window, in its client pixels; keys adds MK_CONTROL and the like to the press.
void LeftClick(int x, int y, WPARAM keys = 0);
void RightClick(int x, int y);
void Drag(int fromX, int fromY, int toX, int toY, int steps = 4, WPARAM keys = 0);
void Mouse(UINT message, int x, int y, WPARAM keys);  // one message, not pumped

std::string Title();
std::string StatusText(int part);

// Map pixels after the map has painted (UpdateWindow), as COLORREF.
struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;  // top row first
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Picture CaptureMap();
inline COLORREF MapPixel(int x, int y) { return CaptureMap().At(x, y); }
// A window's pixels as they stand, frame, bars and border included, without painting first.
Picture CaptureWhole(HWND window);

// ---- Boxes and dialogs ----
void ExpectBox(int answer);  // IDOK, IDCANCEL, IDYES, IDNO, ...
void ExpectFile(const std::string& path, int type = 0);  // a full path; a Linux path is converted; type: the file type picked
void ExpectFileCancel();
// The next dialog of that caption that is no box or file dialog: act fills and answers it.
void ExpectDialog(const std::string& caption, std::function<void(HWND)> act);
const std::vector<boxwatch::BoxRecord>& Boxes();
const std::vector<std::string>& Dialogs();  // the file dialogs shown: the path typed, or "(cancel)"
std::vector<std::string> BoxTexts();
// Reports what went wrong with boxes and dialogs (unexpected ones, answers never used, a dialog
// other than the program's tool dialog left open) as test failures, then forgets the records;
// for a table-driven test between its rows (TearDown does it at the end).
void CheckWatcher();

// ---- Processes the program started (SCASM runs), counted exactly when a command returns ----
int RunsStarted();  // since the last ResetProgram
// Waits for every started run to end; false, with a failure, after the deadline.
bool WaitForRunsToEnd();

// ---- Test data ----
using ScratchFolder = testdata::Scratch;
// A thermal with valid values in every field; radius in metres, windDir in degrees.
Thermal MakeThermal(int32_t lat, int32_t lon, int32_t type = 1, bool cloud = false, int32_t radius = 500,
                    int32_t windDir = 0);
struct AreaBounds { const char *top, *bottom, *left, *right; };
constexpr AreaBounds LowlandBounds{"52:30.000N", "52:00.000N", "004:30.000E", "005:30.000E"};
std::string ProjectFileText(const std::string& backdropName, const AreaBounds& bounds, const std::vector<Thermal>& table);
// A 24-bit picture, rows stored top first, of colour(x, y).
void WritePicture(const std::string& path, int width, int height, std::function<COLORREF(int, int)> colour);
void WriteGreyBackdrop(const std::string& path, int width, int height);
// Writes the project file, and a grey 64 x 48 "area.bmp" unless the folder has one, then leaves
// the program as a confirmed Open of it does (OpenProjectFile), with the map painted.
void BringInProject(const ScratchFolder& folder, const std::string& fileName, const std::vector<Thermal>& table,
                    const AreaBounds& bounds = LowlandBounds);

struct GuiTest : ::testing::Test {
    void SetUp() override;
    void TearDown() override;
};

}  // namespace gui
