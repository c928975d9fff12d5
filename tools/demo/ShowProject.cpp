// ascendor_demo EXE PROJECT: starts Ascendor, chooses Project > Open, answers the Open dialog with
// PROJECT and waits until the map has painted it. Ascendor keeps running; the caller ends it.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct DialogSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindProcessDialog(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<DialogSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && IsWindowVisible(window) && std::string(className) == "#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitFor(DWORD processId, bool dialog, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 100) {
        if (dialog) {
            DialogSearch search = {processId, nullptr};
            EnumWindows(FindProcessDialog, reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr) return search.found;
        } else if (HWND main = FindWindowA("Ascendor", nullptr)) {
            return main;
        }
        Sleep(100);
    }
    return nullptr;
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
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "ascendor_demo: could not start %s\n", argv[1]);
        return 1;
    }
    WaitForInputIdle(process.hProcess, 20000);
    HWND main = WaitFor(process.dwProcessId, false, 30000);
    if (main == nullptr) {
        std::fprintf(stderr, "ascendor_demo: no main window\n");
        return 1;
    }
    PostMessageA(main, WM_COMMAND, 21, 0);  // Project > Open...
    HWND dialog = WaitFor(process.dwProcessId, true, 30000);
    if (dialog == nullptr) {
        std::fprintf(stderr, "ascendor_demo: the Open dialog did not come\n");
        return 1;
    }
    Sleep(500);
    // The explorer-style dialog's name box is a combo box (cmb13); older ones have an edit (edt1).
    HWND name = GetDlgItem(dialog, 0x047c);
    if (name == nullptr) name = GetDlgItem(dialog, 0x0480);
    std::string path = argv[2];
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
        for (char& c : path)
            if (c == '/') c = '\\';
    }
    SetWindowTextA(name, path.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    Sleep(3000);
    char title[256] = "";
    GetWindowTextA(main, title, sizeof title);
    std::printf("ascendor_demo: %s\n", title);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
