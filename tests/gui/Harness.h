// Runs the real main window inside the test process and drives it as a user would: menu
// commands, keys, mouse, message boxes and file dialogs, with reads of the title, the status
// bar and the map's pixels. The window is made once per process and put back to the start-of-run
// state before each test.
//
//   class MyTest : public gui::GuiTest {};
//   TEST_F(MyTest, Something) {
//       gui::ExpectBox(IDCANCEL);                 // answers of the coming boxes, in order
//       gui::Command(CmdExit);                    // WM_COMMAND, then pump until idle
//       ASSERT_EQ(gui::Boxes().size(), 1u);
//       EXPECT_EQ(gui::Boxes()[0].text, "Do you really want to exit this program ?");
//       gui::ExpectFile("/tmp/x/alps.prj");       // the next Open/Save dialog; ExpectFileCancel()
//       COLORREF c = gui::MapPixel(10, 20);       // after the map has painted
//   }
//
// A box, file dialog or modal dialog that nobody expected, an expectation left unused, or a dialog
// still open after its deadline fails the test in TearDown; nothing waits forever.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/BoxWatcher.h"
#include "shell/AppWindow.h"

namespace gui {

// What start-up left before any test ran.
struct StartupFacts {
    std::string title;
    RECT windowRect{};
    RECT workArea{};
    RECT clientRect{};
    bool visible = false;
    int viewWidth = 0;
    int viewHeight = 0;
};

// Makes the main window with the program's own start-up code; later calls do nothing.
void StartProgram();
// Back to the start-of-run state: no tool dialog, new project, flags 0, no backdrop, view,
// selection, dialog settings, file-dialog record, window size and current folder as at start.
void ResetProgram();

AppWindow& App();
HWND Main();
HWND Map();
HWND Status();
const StartupFacts& Startup();

// Runs queued messages through the program's loop step (tool dialog first) until nothing came
// for idleMs or maxMs passed. A quit message is swallowed and noted. True when a quit came.
bool Pump(int maxMs = 1000, int idleMs = 30);
bool QuitPosted();
WPARAM QuitCode();
void ForgetQuit();

// Menu command: sent to the main window, then pumped.
void Command(int id);
// The same through the message queue.
void PostCommand(int id);
// WM_CLOSE as the title-bar button sends it; returns the window procedure's result.
LRESULT Close();
// Key press (down and up) through the queue to target, or to the focused window, or the main one.
void Key(UINT virtualKey, HWND target = nullptr);
// The same without pumping, for an action that runs inside a modal dialog's own loop.
void PostKey(UINT virtualKey, HWND target = nullptr);

// Mouse on the map window, in its client pixels.
void MouseMove(int x, int y, WPARAM keys = 0);
void LeftClick(int x, int y);
void RightClick(int x, int y);
void Drag(int fromX, int fromY, int toX, int toY, int steps = 4);

std::string Title();
std::string StatusText(int part);
std::vector<int> StatusEdges();
// Sizes the main window so that its client area is width x height; false when it would not fit.
bool ResizeClient(int width, int height);

// Map pixels after the map has painted (UpdateWindow), as COLORREF.
COLORREF MapPixel(int x, int y);
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // top row first
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    int Count(COLORREF colour) const;
};
Picture CaptureMap();

boxwatch::BoxWatcher& Watcher();
inline void ExpectBox(int answer) { Watcher().ExpectBox(answer); }
inline void ExpectFile(const std::string& path) { Watcher().ExpectFile(path); }
inline void ExpectFileCancel() { Watcher().ExpectFileCancel(); }
inline void OnDialog(const std::string& caption, std::function<void(HWND)> action) {
    Watcher().OnDialog(caption, std::move(action));
}
inline const std::vector<boxwatch::BoxRecord>& Boxes() { return Watcher().boxes; }
inline const std::vector<boxwatch::DialogRecord>& Dialogs() { return Watcher().dialogs; }
std::vector<std::string> BoxTexts();
// Reports the watcher's failures and unused expectations as test failures, then clears it; for
// a table-driven test between its rows (TearDown does it at the end).
void CheckWatcher();

// A fresh folder under the temporary folder, removed with the object.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string File(const std::string& name) const;  // full Windows path
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Reports the watcher's failures and unused expectations.
    void TearDown() override;
};

}  // namespace gui
