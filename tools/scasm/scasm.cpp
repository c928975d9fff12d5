// scasm.exe: a stand-in for the SCASM scenery assembler, for Ascendor's tests and demonstrations.
//
// Usage: scasm SOURCE SCENERY [anything else, ignored]
//
// It checks that SOURCE exists and starts with "Header(", and then writes SCENERY as a short
// text that says what made it; it assembles nothing. Every run, good or bad, leaves a record
// "scasm-run-<pid>-<tick>.txt" in the current folder:
//     line 1  the command line exactly as the program received it
//     line 2  the current folder
//     line 3  "exit <code>" and, for a failed run, the reason
// The record is written last and appears under its final name in one step, so a test that sees
// it may read the record and the scenery file at once. Several runs may go on side by side.
//
// A GUI program (no console window), like the real assembler run from Ascendor. Never ship it
// beside Ascendor.exe: Ascendor looks in its own folder first and would find this one instead
// of a real SCASM on the PATH.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "CommandLine.h"

namespace {

enum ExitCode {
    Built = 0,
    Usage = 1,
    SourceMissing = 2,
    SourceNotScasm = 3,
    SceneryNotWritten = 4,
};

const char HeaderStatement[] = "Header(";

bool WriteWholeFile(const std::string& name, const std::string& text) {
    HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    if (!CloseHandle(file)) ok = FALSE;
    return ok && written == text.size();
}

ExitCode CheckSource(const std::string& source, std::string& reason) {
    HANDLE file = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason = "source not found: " + source;
        return SourceMissing;
    }
    const DWORD wanted = sizeof HeaderStatement - 1;
    char start[sizeof HeaderStatement] = {};
    DWORD got = 0;
    BOOL ok = ReadFile(file, start, wanted, &got, nullptr);
    CloseHandle(file);
    if (!ok || got != wanted || std::memcmp(start, HeaderStatement, wanted) != 0) {
        reason = "source does not start with a Header statement: " + source;
        return SourceNotScasm;
    }
    return Built;
}

ExitCode Assemble(const std::vector<std::string>& args, std::string& reason) {
    if (args.size() < 3) {
        reason = "usage: scasm SOURCE SCENERY";
        return Usage;
    }
    const std::string& source = args[1];
    const std::string& scenery = args[2];
    ExitCode code = CheckSource(source, reason);
    if (code != Built) return code;
    std::string text =
        "This is not a scenery file.\r\n"
        "It was written by scasm.exe, the stand-in for the SCASM scenery assembler that\r\n"
        "Ascendor's tests and demonstrations use; it checks its source and assembles nothing.\r\n"
        "Source: " + source + "\r\n";
    if (!WriteWholeFile(scenery, text)) {
        reason = "scenery file not written: " + scenery;
        return SceneryNotWritten;
    }
    return Built;
}

std::string CurrentFolder() {
    DWORD size = GetCurrentDirectoryA(0, nullptr);
    if (size == 0) return std::string();
    std::vector<char> buffer(size + 1, '\0');
    DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size()) return std::string();
    return std::string(buffer.data(), length);
}

// Writes the record under a name of its own: the process id keeps runs that overlap apart, the
// tick and a counter keep a later run that gets the same id from replacing an earlier record.
void RecordRun(const std::string& text) {
    const std::string pid = std::to_string(GetCurrentProcessId());
    const std::string pending = "scasm-pending-" + pid + ".tmp";
    if (!WriteWholeFile(pending, text)) return;
    const std::string base = "scasm-run-" + pid + "-" + std::to_string(GetTickCount());
    for (int n = 0; n < 1000; ++n) {
        std::string name = base + (n == 0 ? std::string() : "-" + std::to_string(n)) + ".txt";
        if (MoveFileA(pending.c_str(), name.c_str())) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    DeleteFileA(pending.c_str());
}

// A test may ask for the code a real SCASM could end with (even -1): the number in the file
// scasm-exit.txt in the current folder, given after the run, whatever its outcome.
int EndingCode(ExitCode code) {
    HANDLE file = CreateFileA("scasm-exit.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return code;
    char text[16] = {};
    DWORD got = 0;
    ReadFile(file, text, sizeof text - 1, &got, nullptr);
    CloseHandle(file);
    return std::atoi(text);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* commandLine = GetCommandLineA();
    std::string reason;
    ExitCode code = Assemble(SplitCommandLine(commandLine), reason);

    std::string record = std::string(commandLine ? commandLine : "") + "\r\n" + CurrentFolder() +
                         "\r\n" + "exit " + std::to_string(static_cast<int>(code));
    if (!reason.empty()) record += " " + reason;
    record += "\r\n";
    RecordRun(record);
    return EndingCode(code);
}
