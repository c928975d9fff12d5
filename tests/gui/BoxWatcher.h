// Reading and answering message boxes, file dialogs and named dialogs of a Win32 program, in this
// process or another: what kind a dialog is by its class and controls, a box's texts and buttons,
// pressing a button, typing a path. Win32 and the standard library only, so the in-process
// harness and the driver of the shipped program share it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace boxwatch {

enum class BoxIcon { None, Hand, Question, Exclamation, Asterisk, Unknown };

// One message box as the user saw it, and how it was answered.
struct BoxRecord {
    HWND box = nullptr;
    HWND owner = nullptr;
    std::string caption;
    std::string text;
    std::vector<int> buttons;  // ids of the shown buttons (IDOK, IDCANCEL, IDYES, ...), ascending
    BoxIcon icon = BoxIcon::None;  // read by handle, so only in the box's own process
    int answer = 0;                // the button pressed
    bool expected = false;         // answered as the test asked, not by the fallback

    bool HasButton(int id) const;
    // The MB_ button set and MB_ICON flag that show such a box; an icon read from another
    // process adds nothing, and a button set of no MessageBox type gives 0xFFFFFFFF.
    UINT Type() const;
};

enum class DialogKind { MessageBox, FileDialog, Other };

std::string Describe(const BoxRecord& record);
std::string WindowText(HWND window);  // by WM_GETTEXT, bounded in time
// MessageBox for a "#32770" window with the text static 0xFFFF and only statics and answer
// buttons (so the About box, whose statics also carry 0xFFFF, is not one); FileDialog for one with
// a file-name control; Other for every other dialog, and for a window that is no dialog.
DialogKind KindOf(HWND window);
bool IsDialogWindow(HWND window);
// Fills everything but answer and expected. False when the window is not a message box.
bool ReadMessageBox(HWND box, BoxRecord& record);
// The safe answer for a box nobody expected: Cancel, else No, else OK, else its first button.
int FallbackAnswer(const BoxRecord& record);
// Posts WM_COMMAND with the button id, as a click on that button does.
void PressButton(HWND dialog, int id);
// Types path into the file-name control and presses OK, after choosing the file type numbered
// type (from 1) when it is not 0; an empty path presses Cancel. False when the dialog has no
// file-name control (Cancel is pressed then).
bool AnswerFileDialog(HWND dialog, const std::string& path, int type = 0);
// "/a/b" becomes "Z:\a\b", Wine's drive for the Linux root; a path with a drive letter is kept.
std::string WinePath(const std::string& path);
// Posts a key press, down and up with the key data a keyboard gives, to target.
void PostKeyPress(HWND target, UINT key);
// The visible top-level dialogs of a process; a dialog it has made but not yet shown, while no
// shown one takes input, is waited for until it shows (or deadlineMs).
std::vector<HWND> VisibleDialogs(DWORD processId, DWORD deadlineMs = 10000);

// The processes a watched process starts (the SCASM runs), through a job and its completion
// port: a start is counted by the time CreateProcess returns, an end is an event waited for.
class StartedProcesses {
public:
    // Puts process (created suspended, or this one) into the job; false when it cannot be watched.
    bool Watch(HANDLE process);
    int Started();  // since Watch or Forget
    void Forget();
    // Waits for every started process to end; false after deadlineMs.
    bool WaitForAllToEnd(DWORD deadlineMs);

private:
    void Take(DWORD waitMs);
    HANDLE job_ = nullptr, port_ = nullptr;
    DWORD watched_ = 0;
    int started_ = 0;
    std::vector<DWORD> running_;
};

}  // namespace boxwatch
