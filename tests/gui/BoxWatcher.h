// Finding, reading and answering message boxes and the system file dialogs of a Win32 program:
// inside the test's own thread through a CBT hook (BoxWatcher), or in another process by polling
// its top-level windows. Uses nothing but Win32 and the standard library, so that a driver
// program that starts Ascendor.exe can share it.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <set>
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
    BoxIcon icon = BoxIcon::None;
    int answer = 0;            // the button pressed
    bool expected = false;     // answered as the test asked, not by the fallback

    bool HasButton(int id) const;
    // The MB_ button set and MB_ICON flag that show such a box (MB_OKCANCEL | MB_ICONEXCLAMATION);
    // 0xFFFFFFFF when the buttons or the icon match no MessageBox type.
    UINT Type() const;
};

enum class DialogKind { MessageBox, FileDialog, Other };

// A dialog that was not a message box: a file dialog or one driven by a queued action.
struct DialogRecord {
    HWND dialog = nullptr;
    HWND owner = nullptr;
    DialogKind kind = DialogKind::Other;
    std::string caption;
    std::string answer;  // the path typed, "(cancel)", or "(action)"
};

const char* IconName(BoxIcon icon);
const char* ButtonName(int id);
std::string Describe(const BoxRecord& record);

// ---- Any window, in this process or another ----

std::string WindowText(HWND window);  // by WM_GETTEXT, bounded in time
std::string ClassName(HWND window);
bool IsDialogWindow(HWND window);     // class "#32770"
// MessageBox for a dialog with the text static 0xFFFF and only statics and the standard answer
// buttons (so the About box, whose statics also carry 0xFFFF, is not one); FileDialog for one
// with a file-name control; Other for every other dialog.
DialogKind KindOf(HWND dialog);
// Fills everything but answer and expected. False when the window is not a message box.
bool ReadMessageBox(HWND box, BoxRecord& record);
// The safe answer for a box nobody expected: Cancel, else No, else OK, else its first button.
int FallbackAnswer(const BoxRecord& record);
// Posts WM_COMMAND with the button id, as a click on that button does.
void PressButton(HWND dialog, int id);
HWND FileNameControl(HWND fileDialog);  // cmb13, else edt1; null when neither is there
// Types text into the file-name control and presses OK; empty text presses Cancel. False when
// the dialog has no file-name control (nothing is pressed then).
bool TypeFileName(HWND fileDialog, const std::string& text);
// A path as a user gives it to a dialog of another process: first the folder (OK moves the
// dialog there), then the name, so that the dialog has browsed to the folder as a user's would.
struct FileSteps {
    std::string folder;  // empty when path names no folder
    std::string name;
};
FileSteps SplitFilePath(const std::string& path);
// "/a/b" becomes "Z:\a\b", Wine's drive for the Linux root; a path with a drive letter is kept.
std::string WinePath(const std::string& path);

// ---- Polling another process (or this one, from a second thread) ----

std::vector<HWND> VisibleDialogs(DWORD processId);  // visible top-level "#32770" windows
HWND FindMessageBox(DWORD processId);
HWND FindFileDialog(DWORD processId);
HWND FindDialog(DWORD processId, const std::string& caption);  // a dialog of any kind
// Each waits, polling every 20 ms, up to timeoutMs; null when nothing came.
HWND WaitForMessageBox(DWORD processId, int timeoutMs);
HWND WaitForFileDialog(DWORD processId, int timeoutMs);
HWND WaitForDialog(DWORD processId, const std::string& caption, int timeoutMs);
bool WaitUntilGone(HWND window, int timeoutMs);
// Waits for the next message box, reads it, presses answer (or the fallback when the box has no
// such button, leaving expected false) and waits for it to close. False when no box came or it
// did not close in time.
bool AnswerNextBox(DWORD processId, int answer, BoxRecord& record, int timeoutMs = 5000);
// Waits for the next file dialog and answers it with path ("" for Cancel); true once it closed.
bool AnswerNextFileDialog(DWORD processId, const std::string& path, int timeoutMs = 10000);

// ---- The calling thread's own dialogs ----

// Sees each dialog of the thread as it activates. Message boxes are recorded and answered at
// once from the queue of expected answers; file dialogs get the next queued path or Cancel; a
// dialog whose caption matches a queued action gets that action; other dialogs (modeless tool
// dialogs) are left alone. Whatever nobody expected is recorded in failures and closed, and
// every handled dialog still open after its deadline is closed and recorded as a failure, so a
// test never hangs in a modal loop. One watcher per thread.
class BoxWatcher {
public:
    BoxWatcher() = default;
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    bool Install();
    void Uninstall();

    void ExpectBox(int answer);                     // IDOK, IDCANCEL, IDYES, IDNO, ...
    void ExpectFile(const std::string& path);       // full path; a Linux path is converted
    void ExpectFileCancel();
    // Runs action (from a timer, once the dialog is up) on the next dialog with this caption.
    void OnDialog(const std::string& caption, std::function<void(HWND)> action);

    // Forgets records, failures and expectations still queued.
    void Clear();
    // The expectations still queued, described, for a test to report.
    std::vector<std::string> Unused() const;

    std::vector<BoxRecord> boxes;
    std::vector<DialogRecord> dialogs;
    std::vector<std::string> failures;

    int boxDeadlineMs = 5000;
    int fileDeadlineMs = 15000;
    int dialogDeadlineMs = 5000;
    // Answering a box while Wine is still showing it costs seconds; a short wait avoids that.
    int boxDelayMs = 20;
    int fileDelayMs = 150;    // lets the file dialog fill its views before it is answered
    int actionDelayMs = 50;

private:
    enum class PendingKind { Box, File, Action, Unknown };
    struct FileAnswer {
        bool cancel;
        std::string path;
    };
    struct Action {
        std::string caption;
        std::function<void(HWND)> run;
    };
    struct Pending {
        PendingKind kind = PendingKind::Unknown;
        std::string caption;
        int answer = IDCANCEL;
        int fallback = IDCANCEL;
        FileAnswer file{true, {}};
        std::function<void(HWND)> action;
    };

    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK TimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
    void Activated(HWND window);
    void Timer(HWND window, UINT_PTR id);

    HHOOK hook_ = nullptr;
    std::deque<int> boxAnswers_;
    std::deque<FileAnswer> fileAnswers_;
    std::deque<Action> actions_;
    std::set<HWND> seen_;
    std::map<HWND, Pending> pending_;
};

}  // namespace boxwatch
