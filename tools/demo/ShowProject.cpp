// ascendor_demo EXE PROJECT: starts Ascendor, chooses Project > Open, answers the Open dialog with
// PROJECT and waits until the main window's title names the project. Ascendor keeps running; the
// caller ends it. Each step waits for the thing it needs itself, with a deadline.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

namespace {

constexpr DWORD Deadline = 30000;

// Asks until found() gives a window or the deadline passes.
HWND WaitFor(const std::function<HWND()>& found) {
    const DWORD start = GetTickCount();
    do {
        if (HWND window = found()) return window;
        Sleep(10);
    } while (GetTickCount() - start < Deadline);
    return nullptr;
}

struct Search {
    DWORD processId;
    const char* className;
    HWND found;
};

// The first shown top-level window of the process with the class name.
BOOL CALLBACK FindShown(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && IsWindowVisible(window) && std::string(className) == search->className) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND Shown(DWORD processId, const char* className) {
    Search search = {processId, className, nullptr};
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The explorer-style dialog's name box is a combo box (cmb13); older ones have an edit (edt1).
HWND NameBox(HWND dialog) {
    HWND name = GetDlgItem(dialog, 0x047c);
    return name != nullptr ? name : GetDlgItem(dialog, 0x0480);
}

std::string Title(HWND window) {
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    return title;
}

int Fail(const char* what) {
    std::fprintf(stderr, "ascendor_demo: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: ascendor_demo EXE PROJECT\n");
        return 2;
    }
    std::string commandLine = std::string("\"") + argv[1] + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return Fail((std::string("could not start ") + argv[1]).c_str());
    CloseHandle(process.hThread);
    const DWORD id = process.dwProcessId;
    HWND main = WaitFor([id] { return Shown(id, "Ascendor"); });
    if (main == nullptr) return Fail("no main window");
    const std::string untitled = Title(main);
    PostMessageA(main, WM_COMMAND, 21, 0);  // Project > Open...
    HWND dialog = WaitFor([id] {
        HWND shown = Shown(id, "#32770");
        return shown != nullptr && NameBox(shown) != nullptr ? shown : nullptr;
    });
    if (dialog == nullptr) return Fail("the Open dialog did not come");
    std::string path = argv[2];
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
        for (char& c : path)
            if (c == '/') c = '\\';
    }
    SetWindowTextA(NameBox(dialog), path.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    const bool opened = WaitFor([main, dialog, &untitled] {
        return !IsWindow(dialog) && Title(main) != untitled ? main : nullptr;
    }) != nullptr;
    std::printf("ascendor_demo: %s\n", Title(main).c_str());
    CloseHandle(process.hProcess);
    return opened ? 0 : Fail("the project did not open");
}
