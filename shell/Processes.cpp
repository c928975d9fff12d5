// Starting other programs without waiting for them.
#include "shell/Processes.h"

#include <cstring>

HANDLE StartProcess(char* commandLine, const char* folder) {
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    // The system looks for the program in the current folder, not in the one the process is
    // given; for the time of the start the two are the same.
    char before[MAX_PATH];
    const DWORD length = folder != nullptr ? GetCurrentDirectoryA(MAX_PATH, before) : 0;
    const bool moved = folder != nullptr && folder[0] != '\0' && SetCurrentDirectoryA(folder);
    const BOOL started = CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                                        moved ? folder : nullptr, &startup, &process);
    if (moved && length > 0 && length < MAX_PATH) SetCurrentDirectoryA(before);
    if (!started) return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}
