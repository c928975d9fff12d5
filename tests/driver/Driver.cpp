#include "driver/Driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace driver {

namespace {

constexpr size_t RemoteTextSize = 4096;
constexpr int SettleRounds = 3;
constexpr int SettleSendMs = 5000;

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// The parent's environment with folder put first on PATH: the program looks for scasm there.
std::vector<char> EnvironmentWithPath(const std::string& folder) {
    std::vector<char> block;
    bool pathSeen = false;
    LPCH strings = GetEnvironmentStringsA();
    for (LPCH entry = strings; entry && *entry; entry += std::strlen(entry) + 1) {
        std::string text = entry;
        if (_strnicmp(text.c_str(), "PATH=", 5) == 0) {
            text = text.substr(0, 5) + folder + ";" + text.substr(5);
            pathSeen = true;
        }
        block.insert(block.end(), text.begin(), text.end());
        block.push_back('\0');
    }
    if (strings) FreeEnvironmentStringsA(strings);
    if (!pathSeen) {
        const std::string text = "PATH=" + folder;
        block.insert(block.end(), text.begin(), text.end());
        block.push_back('\0');
    }
    block.push_back('\0');
    return block;
}

struct MainSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<MainSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) &&
        boxwatch::ClassName(window) == "Ascendor") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

LPARAM KeyData(UINT virtualKey, bool up) {
    const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    LPARAM data = 1 | (static_cast<LPARAM>(scan & 0xFF) << 16);
    switch (virtualKey) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_DIVIDE:
        data |= static_cast<LPARAM>(1) << 24;  // an extended key
        break;
    default:
        break;
    }
    if (up) data |= (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
    return data;
}

}  // namespace

std::string ProgramPath() { return boxwatch::WinePath(ASCENDOR_EXE); }
std::string ScasmPath() { return boxwatch::WinePath(SCASM_EXE); }
std::string SourceFile(const std::string& relative) {
    return boxwatch::WinePath(std::string(ASCENDOR_SOURCE_DIR) + "/" + relative);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> SplitLines(const std::string& text, bool* crlf) {
    std::vector<std::string> lines;
    bool allCrlf = true;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            allCrlf = false;
            break;
        }
        size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') {
            --stop;
        } else {
            allCrlf = false;
        }
        lines.push_back(text.substr(start, stop - start));
        start = end + 1;
    }
    if (crlf) *crlf = allCrlf;
    return lines;
}

// ---- Scratch ----

Scratch::Scratch() {
    static int serial = 0;
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    std::string base = temp;
    if (!base.empty() && base.back() != '\\') base += '\\';
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = base + "ascendor-driver-" + std::to_string(GetCurrentProcessId()) +
                                      "-" + std::to_string(GetTickCount()) + "-" +
                                      std::to_string(++serial);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate;
            break;
        }
    }
}

Scratch::~Scratch() {
    if (keep_ || path_.empty()) return;
    for (const std::string& name : Names("*")) DeleteFileA(File(name).c_str());
    RemoveDirectoryA(path_.c_str());
}

std::string Scratch::File(const std::string& name) const { return path_ + "\\" + name; }

bool Scratch::Copy(const std::string& source, const std::string& name) const {
    return CopyFileA(source.c_str(), File(name).c_str(), FALSE) != 0;
}

bool Scratch::Write(const std::string& name, const std::string& text) const {
    std::ofstream file(File(name), std::ios::binary);
    file << text;
    return static_cast<bool>(file);
}

std::string Scratch::Read(const std::string& name) const { return ReadWholeFile(File(name)); }

bool Scratch::Exists(const std::string& name) const {
    return GetFileAttributesA(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> Scratch::Names(const std::string& pattern) const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(File(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool Scratch::WaitForNames(const std::string& pattern, size_t count, int timeoutMs) const {
    const DWORD start = GetTickCount();
    while (Names(pattern).size() < count) {
        if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

// ---- Program ----

Program::Program(const std::string& folder) {
    const std::string path = ProgramPath();
    std::string commandLine = "\"" + path + "\"";
    std::vector<char> environment = EnvironmentWithPath(FolderOf(ScasmPath()));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, environment.data(),
                        folder.c_str(), &startup, &info)) {
        std::fprintf(stderr, "driver: could not start %s (error %lu)\n", path.c_str(),
                     static_cast<unsigned long>(GetLastError()));
        return;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    WaitForInputIdle(process_, StartMs);

    const DWORD start = GetTickCount();
    MainSearch search{processId_, nullptr};
    while (!search.found && Running() && static_cast<int>(GetTickCount() - start) < StartMs) {
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(50);
    }
    if (!search.found) return;
    main_ = search.found;
    threadId_ = GetWindowThreadProcessId(main_, nullptr);
    map_ = FindWindowExA(main_, nullptr, "MapClass", nullptr);
    status_ = FindWindowExA(main_, nullptr, STATUSCLASSNAMEA, nullptr);
    remoteText_ = VirtualAllocEx(process_, nullptr, RemoteTextSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);

    // The real pointer rests on the title bar, so that no mouse move of the system's own (as
    // after a capture ends) lands on the map between a driven move and its click.
    RECT frame{};
    GetWindowRect(main_, &frame);
    SetCursorPos((frame.left + frame.right) / 2, frame.top + GetSystemMetrics(SM_CYFRAME) + 4);
    Settle();
}

Program::~Program() {
    Terminate();
    if (process_) CloseHandle(process_);
}

bool Program::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void Program::Settle() {
    if (!main_) return;
    // A sent message is taken before anything posted; each round therefore waits for the
    // program to come back to a message loop (its own or a modal one) after the earlier work.
    for (int round = 0; round < SettleRounds && Running(); ++round) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, SettleSendMs, &ignored);
        Sleep(15);
    }
}

void Program::Command(int id) {
    PostToMain(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Settle();
}

void Program::PostToMain(UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageA(main_, message, wParam, lParam);
}

std::string Program::Title() const { return boxwatch::WindowText(main_); }

std::string Program::StatusText(int part) const {
    if (!status_ || !remoteText_) return {};
    DWORD_PTR lengthInfo = 0;
    if (!SendMessageTimeoutA(status_, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0,
                             SMTO_ABORTIFHUNG, 2000, &lengthInfo))
        return {};
    const size_t length = LOWORD(lengthInfo);
    if (length + 1 > RemoteTextSize) return {};
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(status_, SB_GETTEXTA, static_cast<WPARAM>(part),
                             reinterpret_cast<LPARAM>(remoteText_), SMTO_ABORTIFHUNG, 2000, &ignored))
        return {};
    std::string text(length + 1, '\0');
    SIZE_T read = 0;
    if (!ReadProcessMemory(process_, remoteText_, &text[0], text.size(), &read)) return {};
    text.resize(std::strlen(text.c_str()));
    return text;
}

HWND Program::WaitForDialog(const std::string& caption, int timeoutMs) const {
    return boxwatch::WaitForDialog(processId_, caption, timeoutMs);
}

HWND Program::FindDialog(const std::string& caption) const {
    return boxwatch::FindDialog(processId_, caption);
}

bool Program::WaitUntilGone(HWND window, int timeoutMs) const {
    return boxwatch::WaitUntilGone(window, timeoutMs);
}

void Program::Type(HWND dialog, int id, const std::string& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 2000, &ignored);
}

std::string Program::Text(HWND dialog, int id) const {
    HWND control = GetDlgItem(dialog, id);
    return control ? boxwatch::WindowText(control) : std::string("(no control)");
}

bool Program::Checked(HWND dialog, int id) const {
    DWORD_PTR state = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    return state == BST_CHECKED;
}

void Program::Click(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    Settle();
}

void Program::CloseWindow(HWND window) {
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    Settle();
}

HWND Program::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!threadId_ || !GetGUIThreadInfo(threadId_, &info)) return nullptr;
    return info.hwndFocus;
}

void Program::Key(UINT virtualKey) {
    HWND target = Focus();
    if (!target) target = main_;
    PostMessageA(target, WM_KEYDOWN, virtualKey, KeyData(virtualKey, false));
    PostMessageA(target, WM_KEYUP, virtualKey, KeyData(virtualKey, true));
    Settle();
}

POINT Program::MapPoint(double fx, double fy) const {
    RECT client{};
    GetClientRect(map_, &client);
    return POINT{static_cast<LONG>(client.right * fx), static_cast<LONG>(client.bottom * fy)};
}

void Program::MouseMove(POINT at, WPARAM keys) {
    PostMessageA(map_, WM_MOUSEMOVE, keys, MAKELPARAM(at.x, at.y));
}

void Program::LeftClick(POINT at) {
    MouseMove(at);
    PostMessageA(map_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(map_, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Settle();
}

void Program::RightClick(POINT at) {
    MouseMove(at);
    PostMessageA(map_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(map_, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Settle();
}

void Program::Drag(POINT from, POINT to, int steps) {
    MouseMove(from);
    PostMessageA(map_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    for (int step = 1; step <= steps; ++step) {
        const POINT at{from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps};
        MouseMove(at, MK_LBUTTON);
    }
    PostMessageA(map_, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    Settle();
}

GeoPoint Program::Probe(POINT at) {
    MouseMove(at);
    Settle();
    GeoPoint point;
    double lat = 0, lon = 0;
    if (std::sscanf(StatusText(0).c_str(), " Lat: %lf Lon: %lf", &lat, &lon) == 2) {
        point.valid = true;
        point.lat = static_cast<int>(lat * 100000.0 + (lat < 0 ? -0.5 : 0.5));
        point.lon = static_cast<int>(lon * 100000.0 + (lon < 0 ? -0.5 : 0.5));
    }
    return point;
}

bool Program::Answer(int answer, boxwatch::BoxRecord* record, int timeoutMs) {
    boxwatch::BoxRecord shown;
    const bool answered = boxwatch::AnswerNextBox(processId_, answer, shown, timeoutMs);
    if (shown.box) boxes.push_back(shown);
    if (record) *record = shown;
    Settle();
    return answered && shown.expected;
}

std::string Program::StrayBox(int waitMs) {
    HWND box = boxwatch::WaitForMessageBox(processId_, waitMs);
    if (!box) return {};
    boxwatch::BoxRecord shown;
    boxwatch::ReadMessageBox(box, shown);
    shown.answer = boxwatch::FallbackAnswer(shown);
    boxwatch::PressButton(box, shown.answer);
    boxwatch::WaitUntilGone(box, BoxMs);
    boxes.push_back(shown);
    Settle();
    return boxwatch::Describe(shown);
}

bool Program::AnswerFile(const std::string& path) {
    const bool answered = boxwatch::AnswerNextFileDialog(processId_, path, FileMs);
    Settle();
    return answered;
}

bool Program::WaitForExit(DWORD* code, int timeoutMs) {
    if (!process_ || WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
        return false;
    DWORD exitCode = 0;
    GetExitCodeProcess(process_, &exitCode);
    if (code) *code = exitCode;
    return true;
}

void Program::Terminate() {
    if (!Running()) return;
    TerminateProcess(process_, 0xDEAD);
    WaitForSingleObject(process_, ExitMs);
}

}  // namespace driver
