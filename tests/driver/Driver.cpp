#include "driver/Driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace driver {

namespace {

constexpr DWORD DeadlineMs = 10000;       // for the program to take what was sent to it
constexpr DWORD StartDeadlineMs = 30000;  // for its main window to come
constexpr size_t RemoteTextSize = 4096;

DWORD_PTR Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, DeadlineMs, &result) && IsWindow(window))
        ADD_FAILURE() << "the program did not take message " << message << " within its deadline";
    return result;
}

}  // namespace

std::string SourceFile(const std::string& relative) {
    return boxwatch::WinePath(std::string(ASCENDOR_SOURCE_DIR) + "/" + relative);
}

Program::Program(const std::string& folder, const std::string& arguments, const std::string& output) {
    // The stand-in scasm's folder first on PATH, where the program looks for scasm.
    const std::string scasm = boxwatch::WinePath(SCASM_EXE);
    static const std::string path = scasm.substr(0, scasm.find_last_of('\\')) + ";" + (getenv("PATH") ? getenv("PATH") : "");
    SetEnvironmentVariableA("PATH", path.c_str());
    const std::string program = boxwatch::WinePath(ASCENDOR_EXE);
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE out = output.empty() ? INVALID_HANDLE_VALUE : CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                                     &inherited, CREATE_ALWAYS, 0, nullptr);
    if (out != INVALID_HANDLE_VALUE) startup.dwFlags = STARTF_USESTDHANDLES, startup.hStdOutput = startup.hStdError = out;
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, out != INVALID_HANDLE_VALUE,
                                        CREATE_SUSPENDED, nullptr, folder.c_str(), &startup, &info);
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    if (!started) {
        ADD_FAILURE() << "could not start " << program << " (error " << GetLastError() << ")";
        return;
    }
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    EXPECT_TRUE(runs_.Watch(process_)) << "the processes the program starts cannot be watched";
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    if (!output.empty()) return;
    // The main window of this very process, with its two children: input-idle can come before
    // it in a new Wine prefix, so the window itself is what is waited for.
    const DWORD start = GetTickCount();
    while (!FindMainWindow()) {
        if (!Running() || GetTickCount() - start > StartDeadlineMs) {
            ADD_FAILURE() << (Running() ? "the program's main window did not come within its deadline"
                                        : "the program ended before its main window came");
            return;
        }
        Sleep(10);
    }
    remoteText_ = VirtualAllocEx(process_, nullptr, RemoteTextSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    // The real pointer rests on the title bar, so that no mouse move of the system's own (as
    // after a capture ends) lands on the map between a driven move and its click.
    RECT frame{};
    GetWindowRect(main_, &frame);
    SetCursorPos((frame.left + frame.right) / 2, frame.top + GetSystemMetrics(SM_CYFRAME) + 4);
    Settle();
}

bool Program::FindMainWindow() {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "Ascendor", nullptr)) != nullptr) {
        DWORD owner = 0;
        const DWORD thread = GetWindowThreadProcessId(window, &owner);
        if (owner != processId_ || !IsWindowVisible(window)) continue;
        HWND map = FindWindowExA(window, nullptr, "MapClass", nullptr);
        HWND status = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr);
        if (!map || !status) return false;
        main_ = window, map_ = map, status_ = status, threadId_ = thread;
        return true;
    }
    return false;
}

Program::~Program() {
    Terminate();
    if (process_) CloseHandle(process_);
}

bool Program::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
void Program::PostToMain(UINT message, WPARAM wParam, LPARAM lParam) { PostMessageA(main_, message, wParam, lParam); }
std::string Program::Title() const { return boxwatch::WindowText(main_); }

void Program::Settle() {
    // The marker is the status bar's simple mode, switched on and off again by messages posted
    // behind everything sent before: once the bar shows each, the program's thread (in its own
    // loop or in a box's) has taken all of that. Then the map paints what is pending.
    for (BOOL simple : {TRUE, FALSE}) {
        PostMessageA(status_, SB_SIMPLE, simple, 0);
        const DWORD start = GetTickCount();
        while (IsWindow(status_) && BOOL(Send(status_, SB_ISSIMPLE) != 0) != simple) {
            if (GetTickCount() - start > DeadlineMs) {
                ADD_FAILURE() << "the program did not take what was sent to it within its deadline";
                return;
            }
        }
    }
    if (IsWindow(map_)) Send(map_, WM_PAINT);
}

void Program::Command(int id) { PostToMain(WM_COMMAND, MAKEWPARAM(id, 0), 0), Settle(); }

std::string Program::StatusText(int part) const {
    const size_t length = LOWORD(Send(status_, SB_GETTEXTLENGTHA, part));
    if (!remoteText_ || length + 1 > RemoteTextSize) return {};
    Send(status_, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(remoteText_));
    std::string text(length + 1, '\0');
    SIZE_T read = 0;
    ReadProcessMemory(process_, remoteText_, &text[0], text.size(), &read);
    return text.c_str();
}

HWND Program::FindDialog(const std::string& caption) const {
    for (HWND dialog : boxwatch::VisibleDialogs(processId_))
        if (boxwatch::WindowText(dialog) == caption) return dialog;
    return nullptr;
}

void Program::Type(HWND dialog, int id, const std::string& text) {
    Send(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string Program::Text(HWND dialog, int id) const { return boxwatch::WindowText(GetDlgItem(dialog, id)); }

void Program::Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0), Settle(); }

HWND Program::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return threadId_ && GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

void Program::Key(UINT key) {
    HWND target = Focus() ? Focus() : main_;
    boxwatch::PostKeyPress(target, key);
    Settle();
}

POINT Program::MapPoint(double fx, double fy) const {
    RECT client{};
    GetClientRect(map_, &client);
    return POINT{static_cast<LONG>(client.right * fx), static_cast<LONG>(client.bottom * fy)};
}

void Program::MouseMove(POINT at, WPARAM keys) { PostMessageA(map_, WM_MOUSEMOVE, keys, MAKELPARAM(at.x, at.y)); }

void Program::LeftClick(POINT at) { Drag(at, at, 0); }

void Program::Drag(POINT from, POINT to, int steps) {
    MouseMove(from);
    PostMessageA(map_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    for (int i = 1; i <= steps; ++i) MouseMove({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}, MK_LBUTTON);
    PostMessageA(map_, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    Settle();
}

GeoPoint Program::Probe(POINT at) {
    MouseMove(at);
    Settle();
    GeoPoint point;
    double lat = 0, lon = 0;
    if (std::sscanf(StatusText(0).c_str(), " Lat: %lf Lon: %lf", &lat, &lon) == 2)
        point = {true, static_cast<int>(std::lround(lat * 100000.0)), static_cast<int>(std::lround(lon * 100000.0))};
    return point;
}

bool Program::Answer(int answer, boxwatch::BoxRecord* record) {
    boxwatch::BoxRecord shown;
    for (HWND dialog : boxwatch::VisibleDialogs(processId_))
        if (boxwatch::ReadMessageBox(dialog, shown)) break;
    if (record) *record = shown;
    if (!shown.box) return false;
    shown.expected = shown.HasButton(answer);
    shown.answer = shown.expected ? answer : boxwatch::FallbackAnswer(shown);
    boxwatch::PressButton(shown.box, shown.answer);
    if (record) *record = shown;
    Settle();
    return shown.expected;
}

std::string Program::StrayBox() {
    boxwatch::BoxRecord shown;
    if (!Answer(IDCANCEL, &shown) && !shown.box) return {};
    return boxwatch::Describe(shown);
}

bool Program::AnswerFile(const std::string& path) {
    for (HWND dialog : boxwatch::VisibleDialogs(processId_)) {
        if (boxwatch::KindOf(dialog) != boxwatch::DialogKind::FileDialog) continue;
        const bool answered = boxwatch::AnswerFileDialog(dialog, path);
        Settle();
        // The dialog may check the name in further steps of its own before it ends: it is its
        // going (or a box it raised about the name) that is waited for.
        const DWORD start = GetTickCount();
        while (IsWindow(dialog) && GetTickCount() - start < DeadlineMs) {
            for (HWND box : boxwatch::VisibleDialogs(processId_))
                if (GetWindow(box, GW_OWNER) == dialog) return false;
            Sleep(1);
        }
        if (IsWindow(dialog)) return ADD_FAILURE() << "the file dialog did not close within its deadline", false;
        Settle();  // what the program does with the answer
        return answered;
    }
    return false;
}

bool Program::WaitForExit(DWORD* code, DWORD timeoutMs) {
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(process_, code);
    return true;
}

void Program::Terminate() {
    if (Running()) TerminateProcess(process_, 9), WaitForSingleObject(process_, DeadlineMs);
}

// Answers the box that is up, which must be this one; its icon is checked in-process only.
void AnswerBox(Program& program, const std::string& text, int answer) {
    boxwatch::BoxRecord box;
    EXPECT_TRUE(program.Answer(answer, &box)) << "no box \"" << text << "\" with that button";
    EXPECT_EQ(box.caption + ": " + box.text, "Ascendor: " + text);
}

std::vector<std::vector<int>> ThermalsOf(const std::string& text) {
    const std::vector<std::string> lines = SplitLines(text);
    std::vector<std::vector<int>> table;
    for (size_t i = 5; i < lines.size(); ++i) {
        table.emplace_back();
        for (const char* p = lines[i].c_str(); p; p = std::strchr(p, ',') ? std::strchr(p, ',') + 1 : nullptr) table.back().push_back(std::atoi(p));
    }
    return table;
}

}  // namespace driver
